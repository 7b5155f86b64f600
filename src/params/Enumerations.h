// The named choices among parameter values: the lists shown by the display
// texts and the editor's menus, and how a normalised value selects an entry.
// Shared by the parameter table, the editor and the engine.
#pragma once

#include <span>

#include "params/ParamIds.h"

namespace params {

// A choice among named entries. The entry number is trunc(value * factor); the
// editor writes entry i as (i + 0.5) / factor. A few lists are decoded with a
// factor wider than the list (modulation sources and destinations, effect
// types), so automation can reach numbers past the end; those read as entry 0,
// which is "None" in each of them.
struct Enumeration {
    std::span<const char* const> names;
    float factor;

    constexpr int size() const { return static_cast<int>(names.size()); }

    // The raw entry number, 0 .. trunc(factor). NaN and values outside 0..1 are
    // pinned to the range first, so a stray value never indexes out of bounds.
    constexpr int number(float value) const {
        if (!(value >= 0.0f)) value = 0.0f;
        if (value > 1.0f) value = 1.0f;
        return static_cast<int>(value * factor);
    }
    // The entry number limited to the list (numbers past the end give 0).
    constexpr int index(float value) const {
        int n = number(value);
        return n < size() ? n : 0;
    }
    constexpr const char* name(float value) const { return names[index(value)]; }
    // The value the editor writes for entry i: the middle of its band.
    constexpr float valueOf(int entry) const { return (static_cast<float>(entry) + 0.5f) / factor; }
};

namespace lists {

inline constexpr const char* kPortMode[] = {"Off", "Const Rate", "Const Time", "Held Rate",
                                            "Held Time"};
inline constexpr const char* kPlayMode[] = {"Poly", "Mono",     "Mono2",    "Legato",
                                            "Arp",  "Unison 2", "Unison 4", "Unison 6"};
inline constexpr const char* kChordMode[] = {"Off", "Learn", "Play"};
inline constexpr const char* kOsc2FM[] = {"Off", "Ring 1", "FM 1"};
inline constexpr const char* kOsc3FM[] = {"Off",  "Ring 1",   "FM 1",  "Ring 2",
                                          "FM 2", "Ring 1+2", "FM 1+2"};
inline constexpr const char* kFilterType[] = {
    "Bypass",        "6dB LowPass",  "6dB HighPass",  "12dB LowPass", "12dB HighPass",
    "12dB BandPass", "12dB Notch",   "18dB LowPass",  "18dB HighPass", "24dB LowPass",
    "24dB HighPass", "24dB BandPass", "24dB Notch",   "Comb"};
inline constexpr const char* kFilter2Type[] = {"Bypass",        "6dB LowPass",  "6dB HighPass",
                                               "12dB LowPass",  "12dB HighPass", "24dB LowPass",
                                               "24dB HighPass"};
inline constexpr const char* kLfoWave[] = {"Sine", "Triangle", "Saw Up", "Saw Down", "Square", "S&H"};
inline constexpr const char* kLfoMode[] = {"Poly", "Free", "Mono"};
inline constexpr const char* kSyncDivision[] = {
    "Off",   "16/1*", "16/1", "16/1T", "8/1*",  "8/1",  "8/1T",  "4/1*",  "4/1",  "4/1T", "2/1*",
    "2/1",   "2/1T",  "1/1*", "1/1",   "1/1T",  "1/2*", "1/2",   "1/2T",  "1/4*", "1/4",  "1/4T",
    "1/8*",  "1/8",   "1/8T", "1/16*", "1/16",  "1/16T", "1/32*", "1/32", "1/32T"};
inline constexpr const char* kModSource[] = {
    "None", "Mod Whl", "Mod/Aft.", "Ch. Aftr", "Poly Aftr", "Velocity", "Pitchbend", "Breath",
    "Foot", "Expressn", "CC16",    "CC17",     "CC18",      "CC19",     "CC20",      "CC21",
    "CC84", "CC85",     "CC86",    "CC87",     "CC88",      "CC89",     "CC90",      "Env 1",
    "Env 2", "LFO 1",   "LFO 2",   "Arp Free", "Arp Vel",   "Note",     "Offset"};
inline constexpr const char* kModDestination[] = {
    "None",      "Main Pitch", "Port.",     "Pit LFO Spd", "Pit LFO Amt", "Vol 1",     "Semi 1",
    "Fine 1",    "Sym 1",      "Sub 1",     "PWM 1",       "PWM 1 Spd",   "FM 1",      "Vol 2",
    "Semi 2",    "Fine 2",     "Sym 2",     "Sub 2",       "PWM 2",       "PWM 2 Spd", "FM 2",
    "Vol 3",     "Semi 3",     "Fine 3",    "Sym 3",       "Sub 3",       "PWM 3",     "PWM 3 Spd",
    "FM 3",      "Filt Freq",  "Filt Q",    "Filt Dist",   "F.Env Amt",   "F.Env Spd", "F.LFO Spd",
    "Filt2 Freq", "Volume",    "Panning",   "Amp Spd",     "Env 1 Spd",   "Env 2 Spd", "LFO1 Amt",
    "LFO2 Amt",  "LFO1 Spd",   "LFO2 Spd",  "FX 1 mix",    "FX 1 Pan",    "FX1 a",     "FX 1b",
    "FX1 c",     "FX1 d",      "FX1 e",     "FX1 f",       "FX1 G",       "FX1 H",     "FX 2 mix",
    "FX 2 Pan",  "FX2 a",      "FX 2b",     "FX2 c",       "FX2 d",       "FX2 e",     "FX2 f",
    "FX2 G",     "FX2 H",      "FX 3 mix",  "FX 3 Pan",    "FX3 a",       "FX 3b",     "FX3 c",
    "FX3 d",     "FX3 e",      "FX3 f",     "FX3 G",       "FX3 H",       "Env 1 Amt", "Env 2 Amt"};
inline constexpr const char* kBendRange[] = {"Off", "1", "2",  "3",  "4",  "5",  "6",  "7",
                                             "8",   "9", "10", "11", "12", "24", "36", "48"};
inline constexpr const char* kArpMode[] = {"Up",        "Down",      "Up/Down", "Down/Up",
                                           "Random",    "Ordered",   "Rev. Ord.", "O Up/Down",
                                           "O Down/Up", "Chord",     "Mod"};
inline constexpr const char* kArpSpeed[] = {"1/4x bpm", "1/3x bpm", "1/2x bpm",
                                            "2/3x bpm", "1x bpm",   "3/2x bpm",
                                            "2x bpm",   "3x bpm",   "4x bpm"};
inline constexpr const char* kArpSteps[] = {
    "1 step",  "2 steps",  "3 steps",  "4 steps",  "5 steps",  "6 steps",  "7 steps",  "8 steps",
    "9 steps", "10 steps", "11 steps", "12 steps", "13 steps", "14 steps", "15 steps", "16 steps"};
inline constexpr const char* kArpOctaves[] = {"1 Octave ", "2 Octaves", "3 Octaves", "4 Octaves"};
inline constexpr const char* kOverSampling[] = {"Mode:1x", "Mode:2x", "Mode:4x", "Mode:8x",
                                                "Mode:16x"};
// The long type names, as menus and the type parameters' display show them.
inline constexpr const char* kFxType[] = {
    "None",    "Mono Delay", "Stereo Delay", "Comb Filter", "Reverb",     "Chorus",
    "Chorus / Delay.", "Flanger", "Phaser",  "WahWah Delay", "Distort",   "Low Fi",
    "Amp Sim", "Waveshaper", "Widener",      "AutoPan",     "Gator",      "Vocoder",
    "FX Filt", "Equalizer",  "Compressor",   "Ensemble"};
// Note lengths of the tempo-synced effect delays.
inline constexpr const char* kBeat[] = {"1/32T", "1/32", "1/32*", "1/16T", "1/16",
                                        "1/16*", "1/8T", "1/8",   "1/8*",  "1/4T",
                                        "1/4",   "1/4*", "1/2T",  "1/2",   "1/2*"};
inline constexpr const char* kAmpSimType[] = {"None", "4x10", "4x12", "Bass", "Combo", "Radio"};
inline constexpr const char* kGatorMode[] = {"Left & Right", "Left only", "Right only"};
inline constexpr const char* kGatorSync[] = {"Off", "On", "Auto"};
inline constexpr const char* kOffOn[] = {"Off", "On"};

// The 128 oscillator waveforms. Entry 104 repeats the name "Spec 30" of entry
// 84; the menus have always shown it that way.
inline constexpr const char* kWaveform[] = {
    "Sine", "Saw", "Square", "Triangle", "Rez 1", "Rez 2", "Rez 3", "HalfSine", "SineSaw",
    "SineSqr", "SineRez", "SawSqr", "SawRez", "SqrRez", "W. Noise", "P. Noise", "Harmc1",
    "Harmc2", "Harmc3", "Harmc4", "Saw 2", "Saw 3", "Saw 4", "Saw 5", "Sqr 2", "Sqr 3", "Sqr 4",
    "Sqr 5", "Triang 2", "Triang 3", "Glass", "Hollow", "Octave", "Overtone", "Rez 4", "Rez 5",
    "Digix", "Organ 1", "Organ 2", "Organ 3", "Ch. Organ", "Whistle", "Vocal A", "Vocal E",
    "Vocal O", "Vocal U", "Vox 01", "Vox 02", "Vox 03", "Vox 04", "Vox 05", "Vox 06", "Vox 07",
    "Vox 08", "Vox 09", "Spec 01", "Spec 02", "Spec 03", "Spec 04", "Spec 05", "Spec 06",
    "Spec 07", "Spec 08", "Spec 09", "Spec 10", "Spec 11", "Spec 12", "Spec 13", "Spec 14",
    "Spec 15", "Spec 16", "Spec 17", "Spec 18", "Spec 19", "Spec 20", "Spec 21", "Spec 22",
    "Spec 23", "Spec 24", "Spec 25", "Spec 26", "Spec 27", "Spec 28", "Spec 29", "Spec 30",
    "Spec 31", "Spec 32", "Spec 33", "Spec 34", "Spec 35", "Spec 36", "Spec 37", "Spec 38",
    "Spec 39", "Spec 40", "Spec 41", "Spec 42", "Spec 43", "Spec 44", "Spec 45", "Spec 46",
    "Spec 47", "Spec 48", "Spec 49", "Spec 30", "Spec 51", "Spec 52", "Spec 53", "Spec 54",
    "Spec 55", "Spec 56", "Spec 57", "Spec 58", "Spec 59", "Spec 60", "Spec 61", "Spec 62",
    "Spec 63", "Spec 64", "Spec 65", "Spec 66", "Spec 67", "Spec 68", "Spec 69", "Spec 70",
    "Spec 71", "Spec 72", "Spec 73"};

// Knob names A..H by effect type; "-" marks a knob the type ignores.
inline constexpr const char* kFxKnobNames[][8] = {
    {"FX A", "FX B", "FX C", "FX D", "FX E", "FX F", "FX G", "FX H"},
    {"Length", "Feedback", "LP Filter", "HP Filter", "Widen", "Mod Amt", "Mod Speed", "-"},
    {"Left Delay", "Right Delay", "Feedback", "CrossFeed", "LP Filter", "HP Filter", "Mod Amt",
     "Feed Equal"},
    {"Freq 1", "Feed 1", "Mod 1", "Mod Spd 1", "Freq 2", "Feed 2", "Mod 2", "Mod Spd 2"},
    {"Pre", "Size", "Damp", "LP Filter", "HP Filter", "Spread", "-", "-"},
    {"Length", "Width", "Speed", "Spread", "LP Filter", "Widen", "-", "-"},
    {"Length", "Width", "Speed", "Spread", "Delay Len", "Delay Feed", "Delay Vol", "-"},
    {"Length", "Width", "Speed", "Feedback", "Pan Mod", "LP Filter", "HP Filter", "-"},
    {"Stages", "Pitch", "Feedback", "Width", "Speed", "Spread", "Pan", "-"},
    {"Low", "High", "Speed", "Res", "Delay Len", "Feedback", "Vol", "-"},
    {"Limit", "Rect", "Sat", "Tone", "Emp", "Boost", "Mod Whl", "-"},
    {"Bits", "Sample", "Filter", "Mod. Whl", "-", "-", "-", "-"},
    {"Type", "Distort", "Bass", "Treble", "Vol", "-", "-", "-"},
    {"Top", "Bottom", "Rect", "Low", "Mod Amt", "Mod Spd", "-", "-"},
    {"Amount", "Width", "Speed", "LP Filter", "HP Filter", "-", "-", "-"},
    {"Amount", "Speed", "-", "-", "-", "-", "-", "-"},
    {"Speed", "Smooth", "Mode", "Sync", "-", "-", "-", "-"},
    {"Mix ", "BandWidth", "Shift", "LP Filter", "HP Filter", "Boost", "In Vol", "In Pitch"},
    {"Type", "Frequency", "Q", "Distort", "Smooth", "-", "-", "-"},
    {"60Hz", "200Hz", "600Hz", "2000Hz", "8000Hz", "-", "-", "-"},
    {"Threshold", "Ratio", "Attack", "Release", "Volume", "-", "-", "-"},
    {"Length", "Width", "Speed", "Feedback", "Ensemble", "Spread", "-", "-"}};

// Names of the editor's command tags 900..916 (buttons and menus that edit no value).
inline constexpr const char* kEditorCommand[] = {
    "To Mod Screen",    "To Arp Screen",    "To Advance Screen", "To Preset Screen",
    "Show Online Manual", "Show About Screen", "Preview Sound",   "Edited Preset",
    "Original Preset",  "Generated Preset", "Variation A",       "Variation B",
    "Variation C",      "Variation D",      "Arp File Menu",     "ECS Menu",
    "File Menu"};

}  // namespace lists

inline constexpr Enumeration kPortMode{lists::kPortMode, 4.99f};
inline constexpr Enumeration kPlayMode{lists::kPlayMode, 7.99f};
inline constexpr Enumeration kChordMode{lists::kChordMode, 2.99f};
inline constexpr Enumeration kOsc2FM{lists::kOsc2FM, 2.99f};
inline constexpr Enumeration kOsc3FM{lists::kOsc3FM, 6.99f};
inline constexpr Enumeration kFilterType{lists::kFilterType, 13.99f};
inline constexpr Enumeration kFilter2Type{lists::kFilter2Type, 6.99f};
inline constexpr Enumeration kLfoWave{lists::kLfoWave, 5.99f};
inline constexpr Enumeration kLfoMode{lists::kLfoMode, 2.99f};
inline constexpr Enumeration kSyncDivision{lists::kSyncDivision, 30.99f};
inline constexpr Enumeration kModSource{lists::kModSource, 99.99f};
inline constexpr Enumeration kModDestination{lists::kModDestination, 99.99f};
inline constexpr Enumeration kBendRange{lists::kBendRange, 15.99f};
inline constexpr Enumeration kArpMode{lists::kArpMode, 10.99f};
inline constexpr Enumeration kArpSpeed{lists::kArpSpeed, 8.99f};
inline constexpr Enumeration kArpSteps{lists::kArpSteps, 15.99f};
inline constexpr Enumeration kArpOctaves{lists::kArpOctaves, 3.99f};
inline constexpr Enumeration kOverSampling{lists::kOverSampling, 4.99f};
inline constexpr Enumeration kFxType{lists::kFxType, 24.99f};
inline constexpr Enumeration kWaveform{lists::kWaveform, 127.99f};
inline constexpr Enumeration kBeat{lists::kBeat, 14.99f};
inline constexpr Enumeration kAmpSimType{lists::kAmpSimType, 5.99f};
inline constexpr Enumeration kGatorMode{lists::kGatorMode, 2.99f};
inline constexpr Enumeration kGatorSync{lists::kGatorSync, 2.99f};
inline constexpr Enumeration kOffOn{lists::kOffOn, 1.99f};

// Effect slots: knob k (0..7 for A..H) of slot s (0..2) is parameter 179 + 3k + s.
constexpr int kFxSlots = 3;
constexpr int kFxKnobs = 8;
constexpr int kFxTypeCount = 22;  // 0 "None" .. 21 "Ensemble"
constexpr int fxKnobParameter(int slot, int knob) { return prm::FxKnobFirst + 3 * knob + slot; }
constexpr int fxKnobSlot(int parameter) { return (parameter - prm::FxKnobFirst) % 3; }
constexpr int fxKnobNumber(int parameter) { return (parameter - prm::FxKnobFirst) / 3; }

// The type a slot's type value selects for its knobs: 0..21; the numbers 22..24
// that automation can reach have no effect of their own and act as "None".
constexpr int fxKnobType(float typeValue) {
    int type = kFxType.number(typeValue);
    return type < kFxTypeCount ? type : 0;
}
constexpr const char* fxKnobName(int type, int knob) {
    return lists::kFxKnobNames[type >= 0 && type < kFxTypeCount ? type : 0][knob];
}

// The name of an editor command tag 900..916, nullptr for any other tag.
constexpr int kEditorCommandFirst = 900;
constexpr const char* editorCommandName(int tag) {
    int i = tag - kEditorCommandFirst;
    return i >= 0 && i < static_cast<int>(std::size(lists::kEditorCommand)) ? lists::kEditorCommand[i]
                                                                            : nullptr;
}

}  // namespace params
