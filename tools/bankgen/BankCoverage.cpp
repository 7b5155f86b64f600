#include "BankCoverage.h"

#include "ProgramFeatures.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"

namespace bankgen {
namespace {

// The waveforms by family: the basic shapes, then the spectral waves grouped as
// tools/wavegen designs them.
struct WaveFamily {
    const char* name;
    int first, last;
};
constexpr WaveFamily kWaveFamilies[] = {
    {"Sine .. Triangle", 0, 3},
    {"Rez 1 .. Rez 3", 4, 6},
    {"HalfSine .. SqrRez (two-part waves)", 7, 13},
    {"W. Noise, P. Noise", 14, 15},
    {"Harmc1 .. Harmc4", 16, 19},
    {"Saw 2 .. Triang 3", 20, 29},
    {"Glass .. Digix", 30, 36},
    {"Organ 1 .. Ch. Organ", 37, 40},
    {"Whistle .. Vox 09 (voices)", 41, 54},
    {"Spec 01 .. 08 (dark to bright)", 55, 62},
    {"Spec 09 .. 16 (odd and even)", 63, 70},
    {"Spec 17 .. 24 (bells, FM)", 71, 78},
    {"Spec 25 .. 36 (filter sweep)", 79, 90},
    {"Spec 37 .. 44 (combs)", 91, 98},
    {"Spec 45 .. 52 (sparse partials)", 99, 106},
    {"Spec 53 .. 60 (pulses)", 107, 114},
    {"Spec 61 .. 66 (hard sync)", 115, 120},
    {"Spec 67 .. 73 (instruments)", 121, 127},
};
constexpr int kFamilies = sizeof kWaveFamilies / sizeof kWaveFamilies[0];

// The first item of each group, in the order coverageItems() lists them.
struct Layout {
    int families, filters, filters2, playModes, features, lfoModes, modulation, arpModes, effects, count;
};
constexpr int kFeatures = 3;     // unison, glide, chord memory
constexpr int kModulation = 10;  // Mod 1..4, free envelopes, free LFOs, FX Mod 1, 2
constexpr Layout kLayout = [] {
    Layout l{};
    l.families = 0;
    l.filters = l.families + kFamilies;
    l.filters2 = l.filters + params::kFilterType.size();
    l.playModes = l.filters2 + params::kFilter2Type.size();
    l.features = l.playModes + params::kPlayMode.size();
    l.lfoModes = l.features + kFeatures;
    l.modulation = l.lfoModes + params::kLfoMode.size();
    l.arpModes = l.modulation + kModulation;
    l.effects = l.arpModes + params::kArpMode.size();
    l.count = l.effects + params::kFxTypeCount - 1;
    return l;
}();

// "Port Speed" below this glides too fast to hear (about 10 ms for a "Time" glide).
constexpr float kAudibleGlide = 0.4f;

}  // namespace

const std::vector<CoverageItem>& coverageItems() {
    static const std::vector<CoverageItem> items = [] {
        std::vector<CoverageItem> list;
        for (const WaveFamily& f : kWaveFamilies) list.push_back({"Waveform family", f.name});
        for (const char* n : params::lists::kFilterType) list.push_back({"Main filter", n});
        for (const char* n : params::lists::kFilter2Type) list.push_back({"Filter 2", n});
        for (const char* n : params::lists::kPlayMode) list.push_back({"Play mode", n});
        for (const char* n : {"Unison", "Glide", "Chord memory"}) list.push_back({"Voice feature", n});
        for (const char* n : params::lists::kLfoMode) list.push_back({"LFO mode", n});
        for (const char* n : {"Mod 1", "Mod 2", "Mod 3", "Mod 4", "Free Envelope 1", "Free Envelope 2",
                              "Free LFO 1", "Free LFO 2", "FX Mod 1", "FX Mod 2"})
            list.push_back({"Modulation", n});
        for (const char* n : params::lists::kArpMode) list.push_back({"Arpeggiator mode", n});
        for (int t = 1; t < params::kFxTypeCount; ++t) list.push_back({"Effect", params::lists::kFxType[t]});
        return list;
    }();
    return items;
}

std::vector<bool> itemsShown(const float* values) {
    const ProgramFeatures p(values);
    std::vector<bool> shown(kLayout.count, false);

    for (int n = 0; n < 3; ++n) {
        if (!p.oscillatorActive(n)) continue;
        const int wave = p.waveform(n);
        for (int f = 0; f < kFamilies; ++f)
            if (wave >= kWaveFamilies[f].first && wave <= kWaveFamilies[f].last) shown[kLayout.families + f] = true;
    }
    shown[kLayout.filters + params::kFilterType.index(values[prm::FilterType])] = true;
    shown[kLayout.filters2 + params::kFilter2Type.index(values[prm::Filter2Type])] = true;

    const int mode = p.playMode();
    shown[kLayout.playModes + mode] = true;
    const bool unisonMode = mode == playmode::Unison2 || mode == playmode::Unison4 || mode == playmode::Unison6;
    shown[kLayout.features + 0] = unisonMode && values[prm::UnisonAmount] > 0.001f;
    shown[kLayout.features + 1] = params::kPortMode.index(values[prm::PortMode]) != portmode::Off &&
                                  values[prm::PortSpeed] >= kAudibleGlide;
    constexpr int kChordPlay = 2;
    const int chordNotes = static_cast<int>(values[prm::ChordCount] * 9.99f) + 1;
    shown[kLayout.features + 2] =
        params::kChordMode.index(values[prm::ChordMode]) == kChordPlay && chordNotes >= 2;

    if (p.filterLfoActive()) shown[kLayout.lfoModes + params::kLfoMode.index(values[prm::FilterLfoMode])] = true;
    for (int k = 0; k < 2; ++k)
        if (p.freeLfoActive(k))
            shown[kLayout.lfoModes + params::kLfoMode.index(values[prm::FreeLfo1Mode + k])] = true;

    for (int k = 0; k < 4; ++k) shown[kLayout.modulation + k] = p.modSlotActive(k);
    for (int k = 0; k < 2; ++k) {
        shown[kLayout.modulation + 4 + k] = p.freeEnvelopeActive(k);
        shown[kLayout.modulation + 6 + k] = p.freeLfoActive(k);
        shown[kLayout.modulation + 8 + k] = p.fxModActive(k);
    }

    constexpr int kModMode = 10;
    const int arpMode = params::kArpMode.index(values[prm::ArpMode]);
    if (p.arpeggiates() && arpMode != kModMode) shown[kLayout.arpModes + arpMode] = true;
    if (p.modSequencerActive()) shown[kLayout.arpModes + kModMode] = true;

    for (int slot = 0; slot < params::kFxSlots; ++slot)
        if (const int type = p.effectType(slot)) shown[kLayout.effects + type - 1] = true;
    return shown;
}

std::vector<std::vector<int>> coverage(const std::vector<std::vector<float>>& programs) {
    std::vector<std::vector<int>> byItem(coverageItems().size());
    for (size_t p = 0; p < programs.size(); ++p) {
        const std::vector<bool> shown = itemsShown(programs[p].data());
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i]) byItem[i].push_back(static_cast<int>(p));
    }
    return byItem;
}

}  // namespace bankgen
