#include "ProgramFeatures.h"

#include <cmath>

#include "engine/ModIds.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"

namespace bankgen {
namespace {
constexpr float kSilentLevel = 0.001f;  // the oscillator level the engine takes as off
constexpr float kStoppedLfo = 0.0001f;  // an LFO speed below this stands still
constexpr int kArpFree = 27, kArpVel = 28;
constexpr int kEffectDestinations = 30;  // "FX 1 mix" .. "FX3 H"
}  // namespace

bool ProgramFeatures::amountSet(int index) const { return std::fabs(v_[index] - 0.5f) > 0.01f; }

int ProgramFeatures::source(int index) const { return modsrc::decode(v_[index]); }
int ProgramFeatures::destination(int index) const { return moddst::decode(v_[index]); }

int ProgramFeatures::playMode() const { return params::kPlayMode.index(v_[prm::PlayMode]); }
bool ProgramFeatures::arpeggiates() const { return playMode() == playmode::Arp; }

bool ProgramFeatures::oscillatorActive(int n) const {
    static const int kOn[3] = {prm::Osc1On, prm::Osc2On, prm::Osc3On};
    static const int kVolume[3] = {prm::Osc1Volume, prm::Osc2Volume, prm::Osc3Volume};
    if (!switchOn(kOn[n]) || v_[kVolume[n]] < kSilentLevel) return false;
    if (n == 2) return true;
    // Oscillator 3 is always heard; 1 and 2 without output only through what they modulate.
    const int osc3Mode = oscillatorActive(2) && v_[prm::Osc3FmAmount] > kSilentLevel
                             ? params::kOsc3FM.index(v_[prm::Osc3FmMode])
                             : 0;
    const bool osc3UsesOsc1 = osc3Mode == 1 || osc3Mode == 2 || osc3Mode == 5 || osc3Mode == 6;
    const bool osc3UsesOsc2 = osc3Mode >= 3;
    if (n == 1) return switchOn(prm::Osc2Output) || osc3UsesOsc2;
    const bool osc2UsesOsc1 = oscillatorActive(1) && v_[prm::Osc2FmAmount] > kSilentLevel &&
                              params::kOsc2FM.index(v_[prm::Osc2FmMode]) != 0;
    return switchOn(prm::Osc1Output) || osc2UsesOsc1 || osc3UsesOsc1;
}

int ProgramFeatures::waveform(int n) const {
    static const int kType[3] = {prm::Osc1Type, prm::Osc2Type, prm::Osc3Type};
    return params::kWaveform.index(v_[kType[n]]);
}

bool ProgramFeatures::filterActive() const { return params::kFilterType.index(v_[prm::FilterType]) != 0; }
bool ProgramFeatures::filter2Active() const {
    return params::kFilter2Type.index(v_[prm::Filter2Type]) != 0;
}

bool ProgramFeatures::filterEnvelopeActive() const {
    return filterActive() && amountSet(prm::FilterEnvelopeAmt);
}

bool ProgramFeatures::pitchLfoActive() const {
    return v_[prm::PitchLfoSpeed] >= kStoppedLfo &&
           (v_[prm::PitchLfoAmt] > kSilentLevel ||
            (v_[prm::PitchLfoAmountControl] > kSilentLevel && source(prm::PitchLfoModSrc) != 0));
}

bool ProgramFeatures::filterLfoActive() const {
    return filterActive() && v_[prm::FilterLfoSpeed] >= kStoppedLfo &&
           (amountSet(prm::FilterLfoAmt) ||
            (amountSet(prm::FilterLfoAmountControl) && source(prm::FilterLfoModSrc) != 0));
}

bool ProgramFeatures::freeEnvelopeActive(int k) const {
    if (destination(prm::FreeEnvelope1Dest + k) == 0) return false;
    return amountSet(prm::FreeEnvelope1Amount + k) ||
           (k == 0 && amountSet(prm::FreeEnvelopeAmountControl) && source(prm::FreeEnvelopeModSrc) != 0);
}

bool ProgramFeatures::freeLfoActive(int k) const {
    if (v_[prm::FreeLfo1Speed + k] < kStoppedLfo || destination(prm::FreeLfo1Dest + k) == 0) return false;
    return amountSet(prm::FreeLfo1ModAmt + k) ||
           (k == 0 && amountSet(prm::FreeLfoAmountControl) && source(prm::FreeLfoModSrc) != 0);
}

bool ProgramFeatures::modSlotActive(int k) const {
    if (destination(prm::Mod1Destination + k) == 0) return false;
    const bool control = source(prm::Mod1ModSource + k) != 0;
    if (source(prm::Mod1Source + k) == 0 && !control) return false;
    return amountSet(prm::Mod1Amt + k) || (control && amountSet(prm::Mod1AmountControl + k));
}

bool ProgramFeatures::fxModActive(int k) const {
    const int base = prm::FxMod1Source + 3 * k;
    const int d = static_cast<int>(v_[base + 2] * 99.99f);
    if (source(base) == 0 || d < 1 || d > kEffectDestinations || !amountSet(base + 1)) return false;
    return effectActive((d - 1) / 10);
}

int ProgramFeatures::effectType(int slot) const {
    if (v_[prm::FxBypass] >= 0.5f || v_[prm::Fx1Mix + slot] <= 0.01f) return 0;
    return params::kFxType.index(v_[prm::Fx1Type + slot]);
}

bool ProgramFeatures::modSequencerActive() const {
    constexpr int kModMode = 10;
    if (arpeggiates() || params::kArpMode.index(v_[prm::ArpMode]) != kModMode) return false;
    auto arpSource = [&](int index) {
        const int s = source(index);
        return s == kArpFree || s == kArpVel;
    };
    for (int k = 0; k < 4; ++k)
        if (modSlotActive(k) && (arpSource(prm::Mod1Source + k) || arpSource(prm::Mod1ModSource + k)))
            return true;
    for (int k = 0; k < 2; ++k)
        if (fxModActive(k) && arpSource(prm::FxMod1Source + 3 * k)) return true;
    return false;
}

}  // namespace bankgen
