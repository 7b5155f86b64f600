// The shaping types: "Amp Sim" (a speaker cabinet's response, pre-amp
// saturation and a bass and treble control) and "Waveshaper" (cosine wave
// folding, separately for each half-wave, into a low-pass an LFO sweeps).
// Both fall silent with the slot's input.
#pragma once

#include "effects/Cabinets.h"
#include "effects/EffectFamily.h"
#include "effects/EffectLfo.h"
#include "engine/FilterBank.h"

class SlotMemory;

class AmpShaperEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::AmpSim, fxtype::Waveshaper};
    static constexpr size_t kMemoryFloats = 0;

    explicit AmpShaperEffects(SlotMemory&) : cabinetTable(cabinets::table()) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

private:
    using Update = void (AmpShaperEffects::*)(const EffectControls&);
    using Step = Stereo (AmpShaperEffects::*)(Stereo, const EffectTick&);

    void updateAmp(const EffectControls& c);
    void updateShaper(const EffectControls& c);
    Stereo stepAmp(Stereo in, const EffectTick& t);
    Stereo stepShaper(Stereo in, const EffectTick& t);

    // One channel of the amp: its cabinet ring and tone filters.
    struct AmpChannel {
        float ring[cabinets::kTaps] = {};
        FilterSlot bass, treble;
    };
    float amp(float x, AmpChannel& ch, uint32_t counter) const;
    float shape(float x) const;
    // The cache of the bank's coefficient routine knows no sample rate.
    void forgetCoefficientsIfRateChanged(float sampleRate);

    const cabinets::Table& cabinetTable;
    Update updateType = &AmpShaperEffects::updateAmp;
    Step step = &AmpShaperEffects::stepAmp;
    float sampleRate = 0.0f;

    // Amp Sim.
    int cabinet = 0;
    float drive = 0.0f, bassGain = 1.0f, trebleGain = 1.0f, volume = 1.0f;
    AmpChannel ampL, ampR;

    // Waveshaper.
    float top = 0.0f, bottom = 0.0f, polarity = 1.0f, base = 0.0f, depth = 0.0f;
    fxlfo::Phase lfo;
    FilterSlot lowL, lowR;
};
