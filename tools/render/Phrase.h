// The built-in demo: five bars in C major (about 10 s at 120 BPM) with pedalled
// chords, a bass line and a melody, a mod-wheel sweep and a touch of pitch bend.
#pragma once

#include "MidiSong.h"

namespace render {
MidiSong demoPhrase(double bpm);

// A short phrase that shows one program (--all-programs): four notes rising
// over an octave from middle C, then the four together as a chord; one bar of
// 4/4 (two seconds at 120 BPM), its last half beat left for the release.
MidiSong programPhrase(double bpm);
}
