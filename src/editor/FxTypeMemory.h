// What the FX section remembers per effect type: the last values of a slot's
// ten FX controls (effect parameters 1..8, mix, pan) while the slot held that
// type, so that switching a slot away and back brings its settings back; it
// starts from each type's own values (params/EffectTypeDefaults).
#pragma once

#include "params/EffectTypeDefaults.h"
#include "params/Enumerations.h"

namespace editor {

class FxTypeMemory {
public:
    static constexpr int kTypes = params::kFxTypeCount;
    static constexpr int kValues = params::kFxTypeValues;  // parameters 1..8, mix, pan
    static constexpr int kMix = params::kFxTypeMix, kPan = params::kFxTypePan;

    FxTypeMemory();

    // The parameter of slot `slot` that holds value `k` of the ten.
    static int parameterOf(int slot, int k);

    float remembered(int type, int k) const { return last[clampType(type)][k]; }
    void remember(int type, int k, float value) { last[clampType(type)][k] = value; }
    static float defaultOf(int type, int k);

private:
    static int clampType(int type) { return type >= 0 && type < kTypes ? type : 0; }
    float last[kTypes][kValues];
};

}  // namespace editor
