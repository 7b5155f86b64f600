// Range limits used throughout the engine: every sum of parameter and
// modulation is limited to 0..1.
#pragma once

inline float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

// Amounts are limited to -1..1.
inline float clampBipolar(float v) { return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v); }
