#include "effects/EffectRegistry.h"

#include <algorithm>

#include "effects/AmpShaperEffects.h"
#include "effects/ChorusEffects.h"
#include "effects/CombReverbEffects.h"
#include "effects/DelayEffects.h"
#include "effects/DistortionEffects.h"

namespace {

template <class Family>
constexpr EffectFamilyEntry entry() {
    return {Family::kTypes, Family::kMemoryFloats,
            [](SlotMemory& memory) -> std::unique_ptr<EffectFamily> {
                return std::make_unique<Family>(memory);
            }};
}

// One line per family.
constexpr EffectFamilyEntry kFamilies[] = {
    entry<DelayEffects>(),
    entry<ChorusEffects>(),
    entry<CombReverbEffects>(),
    entry<DistortionEffects>(),
    entry<AmpShaperEffects>(),
};

}  // namespace

std::span<const EffectFamilyEntry> effectFamilies() { return kFamilies; }

size_t effectSlotMemoryFloats() {
    size_t most = 0;
    for (const EffectFamilyEntry& family : kFamilies) most = std::max(most, family.memoryFloats);
    return most;
}

std::vector<int> builtEffectTypes() {
    std::vector<int> types;
    for (const EffectFamilyEntry& family : kFamilies)
        types.insert(types.end(), family.types.begin(), family.types.end());
    std::sort(types.begin(), types.end());
    return types;
}
