// Host-visible parameter names. Unnamed indexes carry program data and answer
// with a row of dashes; the effect knobs take their name from the slot's type.
#include <array>
#include <cstring>
#include <string>

#include "params/Enumerations.h"
#include "params/ParameterTable.h"

namespace params {
namespace {

struct NamedIndex {
    int index;
    const char* name;
};

// Some names end in blanks; hosts have always seen them that way.
constexpr NamedIndex kNamed[] = {
    {0, "None"}, {1, "Main Volume"}, {2, "Main Panning"}, {3, "Velocity > Volume"},
    {4, "Port Speed"}, {5, "Port Mode"}, {6, "Play Mode"}, {7, "Unison Amount"},
    {8, "Chord Mode"}, {9, "Analog Drift"}, {10, "Cross Amount"}, {11, "Cross Pr A"},
    {12, "Cross Pr B"}, {17, "Osc 1 On"}, {18, "Osc 2 On"}, {19, "Osc 3 On"},
    {20, "Osc 1 Type"}, {21, "Osc 1 Volume"}, {22, "Osc 1 Semi"}, {23, "Osc 1 Fine"},
    {24, "Osc 1 Symmetry"}, {25, "Osc 1 Sub-Osc Vol"}, {26, "Osc 1 Spread"}, {27, "Osc 1 PWM"},
    {28, "Osc 1 PWM Speed"}, {29, "Osc 1 Output"}, {30, "Osc 1 Tracking"},
    {31, "Osc 2 Type"}, {32, "Osc 2 Volume"}, {33, "Osc 2 Semi"}, {34, "Osc 2 Fine"},
    {35, "Osc 2 Symmetry"}, {36, "Osc 2 Sub-Osc Vol"}, {37, "Osc 2 Spread"}, {38, "Osc 2 PWM"},
    {39, "Osc 2 PWM Speed"}, {40, "Osc 2 Output"}, {41, "Osc 2 FM Amount"},
    {42, "Osc 2 FM Mode"}, {43, "Osc 2 Sync"}, {44, "Osc 2 Tracking"},
    {45, "Osc 3 Type"}, {46, "Osc 3 Volume"}, {47, "Osc 3 Semi"}, {48, "Osc 3 Fine"},
    {49, "Osc 3 Symmetry"}, {50, "Osc 3 Sub-Osc Vol"}, {51, "Osc 3 Spread"}, {52, "Osc 3 PWM"},
    {53, "Osc 3 PWM Speed"}, {55, "Osc 3 FM Amount"}, {56, "Osc 3 FM Mode"},
    {57, "Osc 3 Sync"}, {58, "Osc 3 Tracking"},
    {60, "Filter Type"}, {61, "Filter Frequency"}, {62, "Filter Resonance"},
    {63, "Filter Distortion"}, {64, "Filter Envelope Amt"}, {65, "Vel > Filter Frequency Amt"},
    {66, "Filter keytracking"}, {67, "Mod > Filter Frequency Amt"}, {68, "Filter LFO Amt"},
    {69, "Filter Envelope Attack"}, {70, "Filter Envelope Decay"},
    {71, "Filter Envelope Sustain "}, {72, "Filter Envelope Fade"},
    {73, "Filter Envelope Release"}, {77, "Filter Smoothing"}, {78, "Filter 2 Frequency"},
    {80, "Filter 2 Type"}, {85, "Filter LFO Wave"}, {86, "Filter LFO Mode"},
    {87, "Filter LFO Sync"}, {88, "Filter LFO Speed"}, {89, "Filter LFO Amount Control"},
    {90, "Filter LFO Mod Src"}, {91, "Volume Envelope Attack"}, {92, "Volume Envelope Decay"},
    {93, "Volume Envelope Sustain "}, {94, "Volume Envelope Fade"},
    {95, "Volume Envelope Release"}, {99, "Pitch LFO Amt"}, {100, "Pitch LFO Amount Control"},
    {101, "Pitch LFO Mod Src"}, {102, "Pitch LFO Speed"}, {103, "Pitch LFO Sync"},
    {104, "Pitch LFO Wave"}, {105, "Pitch Bend Down "}, {106, "Pitch Bend Up "},
    {107, "Osc 1 Free Running"}, {108, "Osc 2 Free Running"}, {109, "Osc 3 Free Running"},
    {111, "Free Envelope 1 Attack"}, {112, "Free Envelope 2 Attack"},
    {113, "Free Envelope 1 Decay"}, {114, "Free Envelope 2 Decay"},
    {115, "Free Envelope 1 Sustain "}, {116, "Free Envelope 2 Sustain "},
    {117, "Free Envelope 1 Fade"}, {118, "Free Envelope 2 Fade"},
    {119, "Free Envelope 1 Release"}, {120, "Free Envelope 2 Release"},
    {123, "Key > Free Envelope 1 Speed"}, {124, "Key > Free Envelope 2 Speed"},
    {125, "Vel > Free Envelope 1 Speed"}, {126, "Vel > Free Envelope 2 Speed"},
    {127, "Free Envelope 1 Amount"}, {128, "Free Envelope 2 Amount"},
    {129, "Free Envelope Amount Control"}, {130, "Free Envelope 1 Dest."},
    {131, "Free Envelope 2 Dest."}, {132, "Free Envelope Mod Src."},
    {134, "Free LFO 1 Wave"}, {135, "Free LFO 2 Wave"}, {136, "Free LFO 1 Mode"},
    {137, "Free LFO 2 Mode"}, {138, "Free LFO 1 Sync"}, {139, "Free LFO 2 Sync"},
    {140, "Free LFO 1 Speed"}, {141, "Free LFO 2 Speed"}, {142, "Free LFO 1 Mod Amt"},
    {143, "Free LFO 2 Mod Amt"}, {144, "Free LFO Amount Control"}, {145, "Free LFO 1 Dest."},
    {146, "Free LFO 2 Dest."}, {147, "Free LFO Mod Src."},
    {149, "Mod 1 Source"}, {150, "Mod 2 Source"}, {151, "Mod 3 Source"}, {152, "Mod 4 Source"},
    {153, "Mod 1 Amount Control"}, {154, "Mod 2 Amount Control"},
    {155, "Mod 3 Amount Control"}, {156, "Mod 4 Amount Control"},
    {157, "Mod 1 Destination"}, {158, "Mod 2 Destination"}, {159, "Mod 3 Destination"},
    {160, "Mod 4 Destination"}, {161, "Mod 1 Amt"}, {162, "Mod 2 Amt"}, {163, "Mod 3 Amt"},
    {164, "Mod 4 Amt"}, {165, "Mod 1 Mod Source"}, {166, "Mod 2 Mod Source"},
    {167, "Mod 3 Mod Source"}, {168, "Mod 4 Mod Source"},
    {170, "FX 1 Type"}, {171, "FX 2 Type"}, {172, "FX 3 Type"},
    {173, "FX 1 Mix"}, {174, "FX 2 Mix"}, {175, "FX 3 Mix"},
    {176, "FX 1 Pan"}, {177, "FX 2 Pan"}, {178, "FX 3 Pan"},
    {204, "FX Mod 1 Source"}, {205, "FX Mod 1 Amt"}, {206, "FX Mod 1 Destination"},
    {207, "FX Mod 2 Source"}, {208, "FX Mod 2 Amt"}, {209, "FX Mod 2 Destination"},
    {210, "Arp Steps"}, {211, "Arp Mode"}, {212, "Arp Octaves"}, {213, "Arp Note Length"},
    {214, "Arp Swing"}, {215, "Arp Slide"}, {216, "Arp Vel / Keyboard  "}, {217, "Arp Speed"},
    {218, "Arp Sync"}, {219, "Tied Mode"}, {319, "Arp Latch"}, {320, "Vocoder Source"},
    {321, "Vocoder Mode"}, {322, "Sample Looping"}, {323, "Sample Reset"},
    {324, "Over-sampling "},
    {777, "Osc 1 Up 1 Octave "}, {778, "Osc 2 Up 1 Octave "}, {779, "Osc 3 Up 1 Octave "},
    {780, "Osc 1 Down 1 Octave "}, {781, "Osc 2 Down 1 Octave "},
    {782, "Osc 3 Down 1 Octave "}, {784, "Variation Amount"}, {786, "Global Tuning"},
    {787, "Velocity Shape"}, {788, "Attack Shape"}, {789, "Decay / Release Shape"},
    {791, "FX Bypass"}, {792, "Over-sampling Filter"},
};

constexpr const char* kHidden = "-------------------";

constexpr std::array<const char*, prm::kCount> kNames = [] {
    std::array<const char*, prm::kCount> names{};
    for (const char*& name : names) name = kHidden;
    for (const NamedIndex& entry : kNamed) names[entry.index] = entry.name;
    return names;
}();

constexpr bool namesFit() {
    for (const NamedIndex& entry : kNamed)
        if (std::char_traits<char>::length(entry.name) >= kNameCapacity) return false;
    for (const auto& row : lists::kFxKnobNames)
        for (const char* name : row)
            if (std::char_traits<char>::length(name) >= kNameCapacity) return false;
    return true;
}
static_assert(namesFit(), "every name must fit the name capacity");

const char* nameOf(int index, const ParamValue* values) {
    if (index < 0 || index >= prm::kCount) return kHidden;
    if (index >= prm::FxKnobFirst && index <= prm::FxKnobLast) {
        int slot = fxKnobSlot(index);
        return fxKnobName(fxKnobType(values[prm::Fx1Type + slot]), fxKnobNumber(index));
    }
    return kNames[index];
}
}  // namespace

void parameterName(int index, const ParamValue* values, char* text) {
    const char* name = nameOf(index, values);
    std::memcpy(text, name, std::strlen(name) + 1);
}

}  // namespace params
