// Musical time of a song on the sample grid: where a tick falls (through the
// tempo map), and the beat position, tempo and bar a sample position lies in.
#pragma once

#include <cstdint>
#include <vector>

#include "MidiSong.h"

namespace render {

class Timeline {
public:
    // `defaultBpm` holds until the song's first tempo change (from tick 0 if it has none).
    Timeline(const MidiSong& song, double defaultBpm, int sampleRate);

    // The sample a tick is played at, rounded to the nearest sample.
    int64_t sampleAt(uint64_t tick) const { return samplePosition(tick, false); }
    // The first sample that starts at or after the tick.
    int64_t firstSampleFrom(uint64_t tick) const { return samplePosition(tick, true); }
    // Position in quarter notes from the start.
    double ppqAt(int64_t sample) const;
    double tempoAt(int64_t sample) const;  // beats per minute

    struct Bar {
        double startPpq;
        int32_t numerator, denominator;
    };
    Bar barAt(double ppq) const;

private:
    struct Segment {
        uint64_t tick;
        uint32_t microsPerQuarter;
        unsigned __int128 startUnits;  // sum of ticks x microseconds per quarter before `tick`
    };
    struct Meter {
        double startPpq;
        int32_t numerator, denominator;
    };
    const Segment& segmentAtUnits(long double units) const;
    int64_t samplePosition(uint64_t tick, bool roundUp) const;

    uint32_t ticksPerQuarter_;
    int sampleRate_;
    std::vector<Segment> segments_;
    std::vector<Meter> meters_;
};

}  // namespace render
