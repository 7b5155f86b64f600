// Controller setup files ("Load ECS" / "Save ECS"): the 128 MIDI controller
// bindings as text.
//
//   Brennix controller setup 1
//   # controller parameter   (controllers not listed are unbound)
//   1 61    # Filter Frequency
//   74 62   # Filter Resonance
//
// The first line names the format and its version. Every other line is blank,
// a comment from '#' on, or "controller parameter" with a controller 0..127
// (each at most once) and a parameter index 1..798; text after '#' is ignored.
#pragma once

#include <cstdint>
#include <string>

#include "params/ParameterTable.h"

namespace userfiles {

constexpr int kControllers = 128;
// Larger files are not controller setups.
constexpr size_t kMaxControllerSetupSize = 64 * 1024;

// Empty on success with all 128 entries of `bindings` set (0: unbound);
// otherwise why the text is refused ("line 3: ...").
std::string parseControllerSetup(const std::string& text, int32_t bindings[kControllers]);

// The file text for `bindings`; each line names its parameter as `values` show it.
std::string formatControllerSetup(const int32_t bindings[kControllers], const ParamValue* values);

}  // namespace userfiles
