// One stored program: the parameter values and a name of at most 24 characters.
#pragma once

#include "params/ParameterTable.h"

struct ProgramRecord {
    static constexpr int kValueCapacity = 2000;  // entries 0..798 hold the parameters
    static constexpr int kNameCapacity = 68;

    ParamValue recordValues[kValueCapacity];
    char recordName[kNameCapacity] = "Default";
};

namespace params {
constexpr int kNumPrograms = 128;
constexpr int kMaxProgramName = 24;

// Copies `source` into `dest` up to the first byte outside 32..127 or 24 characters,
// whichever comes first, and terminates it. `dest` holds at least 25 bytes.
void applyNameRule(const char* source, char* dest);
}  // namespace params
