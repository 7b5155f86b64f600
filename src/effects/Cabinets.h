// The Amp Sim's cabinet responses: five 64-tap impulse responses compiled
// into the plug-in (resource CABINETS 1, written by tools/cabgen).
#pragma once

#include <string_view>

namespace cabinets {

constexpr int kTaps = 64;
constexpr int kCount = 6;  // 0 is "None", which has no response

struct Table {
    // taps[c][k] weights the input k samples back; row 0 stays zero.
    float taps[kCount][kTaps] = {};
    int loaded = 0;  // rows read
};

// Reads `cabinet N NAME` / `taps ...` lines; rows it cannot read stay zero.
Table parse(std::string_view text);

// The compiled-in table, read on first use (the plug-in's construction).
const Table& table();

}  // namespace cabinets
