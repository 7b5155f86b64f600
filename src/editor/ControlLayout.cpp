#include "editor/ControlLayout.h"

#include "editor/EditorImages.h"
#include "params/Enumerations.h"

namespace layout {
namespace {
using enum Region;
using params::lists::kArpMode, params::lists::kArpOctaves, params::lists::kArpSpeed,
    params::lists::kArpSteps, params::lists::kBendRange, params::lists::kChordMode,
    params::lists::kFilter2Type, params::lists::kFilterType, params::lists::kFxType,
    params::lists::kLfoMode, params::lists::kLfoWave, params::lists::kOsc2FM,
    params::lists::kOsc3FM, params::lists::kOverSampling, params::lists::kPlayMode,
    params::lists::kPortMode, params::lists::kWaveform;

constexpr int kMenuHeight = 19;

constexpr Control knob(Region region, int tag, const char* name, int x, int y, int strip,
                       Slot slot = Slot::None) {
    int size = img::knobSize(strip);
    return {.kind = Kind::Knob, .region = region, .tag = tag, .x = x, .y = y, .width = size,
            .height = size, .image = img::knobStrip(strip), .slot = slot, .text = name};
}

// A control drawn from one frame of an image.
constexpr Control imaged(Kind kind, Region region, int tag, const char* name, int x, int y,
                         int image, Slot slot = Slot::None, Role role = Role::None) {
    const Image* frame = findImage(image);
    return {.kind = kind, .region = region, .tag = tag, .x = x, .y = y, .width = frame->width,
            .height = frame->frameHeight(), .image = image, .slot = slot, .role = role,
            .text = name};
}
constexpr Control toggle(Region region, int tag, const char* name, int x, int y,
                         int image = img::Button, Slot slot = Slot::None) {
    return imaged(Kind::Switch, region, tag, name, x, y, image, slot);
}
constexpr Control push(Region region, int tag, const char* name, int x, int y,
                       int image = img::Button, Role role = Role::None) {
    return imaged(Kind::PushButton, region, tag, name, x, y, image, Slot::None, role);
}

constexpr Control menu(Region region, int tag, int x, int y, int width,
                       std::span<const char* const> entries, Slot slot = Slot::None) {
    return {.kind = Kind::OptionMenu, .region = region, .tag = tag, .x = x, .y = y,
            .width = width, .height = kMenuHeight, .slot = slot, .entries = entries};
}
// A menu whose entries come from elsewhere (sources, destinations, programs).
constexpr Control listMenu(Kind kind, Region region, int tag, int x, int y, int width,
                           Slot slot = Slot::None) {
    return {.kind = kind, .region = region, .tag = tag, .x = x, .y = y, .width = width,
            .height = kMenuHeight, .slot = slot};
}
constexpr Control box(Kind kind, Region region, int tag, int x, int y, int width, int height,
                      Role role = Role::None, const char* text = nullptr,
                      Slot slot = Slot::None) {
    return {.kind = kind, .region = region, .tag = tag, .x = x, .y = y, .width = width,
            .height = height, .slot = slot, .role = role, .text = text};
}
constexpr Control radio(Region region, Role role, int index, const char* label, int x, int y) {
    Control c = imaged(Kind::RadioButton, region, kNoParameter, label, x, y, img::Button,
                       Slot::None, role);
    c.index = index;
    return c;
}
constexpr Control textArray(Region region, int tag, int x, int y, int width, int height,
                            std::span<const char* const> labels, int fxType = kAnyFxType) {
    return {.kind = Kind::TextArrayButton, .region = region, .tag = tag, .x = x, .y = y,
            .width = width, .height = height, .entries = labels, .fxType = fxType};
}
constexpr Control buttonMenu(Region region, int tag, int x, int y,
                             std::span<const char* const> entries) {
    return {.kind = Kind::ButtonMenu, .region = region, .tag = tag, .x = x, .y = y, .width = 26,
            .height = 26, .image = img::MenuButtonFace, .entries = entries};
}
constexpr Control onlyFor(int fxType, Control c) {
    c.fxType = fxType;
    return c;
}

constexpr const char* kWaveSubMenus[] = {"Waves 1-32", "Waves 33-64", "Waves 65-96",
                                         "Waves 97-128"};
constexpr const char* kSmoothing[] = {"Edgy", "Smooth"};
constexpr const char* kTiedMode[] = {"Normal", "Special"};
constexpr const char* kArpFileMenu[] = {"Load Arp", "Save Arp", "Copy Arp", "Paste Arp",
                                        "Clear Arp"};
constexpr const char* kFileMenu[] = {"Load Bank",    "Save Bank",    "Load Preset",
                                     "Save Preset",  "Copy Preset",  "Paste Preset",
                                     "Rename Preset", "Default Preset", "Help"};
constexpr const char* kEcsMenu[] = {"Load ECS", "Save ECS", "Clear Midi"};
constexpr const char* kBankMenu[] = {"Introducing Brennix"};
constexpr const char* kVocoderSource[] = {"Samp", "input"};
constexpr const char* kVocoderMode[] = {"c/m", "m/c"};
constexpr const char* kSampleLooping[] = {"Once", "Loop"};
constexpr const char* kSampleReset[] = {"NoRst", "Reset"};

constexpr Control kOscillatorKnobs[] = {
    knob(Main, 21, "Osc 1 Volume", 143, 196, 0),
    knob(Main, 32, "Osc 2 Volume", 308, 196, 0),
    knob(Main, 46, "Osc 3 Volume", 472, 196, 0),
    knob(Main, 22, "Osc 1 Semi", 40, 114, 1),
    knob(Main, 33, "Osc 2 Semi", 204, 114, 1),
    knob(Main, 47, "Osc 3 Semi", 368, 114, 1),
    knob(Main, 23, "Osc 1 Fine", 89, 114, 1),
    knob(Main, 34, "Osc 2 Fine", 254, 114, 1),
    knob(Main, 48, "Osc 3 Fine", 418, 114, 1),
    knob(Main, 26, "Osc 1 Spread", 149, 140, 4),
    knob(Main, 37, "Osc 2 Spread", 313, 140, 4),
    knob(Main, 51, "Osc 3 Spread", 478, 140, 4),
    knob(Main, 25, "Osc 1 Sub-Osc Vol", 149, 89, 4),
    knob(Main, 36, "Osc 2 Sub-Osc Vol", 313, 89, 4),
    knob(Main, 50, "Osc 3 Sub-Osc Vol", 478, 89, 4),
    knob(Main, 27, "Osc 1 PWM", 39, 167, 6),
    knob(Main, 38, "Osc 2 PWM", 204, 167, 6),
    knob(Main, 52, "Osc 3 PWM", 369, 167, 6),
    knob(Main, 28, "Osc 1 PWM Speed", 39, 219, 5),
    knob(Main, 39, "Osc 2 PWM Speed", 204, 219, 5),
    knob(Main, 53, "Osc 3 PWM Speed", 369, 219, 5),
    knob(Main, 24, "Osc 1 Symmetry", 153, 31, 7),
    knob(Main, 35, "Osc 2 Symmetry", 318, 31, 7),
    knob(Main, 49, "Osc 3 Symmetry", 482, 31, 7),
    knob(Main, 20, "Osc 1 Type", 32, 32, 0),
    knob(Main, 31, "Osc 2 Type", 198, 32, 0),
    knob(Main, 45, "Osc 3 Type", 361, 32, 0),
    knob(Main, 41, "Osc 2 FM Amount", 255, 219, 4),
    knob(Main, 55, "Osc 3 FM Amount", 418, 219, 4),
};

constexpr Control kFilterKnobs[] = {
    knob(Main, 60, "Filter Type", 553, 153, 10),
    knob(Main, 61, "Filter Frequency", 526, 49, 0),
    knob(Main, 62, "Filter Resonance", 580, 28, 4),
    knob(Main, 63, "Filter Distortion", 722, 153, 10),
    knob(Main, 64, "Filter Envelope Amt", 580, 100, 3),
    knob(Main, 65, "Vel > Filter Frequency Amt", 627, 98, 3),
    knob(Main, 66, "Filter keytracking", 674, 98, 3),
    knob(Main, 67, "Mod > Filter Frequency Amt", 627, 46, 3),
    knob(Main, 68, "Filter LFO Amt", 674, 46, 3),
    knob(Main, 88, "Filter LFO Speed", 861, 34, 5),
    knob(Main, 89, "Filter LFO Amount Control", 814, 86, 7),
    knob(Main, 78, "Filter 2 Frequency", 732, 58, 4),
    knob(Main, 69, "Filter Envelope Attack", 532, 229, 5),
    knob(Main, 70, "Filter Envelope Decay", 576, 229, 5),
    knob(Main, 71, "Filter Envelope Sustain ", 620, 229, 5),
    knob(Main, 72, "Filter Envelope Fade", 664, 229, 2),
    knob(Main, 73, "Filter Envelope Release", 708, 229, 5),
};

constexpr Control kPitchLfoKnobs[] = {
    knob(Main, 102, "Pitch LFO Speed", 205, 302, 5),
    knob(Main, 99, "Pitch LFO Amt", 40, 302, 4),
    knob(Main, 100, "Pitch LFO Amount Control", 87, 302, 9),
};

constexpr Control kAmplifierKnobs[] = {
    knob(Main, 1, "Main Volume", 815, 164, 0),
    knob(Main, 3, "Velocity > Volume", 872, 172, 4),
    knob(Main, 2, "Main Panning", 916, 172, 3),
    knob(Main, 4, "Port Speed", 869, 301, 10),
    knob(Main, 7, "Unison Amount", 765, 302, 10),
    knob(Main, 91, "Volume Envelope Attack", 761, 229, 5),
    knob(Main, 92, "Volume Envelope Decay", 806, 229, 5),
    knob(Main, 93, "Volume Envelope Sustain ", 848, 229, 5),
    knob(Main, 94, "Volume Envelope Fade", 893, 229, 2),
    knob(Main, 95, "Volume Envelope Release", 938, 229, 5),
    knob(Main, 205, "FX Mod 1 Amt", 620, 472, 9),
    knob(Main, 208, "FX Mod 2 Amt", 620, 512, 9),
};

constexpr Control kFreeEnvelopeKnobs[] = {
    knob(Mod, 111, "Free Envelope 1 Attack", 30, 31, 5, Slot::FreeEnvelope),
    knob(Mod, 113, "Free Envelope 1 Decay", 74, 31, 5, Slot::FreeEnvelope),
    knob(Mod, 115, "Free Envelope 1 Sustain ", 118, 31, 5, Slot::FreeEnvelope),
    knob(Mod, 117, "Free Envelope 1 Fade", 162, 31, 2, Slot::FreeEnvelope),
    knob(Mod, 119, "Free Envelope 1 Release", 206, 31, 5, Slot::FreeEnvelope),
    knob(Mod, 123, "Key > Free Envelope 1 Speed", 199, 101, 9, Slot::FreeEnvelope),
    knob(Mod, 125, "Vel > Free Envelope 1 Speed", 198, 146, 9, Slot::FreeEnvelope),
    knob(Mod, 127, "Free Envelope 1 Amount", 40, 96, 3),
    knob(Mod, 128, "Free Envelope 2 Amount", 38, 191, 3),
    knob(Mod, 129, "Free Envelope Amount Control", 43, 146, 9),
};

constexpr Control kFreeLfoKnobs[] = {
    knob(Mod, 140, "Free LFO 1 Speed", 258, 31, 5, Slot::FreeLfo),
    knob(Mod, 142, "Free LFO 1 Mod Amt", 270, 96, 3),
    knob(Mod, 143, "Free LFO 2 Mod Amt", 270, 191, 3),
    knob(Mod, 144, "Free LFO Amount Control", 273, 146, 9),
};

constexpr Control kModSlotKnobs[] = {
    knob(Mod, 161, "Mod 1 Amt", 408, 96, 3, Slot::Modulation),
    knob(Mod, 153, "Mod 1 Amount Control", 412, 146, 9, Slot::Modulation),
};

constexpr Control kPresetKnobs[] = {
    knob(Preset, 10, "Cross Amount", 38, 163, 4),
    knob(Preset, 784, "Variation Amount", 98, 117, 10),
};

constexpr Control kAdvancedKnobs[] = {
    knob(Advanced, 9, "Analog Drift", 9, 20, 4),
    knob(Advanced, 786, "Global Tuning", 76, 23, 7),
    knob(Advanced, 788, "Attack Shape", 13, 95, 7),
    knob(Advanced, 789, "Decay / Release Shape", 76, 95, 7),
    knob(Advanced, 787, "Velocity Shape", 167, 95, 7),
};

constexpr Control kArpKnobs[] = {
    knob(Arp, 213, "Arp Note Length", 160, 198, 10),
    knob(Arp, 214, "Arp Swing", 220, 198, 10),
    knob(Arp, 215, "Arp Slide", 280, 198, 10),
    knob(Arp, 216, "Arp Vel / Keyboard  ", 339, 198, 10),
};

// The effect knobs' strip is set per effect type (FxPanel::knobStrip); 10 is
// the strip most types use.
constexpr Control kFxSectionKnobs[] = {
    knob(Fx, 179, nullptr, 29, 75, 10, Slot::Fx),
    knob(Fx, 182, nullptr, 74, 75, 10, Slot::Fx),
    knob(Fx, 185, nullptr, 119, 75, 10, Slot::Fx),
    knob(Fx, 188, nullptr, 164, 75, 10, Slot::Fx),
    knob(Fx, 191, nullptr, 29, 115, 10, Slot::Fx),
    knob(Fx, 194, nullptr, 74, 115, 10, Slot::Fx),
    knob(Fx, 197, nullptr, 119, 115, 10, Slot::Fx),
    knob(Fx, 200, nullptr, 164, 115, 10, Slot::Fx),
    knob(Fx, 173, "FX 1 Mix", 84, 18, 1, Slot::Fx),
    knob(Fx, 176, "FX 1 Pan", 135, 18, 1, Slot::Fx),
};

constexpr Control kOscillatorSwitches[] = {
    toggle(Main, 17, "Osc 1 On", 21, 5),
    toggle(Main, 18, "Osc 2 On", 195, 5),
    toggle(Main, 19, "Osc 3 On", 359, 5),
    toggle(Main, 107, "Osc 1 Free Running", 95, 60),
    toggle(Main, 108, "Osc 2 Free Running", 260, 60),
    toggle(Main, 109, "Osc 3 Free Running", 424, 60),
    toggle(Main, 43, "Osc 2 Sync", 288, 60),
    toggle(Main, 57, "Osc 3 Sync", 452, 60),
    toggle(Main, 29, "Osc 1 Output", 131, 258),
    toggle(Main, 40, "Osc 2 Output", 297, 258),
    toggle(Main, 30, "Osc 1 Tracking", 52, 106, img::TrackingSwitch),
    toggle(Main, 44, "Osc 2 Tracking", 217, 106, img::TrackingSwitch),
    toggle(Main, 58, "Osc 3 Tracking", 381, 106, img::TrackingSwitch),
};

constexpr Control kOscillatorPushButtons[] = {
    push(Main, 780, "Osc 1 Down 1 Octave ", 35, 107, img::OctaveDown),
    push(Main, 781, "Osc 2 Down 1 Octave ", 200, 107, img::OctaveDown),
    push(Main, 782, "Osc 3 Down 1 Octave ", 364, 107, img::OctaveDown),
    push(Main, 777, "Osc 1 Up 1 Octave ", 69, 107, img::OctaveUp),
    push(Main, 778, "Osc 2 Up 1 Octave ", 234, 107, img::OctaveUp),
    push(Main, 779, "Osc 3 Up 1 Octave ", 398, 107, img::OctaveUp),
};

constexpr Control waveMenu(int tag, int x) {
    return {.kind = Kind::WaveformMenu, .region = Main, .tag = tag, .x = x, .y = 37,
            .width = 58, .height = 18, .entries = kWaveform, .subMenus = kWaveSubMenus};
}

constexpr Control kMainNamed[] = {
    waveMenu(20, 83),
    waveMenu(31, 248),
    waveMenu(45, 411),
    menu(Main, 42, 252, 198, 44, kOsc2FM),
    menu(Main, 56, 416, 198, 56, kOsc3FM),
    menu(Main, 60, 583, 155, 61, kFilterType),
    menu(Main, 80, 730, 36, 44, kFilter2Type),
    menu(Main, 85, 803, 36, 54, kLfoWave),
    menu(Main, 86, 916, 89, 44, kLfoMode),
    listMenu(Kind::SourceMenu, Main, 90, 843, 89, 61),
    toggle(Main, 87, nullptr, 920, 56),
    textArray(Main, 77, 667, 154, 54, 19, kSmoothing),
    box(Kind::TextButton, Main, kNoParameter, 896, 36, 58, 19, Role::FilterLfoRate, "Off"),
    menu(Main, 104, 326, 304, 54, kLfoWave),
    menu(Main, 105, 411, 304, 34, kBendRange),
    menu(Main, 106, 478, 304, 34, kBendRange),
    listMenu(Kind::SourceMenu, Main, 101, 117, 304, 61),
    box(Kind::TextButton, Main, kNoParameter, 241, 304, 58, 19, Role::PitchLfoRate, "Off"),
    toggle(Main, 103, nullptr, 283, 331),
    box(Kind::LevelSlider, Main, kNoParameter, 455, 302, 14, 37, Role::PitchWheel),
    push(Main, 906, nullptr, 826, 331),
    menu(Main, 6, 795, 304, 61, kPlayMode),
    menu(Main, 5, 899, 304, 61, kPortMode),
    menu(Main, 8, 926, 330, 44, kChordMode),
    listMenu(Kind::SourceMenu, Main, 204, 543, 475, 61),
    listMenu(Kind::SourceMenu, Main, 207, 543, 515, 61),
    listMenu(Kind::FxDestinationMenu, Main, 206, 655, 475, 71),
    listMenu(Kind::FxDestinationMenu, Main, 209, 655, 515, 71),
    box(Kind::TextButton, Main, kNoParameter, 763, 571, 182, 18, Role::StatusDisplay),
    push(Main, 904, nullptr, 952, 570),
    push(Main, 905, nullptr, 538, 550, img::AboutButton),
};

constexpr Control kModNamed[] = {
    push(Mod, 901, nullptr, 486, 1, img::ToArpScreen),
    radio(Mod, Role::FreeEnvelopeSelector, 0, "1", 99, 8),
    radio(Mod, Role::FreeEnvelopeSelector, 1, "2", 126, 8),
    radio(Mod, Role::FreeLfoSelector, 0, "1", 285, 8),
    radio(Mod, Role::FreeLfoSelector, 1, "2", 314, 8),
    radio(Mod, Role::ModSlotSelector, 0, "1", 412, 24),
    radio(Mod, Role::ModSlotSelector, 1, "2", 440, 24),
    radio(Mod, Role::ModSlotSelector, 2, "3", 467, 24),
    radio(Mod, Role::ModSlotSelector, 3, "4", 496, 24),
    menu(Mod, 134, 352, 15, 44, kLfoWave, Slot::FreeLfo),
    menu(Mod, 136, 352, 52, 44, kLfoMode, Slot::FreeLfo),
    toggle(Mod, 138, nullptr, 311, 53, img::Button, Slot::FreeLfo),
    box(Kind::TextButton, Mod, kNoParameter, 295, 32, 48, 19, Role::FreeLfoRate, "Off",
        Slot::FreeLfo),
    listMenu(Kind::SourceMenu, Mod, 132, 76, 148, 66),
    listMenu(Kind::SourceMenu, Mod, 147, 302, 148, 69),
    listMenu(Kind::SourceMenu, Mod, 149, 413, 52, 100, Slot::Modulation),
    listMenu(Kind::SourceMenu, Mod, 165, 442, 148, 69, Slot::Modulation),
    listMenu(Kind::DestinationMenu, Mod, 130, 75, 98, 67),
    listMenu(Kind::DestinationMenu, Mod, 131, 75, 193, 67),
    listMenu(Kind::DestinationMenu, Mod, 145, 305, 98, 67),
    listMenu(Kind::DestinationMenu, Mod, 146, 305, 193, 67),
    listMenu(Kind::DestinationMenu, Mod, 157, 444, 98, 67, Slot::Modulation),
};

constexpr Control kArpNamed[] = {
    push(Arp, 900, nullptr, 486, 1, img::ToModScreen),
    box(Kind::ArpDisplay, Arp, kNoParameter, 63, 52, 403, 139),
    menu(Arp, 210, 86, 17, 61, kArpSteps),
    menu(Arp, 217, 159, 17, 61, kArpSpeed),
    menu(Arp, 211, 232, 17, 61, kArpMode),
    menu(Arp, 212, 305, 17, 61, kArpOctaves),
    textArray(Arp, 219, 386, 17, 54, 19, kTiedMode),
    toggle(Arp, 218, nullptr, 481, 74),
    toggle(Arp, 319, nullptr, 481, 114),
    buttonMenu(Arp, 914, 481, 150, kArpFileMenu),
};

constexpr Control morphMenu(int index, int y) {
    return {.kind = Kind::MorphMenu, .region = Preset, .tag = kNoParameter, .x = 72, .y = y,
            .width = 127, .height = 16, .index = index};
}

constexpr Control kPresetNamed[] = {
    push(Preset, 902, nullptr, 179, 7, img::ToAdvanceScreen),
    listMenu(Kind::PresetMenu, Preset, kNoParameter, 8, 29, 190),
    {.kind = Kind::BankMenu, .region = Preset, .tag = kNoParameter, .x = 8, .y = 64,
     .width = 190, .height = kMenuHeight, .entries = kBankMenu},
    push(Preset, kNoParameter, nullptr, 197, 29, img::ArrowLeft, Role::PreviousProgram),
    push(Preset, kNoParameter, nullptr, 208, 29, img::ArrowRight, Role::NextProgram),
    push(Preset, kNoParameter, nullptr, 197, 64, img::ArrowLeft, Role::BankPrevious),
    push(Preset, kNoParameter, nullptr, 208, 64, img::ArrowRight, Role::BankNext),
    buttonMenu(Preset, 916, 161, 93, kFileMenu),
    buttonMenu(Preset, 915, 188, 93, kEcsMenu),
    push(Preset, 907, nullptr, 11, 93),
    push(Preset, 908, nullptr, 39, 93),
    push(Preset, 909, nullptr, 11, 169),
    push(Preset, 910, nullptr, 86, 124, img::VariationA),
    push(Preset, 911, nullptr, 93, 104, img::VariationA + 1),
    push(Preset, 912, nullptr, 118, 103, img::VariationA + 2),
    push(Preset, 913, nullptr, 128, 122, img::VariationA + 3),
    morphMenu(0, 165),
    morphMenu(1, 179),
};

constexpr Control kAdvancedNamed[] = {
    push(Advanced, 903, nullptr, 179, 7, img::ToPresetScreen),
    menu(Advanced, 324, 123, 32, 44, kOverSampling),
    toggle(Advanced, 792, nullptr, 185, 30),
};

constexpr Control kFxNamed[] = {
    radio(Fx, Role::FxSlotSelector, 0, "1", 201, 25),
    radio(Fx, Role::FxSlotSelector, 1, "2", 201, 42),
    radio(Fx, Role::FxSlotSelector, 2, "3", 201, 59),
    {.kind = Kind::FxTypeMenu, .region = Fx, .tag = 170, .x = 13, .y = 21, .width = 71,
     .height = kMenuHeight, .slot = Slot::Fx, .entries = kFxType},
    toggle(Fx, 791, nullptr, 9, 49),
    onlyFor(18, toggle(Fx, 191, nullptr, 32, 121, img::Button, Slot::Fx)),
    onlyFor(2, toggle(Fx, 200, nullptr, 169, 121, img::Button, Slot::Fx)),
    onlyFor(16, box(Kind::GateDisplay, Fx, 191, 35, 129, 159, 12, Role::None, nullptr, Slot::Fx)),
    onlyFor(16, box(Kind::GateDisplay, Fx, 194, 35, 144, 159, 12, Role::None, nullptr, Slot::Fx)),
    textArray(Fx, 320, 14, 155, 48, 11, kVocoderSource, 17),
    textArray(Fx, 321, 64, 155, 48, 11, kVocoderMode, 17),
    textArray(Fx, 322, 114, 155, 48, 11, kSampleLooping, 17),
    textArray(Fx, 323, 164, 155, 48, 11, kSampleReset, 17),
    // The sample name sits under the vocoder's buttons, inside the section, so
    // that it is drawn and can be clicked.
    onlyFor(17, box(Kind::TextButton, Fx, kNoParameter, 15, 171, 170, 12, Role::SampleName,
                    "None")),
};

constexpr Control kAboutControls[] = {
    box(Kind::PushButton, About, kNoParameter, 0, 0, 1000, 600, Role::AboutClose),
    box(Kind::TextLabel, About, kTextLabelTag, 149, 106, 190, 19, Role::VersionText),
    toggle(About, 798, nullptr, 493, 551),
    toggle(About, 797, nullptr, 493, 530),
};

constexpr Table kTables[] = {
    {"Oscillator section knobs", kOscillatorKnobs},
    {"Filter section knobs", kFilterKnobs},
    {"Pitch LFO knobs", kPitchLfoKnobs},
    {"Amplifier, voice and FX modulation knobs", kAmplifierKnobs},
    {"Mod page: free envelope knobs", kFreeEnvelopeKnobs},
    {"Mod page: free LFO knobs", kFreeLfoKnobs},
    {"Mod page: modulation slot knobs", kModSlotKnobs},
    {"Preset page knobs", kPresetKnobs},
    {"Advanced page knobs", kAdvancedKnobs},
    {"Arp page knobs", kArpKnobs},
    {"FX section knobs", kFxSectionKnobs},
    {"Oscillator section switches", kOscillatorSwitches},
    {"Oscillator section push buttons", kOscillatorPushButtons},
    {"Main frame controls", kMainNamed},
    {"Mod page controls", kModNamed},
    {"Arp page controls", kArpNamed},
    {"Preset page controls", kPresetNamed},
    {"Advanced page controls", kAdvancedNamed},
    {"FX section controls", kFxNamed},
    {"About screen controls", kAboutControls},
};

// Short knob names by effect type, as the FX section prints them.
constexpr FxPanel kFxPanels[kFxTypes] = {
    {"None", {"---", "---", "---", "---", "---", "---", "---", "---"}, 0, 0},
    {"M. Delay",
     {"Length", "Feedback", "LP Filter", "HP Filter", "Widen", "Mod Amt", "Mod Spd", "---"}, 7,
     0b10},
    {"S. Delay",
     {"Left Delay", "Right Delay", "Feedback", "CrossFeed", "LP Filter", "HP Filter", "Mod Amt",
      "---"},
     7, 0b1100},
    {"Comb",
     {"Freq 1", "Feed 1", "Mod 1", "Mod Spd 1", "Freq 2", "Feed 2", "Mod 2", "Mod Spd 2"}, 8,
     0b100010},
    {"Reverb", {"Pre", "Size", "Damp", "Low", "High", "Spread", "---", "---"}, 6, 0},
    {"Chorus", {"Length", "Width", "Speed", "Spread", "LP Filter", "Widen", "---", "---"}, 6, 0},
    {"Ch./Del.",
     {"Length", "Width", "Speed", "Spread", "Dly Len", "Dly Feed", "Dly Vol", "---"}, 7, 0},
    {"Flanger",
     {"Length", "Width", "Speed", "Feedback", "Pan Mod", "LP Filter", "HP Filter", "---"}, 7,
     0b1000},
    {"Phaser", {"---", "Length", "Feedback", "Width", "Speed", "Spread", "Pan", "---"}, 7, 0},
    {"WahDelay", {"Low", "High", "Speed", "Res", "Delay", "Feedback", "Vol", "---"}, 7, 0},
    {"Distort", {"Limit", "Rect", "Sat", "Tone", "Emp", "Boost", "---", "---"}, 7, 0b1000010},
    {"Low Fi", {"Bits", "Sample", "Filter", "---", "---", "---", "---", "---"}, 4, 0b1000},
    {"Amp Sim", {"---", "Distort", "Bass", "Treble", "Vol", "---", "---", "---"}, 5, 0},
    {"Waveshpr", {"Top", "Bottom", "Rect", "WD Low", "Mod Amt", "Mod Spd", "---", "---"}, 6,
     0b100},
    {"Widener", {"Amount", "Width", "Speed", "Low", "High", "---", "---", "---"}, 5, 0},
    {"AutoPan", {"Amount", "Speed", "---", "---", "---", "---", "---", "---"}, 2, 0},
    {"Gator", {"Speed", "Smooth", "---", "---", "---", "---", "---", "---"}, 4, 0},
    {"Vocoder",
     {"---", "BandWdth", "Shift", "LowPass", "HighPass", "Boost", "In Vol", "In Pitch"}, 8,
     0b10000100},
    {"FX Filt", {"Type", "Frequency", "Q", "Distort", "Smooth", "---", "---", "---"}, 4, 0},
    {"Equalizer", {"60Hz", "200Hz", "600Hz", "2000Hz", "8000Hz", "---", "---", "---"}, 5, 0},
    {"Compresr", {"Threshold", "Ratio", "Attack", "Release", "Volume", "---", "---", "---"}, 5, 0},
    {"Ensemble", {"Length", "Width", "Speed", "Feedback", "Ensemble", "Spread", "---", "---"}, 6,
     0},
};

constexpr Rect kRegionRects[kRegions] = {
    {0, 0, 1000, 600}, {0, 352, 522, 600},   {0, 352, 522, 600},   {753, 363, 1000, 565},
    {753, 363, 1000, 565}, {524, 283, 750, 470}, {0, 0, 1000, 600},
};
constexpr int kRegionBackgrounds[kRegions] = {
    img::MainBackground, img::ModPage,       img::ArpPage,    img::PresetPage,
    img::AdvancedPage,   img::FxBackground0, img::AboutScreen};
}  // namespace

Rect regionRect(Region region) { return kRegionRects[static_cast<int>(region)]; }
int regionBackground(Region region) { return kRegionBackgrounds[static_cast<int>(region)]; }

Rect Control::windowRect() const {
    Rect r = regionRect(region);
    return rect().offset(r.left, r.top);
}

std::span<const Table> tables() { return kTables; }
std::span<const FxPanel> fxPanels() { return kFxPanels; }
std::span<const Control> fxKnobs() { return std::span(kFxSectionKnobs).first(8); }

}  // namespace layout
