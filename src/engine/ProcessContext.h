// Per-sample processing fields and the rate- and tempo-derived constants shared
// by the processing loop, the engine, the arpeggiator and the effects.
#pragma once

#include <cstdint>

#include "platform/Relaxed.h"
#include "vst/Vst2.h"

struct RateConstants {
    // Written by the host's UI thread (sample rate) and by the engine (tempo).
    Relaxed<float> sampleRate{44100.0f};
    Relaxed<float> inverseSampleRate{1.0f / 44100.0f};
    Relaxed<float> tempo{120.0f};
    Relaxed<float> samplesPerTempoUnit{44100.0f / 120.0f};
    Relaxed<float> samplesPerBar{44100.0f / 120.0f * 240.0f};
    Relaxed<float> rateScale110{110.0f / 44100.0f};

    // Recomputes the tempo-derived values from the current rate and tempo.
    void updateTempoDerived() {
        samplesPerTempoUnit = sampleRate / tempo;
        samplesPerBar = sampleRate / tempo * 240.0f;
    }
};

// Audio-thread state of the per-sample loop.
struct ProcessContext {
    RateConstants rates;
    const VstTimeInfo* timeInfo = nullptr;

    float inputLeft = 0.0f;
    float inputRight = 0.0f;
    float inputMono = 0.0f;
    float outLeft = 0.0f;
    float outRight = 0.0f;

    uint32_t sampleCounter = 0;
    uint64_t sampleCounter64 = 0;

    // Three-entry histories are addressed through rotating indices instead of shifting.
    int rotationPhase = 0;
    int rotationA = 2;
    int rotationB = 0;
    int rotationC = 1;

    void advanceRotation() {
        rotationPhase = rotationPhase == 2 ? 0 : rotationPhase + 1;
        static constexpr int kTable[3][3] = {{2, 0, 1}, {1, 2, 0}, {0, 1, 2}};
        rotationA = kTable[rotationPhase][0];
        rotationB = kTable[rotationPhase][1];
        rotationC = kTable[rotationPhase][2];
    }
};
