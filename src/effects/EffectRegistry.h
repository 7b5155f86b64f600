// Which family implements which effect types. Adding a family is a new file
// with its class and one line in the registry's table; the slots, the tests
// and the benchmark find its types here.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "effects/EffectFamily.h"

struct EffectFamilyEntry {
    std::span<const int> types;
    size_t memoryFloats;  // the most slot memory any of its types lays out
    std::unique_ptr<EffectFamily> (*make)(SlotMemory& memory);
};

std::span<const EffectFamilyEntry> effectFamilies();

// The slot memory every family fits in.
size_t effectSlotMemoryFloats();

// The type numbers that have a family, in ascending order.
std::vector<int> builtEffectTypes();
