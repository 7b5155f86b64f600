// Parameter values as the editor writes them, and the pitch of MIDI notes.
#pragma once

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace values {

// Entry `index` of a choice among `entries`.
inline float choice(int index, int entries) {
    return (float(index) + 0.5f) / (float(entries) - 0.01f);
}
// An "Osc n Semi" offset of s semitones.
inline float semitones(int s) { return choice(s + 48, 97); }
// The "Filter Frequency" knob for a cutoff in Hz (20 Hz .. 20.48 kHz over 10 octaves).
inline float cutoffFor(double hz) { return float(std::log2(hz / 20.0) / 10.0); }
// MIDI note 57 sounds at 110 Hz.
inline double noteHz(int note) { return 110.0 * std::pow(2.0, (note - 57) / 12.0); }

// Parameter indexes written as a list: "1-4, 7, 9" is {1, 2, 3, 4, 7, 9}.
inline std::vector<int> indexes(const std::string& list) {
    std::vector<int> out;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        const size_t dash = item.find('-');
        const int first = std::stoi(item.substr(0, dash));
        const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
        for (int i = first; i <= last; ++i) out.push_back(i);
    }
    return out;
}

}  // namespace values
