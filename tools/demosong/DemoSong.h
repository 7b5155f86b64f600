// The demo piece (resources/demo/brennix-demo.mid): one progression in A
// minor, played by a different program in each section, so that a render
// walks through a selection of the factory bank.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demosong {

constexpr uint32_t kTicksPerBeat = 480;

// A channel message, or a marker (a meta text event) when `marker` is set.
struct Event {
    uint32_t tick = 0;
    uint8_t status = 0, data1 = 0, data2 = 0;
    std::string marker;
};

struct Song {
    double bpm = 0.0;
    std::string title;
    std::vector<Event> events;  // in time order
    uint32_t endTick = 0;
};

Song demoSong();

}  // namespace demosong
