// The piece: 132 BPM, 4/4, seven sections of four bars over Am - F - C - G,
// each section a program change followed by one part, then a closing chord:
// about 52 seconds. The programs come from the list below, which the bank's
// designer adjusts when the bank changes: each entry names the role the
// section plays and the factory program that plays it. A program that
// arpeggiates by itself (play mode "Arp") gets held chords in the arpeggio
// section; otherwise the section writes the arpeggio out note by note.
#include "DemoSong.h"

#include <algorithm>

namespace demosong {
namespace {

struct Section {
    const char* role;
    int program;       // 0-based, as MIDI program change numbers it
    bool arpeggiates;  // the program plays an arpeggio from held chords
};

// Programs of the current bank, in the order they play. The pad comes last:
// it also plays the closing chord, whose release rings out in the render's
// tail (a program change cuts the previous program's release short).
const Section kSections[] = {
    {"Drums", 94, false},     // Noise Snare
    {"Bass", 1, false},       // Analog Bass
    {"Keys", 42, false},      // Tine Electric Piano
    {"Lead", 16, false},      // Sync Lead
    {"Arpeggio", 74, true},   // Arp Pluck Up 1/16, from held chords
    {"Bells", 66, false},     // Vibraphone
    {"Pad", 0, false},        // Velvet Poly Synth
};

constexpr double kBpm = 132.0;
constexpr int kBarsPerSection = 4;
constexpr double kBeatsPerBar = 4.0;
constexpr double kSectionBeats = kBarsPerSection * kBeatsPerBar;

// One bar each: the chord tones from low to high and the bass root.
struct Chord {
    int tones[3];
    int root;
};
const Chord kProgression[kBarsPerSection] = {
    {{57, 60, 64}, 45},  // Am
    {{57, 60, 65}, 41},  // F
    {{55, 60, 64}, 48},  // C
    {{55, 59, 62}, 43},  // G
};

class Writer {
public:
    explicit Writer(Song& song) : song_(song) {}
    void at(double sectionStartBeat) { origin_ = sectionStartBeat; }
    void note(double beat, double beats, int key, int velocity) {
        add(beat, 0x90, key, velocity);
        add(beat + beats, 0x80, key, 0);
    }
    void program(double beat, int number) { add(beat, 0xC0, number, 0); }
    void marker(double beat, const std::string& text) {
        Event e;
        e.tick = tick(beat);
        e.marker = text;
        song_.events.push_back(e);
    }

private:
    uint32_t tick(double beat) const { return static_cast<uint32_t>((origin_ + beat) * kTicksPerBeat + 0.5); }
    void add(double beat, int status, int d1, int d2) {
        Event e;
        e.tick = tick(beat);
        e.status = static_cast<uint8_t>(status);
        e.data1 = static_cast<uint8_t>(d1);
        e.data2 = static_cast<uint8_t>(d2);
        song_.events.push_back(e);
    }
    Song& song_;
    double origin_ = 0.0;
};

// Each part fills one section; every part but the last (the pad) ends by its
// last bar's third beat, so that releases fade before the next program change.

void pad(Writer& w) {
    for (int bar = 0; bar < kBarsPerSection; ++bar) {
        const Chord& c = kProgression[bar];
        w.note(bar * 4.0, 3.5, c.root + 12, 60);
        for (int t : c.tones) w.note(bar * 4.0, 3.5, t, 66);
    }
}

void bass(Writer& w) {
    const int pattern[8] = {0, 0, 12, 0, 0, 7, 12, 7};
    for (int bar = 0; bar < kBarsPerSection; ++bar)
        for (int eighth = 0; eighth < (bar == kBarsPerSection - 1 ? 5 : 8); ++eighth)
            w.note(bar * 4.0 + eighth * 0.5, 0.42, kProgression[bar].root + pattern[eighth],
                   eighth % 2 == 0 ? 104 : 88);
}

void keys(Writer& w) {
    const double hits[4][2] = {{0.0, 1.0}, {1.5, 0.5}, {2.5, 0.4}, {3.0, 0.8}};
    for (int bar = 0; bar < kBarsPerSection; ++bar)
        for (const auto& hit : hits) {
            if (bar == kBarsPerSection - 1 && hit[0] > 0.0) break;
            const double length = bar == kBarsPerSection - 1 ? 2.0 : hit[1];
            for (int t : kProgression[bar].tones) w.note(bar * 4.0 + hit[0], length, t + 12, hit[0] == 0.0 ? 96 : 80);
        }
}

void lead(Writer& w) {
    struct Note {
        double beat, beats;
        int key, velocity;
    };
    // Slightly overlapping notes, so that the mono programs play them legato.
    const Note melody[] = {
        {0.0, 1.55, 76, 100}, {1.5, 0.55, 74, 90},  {2.0, 1.05, 72, 94},  {3.0, 1.05, 69, 88},
        {4.0, 1.05, 72, 98},  {5.0, 0.55, 74, 90},  {5.5, 0.55, 72, 88},  {6.0, 2.0, 69, 94},
        {8.0, 1.55, 67, 96},  {9.5, 0.55, 69, 88},  {10.0, 1.05, 72, 94}, {11.0, 1.05, 76, 100},
        {12.0, 1.05, 74, 98}, {13.0, 0.55, 71, 88}, {13.5, 1.5, 74, 96},
    };
    for (const Note& n : melody) w.note(n.beat, n.beats, n.key, n.velocity);
}

void arpeggio(Writer& w, bool programArpeggiates) {
    for (int bar = 0; bar < kBarsPerSection; ++bar) {
        const Chord& c = kProgression[bar];
        const bool last = bar == kBarsPerSection - 1;
        if (programArpeggiates) {
            for (int t : c.tones) w.note(bar * 4.0, last ? 3.0 : 3.9, t, 96);
            continue;
        }
        // Sixteenths up the chord over two octaves and back.
        const int steps[8] = {c.tones[0], c.tones[1], c.tones[2], c.tones[0] + 12,
                              c.tones[1] + 12, c.tones[2] + 12, c.tones[0] + 12, c.tones[2]};
        for (int s = 0; s < (last ? 12 : 16); ++s)
            w.note(bar * 4.0 + s * 0.25, 0.22, steps[s % 8], s % 4 == 0 ? 104 : 82);
    }
}

void bells(Writer& w) {
    const double notes[][3] = {{0.0, 2.0, 81}, {2.0, 2.0, 84}, {4.0, 3.0, 81}, {7.0, 1.0, 76},
                               {8.0, 2.0, 79}, {10.0, 2.0, 76}, {12.0, 2.0, 79}};
    for (const auto& n : notes) w.note(n[0], n[1], int(n[2]), 92);
}

void drums(Writer& w) {
    constexpr int kLow = 36, kMid = 38, kHigh = 42;
    for (int bar = 0; bar < kBarsPerSection; ++bar) {
        const double b = bar * 4.0;
        for (int eighth = 0; eighth < 8; ++eighth) w.note(b + eighth * 0.5, 0.2, kHigh, eighth % 2 ? 58 : 70);
        for (double beat : {0.0, 2.0, 2.5}) w.note(b + beat, 0.3, kLow, 110);
        if (bar < kBarsPerSection - 1) {
            for (double beat : {1.0, 3.0}) w.note(b + beat, 0.3, kMid, 104);
        } else {
            w.note(b + 1.0, 0.3, kMid, 104);
            for (int s = 0; s < 8; ++s) w.note(b + 2.0 + s * 0.25, 0.2, kMid + (s / 2) * 2, 80 + s * 4);
        }
    }
}

}  // namespace

Song demoSong() {
    Song song;
    song.bpm = kBpm;
    song.title = "Brennix demo";
    Writer w(song);
    const int count = static_cast<int>(sizeof kSections / sizeof kSections[0]);
    for (int s = 0; s < count; ++s) {
        const Section& section = kSections[s];
        w.at(s * kSectionBeats);
        w.marker(0.0, section.role);
        w.program(0.0, section.program);
        const std::string role = section.role;
        if (role == "Pad") pad(w);
        else if (role == "Bass") bass(w);
        else if (role == "Keys") keys(w);
        else if (role == "Lead") lead(w);
        else if (role == "Arpeggio") arpeggio(w, section.arpeggiates);
        else if (role == "Bells") bells(w);
        else if (role == "Drums") drums(w);
    }
    // A closing A minor chord on the next downbeat, by the last program.
    constexpr double kClosingBeats = 3.0;
    w.at(count * kSectionBeats);
    for (int key : {45, 57, 60, 64}) w.note(0.0, kClosingBeats, key, 80);
    song.endTick = static_cast<uint32_t>((count * kSectionBeats + kClosingBeats) * kTicksPerBeat);

    // In time order; at one tick markers and program changes first, then note-offs, then note-ons.
    auto rank = [](const Event& e) {
        if (!e.marker.empty()) return 0;
        if ((e.status & 0xF0) == 0xC0) return 1;
        return (e.status & 0xF0) == 0x80 ? 2 : 3;
    };
    std::stable_sort(song.events.begin(), song.events.end(), [&](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : rank(a) < rank(b);
    });
    return song;
}

}  // namespace demosong
