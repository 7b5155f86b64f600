// Display texts: every index maps, through a table of index ranges, to one
// display rule and its arguments. Rules that depend on a sibling parameter
// (fades on their sustain, LFO speeds on their sync switch, modulation amounts
// on their destination) name it by its distance from the displayed index.
#include <array>
#include <cstdint>

#include "params/DisplayFormats.h"
#include "params/EffectKnobDisplay.h"
#include "params/ParameterTable.h"

namespace params {
namespace {
using namespace display;

enum class Kind : uint8_t {
    Hidden,     // "----"
    Decibels,   // level of -60 .. 0 dB
    Balance,    // two letters name the sides
    Integer,    // format of trunc(v * factor) + offset
    Choice,     // entry of a list, then a suffix
    Frequency,  // filter cutoff
    Rate,       // free-running rate with a divisor
    Time,       // envelope times
    Fade,       // sibling: the sustain level
    Toggle,     // two texts around 0.5
    LfoSpeed,   // sibling: the sync switch; rate with a divisor or a sync division
    Amount,     // sibling: the modulation destination
    Tuning,
    FxType,
    FxKnob,
};

struct Rule {
    Kind kind = Kind::Hidden;
    float number = 0.0f;  // factor (Integer) or divisor (Rate, LfoSpeed)
    int offset = 0;       // Integer: added to the decoded number
    const char* a = "";   // Integer: format; Toggle: off text; Choice: suffix; Balance: letters
    const char* b = "";   // Toggle: on text
    const Enumeration* list = nullptr;
    bool onAtHalf = false;  // Toggle: 0.5 already counts as on
};

constexpr Rule hidden() { return {}; }
constexpr Rule integerRule(float factor, int offset, const char* format) {
    return {Kind::Integer, factor, offset, format};
}
constexpr Rule choiceRule(const Enumeration& list, const char* suffix = "") {
    return {Kind::Choice, 0.0f, 0, suffix, "", &list};
}
constexpr Rule toggleRule(const char* off, const char* on, bool onAtHalf = false) {
    return {Kind::Toggle, 0.0f, 0, off, on, nullptr, onAtHalf};
}
constexpr Rule of(Kind kind, float number = 0.0f, const char* letters = "") {
    return {kind, number, 0, letters};
}

constexpr Rule kPercent = integerRule(100.0f, 0, "%d %%");
constexpr Rule kBipolar = integerRule(200.0f, -100, "%+d %%");
constexpr Rule kSemitones = integerRule(96.99f, -48, "%+d semi");
constexpr Rule kCents = integerRule(200.0f, -100, "%+d cents");
constexpr Rule kOnOff = toggleRule("OFF", "ON");
constexpr Rule kPan = of(Kind::Balance, 0.0f, "LR");
constexpr Rule kMix = of(Kind::Balance, 0.0f, "DW");
constexpr Rule kDecibels = of(Kind::Decibels);
constexpr Rule kPwmRate = of(Kind::Rate, 4096.0f);
constexpr Rule kTime = of(Kind::Time);
constexpr Rule kLfoSpeed = of(Kind::LfoSpeed, 2048.0f);
constexpr Rule kFade = of(Kind::Fade);
constexpr Rule kAmount = of(Kind::Amount);
constexpr Rule kSource = choiceRule(kModSource);
constexpr Rule kDestination = choiceRule(kModDestination);

struct Row {
    int first, last;
    Rule rule;
    int sibling = 0;  // distance to the consulted parameter (Fade, LfoSpeed, Amount)
};

constexpr Row kRows[] = {
    {0, 0, hidden()},
    {1, 1, kDecibels},
    {2, 2, kPan},
    {3, 4, kPercent},
    {5, 5, choiceRule(kPortMode)},
    {6, 6, choiceRule(kPlayMode)},
    {7, 7, kPercent},
    {8, 8, choiceRule(kChordMode)},
    {9, 10, kPercent},
    {11, 16, hidden()},
    // Oscillators.
    {17, 19, kOnOff},
    {20, 20, choiceRule(kWaveform)},
    {21, 21, kDecibels},
    {22, 22, kSemitones},
    {23, 23, kCents},
    {24, 24, kPercent},
    {25, 25, kDecibels},
    {26, 27, kPercent},
    {28, 28, kPwmRate},
    {29, 30, kOnOff},
    {31, 31, choiceRule(kWaveform)},
    {32, 32, kDecibels},
    {33, 33, kSemitones},
    {34, 34, kCents},
    {35, 35, kPercent},
    {36, 36, kDecibels},
    {37, 38, kPercent},
    {39, 39, kPwmRate},
    {40, 40, kOnOff},
    {41, 41, kPercent},
    {42, 42, choiceRule(kOsc2FM)},
    {43, 44, kOnOff},
    {45, 45, choiceRule(kWaveform)},
    {46, 46, kDecibels},
    {47, 47, kSemitones},
    {48, 48, kCents},
    {49, 49, kPercent},
    {50, 50, kDecibels},
    {51, 52, kPercent},
    {53, 53, kPwmRate},
    {54, 54, hidden()},
    {55, 55, kPercent},
    {56, 56, choiceRule(kOsc3FM)},
    {57, 58, kOnOff},
    {59, 59, hidden()},
    // Filters and their envelope and LFO.
    {60, 60, choiceRule(kFilterType)},
    {61, 61, of(Kind::Frequency)},
    {62, 63, kPercent},
    {64, 68, kBipolar},
    {69, 70, kTime},
    {71, 71, kPercent},
    {72, 72, kFade, -1},
    {73, 73, kTime},
    {74, 76, hidden()},
    {77, 77, toggleRule("Edgy", "Smooth")},
    {78, 78, of(Kind::Frequency)},
    {79, 79, hidden()},
    {80, 80, choiceRule(kFilter2Type)},
    {81, 84, hidden()},
    {85, 85, choiceRule(kLfoWave)},
    {86, 86, choiceRule(kLfoMode)},
    {87, 87, kOnOff},
    {88, 88, kLfoSpeed, -1},
    {89, 89, kBipolar},
    {90, 90, kSource},
    // Volume envelope, pitch LFO, bend.
    {91, 92, kTime},
    {93, 93, kPercent},
    {94, 94, kFade, -1},
    {95, 95, kTime},
    {96, 98, hidden()},
    {99, 99, kPercent},
    {100, 100, kBipolar},
    {101, 101, kSource},
    {102, 102, kLfoSpeed, +1},
    {103, 103, kOnOff},
    {104, 104, choiceRule(kLfoWave)},
    {105, 106, choiceRule(kBendRange, " sm")},
    {107, 109, kOnOff},
    {110, 110, hidden()},
    // Free envelopes and LFOs.
    {111, 114, kTime},
    {115, 116, kPercent},
    {117, 118, kFade, -2},
    {119, 120, kTime},
    {121, 122, hidden()},
    {123, 126, kBipolar},
    {127, 128, kAmount, +3},
    {129, 129, kBipolar},
    {130, 131, kDestination},
    {132, 132, kSource},
    {133, 133, hidden()},
    {134, 135, choiceRule(kLfoWave)},
    {136, 137, choiceRule(kLfoMode)},
    {138, 139, kOnOff},
    {140, 141, kLfoSpeed, -2},
    {142, 143, kAmount, +3},
    {144, 144, kBipolar},
    {145, 146, kDestination},
    {147, 147, kSource},
    {148, 148, hidden()},
    // Modulation slots.
    {149, 152, kSource},
    {153, 156, kAmount, +4},
    {157, 160, kDestination},
    {161, 164, kAmount, -4},
    {165, 168, kSource},
    {169, 169, hidden()},
    // Effects.
    {170, 172, of(Kind::FxType)},
    {173, 175, kMix},
    {176, 178, kPan},
    {179, 202, of(Kind::FxKnob)},
    {203, 204, hidden()},
    {205, 205, kBipolar},
    {206, 207, hidden()},
    {208, 208, kBipolar},
    {209, 209, hidden()},
    // Arpeggiator.
    {210, 210, choiceRule(kArpSteps)},
    {211, 211, choiceRule(kArpMode)},
    {212, 212, choiceRule(kArpOctaves)},
    {213, 216, kPercent},
    {217, 217, choiceRule(kArpSpeed)},
    {218, 218, toggleRule("OFF", "ON", true)},
    {219, 219, kOnOff},
    {220, 318, hidden()},
    {319, 319, kOnOff},
    // Vocoder, sample, oversampling.
    {320, 320, toggleRule("Sample", "Input")},
    {321, 321, toggleRule("Normal", "Swapped", true)},
    {322, 323, kOnOff},
    {324, 324, choiceRule(kOverSampling)},
    {325, 783, hidden()},
    // Global.
    {784, 785, kPercent},
    {786, 786, of(Kind::Tuning)},
    {787, 789, kBipolar},
    {790, 790, hidden()},
    {791, 792, kOnOff},
    {793, 798, hidden()},
};

constexpr int kNoRow = -1;

constexpr std::array<int16_t, prm::kCount> kRowOf = [] {
    std::array<int16_t, prm::kCount> rowOf{};
    for (int16_t& r : rowOf) r = kNoRow;
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r)
        for (int i = kRows[r].first; i <= kRows[r].last; ++i) rowOf[i] = static_cast<int16_t>(r);
    return rowOf;
}();

// Every index has exactly one rule, and every sibling lies inside the table.
constexpr bool rowsAreComplete() {
    int covered[prm::kCount] = {};
    for (const Row& row : kRows) {
        if (row.first > row.last || row.first < 0 || row.last >= prm::kCount) return false;
        if (row.first + row.sibling < 0 || row.last + row.sibling >= prm::kCount) return false;
        for (int i = row.first; i <= row.last; ++i) ++covered[i];
    }
    for (int count : covered)
        if (count != 1) return false;
    return true;
}
static_assert(rowsAreComplete(), "each parameter needs exactly one display rule");

void writeDisplay(const Row& row, int index, const ParamValue* values, char* text) {
    const Rule& rule = row.rule;
    float v = values[index];
    float sibling = values[index + row.sibling];
    switch (rule.kind) {
        case Kind::Hidden: return copy(text, "----");
        case Kind::Decibels: return decibels(text, v);
        case Kind::Balance: return balance(text, v, rule.a[0], rule.a[1]);
        case Kind::Integer: return integer(text, v, rule.number, rule.offset, rule.a);
        case Kind::Choice: return choice(text, *rule.list, v, rule.a);
        case Kind::Frequency: return frequency(text, v);
        case Kind::Rate: return rate(text, v, rule.number);
        case Kind::Time: return time(text, v);
        case Kind::Fade: return fade(text, v, sibling);
        case Kind::Toggle: {
            bool on = rule.onAtHalf ? v >= 0.5f : v > 0.5f;
            return copy(text, on ? rule.b : rule.a);
        }
        case Kind::LfoSpeed:
            if (sibling < 0.5f) return rate(text, v, rule.number);
            return choice(text, kSyncDivision, v);
        case Kind::Amount: return amount(text, v, sibling);
        case Kind::Tuning: return tuning(text, v);
        case Kind::FxType: return choice(text, kFxType, v);
        case Kind::FxKnob: {
            int slot = fxKnobSlot(index);
            return effectKnobDisplay(fxKnobType(values[prm::Fx1Type + slot]), fxKnobNumber(index),
                                     v, text);
        }
    }
}
}  // namespace

void parameterDisplay(int index, const ParamValue* values, char* text) {
    if (index < 0 || index >= prm::kCount) return copy(text, "----");
    writeDisplay(kRows[kRowOf[index]], index, values, text);
}

}  // namespace params
