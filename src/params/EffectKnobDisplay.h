// Display texts of the eight generic effect knobs, which depend on the type
// chosen in the knob's slot.
#pragma once

namespace params {

// Writes the text of knob `knob` (0..7 for A..H) at value v for effect type
// `type` (0..21); type 0 and knobs the type ignores give the empty text.
void effectKnobDisplay(int type, int knob, float v, char* text);

}  // namespace params
