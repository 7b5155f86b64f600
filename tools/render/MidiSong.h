// A piece of music in MIDI terms: channel messages on a tick grid, with the
// tempo and time-signature changes needed to place them in time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

// One channel message (note, controller, program, aftertouch, pitch bend).
struct MidiEvent {
    uint64_t tick = 0;
    uint8_t data[3] = {0, 0, 0};
    uint8_t size = 0;  // 2 or 3 bytes in use
};

struct TempoChange {
    uint64_t tick = 0;
    uint32_t microsPerQuarter = 500000;
};

struct MeterChange {
    uint64_t tick = 0;
    int32_t numerator = 4;
    int32_t denominator = 4;
};

struct MidiSong {
    uint32_t ticksPerQuarter = 480;
    std::vector<MidiEvent> events;    // in playing order (by tick, then track, then file order)
    std::vector<TempoChange> tempos;  // by tick; none means the default tempo throughout
    std::vector<MeterChange> meters;  // by tick; none means 4/4
    uint64_t endTick = 0;             // the latest end-of-track or event
    std::vector<std::string> warnings;  // tolerated oddities worth telling the user
};

}  // namespace render
