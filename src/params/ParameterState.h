// The live parameter values and the arrays kept beside them for change
// detection, snapshots, defaults and switch rounding.
#pragma once

#include <cstdint>

#include "params/ParameterTable.h"

struct ParameterState {
    ParamValue values[prm::kCount];
    ParamValue lastWritten[prm::kCount + 1];
    ParamValue previousValue[prm::kCount + 1];
    ParamValue referenceValue[prm::kCount + 1];
    float defaultValue[prm::kCount] = {};
    uint8_t isSwitch[prm::kCount + 1] = {};
    Relaxed<bool> programModified{false};

    // Fills the defaults and switch flags from the table; references start unset (-1).
    void initialise();
};
