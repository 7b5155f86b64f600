#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace render {

Timeline::Timeline(const MidiSong& song, double defaultBpm, int sampleRate)
    : ticksPerQuarter_(std::max<uint32_t>(song.ticksPerQuarter, 1)),
      sampleRate_(std::max(sampleRate, 1)) {
    double bpm = std::isfinite(defaultBpm) && defaultBpm > 0 ? defaultBpm : 120.0;
    auto micros = static_cast<uint32_t>(std::clamp(std::llround(60e6 / bpm), 1LL, 0xFFFFFFLL));
    segments_.push_back(Segment{0, micros, 0});
    for (const TempoChange& t : song.tempos) {
        if (t.microsPerQuarter == 0) continue;
        Segment& last = segments_.back();
        if (t.tick == last.tick) {
            last.microsPerQuarter = t.microsPerQuarter;  // the later of two changes at one tick wins
            continue;
        }
        unsigned __int128 units =
            last.startUnits + static_cast<unsigned __int128>(t.tick - last.tick) * last.microsPerQuarter;
        segments_.push_back(Segment{t.tick, t.microsPerQuarter, units});
    }

    meters_.push_back(Meter{0.0, 4, 4});
    for (const MeterChange& m : song.meters) {
        if (m.numerator <= 0 || m.denominator <= 0) continue;
        double ppq = static_cast<double>(m.tick) / ticksPerQuarter_;
        if (ppq == meters_.back().startPpq)
            meters_.back() = Meter{ppq, m.numerator, m.denominator};
        else
            meters_.push_back(Meter{ppq, m.numerator, m.denominator});
    }
}

int64_t Timeline::samplePosition(uint64_t tick, bool roundUp) const {
    auto it = std::upper_bound(segments_.begin(), segments_.end(), tick,
                               [](uint64_t t, const Segment& s) { return t < s.tick; });
    const Segment& s = *(it - 1);
    // Exact integer arithmetic: no drift however long the song.
    unsigned __int128 units =
        s.startUnits + static_cast<unsigned __int128>(tick - s.tick) * s.microsPerQuarter;
    unsigned __int128 unitsPerSecond = static_cast<unsigned __int128>(ticksPerQuarter_) * 1000000u;
    const unsigned __int128 scaled = units * static_cast<unsigned>(sampleRate_);
    unsigned __int128 sample = roundUp ? (scaled + unitsPerSecond - 1) / unitsPerSecond
                                       : (scaled * 2 + unitsPerSecond) / (unitsPerSecond * 2);
    constexpr auto kMax = static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max());
    return static_cast<int64_t>(std::min(sample, kMax));
}

const Timeline::Segment& Timeline::segmentAtUnits(long double units) const {
    auto it = std::upper_bound(segments_.begin(), segments_.end(), units,
                               [](long double u, const Segment& s) {
                                   return u < static_cast<long double>(s.startUnits);
                               });
    return *(it - 1);
}

double Timeline::ppqAt(int64_t sample) const {
    long double units = static_cast<long double>(sample) * ticksPerQuarter_ * 1e6L / sampleRate_;
    const Segment& s = segmentAtUnits(units);
    long double ticks = s.tick + (units - static_cast<long double>(s.startUnits)) / s.microsPerQuarter;
    return static_cast<double>(ticks / ticksPerQuarter_);
}

double Timeline::tempoAt(int64_t sample) const {
    long double units = static_cast<long double>(sample) * ticksPerQuarter_ * 1e6L / sampleRate_;
    return 60e6 / segmentAtUnits(units).microsPerQuarter;
}

Timeline::Bar Timeline::barAt(double ppq) const {
    auto it = std::upper_bound(meters_.begin(), meters_.end(), ppq,
                               [](double p, const Meter& m) { return p < m.startPpq; });
    const Meter& m = it == meters_.begin() ? meters_.front() : *(it - 1);
    // A new time signature starts a new bar.
    double barLength = m.numerator * 4.0 / m.denominator;
    double bars = std::floor((ppq - m.startPpq) / barLength + 1e-9);
    return Bar{m.startPpq + std::max(bars, 0.0) * barLength, m.numerator, m.denominator};
}

}  // namespace render
