// How far apart two programs are to the ear, measured on their parameter
// values: the count of parameters that shape the sound of either program (an
// oscillator's settings only while it is heard, a filter's only while it is in
// use, an effect's knobs only while the slot holds an effect ...) and whose
// values differ audibly (another choice or switch position, another semitone,
// or more than 5 % of the range for a continuous value).
#pragma once

#include <vector>

namespace bankgen {

// Two programs closer than this are near-duplicates.
constexpr int kMinAudibleDifferences = 5;
// A continuous value must move this much (of its 0..1 range) to be heard.
constexpr float kAudibleStep = 0.05f;

// For each of the 799 parameters, whether it shapes this program's sound.
std::vector<bool> audibleParameters(const float* values);

// The parameters that shape either program's sound and differ audibly between them.
std::vector<int> audibleDifferences(const float* a, const float* b);

}  // namespace bankgen
