// The factory bank's sound checks: every program played through the loaded
// plug-in (a single note, then a four-note chord or, for the mono play modes,
// a phrase) and measured for level, clipping, DC, its tail and its pitch.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bankgen/Categories.h"
#include "vsthost/PluginHost.h"

namespace bank_checks {

constexpr int kSampleRate = 44100;
// A single note at velocity 100 peaks in this range; a chord or phrase stays below full scale.
constexpr double kNotePeakMinDb = -12.0;
constexpr double kNotePeakMaxDb = -1.0;
constexpr double kClipDb = 0.0;
// Largest mean of either channel while the notes sound (-50 dBFS).
constexpr double kMaxDc = 0.00316;
// After the last note-off the output falls below kSilenceDb within this time,
// unless the program holds its notes.
constexpr double kTailLimitSeconds = 10.0;
constexpr double kSilenceDb = -70.0;
// A pitched program's fundamental at note 69 lies this close to 440 Hz (or its octave).
constexpr double kMaxCents = 5.0;
// Below this a note counts as silent.
constexpr double kSilentDb = -60.0;

// One played passage.
struct Take {
    std::vector<float> left, right;
    size_t soundingEnd = 0;     // the sample of the last note-off
    bool finite = true;         // no NaN or infinity anywhere
    double peakDb = -200.0;
    double dc = 0.0;            // the larger |mean| of the two channels while the notes sound
    // Seconds from the last note-off until the output stays below kSilenceDb;
    // none if it still sounds kTailLimitSeconds later.
    std::optional<double> tailSeconds;
};

// The fundamental of a sound, judged from its spectrum: the lowest strong
// partial of which the strong partials are (nearly) whole multiples.
struct PitchReading {
    bool clear = false;           // a harmonic series explains most of the sound's power
    double hz = 0.0;
    double harmonicShare = 0.0;   // share of the partials' power the series explains
    std::vector<double> partials;  // the strongest partials (Hz), loudest first
};
PitchReading readPitch(const std::vector<float>& mono, size_t begin, double sampleRate);

// What a program's settings say about the checks.
struct ProgramTraits {
    int playMode = 0;
    bool monoPhrase = false;  // Mono, Mono2, Legato or Arp: played as a phrase, not a chord
    bool holds = false;       // notes never end by themselves: "Volume Envelope Release" at
                              // its top (above 0.999), or the arpeggiator latched
};
ProgramTraits traitsOf(vsthost::PluginHost& host);

struct ProgramReport {
    int program = 0;
    std::string name;
    ProgramTraits traits;
    Take note;   // note 69 at velocity 100, held 1.5 s
    Take chord;  // C4 E4 G4 C5 held 1.5 s, or a legato phrase over them
    std::optional<int> expectedPitch;  // semitones from concert pitch, none when unpitched
    PitchReading pitch;
    double centsOff = 0.0;

    // One line per failed check, each starting with its check's name:
    // "silent", "invalid", "note level", "chord level", "dc", "tail", "pitch".
    std::vector<std::string> problems;
    std::string summary() const;  // the measurements, on one line
};

// Selects the program (again before each passage, so each starts from rest)
// and measures it against what the bank source says of it.
ProgramReport checkProgram(vsthost::PluginHost& host, int program, const bankgen::ProgramNotes& notes);

// The bank source's notes on all 128 programs (resources/bank/factory.txt).
const std::vector<bankgen::ProgramNotes>& factoryNotes();

}  // namespace bank_checks
