// The per-sample processing loop: host blocks become single-sample engine ticks.
#include <algorithm>

#include "host/APlugin.h"

void APlugin::setSampleRate(float rate) {
    // NaN compares false everywhere; treat it like any other unusable rate.
    const bool usable = rate >= 1.0f;
    const float clamped = usable ? std::min(rate, 512000.0f) : 44100.0f;
    AudioEffectX::setSampleRate(clamped);
    // The audio thread sees the old constants or the new ones, never a mixture.
    handover.run([&] {
        RateConstants& r = ctx.rates;
        r.sampleRate = clamped;
        // An unusable rate leaves the derived values as they were.
        if (!usable) return;
        r.inverseSampleRate = 1.0f / clamped;
        r.updateTempoDerived();
        r.rateScale110 = 110.0f / clamped;
    });
}

void APlugin::startBlock() {
    // A reset goes with the changes handed over, before the first sample.
    if (engineResetRequested.load(std::memory_order_acquire) &&
        engineResetRequested.exchange(false, std::memory_order_acq_rel))
        engine.resetEngine();
    ParamValue* record = programs[curProgram].recordValues;
    touched.take([&](int i) { record[i] = params.values[i].load(); });
    playAudition();
}

void APlugin::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    ctx.timeInfo = getTimeInfo(kVstPpqPosValid | kVstTempoValid);
    const bool haveOutputs = sampleFrames > 0 && outputs && outputs[0] && outputs[1];
    if (!handover.enterBlock()) {
        // Another thread is installing a program after the audio thread had
        // stopped: this one block stays silent and its events wait.
        if (haveOutputs)
            for (int32_t i = 0; i < sampleFrames; ++i) outputs[0][i] = outputs[1][i] = 0.0f;
        return;
    }
    startBlock();
    engine.beginBlock();
    if (haveOutputs) {
        const bool haveInputs = inputs && inputs[0] && inputs[1];
        float* outL = outputs[0];
        float* outR = outputs[1];
        int32_t i = 0;
        while (i < sampleFrames) {
            // A span: up to the next 16-sample boundary, the next MIDI event or
            // the end of the block, whichever comes first.
            int n = std::min<int32_t>(sampleFrames - i, Engine::kMaxSpan);
            n = std::min(n, Engine::kMaxSpan - static_cast<int>((ctx.sampleCounter + 1) & 15));
            const bool events = eventPool.pendingCount() > 0;
            if (events) {
                runMidiStep();
                if (eventPool.pendingCount() > 0) n = 1 + eventPool.quietSteps(n - 1);
            }
            for (int j = 0; j < n; ++j) {
                ctx.outLeft = 0.0f;
                ctx.outRight = 0.0f;
                ctx.inputLeft = haveInputs ? inputs[0][i + j] : 0.0f;
                ctx.inputRight = haveInputs ? inputs[1][i + j] : 0.0f;
                ctx.inputMono = (ctx.inputLeft + ctx.inputRight) * 0.5f;
                ctx.advanceRotation();
                ++ctx.sampleCounter64;
                ++ctx.sampleCounter;
                if (j == 0) {
                    if ((ctx.sampleCounter & 511) == 0) {
                        const EffectBus& bus = engine.effectBus();
                        samplePlayback.followSlots(bus.vocoderRunning(), bus.typeChanges());
                        samplePlayback.controlBlock(ctx.rates.sampleRate);
                    }
                    engine.renderVoices(n);
                }
                engine.finishSample(j);
                outL[i + j] = ctx.outLeft;
                outR[i + j] = ctx.outRight;
            }
            if (events) eventPool.skipSteps(n - 1);
            i += n;
        }
    }
    handover.leaveBlock();
}

// The deprecated entry overwrites its outputs exactly like processReplacing.
void APlugin::process(float** inputs, float** outputs, int32_t sampleFrames) {
    processReplacing(inputs, outputs, sampleFrames);
}
