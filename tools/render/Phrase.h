// The built-in demo: five bars in C major (about 10 s at 120 BPM) with pedalled
// chords, a bass line and a melody, a mod-wheel sweep and a touch of pitch bend.
#pragma once

#include "MidiSong.h"

namespace render {
MidiSong demoPhrase(double bpm);
}
