// Feedback amounts of the recirculating types. Every loop stays below unity
// gain: at exactly 1 a loop keeps adding up its input without bound.
#pragma once

#include <algorithm>

namespace fxfeedback {

constexpr float kMost = 0.99f;

// A knob 0..1 as -0.99 .. +0.99, 0 at the centre.
inline float bipolar(float knob) { return 1.98f * knob - 0.99f + 1e-15f; }
// A knob 0..1 as 0 .. 0.99.
inline float unipolar(float knob) { return std::min(knob, kMost); }

}  // namespace fxfeedback
