#include "params/ParameterState.h"

void ParameterState::initialise() {
    for (int i = 0; i < prm::kCount; ++i) {
        defaultValue[i] = params::defaultValue(i);
        isSwitch[i] = params::isSwitch(i) ? 1 : 0;
    }
    isSwitch[prm::kCount] = 0;
    for (int i = 0; i <= prm::kCount; ++i) referenceValue[i] = -1.0f;
    programModified = false;
}
