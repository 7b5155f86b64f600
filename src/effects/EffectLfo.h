// The effects' LFO: a 24-bit phase over 65,536-entry sine tables, and the
// increments the types derive from rates and tempo-synced cycle lengths.
#pragma once

#include <cmath>
#include <cstdint>

#include "effects/SyncTables.h"

namespace fxlfo {

constexpr uint32_t kPhaseMask = 0xFFFFFF;
constexpr int kTableSize = 65536;

// u[i] = (sin(2 pi i / 65536) + 1) / 2 and s[i] = sin(2 pi i / 65536).
struct SineTables {
    float unipolar[kTableSize];
    float bipolar[kTableSize];
    SineTables();
};
// Built on first use; the effect bus asks for it while the plug-in is constructed.
const SineTables& sines();

// The integer part of x as a phase increment. Increments act modulo 2^24, so a
// larger one (a rate beyond the sample rate) wraps instead of overflowing.
inline uint32_t increment(double x) {
    if (!(x >= 0.0)) return 0;
    // Below 2^24 the conversion's truncation is the floor, and nothing wraps.
    if (x < 16777216.0) return static_cast<uint32_t>(x);
    return static_cast<uint32_t>(std::fmod(std::floor(x), 16777216.0));
}

// One cycle per `bars` (from the cycle-length table): for a phase advanced
// every sample, or (perTick) every 16 samples.
inline uint32_t syncedIncrement(float knob, float samplesPerBar, bool perTick) {
    const double span = double(synced::cycleLength(knob)) * samplesPerBar + 1.0;
    return increment((perTick ? 16.0 * 16777215.0 : 16777215.0) / span);
}

struct Phase {
    uint32_t phase = 0;
    uint32_t step = 0;
    void advance() { phase = (phase + step) & kPhaseMask; }
    float unipolar() const { return sines().unipolar[phase >> 8]; }
    float bipolar() const { return sines().bipolar[phase >> 8]; }
};

}  // namespace fxlfo
