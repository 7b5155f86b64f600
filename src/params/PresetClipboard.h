// The clipboards of "Copy Preset" / "Paste Preset" and "Copy Arp" / "Paste Arp".
// Both start empty; pasting an empty clipboard does nothing.
#pragma once

#include "params/ParamIds.h"
#include "params/ProgramRecord.h"

struct PresetClipboard {
    bool filled = false;
    float values[prm::kCount] = {};
    char name[params::kMaxProgramName + 1] = {};
};

struct ArpClipboard {
    // The arpeggiator block: "Arp Steps" (210) .. "Arp Latch" (319).
    static constexpr int kFirst = prm::ArpSteps;
    static constexpr int kCount = prm::ArpLatch - prm::ArpSteps + 1;  // 110
    bool filled = false;
    float values[kCount] = {};
};
