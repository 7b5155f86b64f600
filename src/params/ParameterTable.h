// The host-visible description of the 799 parameters: names, display texts,
// default values and which parameters are two-state switches.
#pragma once

#include "params/ParamIds.h"
#include "platform/Relaxed.h"

using ParamValue = Relaxed<float>;

namespace params {

// Longest name plus terminator ("Free Envelope Amount Control").
constexpr int kNameCapacity = 29;
// Generous bound for every display text, terminator included.
constexpr int kDisplayCapacity = 32;

// Copies the name of parameter `index` (whole, with its terminator) into text.
// Effect knob names depend on the slot's effect type, read from `values`.
void parameterName(int index, const ParamValue* values, char* text);

// Writes the display text of parameter `index`; `values` holds all 799 live values
// (some texts depend on other parameters).
void parameterDisplay(int index, const ParamValue* values, char* text);

float defaultValue(int index);
bool isSwitch(int index);

}  // namespace params
