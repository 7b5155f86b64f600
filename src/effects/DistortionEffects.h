// The distortion family: "Distort" (saturation, tone filter, rectifier,
// limiter and a soft output curve), "Low Fi" (sample-and-hold and bit
// reduction before a low-pass) and "FX Filt" (the engine's filter bank with
// its drive). All three fall silent with the slot's input. Each channel runs
// its own instance of the engine's filter bank.
#pragma once

#include "effects/EffectFamily.h"
#include "effects/SlotMemory.h"
#include "engine/FilterBank.h"

class DistortionEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Distort, fxtype::LowFi, fxtype::FxFilter};
    // The comb filter type's lines, one per channel.
    using CombRing = Ring<13>;
    static_assert(CombRing::kFloats == filterbank::kCombLength);
    static constexpr size_t kMemoryFloats = 2 * CombRing::kFloats;

    explicit DistortionEffects(SlotMemory& memory) : memory(memory) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

private:
    using Update = void (DistortionEffects::*)(const EffectControls&);
    using Step = Stereo (DistortionEffects::*)(Stereo, const EffectTick&);

    void updateDistort(const EffectControls& c);
    void updateLowFi(const EffectControls& c);
    void updateFilter(const EffectControls& c);
    Stereo stepDistort(Stereo in, const EffectTick& t);
    Stereo stepLowFi(Stereo in, const EffectTick& t);
    Stereo stepFilter(Stereo in, const EffectTick& t);

    float distort(float x, FilterSlot& f) const;
    // Both channels' coefficients through the bank's routine and its cache;
    // a new sample rate recomputes them.
    void setFilters(int type, float hertz, float resonance, float sampleRate);

    SlotMemory& memory;
    Update updateType = &DistortionEffects::updateDistort;
    Step step = &DistortionEffects::stepDistort;
    FilterSlot filterL, filterR;
    float filterRate = 0.0f;

    // Distort.
    float limit = 0.0f, rectify = 1.0f, saturation = 0.0f, boost = 0.0f;

    // Low Fi.
    float levels = 1.0f, levelStep = 1.0f;  // quantisation scale J and 1/J
    uint32_t hold = 1;
    float heldL = 0.0f, heldR = 0.0f;
    float position = 0.0f;  // the smoothed filter knob

    // FX Filt.
    filterbank::Fn filter = filterbank::mainFunction(0);
    float drive = 0.0f;
    bool driveOn = false;
    float* combL = nullptr;
    float* combR = nullptr;
    uint32_t combWriteL = 0, combWriteR = 0;
};
