// One LFO instance: a phase advanced every 128 ticks, the six waveforms, and
// the rate rule for free and tempo-synced speeds.
#pragma once

#include "platform/Random15.h"

namespace lfowave {
constexpr int Sine = 0;
constexpr int Triangle = 1;
constexpr int SawUp = 2;
constexpr int SawDown = 3;
constexpr int Square = 4;
constexpr int SampleHold = 5;
}  // namespace lfowave

namespace lfomode {
constexpr int Poly = 0;  // every voice hears its own instance
constexpr int Free = 1;  // all voices hear the shared instance, never restarted
constexpr int Mono = 2;  // the shared instance, restarted at every note start
}  // namespace lfomode

// Phase increment per 128 ticks. A speed below 0.0001 stands the LFO still; a
// synced one takes the cycle length in bars from the sync divisions, and its
// first entry, "Off", stands it still too.
float lfoRate(float speed, bool sync, float speedFactor, float sampleRate, float tempo);

// The raw value 0..1 of `wave` at `phase`; S&H draws a new value when the phase wrapped.
float lfoWave(int wave, float previousRaw, bool wrapped, float phase, Random15& random);

struct LfoState {
    float phase = 0.0f;  // 0..1
    float rate = 0.0f;   // per 128 ticks
    float raw = 0.0f;    // last waveform value 0..1
    bool wrapped = false;

    // Every 128 ticks. At rate 0 the LFO rests at 0, not at its last value.
    void step(int wave, Random15& random);
    // Back to phase 0, with the value of phase 0 at once (S&H draws afresh).
    void restart(int wave, Random15& random);
};
