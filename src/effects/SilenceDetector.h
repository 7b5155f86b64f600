// Whether a slot's input has been silent: the sum of |left| + |right| over the
// last 65,536 samples against 0.00001. The sum is kept in exact fixed point, so
// no rounding left over from loud passages can keep it above the threshold (or
// push it below) however long the plug-in runs.
#pragma once

#include <cstdint>
#include <cmath>
#include <cstring>

class SilenceDetector {
public:
    static constexpr uint32_t kWindow = 65536;

    void clear() {
        std::memset(ring, 0, sizeof ring);
        sum = 0;
        nonZero = 0;
        active = false;
    }

    // `counter` is the running sample counter; its low 16 bits index the window.
    bool feed(uint32_t counter, float left, float right) {
        float a = std::fabs(left) + std::fabs(right);
        // One loud sample keeps the window awake as well as any larger one (NaN counts as loud).
        a = a < kCeiling ? a : kCeiling;
        const uint32_t q = static_cast<uint32_t>(a * kScale + 0.5f);  // rounded: no bias
        // A window of zeros fed another zero stays as it is: an idle slot
        // leaves its ring alone.
        if (q == 0 && nonZero == 0) return active;
        const uint32_t n = counter & (kWindow - 1);
        nonZero += (q != 0) - (ring[n] != 0);
        sum = sum - ring[n] + q;
        ring[n] = q;
        active = sum >= kThreshold;
        return active;
    }

    bool isActive() const { return active; }

private:
    static constexpr float kScale = 4294967296.0f;  // 2^32 steps per unit
    static constexpr float kCeiling = 0.999999f;
    static constexpr uint64_t kThreshold = 42950;  // 0.00001 x 2^32
    uint32_t ring[kWindow] = {};
    uint64_t sum = 0;
    uint32_t nonZero = 0;  // ring entries above zero
    bool active = false;
};
