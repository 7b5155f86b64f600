// The one-pole tone filters of the delay and chorus types: a low-pass and a
// high-pass stage made by subtracting a second low-pass.
#pragma once

#include <cmath>

// A coefficient pair (a, 1 - a) for the corner set by a knob.
struct OnePole {
    // Holds a filter's output at 0 until the first control update.
    float a = 0.0f;
    float b = 1.0f;

    // a = 20 x 2^(11 k) / rate, held at 1 (the filter open) where a low sample
    // rate would put it above: beyond 2 the recursion would grow without bound.
    void set(float knob, float sampleRate) {
        a = std::fmin(1.0f, 20.0f * std::exp2(11.0f * knob) / sampleRate);
        b = 1.0f - a;
    }
};

// One channel's low-pass followed by the high-pass stage.
struct ToneStage {
    float lp = 0.0f;
    float h = 0.0f;
    float run(float v, const OnePole& low, const OnePole& high) {
        lp = low.a * (v + 1e-15f) + low.b * lp + 1e-15f;
        h = high.a * lp + high.b * h + 1e-15f;
        return lp - h;
    }
};
