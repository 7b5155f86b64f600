// Starting a note on a voice: pitch, velocity, glide, and (when retriggered)
// fresh envelopes, filters, oscillator phases and noise.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"
#include "engine/ModeIds.h"
#include "engine/OscillatorParams.h"

namespace {
float sign(float x) { return x > 0.0f ? 1.0f : (x < 0.0f ? -1.0f : 0.0f); }
}  // namespace

void Engine::noteOnVoice(int note, int index, float velocity, float detuneSemitones,
                         float portSpeedArg, bool retrigger, bool skipGlobalUpdate,
                         bool glideEnabled) {
    // Choices are decoded every 512 ticks; the note's velocity curve and phase
    // start must not use ones older than the note (at load, those of no program).
    decodeChoices();
    Voice& v = voices[index];
    v.targetPitch = (static_cast<float>(note) + detuneSemitones - 57.0f) / 12.0f;
    v.note = note;

    const float velocityUnit = velocity / 127.0f;
    v.velocityShaped = std::pow(velocityUnit, velocityExponent);
    const float m = param(prm::VelocityToVolume);
    v.velocityVolume = m * velocityUnit + (1.0f - m);

    if (lastPitch == -10.0f) lastPitch = v.targetPitch;
    const float o =
        glideEnabled ? std::exp2(12.0f * clamp01(portSpeedArg + matrix.sharedDest()[moddst::Port])) : 1.0f;
    const float interval = v.targetPitch - lastPitch;
    switch (portMode) {
        case portmode::ConstTime:
        case portmode::HeldTime:
            v.glideStep = interval / o;
            break;
        case portmode::ConstRate:
        case portmode::HeldRate:
            v.glideStep = sign(interval) / o;
            break;
        default:
            v.glideStep = 0.0f;
            break;
    }
    v.glideDirection = sign(v.glideStep);
    v.glidePitch = lastPitch;
    lastPitch = v.targetPitch;

    v.sources[modsrc::Velocity] = v.velocityShaped;
    v.sources[modsrc::Note] = static_cast<float>(note) / 127.0f;

    if (retrigger) {
        for (EnvelopeState& e : v.env) {
            e.clear();
            e.stepCounter = 0;
        }
        v.oscLevelCounter = 0;
        v.ampLevel = v.ampDelta = 0.0f;
        v.filterEnvLevel = v.filterEnvDelta = 0.0f;
        filterSlots[index].clearStates();
        filterSlots[index + kVoices].clearStates();
        for (int n = 0; n < 3; ++n) {
            OscillatorVoice& osc = v.osc[n];
            osc.level = osc.levelDelta = 0.0f;
            osc.fmAmount = osc.fmDelta = osc.ringAmount = osc.ringDelta = 0.0f;
            osc.oversampleHistory = 0.0f;
            osc.symmetrySmoothed =
                clamp01(param(kOscillatorParams[n].symmetry) + v.mod[moddst::osc(n, moddst::OscSym)]);
        }
        for (float& x : v.noiseBuffer) x = random.bipolar();
        resetOscillatorPhases(v);
        if (firstKeyOfPhrase) {
            matrix.setSharedSource(modsrc::Velocity, v.velocityShaped);
            matrix.setSharedSource(modsrc::Note, static_cast<float>(note) / 127.0f);
            for (EnvelopeState& e : sharedEnv) e.clear();
            sharedGate = true;
        }
    }

    v.filter.keyFactor =
        std::exp2(v.targetPitch * (2.0f * param(prm::FilterKeytracking) - 1.0f));
    computeEnvelopeSpeeds(v);
    // The LFOs restart first, so that the refreshed values below start from phase 0.
    lfos.noteStarted(index, random);
    if (!skipGlobalUpdate) globalBlock16();
    globalBlock128();
    voiceBlock128(v, index);
    voiceBlock16(v, index);
    voiceBlock4(v, index);
    setModulationAmountsDirect(v);
}

void Engine::updateGlide(Voice& v) {
    const bool gliding = portMode == portmode::ConstRate || portMode == portmode::ConstTime ||
                         ((portMode == portmode::HeldRate || portMode == portmode::HeldTime) &&
                          heldKeys_ > 0);
    if (!gliding) {
        v.glidePitch = v.targetPitch;
        return;
    }
    v.glidePitch += v.glideStep;
    if ((v.glideDirection >= 0.0f && v.glidePitch > v.targetPitch) ||
        (v.glideDirection <= 0.0f && v.glidePitch < v.targetPitch))
        v.glidePitch = v.targetPitch;
}
