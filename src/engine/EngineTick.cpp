// The engine tick: one stereo sample, with control-rate blocks every 4, 16,
// 128 and 512 ticks.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"

void Engine::renderVoices(int n) {
    const uint32_t first = ctx.sampleCounter;
    if ((first & 15) == 0) {
        tick16 = true;
        globalBlock16();
        hostTime.update(ctx.rates, ctx.sampleCounter64);
        followTransport();
        runArpeggiator();
        if ((first & 127) == 0) {
            lfos.advanceShared(random);
            globalBlock128();
            if ((first & 511) == 0) decodeParameters();
        }
    }
    // Noise draws from the one generator every sample, voice after voice: the
    // first pass then runs sample by sample so the draws keep their order.
    // Otherwise the voices share nothing within a span (their control blocks,
    // which do draw, come at its first sample in voice order either way) and
    // each runs through the whole span at once. From the highest voice down:
    // the lowest sounding voice's free-running phases are kept.
    const bool noise = (oscEnableMask & 4 && (oscSlots[0].whiteNoise || oscSlots[0].pinkNoise)) ||
                       (oscEnableMask & 1 && (oscSlots[1].whiteNoise || oscSlots[1].pinkNoise)) ||
                       (oscEnableMask & 2 && (oscSlots[2].whiteNoise || oscSlots[2].pinkNoise));
    for (VoiceSpan& d : spanVoices) d.active = 0;
    if (noise) {
        bool silent[kVoices] = {};
        for (int j = 0; j < n; ++j) {
            sampleCounterNow = first + static_cast<uint32_t>(j);
            for (int index = kVoices - 1; index >= 0; --index)
                if (!silent[index])
                    silent[index] = !voiceSample(voices[index], index, sampleCounterNow, j);
        }
    } else if (blockOscillators()) {
        for (int index = kVoices - 1; index >= 0; --index) {
            Voice& v = voices[index];
            if (!v.gate && !(v.ampLevel > 0.0001f)) {
                v.note = -1;  // as voiceControl: silent for the whole span
                continue;
            }
            voiceSpanFast(v, index, first, n);
        }
    } else {
        for (int index = kVoices - 1; index >= 0; --index) {
            Voice& v = voices[index];
            for (int j = 0; j < n; ++j)
                if (!voiceSample(v, index, first + static_cast<uint32_t>(j), j)) break;
        }
    }
    filterSpan(first, n);
}

bool Engine::voiceControl(Voice& v, int index, uint32_t counter) {
    if (!v.gate && !(v.ampLevel > 0.0001f)) {
        v.note = -1;
        return false;
    }
    tick4 = (counter & 3) == 0;
    tick16 = (counter & 15) == 0;
    tick128 = (counter & 127) == 0;
    if (tick16) voiceBlock16(v, index);
    v.ampLevel += v.ampDelta;
    if (tick4) updateOscillatorVoiceFast(v);
    ++v.env[env::Volume].stepCounter;
    ++v.env[env::Filter].stepCounter;
    ++v.env[env::Free1].stepCounter;
    ++v.env[env::Free2].stepCounter;
    ++v.oscLevelCounter;
    if (tick128) {
        lfos.advanceVoice(index, v.mod, ctx.rates.sampleRate, hostTime.tempo(), random);
        voiceBlock128(v, index);
    }
    v.panAmpLeft = v.gainLeft * v.ampLevel;
    v.panAmpRight = v.gainRight * v.ampLevel;
    return true;
}

bool Engine::voiceSample(Voice& v, int index, uint32_t counter, int j) {
    if (!voiceControl(v, index, counter)) return false;
    if (anySync) {
        syncMasterStep(v);
        v.osc[0].output = 0.0f;
    }
    float mix = 0.0f;
    float levelSum = 0.0f;
    if (oscEnableMask & 4) {
        float o = oscillatorStep(v, 0);
        if (oscSlots[0].output) {
            mix += o;
            levelSum += v.osc[0].level;
        }
    } else {
        v.osc[0].output = 0.0f;
    }
    if (oscEnableMask & 1) {
        float o = oscillatorStep(v, 1);
        if (oscSlots[1].output) {
            mix += o;
            levelSum += v.osc[1].level;
        }
    } else {
        v.osc[1].output = 0.0f;
    }
    if (oscEnableMask & 2) {
        mix += oscillatorStep(v, 2);
        levelSum += v.osc[2].level;
    } else {
        v.osc[2].output = 0.0f;
    }
    VoiceSpan& d = spanVoices[index];
    d.mix[j] = mix;
    d.levelSum[j] = levelSum;
    d.panLeft[j] = v.panAmpLeft;
    d.panRight[j] = v.panAmpRight;
    d.active = j + 1;
    return true;
}

void Engine::finishSample(int j) {
    const float sumLeft = spanLeft[j];
    const float sumRight = spanRight[j];
    // DC blocker: the one-pole low-pass subtracted from its input.
    dcStateLeft = dcCoefFeedback * dcStateLeft + dcCoefIn * sumLeft + 1e-15f;
    dcStateRight = dcCoefFeedback * dcStateRight + dcCoefIn * sumRight + 1e-15f;
    float left = sumLeft - dcStateLeft;
    float right = sumRight - dcStateRight;

    effects.process(left, right);

    ctx.outLeft = masterGain_ * left;
    ctx.outRight = masterGain_ * right;
}

void Engine::globalBlock16() {
    envelopeSum_ = 0.0f;
    updateMasterVolume();
    stepSharedEnvelopes();
    modWheelSmoothed = 0.00999999f * modWheel + 0.99f * modWheelSmoothed + 1e-15f;
    setSource(modsrc::ModWhl, modWheelSmoothed);
    wheelAmount = 2.0f * param(prm::ModToFilterFrequencyAmt) - 1.0f;
    velocityAmount = 2.0f * param(prm::VelToFilterFrequencyAmt) - 1.0f;
}

void Engine::globalBlock128() {
    matrix.setSharedSource(modsrc::Lfo1, lfos.sharedFreeRaw(0));
    matrix.setSharedSource(modsrc::Lfo2, lfos.sharedFreeRaw(1));
    matrix.updateAmountControls(values);
    matrix.evaluateGlobal();
    lfos.updateShared(values, matrix.sharedSources(), matrix.sharedDest());
    updateOscillatorGlobals();
    if (arp.updateMode(values)) releaseAll();
}

void Engine::decodeParameters() {
    applyModeChanges();
    updateChordMode();
    decodeChoices();
}

// Choices whose change restarts the engine.
void Engine::applyModeChanges() {
    syncPlayMode();
    const int index = static_cast<int>(param(prm::OverSampling) * 4.99f);
    if (index != previousOversampleIndex) {
        const bool first = previousOversampleIndex < 0;
        previousOversampleIndex = index;
        oversampleFactor_ = 1 << index;
        oversampleScale = 1.0f / static_cast<float>(oversampleFactor_);
        if (!first) resetEngine();
    }
}

void Engine::decodeChoices() {
    followSampleRate();
    portSpeed = param(prm::PortSpeed);
    velocityExponent = std::exp2(3.0f - 6.0f * param(prm::VelocityShape));
    updateEnvelopeSettings();
    decodeOscillators();
    decodeFilters();
    lfos.decode(values, matrix.sharedDest(), ctx.rates.sampleRate, hostTime.tempo());
    arp.decode(values);
}

void Engine::syncPlayMode() {
    int mode = static_cast<int>(param(prm::PlayMode) * 7.99f);
    if (mode != playMode_) {
        playMode_ = mode;
        resetEngine();
    }
}

void Engine::voiceBlock16(Voice& v, int index) {
    matrix.evaluateVoice(v.sources, v.mod, v.ctrlAdd);
    stepVoiceEnvelopes(v, index);
    envelopeSum_ = clamp01(envelopeSum_ + v.env[env::Volume].output);
    updateGlide(v);
    updatePan(v);
    if (v.oscLevelCounter >= 15) updateOscillatorLevels(v);
    v.oscLevelCounter = 0;
    updateOscillatorVoice(v);
    updateFilterTargets(v);
}

// At a note start; during a span the filter half runs in the second pass.
void Engine::voiceBlock4(Voice& v, int index) {
    updateCutoff(v, index);
    updateOscillatorVoiceFast(v);
}

void Engine::voiceBlock128(Voice& v, int index) {
    v.sources[modsrc::Lfo1] = lfos.freeRaw(0, index);
    v.sources[modsrc::Lfo2] = lfos.freeRaw(1, index);
    v.filter.lfoTerm = lfos.filterOutput(index, values, v.sources);
    refreshEnvelopeSpeeds(v);
    updatePwmSteps(v);
    updateDrift(v);
    updateFilterDrive(v);
}
