#include "Phrase.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr uint32_t kTicksPerQuarter = 480;

class Writer {
public:
    explicit Writer(MidiSong& song) : song_(song) {}

    static uint64_t at(double beats) { return static_cast<uint64_t>(std::llround(beats * kTicksPerQuarter)); }

    void note(double beat, double length, int key, int velocity) {
        add(beat, 0x90, key, velocity);
        add(beat + length, 0x80, key, 64);
    }
    void controller(double beat, int number, int value) { add(beat, 0xB0, number, value); }
    void bend(double beat, int value) { add(beat, 0xE0, value & 0x7F, (value >> 7) & 0x7F); }

private:
    void add(double beat, int status, int d1, int d2) {
        MidiEvent e;
        e.tick = at(beat);
        e.data[0] = uint8_t(status);
        e.data[1] = uint8_t(d1);
        e.data[2] = uint8_t(d2);
        e.size = 3;
        song_.events.push_back(e);
    }
    MidiSong& song_;
};

// A song in 4/4 at the given tempo, without events yet.
MidiSong emptySong(double bpm) {
    MidiSong song;
    song.ticksPerQuarter = kTicksPerQuarter;
    song.tempos.push_back(TempoChange{0, static_cast<uint32_t>(std::llround(60e6 / bpm))});
    song.meters.push_back(MeterChange{0, 4, 4});
    return song;
}

// Ends the song at `beats` with its events in playing order.
void finish(MidiSong& song, double beats) {
    song.endTick = Writer::at(beats);
    std::stable_sort(song.events.begin(), song.events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
}

}  // namespace

MidiSong demoPhrase(double bpm) {
    MidiSong song = emptySong(bpm);
    Writer w(song);

    // C - Am - F - G - C, one bar each.
    struct Bar {
        int chord[3];
        int root, fifth;
    };
    const Bar bars[5] = {{{60, 64, 67}, 36, 43},
                         {{57, 60, 64}, 33, 40},
                         {{53, 57, 60}, 41, 48},
                         {{55, 59, 62}, 43, 50},
                         {{60, 64, 67}, 36, 43}};
    for (int b = 0; b < 5; ++b) {
        const double bar = b * 4.0;
        const Bar& c = bars[b];
        // The pedal goes down just after each chord and is lifted just before the next.
        w.controller(bar + 0.05, 64, 127);
        w.controller(bar + 3.9, 64, 0);
        if (b < 4) {
            for (double beat : {0.0, 2.0})
                for (int i = 0; i < 3; ++i) w.note(bar + beat, 1.0, c.chord[i], beat == 0.0 ? 84 : 70);
            w.note(bar + 0.0, 0.9, c.root, 100);
            w.note(bar + 1.0, 0.9, c.fifth, 80);
            w.note(bar + 2.0, 0.9, c.root + 12, 90);
            w.note(bar + 3.0, 0.9, c.fifth, 80);
        } else {
            for (int i = 0; i < 3; ++i) w.note(bar, 3.8, c.chord[i], 80);
            w.note(bar, 3.8, c.root, 100);
        }
    }

    // Melody: beat, length, key, velocity.
    struct Note {
        double beat, length;
        int key, velocity;
    };
    const Note melody[] = {
        {0.0, 1.0, 76, 96},   {1.0, 0.5, 79, 90},   {1.5, 0.5, 81, 88},  {2.0, 1.0, 79, 94},
        {3.0, 1.0, 76, 86},   {4.0, 1.5, 84, 104},  {5.5, 0.5, 83, 84},  {6.0, 1.0, 81, 92},
        {7.0, 1.0, 76, 84},   {8.0, 0.5, 77, 90},   {8.5, 0.5, 79, 86},  {9.0, 1.0, 81, 96},
        {10.0, 1.0, 84, 100}, {11.0, 1.0, 81, 88},  {12.0, 2.0, 83, 100}, {14.0, 1.0, 86, 96},
        {15.0, 1.0, 83, 88},  {16.0, 3.8, 84, 110},
    };
    for (const Note& n : melody) w.note(n.beat, n.length, n.key, n.velocity);

    // Mod wheel swells over bars 2 to 4 and falls back.
    for (int step = 0; step <= 32; ++step) {
        double phase = step / 32.0;
        int value = static_cast<int>(std::lround(100.0 * std::sin(phase * 3.14159265358979)));
        w.controller(4.0 + step * 0.25, 1, std::clamp(value, 0, 127));
    }
    // The long B in bar 4 leans up towards C and settles back.
    for (int step = 0; step <= 16; ++step) {
        double phase = step / 16.0;
        int value = 8192 + static_cast<int>(std::lround(1600.0 * std::sin(phase * 3.14159265358979)));
        w.bend(12.75 + step * 0.0625, value);
    }
    w.bend(14.0, 8192);

    finish(song, 20.0);
    return song;
}

MidiSong programPhrase(double bpm) {
    MidiSong song = emptySong(bpm);
    Writer w(song);
    const int keys[] = {60, 64, 67, 72};
    for (int i = 0; i < 4; ++i) w.note(0.5 * i, 0.45, keys[i], 100);
    for (int key : keys) w.note(2.0, 1.5, key, 90);
    finish(song, 4.0);
    return song;
}

}  // namespace render
