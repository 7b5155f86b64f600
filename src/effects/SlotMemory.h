// The memory of one effect slot and the delay lines carved from it. The block
// is allocated once, when the plug-in is built; only one type runs in a slot at
// a time, so every type lays its lines out from the start of the same block
// when it is chosen, and clears what it takes.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>

class SlotMemory {
public:
    explicit SlotMemory(size_t floats) : block(std::make_unique<float[]>(floats)), capacity(floats) {}
    size_t size() const { return capacity; }

    // Hands out consecutive zeroed pieces of the block, from its start.
    class Layout {
    public:
        explicit Layout(SlotMemory& memory) : memory(memory) {}
        float* take(size_t floats) {
            assert(used + floats <= memory.capacity && "an effect family declared too little memory");
            if (used + floats > memory.capacity) used = 0;  // never outside the block
            float* piece = memory.block.get() + used;
            used += floats;
            std::fill_n(piece, floats, 0.0f);
            return piece;
        }

    private:
        SlotMemory& memory;
        size_t used = 0;
    };

private:
    std::unique_ptr<float[]> block;
    size_t capacity;
};

// A ring of 2^Bits floats written at the running sample counter and read at a
// delay behind it. Reads come before the sample's write, so the newest value is
// one sample old; every index is masked, so nothing is read outside the ring.
template <int Bits>
class Ring {
public:
    static constexpr uint32_t kSize = 1u << Bits;
    static constexpr uint32_t kMask = kSize - 1;
    static constexpr size_t kFloats = kSize;
    // The longest delay whose interpolation points all lie in the written past.
    static constexpr float kLongestDelay = float(kSize - 1);

    void attach(SlotMemory::Layout& layout) { data = layout.take(kSize); }

    void write(uint32_t counter, float v) { data[counter & kMask] = v; }
    float at(uint32_t index) const { return data[index & kMask]; }

    // Four-point Hermite (Catmull-Rom) read `delay` samples back. Delays are
    // held to 2 .. size - 1, where all four points are written samples.
    float read(uint32_t counter, float delay) const {
        delay = delay >= 2.0f ? std::min(delay, kLongestDelay) : 2.0f;
        const uint32_t whole = static_cast<uint32_t>(delay);
        const float fraction = delay - float(whole);
        // Position counter - delay, split into its integer point and fraction.
        uint32_t i = counter - whole;
        float f = 0.0f;
        if (fraction > 0.0f) {
            i -= 1;
            f = 1.0f - fraction;
        }
        const float xm1 = at(i - 1), x0 = at(i), x1 = at(i + 1), x2 = at(i + 2);
        const float c1 = 0.5f * (x1 - xm1);
        const float c2 = xm1 - 2.5f * x0 + 2.0f * x1 - 0.5f * x2;
        const float c3 = 0.5f * (x2 - xm1) + 1.5f * (x0 - x1);
        return x0 + f * (c1 + f * (c2 + f * c3));
    }

    // Linear read between the points `delay` and `delay` + 1 back (1 .. size - 1).
    float readLinear(uint32_t counter, float delay) const {
        delay = delay >= 1.0f ? std::min(delay, kLongestDelay) : 1.0f;
        const uint32_t whole = static_cast<uint32_t>(delay);
        const float f = delay - float(whole) + 1e-15f;
        const float near = at(counter - whole);
        return near + (at(counter - whole - 1) - near) * f;
    }

private:
    float* data = nullptr;
};

// The line sizes the delay and chorus types use.
using LongLine = Ring<18>;   // 262,144 samples
using ShortLine = Ring<14>;  // 16,384 samples

// Echo lengths on the long lines: a knob's length, and the modulated target.
constexpr float kLongestEchoBase = 262142.0f;
constexpr float kLongestEchoTarget = 262143.0f;
