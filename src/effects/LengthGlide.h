// A delay length in samples that glides towards its target on the 16-sample
// tick, and jumps when the target moves by more than a factor of ten.
#pragma once

struct LengthGlide {
    float value = 0.0f;
    void follow(float target) {
        value = 0.999f * value + 0.000999987f * target + 1e-15f;
        if (target > 10.0f * value || target < 0.1f * value) value = target;
    }
};
