// The editor's audition button plays key 60 at full velocity without MIDI.
// Presses travel on their own one-writer path (AuditionRequests) and sound from
// the start of the audio thread's next block, after its time information.
#include "host/APlugin.h"

void APlugin::auditionStart() { audition.press(); }

void APlugin::auditionStop() { audition.release(); }

void APlugin::playAudition() {
    audition.take(
        [this] {
            if (!auditionSounding) engine.resetEngine();
            auditionSounding = true;
            engine.noteOn(60, 127);
        },
        [this] {
            auditionSounding = false;
            engine.noteOff(60);
            engine.resetEngine();
        });
}
