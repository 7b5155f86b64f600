// Note-on and note-off by play mode: poly, mono, legato, arpeggiator hand-off
// and unison stacks, plus the held-note stack of the mono modes.
#include "engine/Engine.h"
#include "engine/ModeIds.h"

void Engine::noteOn(int note, int velocity) {
    // Mode changes take effect before the note rather than cutting it afterwards.
    applyModeChanges();
    portMode = static_cast<int>(param(prm::PortMode) * 4.99f);
    firstKeyOfPhrase = heldKeys_ == 0;
    ++heldKeys_;
    lastVelocity = velocity;
    // A latched arpeggio gives way to the next phrase; the pedal's hold adds to it.
    if (playMode_ == playmode::Arp && firstKeyOfPhrase && param(prm::ArpLatch) > 0.5f && !arpHold)
        arp.clearNotes();
    int notes[kMaxChordNotes];
    int count = chordNotes(note, notes, true);
    const int key = note & 127;
    for (int i = 0; i < count; ++i) keyNotes[key][i] = notes[i];
    keyNoteCount[key] = count;
    for (int i = 0; i < count; ++i) playModeNoteOn(notes[i], velocity);
}

void Engine::noteOff(int note) {
    if (heldKeys_ > 0) --heldKeys_;
    if (heldKeys_ == 0) sharedGate = false;
    // Chord play releases the transposed chord notes the key started, not the
    // chord as it is now (automation or a mode change may have changed it):
    // otherwise a voice, or a mono mode's held note, would never be released.
    int notes[kMaxChordNotes];
    int count = chordNotes(note, notes, false);
    const int key = note & 127;
    if (keyNoteCount[key] > 0) {
        count = keyNoteCount[key];
        for (int i = 0; i < count; ++i) notes[i] = keyNotes[key][i];
        keyNoteCount[key] = 0;
    }
    for (int i = 0; i < count; ++i) playModeNoteOff(notes[i]);
}

void Engine::startVoice(int voice, int note, float velocity, float detune, bool retrigger) {
    noteOnVoice(note, voice, velocity, detune, portSpeed, retrigger, false, true);
}

void Engine::playModeNoteOn(int note, int velocity) {
    const float vel = static_cast<float>(velocity);
    const float unison = param(prm::UnisonAmount);
    switch (playMode_) {
        case playmode::Poly:
            startVoice(allocateVoice(), note, vel, 0.0f, true);
            break;
        case playmode::Mono: {
            int v = allocateVoice();
            releaseAll();
            voices[v].gate = 1;
            startVoice(v, note, vel, 0.0f, true);
            break;
        }
        case playmode::Mono2: {
            bool wasEmpty = heldCount == 0;
            pushHeldNote(note);
            releaseAll();
            advanceCursor();
            if (wasEmpty) lastPitch = -10.0f;
            voices[voiceCursor].gate = 1;
            startVoice(voiceCursor, note, vel, 0.0f, true);
            break;
        }
        case playmode::Legato: {
            bool first = heldCount == 0;
            pushHeldNote(note);
            if (first) {
                advanceCursor();
                legatoVelocity = vel;
                lastPitch = -10.0f;
                voices[voiceCursor].gate = 1;
                startVoice(voiceCursor, note, vel, 0.0f, true);
            } else {
                startVoice(voiceCursor, note, legatoVelocity, 0.0f, false);
            }
            break;
        }
        case playmode::Arp: {
            // A pattern starts from the current settings, not those of up to 512 ticks ago.
            arp.decode(values);
            if (arp.updateMode(values)) releaseAll();
            const double position = hostTime.positionAt(ctx.sampleCounter64 + 1, ctx.rates.sampleRate);
            if (arp.addNote(note, vel, position, values)) voiceCursor = 0;
            break;
        }
        case playmode::Unison2:
            startVoice(allocateVoice(), note, vel, 0.0f, true);
            advanceCursor();
            voices[voiceCursor].gate = 1;
            startVoice(voiceCursor, note, vel, 0.5f * unison, true);
            break;
        case playmode::Unison4:
        case playmode::Unison6: {
            const int count = playMode_ == playmode::Unison4 ? 4 : 6;
            const float spacing = playMode_ == playmode::Unison4 ? unison / 6.0f : unison * 0.1f;
            allocateVoice();
            for (int i = 0; i < count; ++i) {
                voices[voiceCursor].gate = 1;
                startVoice(voiceCursor, note, vel, static_cast<float>(i) * spacing, true);
                advanceCursor();
            }
            break;
        }
        default:
            break;
    }
}

void Engine::playModeNoteOff(int note) {
    switch (playMode_) {
        case playmode::Mono2: {
            if (heldCount == 0) break;
            bool wasTop = removeHeldNote(note);
            if (heldCount > 0 && wasTop) {
                releaseAll();
                advanceCursor();
                voices[voiceCursor].gate = 1;
                startVoice(voiceCursor, heldNotes[heldCount - 1], static_cast<float>(lastVelocity),
                           0.0f, true);
            } else if (heldCount == 0) {
                releaseAll();
            }
            break;
        }
        case playmode::Legato:
            if (heldCount == 0) break;
            removeHeldNote(note);
            if (heldCount > 0)
                startVoice(voiceCursor, heldNotes[heldCount - 1], legatoVelocity, 0.0f, false);
            else
                releaseAll();
            break;
        case playmode::Arp:
            if (param(prm::ArpLatch) < 0.5f && !arpHold)
                arp.removeNote(note, values);
            break;
        default:
            for (int i = 0; i < kVoices; ++i)
                if (voices[i].note == note) noteOffVoice(i);
            break;
    }
}

void Engine::pushHeldNote(int note) {
    if (heldCount >= kMaxHeldNotes) return;
    heldNotes[heldCount++] = note;
}

bool Engine::removeHeldNote(int note) {
    for (int i = heldCount - 1; i >= 0; --i) {
        if (heldNotes[i] != note) continue;
        bool wasTop = i == heldCount - 1;
        for (int k = i; k + 1 < heldCount; ++k) heldNotes[k] = heldNotes[k + 1];
        --heldCount;
        return wasTop;
    }
    return false;
}
