#include "engine/Engine.h"

#include "vst/AudioEffect.h"

Engine::Engine(const ParamValue* values, ProcessContext& ctx, AudioEffect& plugin)
    : values(values),
      ctx(ctx),
      plugin(plugin),
      effects(values, EffectEnvironment{&ctx, matrix.sharedDest(), &modWheel, &envelopeSum_}) {
    mainFilterFn = filterbank::mainFunction(0);
    secondaryFilterFn = filterbank::secondaryFunction(0);
    for (int n = 0; n < 3; ++n) oscSampleFn[n] = selectSampleFunction(oscSlots[n], n);
}

void Engine::buildTables(Random15& constructionRandom) {
    tables.buildWaveTables(constructionRandom);
    followSampleRate();
    decodeParameters();
    resetEngine();
}

void Engine::followSampleRate() {
    const float rate = ctx.rates.sampleRate;
    if (rate == coefficientRate) return;
    coefficientRate = rate;
    // Cached coefficients were made for the old rate: force a fresh computation
    // (keeping the filter states) at the next cutoff update.
    for (FilterSlot& f : filterSlots) f.lastFrequency = -1.0e9f;
    // The DC blocker is the 6 dB low-pass at 10 Hz, subtracted from its input.
    constexpr int kDcSlot = 2 * kVoices;
    setFilterCoefficients(1, kDcSlot, 10.0f, 0.5f);
    dcCoefIn = filterSlots[kDcSlot].onePoleIn;
    dcCoefFeedback = filterSlots[kDcSlot].onePoleFeedback;
}

void Engine::setSource(int source, float value) {
    matrix.setSharedSource(source, value);
    for (Voice& v : voices) v.sources[source] = value;
}
