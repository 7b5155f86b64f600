// Round-robin voice allocation, note-off, release and engine reset.
#include <algorithm>
#include <iterator>

#include "engine/Engine.h"

int Engine::allocateVoice() {
    advanceCursor();
    // A held voice is skipped; a releasing one is reused at once. With all 16
    // held, the voice after the previous cursor position is stolen.
    for (int probe = 0; probe < kVoices; ++probe)
        if (voices[voiceCursor].gate == 1) advanceCursor();
    voices[voiceCursor].gate = 1;
    return voiceCursor;
}

void Engine::noteOffVoice(int index) {
    Voice& v = voices[index];
    if (v.gate != 1) return;
    for (EnvelopeState& e : v.env) e.releaseTrigger = 1;
    v.gate = 0;
}

void Engine::releaseAll() {
    for (int i = 0; i < kVoices; ++i) noteOffVoice(i);
}

void Engine::initialiseVoice(Voice& v) {
    v.gate = 0;
    v.note = -1;
    v.glideStep = 0.0f;
    v.glideDirection = 0.0f;
    v.ampLevel = v.ampDelta = 0.0f;
    v.filterEnvLevel = v.filterEnvDelta = 0.0f;
    v.panAmpLeft = v.panAmpRight = 0.0f;
    for (EnvelopeState& e : v.env) {
        e.clear();
        e.stepCounter = 0;
    }
    v.oscLevelCounter = 0;
    for (OscillatorVoice& o : v.osc) {
        o.level = o.levelDelta = 0.0f;
        o.fmAmount = o.fmDelta = o.ringAmount = o.ringDelta = 0.0f;
        o.output = o.fmInput = o.oversampleHistory = 0.0f;
    }
    matrix.resetRows(v.mod, v.ctrlAdd);
    v.sources[modsrc::Offset] = 1.0f;
    // Filter smoothers start at the current settings, so a fresh voice does not sweep.
    FilterVoice& f = v.filter;
    f.cutoffBase = f.cutoff = param(prm::FilterFrequency);
    f.cutoffStep = 0.0f;
    f.f2 = param(prm::Filter2Frequency);
    f.filt2Mod = f.filt2ModDelta = 0.0f;
    f.keyFactor = 1.0f;
    f.envAmount = param(prm::FilterEnvelopeAmt);
    f.driveSmoothed = 0.0f;
}

void Engine::resetEngine() {
    releaseAll();
    arp.reset();
    // Nothing sounds to release: a program's own mode must not cut its first notes.
    arp.updateMode(values);
    heldCount = 0;
    // Keys held through a reset are released as they are then (their voices are gone).
    std::fill(std::begin(keyNoteCount), std::end(keyNoteCount), 0);
    lastPitch = -10.0f;
    // Nothing sounds after a reset, so the master gain can jump to its target:
    // the first notes after loading or a program change are not faded in.
    updateMasterVolume();
    masterGain_ = masterTarget;
    for (int i = 0; i < kVoices; ++i) initialiseVoice(voices[i]);
    // Every recursive state starts again, so that nothing (a NaN least of all)
    // outlives a reset: the filters, the DC blocker, the shared envelopes and
    // the wheel's smoother, which jumps to the wheel like the master gain.
    for (FilterSlot& f : filterSlots) f.clearStates();
    dcStateLeft = dcStateRight = 0.0f;
    for (EnvelopeState& e : sharedEnv) e.clear();
    modWheelSmoothed = modWheel;
    effects.reset();
}
