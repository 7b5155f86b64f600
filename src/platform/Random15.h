// The 15-bit linear congruential generator the sound design depends on:
// state = state * 214013 + 2531011, value = (state >> 16) & 32767.
// Each thread of work owns its own generator; an unseeded one starts from 1.
#pragma once

#include <cstdint>

class Random15 {
public:
    void seed(uint32_t value) { state_ = value; }
    uint32_t state() const { return state_; }

    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 32767u);
    }

    // 0 .. 1 inclusive; 32767 gives exactly 1.0.
    float uniform() { return static_cast<float>(next()) * 3.0518509e-5f; }

    // Bipolar white noise sample, -1 .. 1.
    float bipolar() { return static_cast<float>(next()) / 16384.0f - 1.0f; }

private:
    uint32_t state_ = 1;
};
