#include "ProgramDistance.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "ProgramFeatures.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"
#include "params/ParameterTable.h"

namespace bankgen {
namespace {

constexpr int kArpStepBlock = 16;  // six blocks of 16 step values from "Arp Steps" data

void mark(std::vector<bool>& on, int first, int last) {
    for (int i = first; i <= last; ++i) on[i] = true;
}

// The factor by which the engine turns a value into a whole-numbered choice,
// for the parameters it reads that way; none for continuous ones.
std::optional<float> stepFactor(int i) {
    using namespace params;
    switch (i) {
        case prm::PortMode: return kPortMode.factor;
        case prm::PlayMode: return kPlayMode.factor;
        case prm::ChordMode: return kChordMode.factor;
        case prm::Osc1Type: case prm::Osc2Type: case prm::Osc3Type: return kWaveform.factor;
        case prm::Osc1Semi: case prm::Osc2Semi: case prm::Osc3Semi: return 96.99f;
        case prm::Osc2FmMode: return kOsc2FM.factor;
        case prm::Osc3FmMode: return kOsc3FM.factor;
        case prm::FilterType: return kFilterType.factor;
        case prm::Filter2Type: return kFilter2Type.factor;
        case prm::FilterLfoWave: case prm::PitchLfoWave: case prm::FreeLfo1Wave: case prm::FreeLfo2Wave:
            return kLfoWave.factor;
        case prm::FilterLfoMode: case prm::FreeLfo1Mode: case prm::FreeLfo2Mode: return kLfoMode.factor;
        case prm::PitchBendDown: case prm::PitchBendUp: return kBendRange.factor;
        case prm::FilterLfoModSrc: case prm::PitchLfoModSrc: case prm::FreeEnvelopeModSrc:
        case prm::FreeLfoModSrc: case prm::FreeEnvelope1Dest: case prm::FreeEnvelope2Dest:
        case prm::FreeLfo1Dest: case prm::FreeLfo2Dest: case prm::FxMod1Source: case prm::FxMod2Source:
        case prm::FxMod1Destination: case prm::FxMod2Destination:
            return kModSource.factor;
        case prm::ArpSteps: return kArpSteps.factor;
        case prm::ArpMode: return kArpMode.factor;
        case prm::ArpOctaves: return kArpOctaves.factor;
        case prm::ArpSpeed: return kArpSpeed.factor;
        case prm::OverSampling: return kOverSampling.factor;
        case prm::ChordCount: return 9.99f;
        default: break;
    }
    for (int first : {prm::Mod1Source, prm::Mod1Destination, prm::Mod1ModSource})
        if (i >= first && i < first + 4) return kModSource.factor;  // the same factor for destinations
    if (i >= prm::Fx1Type && i < prm::Fx1Type + kFxSlots) return kFxType.factor;
    if (i >= prm::ChordNoteFirst && i < prm::ChordNoteFirst + 9) return 255.0f;
    const int tuneBlock = prm::ArpStepDataFirst + 4 * kArpStepBlock;
    if (i >= tuneBlock && i < tuneBlock + kArpStepBlock) return 72.99f;
    return std::nullopt;
}

// Two-state values, including those stored unrounded.
bool twoState(int i) {
    if (params::isSwitch(i)) return true;
    switch (i) {
        case prm::FilterLfoSync: case prm::PitchLfoSync: case prm::FreeLfo1Sync: case prm::FreeLfo2Sync:
        case prm::ArpSync: case prm::TiedMode: case prm::VocoderSource: case prm::FxBypass:
        case prm::OverSamplingFilter:
            return true;
        default: break;
    }
    // The arpeggiator's tie, on and slide flags.
    return i >= prm::ArpStepDataFirst && i < prm::ArpStepDataFirst + 3 * kArpStepBlock;
}

bool differAudibly(int i, float a, float b) {
    if (twoState(i)) return (a >= 0.5f) != (b >= 0.5f);
    if (const std::optional<float> factor = stepFactor(i))
        return static_cast<int>(a * *factor) != static_cast<int>(b * *factor);
    return std::fabs(a - b) > kAudibleStep;
}

}  // namespace

std::vector<bool> audibleParameters(const float* values) {
    const ProgramFeatures p(values);
    std::vector<bool> on(prm::kCount, false);
    for (int i : {prm::MainVolume, prm::MainPanning, prm::VelocityToVolume, prm::PlayMode, prm::ChordMode,
                  prm::AnalogDrift, prm::FilterType, prm::Filter2Type, prm::PitchBendDown, prm::PitchBendUp,
                  prm::GlobalTuning, prm::VelocityShape, prm::AttackShape, prm::DecayReleaseShape,
                  prm::FxBypass})
        on[i] = true;
    mark(on, prm::VolumeEnvelopeAttack, prm::VolumeEnvelopeRelease);

    if (params::kPortMode.index(values[prm::PortMode]) != portmode::Off) on[prm::PortMode] = on[prm::PortSpeed] = true;
    const int mode = p.playMode();
    if (mode == playmode::Unison2 || mode == playmode::Unison4 || mode == playmode::Unison6)
        on[prm::UnisonAmount] = true;
    constexpr int kChordPlay = 2;
    if (params::kChordMode.index(values[prm::ChordMode]) == kChordPlay) {
        mark(on, prm::ChordNoteFirst, prm::ChordNoteFirst + 8);
        on[prm::ChordCount] = true;
    }

    // Oscillators: Type .. PWM Speed, Output/Tracking, FM and sync, Free Running.
    struct Osc {
        int first, last, freeRunning;
    };
    constexpr Osc kOsc[3] = {{prm::Osc1Type, prm::Osc1Tracking, prm::Osc1FreeRunning},
                             {prm::Osc2Type, prm::Osc2Tracking, prm::Osc2FreeRunning},
                             {prm::Osc3Type, prm::Osc3Tracking, prm::Osc3FreeRunning}};
    for (int n = 0; n < 3; ++n) {
        on[prm::Osc1On + n] = true;
        if (!p.oscillatorActive(n)) continue;
        mark(on, kOsc[n].first, kOsc[n].last);
        on[kOsc[n].freeRunning] = true;
    }
    on[54] = false;  // the unnamed gap between oscillator 3's parameters

    if (p.filterActive()) {
        mark(on, prm::FilterFrequency, prm::FilterKeytracking);
        on[prm::ModToFilterFrequencyAmt] = on[prm::FilterSmoothing] = true;
    }
    if (p.filterEnvelopeActive()) mark(on, prm::FilterEnvelopeAttack, prm::FilterEnvelopeRelease);
    if (p.filterLfoActive()) {
        on[prm::FilterLfoAmt] = true;
        mark(on, prm::FilterLfoWave, prm::FilterLfoModSrc);
    }
    if (p.filter2Active()) on[prm::Filter2Frequency] = true;
    if (p.pitchLfoActive()) mark(on, prm::PitchLfoAmt, prm::PitchLfoWave);

    for (int k = 0; k < 2; ++k) {
        if (p.freeEnvelopeActive(k)) {
            for (int first : {prm::FreeEnvelope1Attack, prm::FreeEnvelope1Decay, prm::FreeEnvelope1Sustain,
                              prm::FreeEnvelope1Fade, prm::FreeEnvelope1Release, prm::KeyToFreeEnvelope1Speed,
                              prm::VelToFreeEnvelope1Speed, prm::FreeEnvelope1Amount, prm::FreeEnvelope1Dest})
                on[first + k] = true;
            if (k == 0) on[prm::FreeEnvelopeAmountControl] = on[prm::FreeEnvelopeModSrc] = true;
        }
        if (p.freeLfoActive(k)) {
            for (int first : {prm::FreeLfo1Wave, prm::FreeLfo1Mode, prm::FreeLfo1Sync, prm::FreeLfo1Speed,
                              prm::FreeLfo1ModAmt, prm::FreeLfo1Dest})
                on[first + k] = true;
            if (k == 0) on[prm::FreeLfoAmountControl] = on[prm::FreeLfoModSrc] = true;
        }
        if (p.fxModActive(k)) mark(on, prm::FxMod1Source + 3 * k, prm::FxMod1Source + 3 * k + 2);
    }
    for (int k = 0; k < 4; ++k)
        if (p.modSlotActive(k))
            for (int first : {prm::Mod1Source, prm::Mod1AmountControl, prm::Mod1Destination, prm::Mod1Amt,
                              prm::Mod1ModSource})
                on[first + k] = true;

    bool vocoder = false;
    for (int slot = 0; slot < params::kFxSlots; ++slot) {
        on[prm::Fx1Type + slot] = true;
        const int type = p.effectType(slot);
        if (type == 0) continue;
        on[prm::Fx1Mix + slot] = on[prm::Fx1Pan + slot] = true;
        for (int knob = 0; knob < params::kFxKnobs; ++knob)
            if (params::lists::kFxKnobNames[type][knob][0] != '-')
                on[params::fxKnobParameter(slot, knob)] = true;
        vocoder = vocoder || params::lists::kFxType[type] == std::string_view("Vocoder");
    }
    if (vocoder) mark(on, prm::VocoderSource, prm::SampleReset);

    if (p.arpeggiates() || p.modSequencerActive()) {
        mark(on, prm::ArpSteps, prm::TiedMode);
        on[prm::ArpLatch] = p.arpeggiates();
        // Only the steps the pattern plays.
        const int steps = static_cast<int>(values[prm::ArpSteps] * 15.99f) + 1;
        for (int block = 0; block < 6; ++block)
            mark(on, prm::ArpStepDataFirst + block * kArpStepBlock,
                 prm::ArpStepDataFirst + block * kArpStepBlock + steps - 1);
    }
    return on;
}

std::vector<int> audibleDifferences(const float* a, const float* b) {
    const std::vector<bool> inA = audibleParameters(a), inB = audibleParameters(b);
    std::vector<int> differing;
    for (int i = 0; i < prm::kCount; ++i)
        if ((inA[i] || inB[i]) && differAudibly(i, a[i], b[i])) differing.push_back(i);
    return differing;
}

}  // namespace bankgen
