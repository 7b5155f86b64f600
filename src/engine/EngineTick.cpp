// The engine tick: one stereo sample, with control-rate blocks every 4, 16,
// 128 and 512 ticks.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"

void Engine::engineTick() {
    ctx.outLeft = 0.0f;
    ctx.outRight = 0.0f;
    const uint32_t counter = ctx.sampleCounter;
    tick4 = (counter & 3) == 0;
    tick16 = (counter & 15) == 0;
    tick128 = (counter & 127) == 0;

    if (tick16) {
        globalBlock16();
        hostTime.update(ctx.rates, ctx.sampleCounter64);
        followTransport();
        runArpeggiator();
        if (tick128) {
            lfos.advanceShared(random);
            globalBlock128();
            if ((counter & 511) == 0) decodeParameters();
        }
    }

    float sumLeft = 0.0f;
    float sumRight = 0.0f;
    // From the highest voice down: the lowest sounding voice's free-running phases are kept.
    for (int index = kVoices - 1; index >= 0; --index) {
        Voice& v = voices[index];
        if (!v.gate && !(v.ampLevel > 0.0001f)) {
            v.note = -1;
            continue;
        }
        if (tick16) voiceBlock16(v, index);
        v.ampLevel += v.ampDelta;
        v.filterEnvLevel += v.filterEnvDelta;
        v.filter.filt2Mod += v.filter.filt2ModDelta;
        if (tick4) voiceBlock4(v, index);
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

        float out = filterMain(v, index, mix, levelSum);
        out = filterSecondary(v, index, out);
        sumLeft += out * v.panAmpLeft;
        sumRight += out * v.panAmpRight;
    }

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
