// The editor's audition button plays key 60 without MIDI. The note is queued
// like a MIDI event so that only the audio thread touches the engine.
#include "host/APlugin.h"

void APlugin::auditionStart() {
    VstMidiEvent note{};
    note.type = kVstMidiType;
    note.byteSize = sizeof(VstMidiEvent);
    eventPool.queue(note, kAuditionOn);
}

void APlugin::auditionStop() {
    VstMidiEvent release{};
    release.type = kVstMidiType;
    release.byteSize = sizeof(VstMidiEvent);
    eventPool.queue(release, kAuditionOff);
}
