// Placeholder until the full table lands.
#include "params/ParameterTable.h"

#include <cstring>

namespace params {
void parameterName(int, const ParamValue*, char* text) { std::strcpy(text, "-------------------"); }
void parameterDisplay(int, const ParamValue*, char* text) { std::strcpy(text, "----"); }
float defaultValue(int) { return 0.0f; }
bool isSwitch(int) { return false; }
}  // namespace params
