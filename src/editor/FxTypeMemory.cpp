#include "editor/FxTypeMemory.h"

#include "params/EffectTypeDefaults.h"
#include "params/ParamIds.h"

namespace editor {

FxTypeMemory::FxTypeMemory() {
    for (int t = 0; t < kTypes; ++t)
        for (int k = 0; k < kValues; ++k) last[t][k] = defaultOf(t, k);
}

int FxTypeMemory::parameterOf(int slot, int k) {
    if (k == kMix) return prm::Fx1Mix + slot;
    if (k == kPan) return prm::Fx1Pan + slot;
    return params::fxKnobParameter(slot, k);
}

float FxTypeMemory::defaultOf(int type, int k) { return params::effectTypeDefault(clampType(type), k); }

}  // namespace editor
