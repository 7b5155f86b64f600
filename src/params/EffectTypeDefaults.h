// Each effect type's own values for a slot's ten FX controls (effect
// parameters 1..8, mix, pan): what the editor gives a slot when it first
// changes to the type, and what "Set to Default" restores there.
#pragma once

namespace params {

constexpr int kFxTypeValues = 10;  // parameters 1..8, mix, pan
constexpr int kFxTypeMix = 8, kFxTypePan = 9;

// Value `k` (0..9) of effect type `type`; types outside the list read as "None".
float effectTypeDefault(int type, int k);

}  // namespace params
