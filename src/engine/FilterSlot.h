// One filter coefficient slot: the cached key, the coefficients of every
// structure and the running states. Slots 0..15 serve the voices' main
// filters, 16..31 their secondary filters, 32..33 the DC blocker.
#pragma once

#include <cstdint>

struct FilterSlot {
    // Cache key.
    int type = -1;
    float lastFrequency = -1.0f;
    float lastResonance = -1.0f;

    // Coefficients.
    float onePoleIn = 0.0f;
    float onePoleFeedback = 1.0f;
    float svfF = 0.0f;
    float svfDamping = 1.0f;
    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    float ladderGain = 0.0f;
    float ladderPole = 0.0f;
    float ladderFeedback = 0.0f;
    int32_t combDelay = 514;  // in 1/256 sample
    float combFeedback = 0.0f;

    // States.
    float onePole = 0.0f;
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;
    float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    float stage[4] = {};
    float stageInput[4] = {};
    float lastOutput = 0.0f;

    void clearStates() {
        onePole = low = band = high = 0.0f;
        x1 = x2 = y1 = y2 = 0.0f;
        for (int i = 0; i < 4; ++i) stage[i] = stageInput[i] = 0.0f;
        lastOutput = 0.0f;
    }
};

struct FilterVoice {
    float cutoffBase = 0.0f;
    float resonance = 0.0f;
    float envAmount = 0.5f;
    float keyFactor = 1.0f;
    float wheelTerm = 0.0f;
    float velocityTerm = 0.0f;
    float lfoTerm = 0.0f;
    float drive = 0.0f;
    bool driveOn = false;
    float driveSmoothed = 0.0f;
    float cutoff = 0.0f;
    float cutoffStep = 0.0f;
    float f2 = 0.0f;
    float filt2Mod = 0.0f;       // ramped "Filt2 Freq" modulation
    float filt2ModDelta = 0.0f;
    uint32_t combWritePos = 0;   // in 1/256 sample, 21 bits
    // The last cutoff exponentials and their inputs (reused while they hold).
    float cutoffInput = 0.0f;
    float cutoffFactor = 1.0f;  // exp2(10 x cutoffInput)
    float f2Input = 0.0f;
    float f2Factor = 1.0f;
    float keyInput = 0.0f;
    float keyTarget = 1.0f;  // exp2(keyInput)
};
