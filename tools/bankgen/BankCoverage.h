// The parts of the engine the factory bank must show, and which programs show
// each, judged from the programs' parameter values: a part counts only where
// it acts on the sound (an oscillator that is on and heard, a modulation slot
// with a source, a destination and an amount, an effect that is not dry).
#pragma once

#include <string>
#include <vector>

namespace bankgen {

struct CoverageItem {
    std::string group;  // "Waveform family", "Main filter", "Effect" ...
    std::string name;   // "Sine .. Triangle", "24dB LowPass", "Reverb" ...
};

// Every item, grouped, in the order the program list shows them.
const std::vector<CoverageItem>& coverageItems();

// For each item of coverageItems(), whether the program with these 799 values shows it.
std::vector<bool> itemsShown(const float* values);

// For each item, the programs (indexes into `programs`) that show it.
std::vector<std::vector<int>> coverage(const std::vector<std::vector<float>>& programs);

}  // namespace bankgen
