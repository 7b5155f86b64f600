// Arpeggiator pattern files ("Load Arp" / "Save Arp"): the 110 values of the
// arpeggiator block, "Arp Steps" (210) .. "Arp Latch" (319), as text.
//
//   Brennix arp pattern 1
//   # parameter value
//   210 1             # Arp Steps
//   211 0.045495905   # Arp Mode
//
// The first line names the format and its version. Every other line is blank,
// a comment from '#' on, or "parameter value": each index 210..319 exactly once,
// with a finite number (values outside 0..1 are clamped when they are set).
#pragma once

#include <string>

#include "params/ParameterTable.h"

namespace userfiles {

constexpr int kArpFirst = prm::ArpSteps;
constexpr int kArpCount = prm::ArpLatch - prm::ArpSteps + 1;  // 110
constexpr size_t kMaxArpPatternSize = 64 * 1024;

// Empty on success with all 110 values set; otherwise why the text is refused.
std::string parseArpPattern(const std::string& text, float values[kArpCount]);

// The file text; floats are written with enough digits to read back exactly.
std::string formatArpPattern(const float values[kArpCount], const ParamValue* liveValues);

}  // namespace userfiles
