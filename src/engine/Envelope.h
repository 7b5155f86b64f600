// Attack/decay/sustain/fade/release envelopes: settings shared by all voices,
// a per-voice (or shared) state and the 16-tick step.
#pragma once

#include <cstdint>

struct EnvelopeSettings {
    float attackRate = 0.0f;
    float decayRate = 0.0f;
    float releaseRate = 0.0f;
    float sustain = 0.0f;
    float oneMinusSustain = 1.0f;
    float inverseRange = 1.0f;
    float fadeRate = 0.0f;
    bool fadeUp = false;
};

// Curve exponents shared by all envelopes.
struct EnvelopeCurves {
    float attackExponent = 1.0f;
    float decayExponent = 1.0f;
    float releaseExponent = 1.0f;
    bool attackCurved = false;
    bool decayCurved = false;
    bool releaseCurved = false;
};

struct EnvelopeState {
    int stage = 0;  // 0 attack, 1 decay, 2 sustain
    float linear = 0.0f;
    float output = 0.0f;
    float releaseStart = 0.0f;
    float releaseStartInverse = 1.0f;
    int stepCounter = 0;
    float speed = 1.0f;
    float keyVelFactor = 1.0f;  // set at note start from key and velocity
    uint8_t releaseTrigger = 0;
    bool wasHeld = false;  // held at the previous step

    void clear() {
        stage = 0;
        linear = 0.0f;
        output = 0.0f;
        releaseStart = 0.0f;
        releaseStartInverse = 1.0f;
        releaseTrigger = 0;
        wasHeld = false;
    }

    // One envelope step. Returns true when a falling fade has ended a held
    // volume note (the caller releases the voice).
    bool step(const EnvelopeSettings& s, const EnvelopeCurves& c, bool held, bool isVolume);
};
