#include "engine/ModMatrix.h"

#include <array>
#include <cmath>
#include <cstring>

#include "engine/Clamp.h"

namespace {

// How a slot acts on a destination.
enum Rule : unsigned char {
    Ignore,
    Pitch,     // whole cents, up to three octaves either way
    Fine,      // up to a semitone either way
    Level,     // VCA, or an additive controller contribution
    Add,       // amount x source
    AddShape,  // amount x the slot's shaped (mostly bipolar) source
    Speed,     // up to two octaves of rate either way
};

// As long as the destination rows, so that no index can read past the table.
constexpr int kRuleRows = moddst::kCount;

constexpr std::array<Rule, kRuleRows> voiceRules() {
    std::array<Rule, kRuleRows> r{};
    for (int d : {1, 6, 14, 22}) r[d] = Pitch;
    for (int d : {7, 15, 23}) r[d] = Fine;
    for (int d : {5, 13, 21, 20, 28, 36}) r[d] = Level;
    for (int d : {8, 9, 10, 16, 17, 18, 24, 25, 26, 29, 30, 31, 35, 41, 42, 75, 76}) r[d] = Add;
    for (int d : {32, 37}) r[d] = AddShape;
    for (int d : {11, 19, 27, 33, 34, 38, 39, 40, 43, 44}) r[d] = Speed;
    return r;
}

constexpr std::array<Rule, kRuleRows> globalRules() {
    std::array<Rule, kRuleRows> r{};
    for (int d : {3, 34, 39, 40, 43, 44}) r[d] = Speed;
    r[moddst::Volume] = Level;
    for (int d : {2, 4, 41, 42, 45, 46, 55, 56, 65, 66, 75, 76}) r[d] = Add;
    for (int s = 0; s < 3; ++s)
        for (int k = 0; k < 8; ++k) r[moddst::Fx1Mix + 2 + 10 * s + k] = AddShape;
    return r;
}

constexpr std::array<Rule, kRuleRows> kVoiceRules = voiceRules();
constexpr std::array<Rule, kRuleRows> kGlobalRules = globalRules();

struct SlotParams {
    int source, amount, amountControl, controlSource, destination;
};
// -1 where a slot has no such parameter. Slots 0..3 take their source from the
// free envelopes and free LFOs.
constexpr SlotParams kSlotParams[ModMatrix::kSlots] = {
    {-1, prm::FreeEnvelope1Amount, prm::FreeEnvelopeAmountControl, prm::FreeEnvelopeModSrc,
     prm::FreeEnvelope1Dest},
    {-1, prm::FreeEnvelope2Amount, -1, -1, prm::FreeEnvelope2Dest},
    {-1, prm::FreeLfo1ModAmt, prm::FreeLfoAmountControl, prm::FreeLfoModSrc, prm::FreeLfo1Dest},
    {-1, prm::FreeLfo2ModAmt, -1, -1, prm::FreeLfo2Dest},
    {prm::Mod1Source, prm::Mod1Amt, prm::Mod1AmountControl, prm::Mod1ModSource,
     prm::Mod1Destination},
    {prm::Mod1Source + 1, prm::Mod1Amt + 1, prm::Mod1AmountControl + 1, prm::Mod1ModSource + 1,
     prm::Mod1Destination + 1},
    {prm::Mod1Source + 2, prm::Mod1Amt + 2, prm::Mod1AmountControl + 2, prm::Mod1ModSource + 2,
     prm::Mod1Destination + 2},
    {prm::Mod1Source + 3, prm::Mod1Amt + 3, prm::Mod1AmountControl + 3, prm::Mod1ModSource + 3,
     prm::Mod1Destination + 3},
    {prm::FxMod1Source, prm::FxMod1Amt, -1, -1, prm::FxMod1Destination},
    {prm::FxMod2Source, prm::FxMod2Amt, -1, -1, prm::FxMod2Destination},
};
constexpr int kFirstEffectSlot = 8;

// Sources of slots 0..3, and the destination whose value adds to each one's amount.
constexpr int kOwnSource[4] = {modsrc::Env1, modsrc::Env2, modsrc::Lfo1, modsrc::Lfo2};
constexpr int kAmountDestination[4] = {moddst::Env1Amt, moddst::Env2Amt, moddst::Lfo1Amt,
                                       moddst::Lfo2Amt};


// The effect slots choose among the effect destinations only: 1 is "FX 1 mix".
int decodeEffectDestination(float value) {
    const int d = static_cast<int>(value * 99.99f);
    constexpr int kEffectDestinations = 30;
    return d > 0 && d <= kEffectDestinations ? moddst::Fx1Mix - 1 + d : moddst::None;
}

}  // namespace

ModMatrix::ModMatrix() {
    for (int d = 0; d < moddst::kCount; ++d) base[d] = moddst::isMultiplicative(d) ? 1.0f : 0.0f;
    std::memcpy(sharedDest_, base, sizeof base);
    sharedSources_[modsrc::Offset] = 1.0f;
}

void ModMatrix::resetRows(float* dest, float* ctrlAdd) const {
    std::memcpy(dest, base, sizeof base);
    std::memset(ctrlAdd, 0, sizeof base);
}

void ModMatrix::updateAmountControls(const ParamValue* values) {
    for (int i = 0; i < kSlots; ++i) {
        const SlotParams& p = kSlotParams[i];
        Slot& s = slots[i];
        s.source = p.source < 0 ? modsrc::None : modsrc::decode(values[p.source]);
        s.control = p.controlSource < 0 ? modsrc::None : modsrc::decode(values[p.controlSource]);
        s.destination = i >= kFirstEffectSlot ? decodeEffectDestination(values[p.destination])
                                              : moddst::decode(values[p.destination]);
        float control = 0.0f;
        if (p.amountControl >= 0)
            control = (2.0f * values[p.amountControl] - 1.0f) * sharedSources_[s.control];
        s.amount = clampBipolar(2.0f * values[p.amount] - 1.0f + control);
    }
}

void ModMatrix::evaluateGlobal() { apply(true, sharedSources_, sharedDest_, sharedCtrlAdd_); }

void ModMatrix::evaluateVoice(const float* sources, float* dest, float* ctrlAdd) const {
    apply(false, sources, dest, ctrlAdd);
}

void ModMatrix::apply(bool global, const float* sources, float* dest, float* ctrlAdd) const {
    const std::array<Rule, kRuleRows>& rules = global ? kGlobalRules : kVoiceRules;
    // The free envelopes' and free LFOs' amounts add the "Env 1 Amt" .. "LFO2 Amt"
    // values of the previous evaluation.
    float amountOffset[4];
    for (int k = 0; k < 4; ++k) amountOffset[k] = dest[kAmountDestination[k]];
    resetRows(dest, ctrlAdd);

    const int slotCount = global ? kSlots : kFirstEffectSlot;
    for (int i = 0; i < slotCount; ++i) {
        const Slot& s = slots[i];
        const int d = s.destination;
        if (d == moddst::None) continue;
        const Rule rule = rules[d];
        if (rule == Ignore) continue;

        float a = s.amount;
        float l;
        bool controller = false;
        if (i < 4) {
            a = clampBipolar(a + amountOffset[i]);
            l = sources[kOwnSource[i]];
        } else if (i < kFirstEffectSlot) {
            l = sharedSources_[s.control] + sources[s.source];
            controller = modsrc::isController(s.source);
        } else {
            l = sources[s.source];
        }
        // Slots 0, 1 and 4 are unipolar; the LFO slots and the others centre on 0.5.
        const float h = (i == 0 || i == 1 || i == 4) ? l : 2.0f * l - 1.0f;

        switch (rule) {
            case Pitch:
                dest[d] += std::trunc(l * 3600.0f) * a * 0.0008333333f;
                break;
            case Fine:
                dest[d] += a * h / 12.0f;
                break;
            case Level:
                if (i >= 4 && s.source == modsrc::None) break;
                if (controller) {
                    ctrlAdd[d] += a * l;
                } else {
                    const float v = std::fabs(a);
                    dest[d] *= a > 0.0f ? 1.0f - v + v * h : (1.0f - h) * v + (1.0f - v);
                }
                break;
            case Add:
                dest[d] += a * l;
                break;
            case AddShape:
                dest[d] += a * h;
                break;
            case Speed:
                dest[d] *= std::exp2(2.0f * a * l);
                break;
            default:
                break;
        }
    }
}
