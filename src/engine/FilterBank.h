// The filter bank the voices and the effects share: the coefficient routine
// with its cache, the per-sample structures of the 14 main types and of the
// secondary filter's codes, and the drive stage in front of them. Every
// structure runs on one FilterSlot (coefficients and states).
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/FilterSlot.h"

// The delay line of the comb type: 8,192 floats and a write position in
// 1/256 samples (21 bits). A voice lends its noise buffer.
struct CombLine {
    float* buffer;
    uint32_t* writePosition;
};

namespace filterbank {

constexpr int kCombLength = 8192;
constexpr int kMainTypes = 14;

using Fn = float (*)(FilterSlot&, CombLine, float);

// Main types 0..13 ("Bypass" .. "Comb"), held to that range.
Fn mainFunction(int type);
// Secondary codes 0, 1, 2, 3, 4, 9, 10 (any other code bypasses).
Fn secondaryFunction(int code);

// Recomputes the slot's coefficients for `type` unless the type is the same
// and cutoff and resonance moved by no more than 0.01; a new type clears the
// slot's states.
void setCoefficients(FilterSlot& f, int type, float frequencyHz, float resonance, float sampleRate);

inline constexpr float kDenormal = 1e-15f;

inline float limit100(float v) { return v < -100.0f ? -100.0f : (v > 100.0f ? 100.0f : v); }

// Bounds the state-variable band state. The cubic rises only up to
// 1/sqrt(0.003) and would throw larger states further out, so they are held
// at that knee.
inline float saturateBand(float v) {
    constexpr float kKnee = 18.257419f;
    v = v < -kKnee ? -kKnee : (v > kKnee ? kKnee : v);
    return (1.0f - 0.001f * v * v) * v + kDenormal;
}

// The state-variable structure: leaves its low, band and high outputs in the slot.
inline void stateVariable(FilterSlot& f, float x) {
    const float b = saturateBand(f.band);
    f.high = x - f.low - f.svfDamping * b;
    f.band = f.svfF * f.high + b + kDenormal;
    f.low = f.svfF * f.band + f.low + kDenormal;
}

// The drive stage: (x + k x) / (|k x| + 1), limited to -1 .. +1.
inline float drive(float x, float k) {
    const float kx = k * x;
    x = (x + kx) / (std::fabs(kx) + 1.0f);
    return (x < -1.0f ? -1.0f : (x > 1.0f ? 1.0f : x)) + kDenormal;
}

}  // namespace filterbank
