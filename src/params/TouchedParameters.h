// Parameters written from outside the audio thread's blocks. Such a write can
// cross a program change (landing in the old record while the live value is
// the new program's) or a controller's write of the same parameter, and leave
// the live value and the current record apart; the audio thread copies each
// marked live value into the current record at the start of its next block.
#pragma once

#include <atomic>
#include <cstdint>

#include "params/ParamIds.h"

class TouchedParameters {
public:
    void mark(int index) {
        words[index >> 5].fetch_or(1u << (index & 31), std::memory_order_release);
    }

    // Audio thread: calls `visit(index)` for every parameter marked since the last call.
    template <typename Visit>
    void take(Visit&& visit) {
        for (int w = 0; w < kWords; ++w) {
            if (!words[w].load(std::memory_order_relaxed)) continue;
            uint32_t bits = words[w].exchange(0, std::memory_order_acq_rel);
            while (bits) {
                const int bit = __builtin_ctz(bits);
                bits &= bits - 1;
                visit(w * 32 + bit);
            }
        }
    }

private:
    static constexpr int kWords = (prm::kCount + 31) / 32;
    std::atomic<uint32_t> words[kWords] = {};
};
