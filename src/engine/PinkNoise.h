// Pink noise by the Voss method: a running sum of random rows. The low bits of
// the sample counter pick how many rows are renewed on a tick: the rarer the
// match, the more rows (a match of 0xFF renews all eight, of 1 only the fastest).
#pragma once

#include <cstdint>

#include "platform/Random15.h"

class PinkNoise {
public:
    float next(uint32_t sampleCounter, Random15& random) {
        static constexpr uint32_t kMasks[kRows] = {0xFF, 0x3F, 0x2F, 0x1F, 0xF, 7, 3, 1};
        int first = 0;
        while (first < kRows && (sampleCounter & kMasks[first]) != 0) ++first;
        for (int row = first; row < kRows; ++row) {
            sum_ -= rows_[row];
            rows_[row] = row < kSlowRows ? static_cast<float>(random.next()) * 7.629627e-6f
                                         : random.bipolar() * 0.25f;
            sum_ += rows_[row];
        }
        return sum_;
    }

    void clear() {
        for (float& r : rows_) r = 0.0f;
        sum_ = 0.0f;
    }

private:
    static constexpr int kRows = 8;
    static constexpr int kSlowRows = 4;
    float rows_[kRows] = {};
    float sum_ = 0.0f;
};
