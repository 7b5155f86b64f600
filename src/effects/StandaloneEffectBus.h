// The effect bus with its own parameter values, modulation row and process
// context, for tests and benchmarks that run the effects without an engine.
#pragma once

#include "effects/EffectBus.h"
#include "engine/ModIds.h"
#include "params/ParamIds.h"

struct StandaloneEffectBus {
    ParamValue values[prm::kCount];
    float modRow[moddst::kCount] = {};
    float modWheel = 0.0f;
    float envelopeSum = 0.0f;
    ProcessContext ctx;
    EffectBus bus{values, EffectEnvironment{&ctx, modRow, &modWheel, &envelopeSum}};

    // One sample in place, counted as the processing loop counts it.
    void process(float& left, float& right) {
        ++ctx.sampleCounter;
        bus.process(left, right);
    }
};
