// The per-sample processing loop: host blocks become single-sample engine ticks.
#include "host/APlugin.h"

void APlugin::setSampleRate(float rate) {
    RateConstants& r = ctx.rates;
    AudioEffectX::setSampleRate(rate);
    r.sampleRate = rate;
    // NaN compares false everywhere; treat it like any other unusable rate.
    if (!(rate >= 1.0f)) {
        sampleRate = 44100.0f;
        r.sampleRate = 44100.0f;
        return;
    }
    if (rate > 512000.0f) {
        sampleRate = 512000.0f;
        r.sampleRate = 512000.0f;
    }
    r.inverseSampleRate = 1.0f / r.sampleRate;
    r.updateTempoDerived();
    r.rateScale110 = 110.0f / r.sampleRate;
}

void APlugin::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    ctx.timeInfo = getTimeInfo(kVstPpqPosValid | kVstTempoValid);
    engine.beginBlock();
    if (sampleFrames <= 0 || !outputs || !outputs[0] || !outputs[1]) return;
    const bool haveInputs = inputs && inputs[0] && inputs[1];
    float* outL = outputs[0];
    float* outR = outputs[1];
    for (int32_t i = 0; i < sampleFrames; ++i) {
        ctx.outLeft = 0.0f;
        ctx.outRight = 0.0f;
        // Resets asked for by the user-interface thread run here, on the audio thread.
        if (engineResetRequested.load(std::memory_order_acquire) &&
            engineResetRequested.exchange(false, std::memory_order_acq_rel))
            engine.resetEngine();
        if (eventPool.pendingCount() > 0) runMidiStep();
        ctx.inputLeft = haveInputs ? inputs[0][i] : 0.0f;
        ctx.inputRight = haveInputs ? inputs[1][i] : 0.0f;
        ctx.inputMono = (ctx.inputLeft + ctx.inputRight) * 0.5f;
        ctx.advanceRotation();
        ++ctx.sampleCounter64;
        ++ctx.sampleCounter;
        if (engineBusy.load(std::memory_order_acquire) == 0) engine.engineTick();
        outL[i] = ctx.outLeft;
        outR[i] = ctx.outRight;
    }
}

// The deprecated entry overwrites its outputs exactly like processReplacing.
void APlugin::process(float** inputs, float** outputs, int32_t sampleFrames) {
    processReplacing(inputs, outputs, sampleFrames);
}
