// The stereo and rhythmic types: "Widener" (a swept delay on the right
// channel), "AutoPan" (a tempo-synced balance) and "Gator" (a 16-step gate on
// each channel, in time with the host). Widener and auto-pan fall silent with
// the slot's input; the gator always runs.
#pragma once

#include "effects/EffectFamily.h"
#include "effects/EffectLfo.h"
#include "effects/SlotMemory.h"
#include "effects/ToneFilter.h"

class StereoEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Widener, fxtype::AutoPan, fxtype::Gator};
    using WidenerRing = Ring<16>;
    static constexpr size_t kMemoryFloats = WidenerRing::kFloats;
    static constexpr int kSteps = 16;

    explicit StereoEffects(SlotMemory& memory) : memory(memory) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

private:
    using Update = void (StereoEffects::*)(const EffectControls&);
    using Step = Stereo (StereoEffects::*)(Stereo, const EffectTick&);

    void updateWidener(const EffectControls& c);
    void updateAutoPan(const EffectControls& c);
    void updateGator(const EffectControls& c);
    Stereo stepWidener(Stereo in, const EffectTick& t);
    Stereo stepAutoPan(Stereo in, const EffectTick& t);
    Stereo stepGator(Stereo in, const EffectTick& t);
    // The gator's step position for this sample, by its sync mode.
    void moveGate(const EffectTick& t);

    SlotMemory& memory;
    Update updateType = &StereoEffects::updateWidener;
    Step step = &StereoEffects::stepWidener;

    // Widener: the right input's ring, read up to K samples back as a
    // triangle between 1 - w and 1 moves the delay.
    WidenerRing ring;
    float longest = 0.0f;  // K
    float depth = 0.0f;    // w
    double triangle = 0.0;
    double triangleStep = 0.0;
    float sweep = 1.0f;  // m
    OnePole lowPass, highPass;
    ToneStage toneL, toneR;

    // Auto-pan.
    fxlfo::Phase lfo;
    float panDepth = 0.0f;
    float pan = 0.5f;

    // Gator. The position is kept in double: a slow pattern at a high sample
    // rate moves by less than a float can add to 16.
    double position = 0.0;
    double increment = 0.0;  // steps per sample
    double multiplier = 0.0; // steps per beat / 8
    bool patternL[kSteps] = {};
    bool patternR[kSteps] = {};
    float gateL = 0.0f, gateR = 0.0f;
    float weight = 0.0f;  // L
    float factor = 1.0f;  // 1 / (L + 1)
    int mode = 0;
    int sync = 0;
    float sampleRate = 44100.0f;
};
