// The modulated short delays: "Chorus", "Chorus / Delay.", "Flanger",
// "Phaser" and "Ensemble". Chorus, chorus/delay and ensemble always run;
// flanger and phaser fall silent with the slot's input.
#pragma once

#include "effects/EffectFamily.h"
#include "effects/EffectLfo.h"
#include "effects/LengthGlide.h"
#include "effects/SlotMemory.h"
#include "effects/ToneFilter.h"

class ChorusEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Chorus, fxtype::ChorusDelay, fxtype::Flanger,
                                     fxtype::Phaser, fxtype::Ensemble};
    static constexpr int kEnsembleVoices = 6;
    static constexpr int kMaxAllPassSections = 8;
    using PhaserRing = Ring<16>;
    // Chorus / delay needs the most: two short lines and two long ones.
    static constexpr size_t kMemoryFloats = 2 * ShortLine::kFloats + 2 * LongLine::kFloats;
    static_assert(2 * kEnsembleVoices * ShortLine::kFloats <= kMemoryFloats);
    static_assert(PhaserRing::kFloats <= kMemoryFloats);

    explicit ChorusEffects(SlotMemory& memory) : memory(memory) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }
    bool restsBetweenTicks() const override { return step == &ChorusEffects::stepPhaser; }

private:
    using Update = void (ChorusEffects::*)(const EffectControls&);
    using Step = Stereo (ChorusEffects::*)(Stereo, const EffectTick&);

    void updateChorusRates(const EffectControls& c);
    void updateChorus(const EffectControls& c);
    void updateChorusDelay(const EffectControls& c);
    void updateFlanger(const EffectControls& c);
    void updatePhaser(const EffectControls& c);
    void updateEnsemble(const EffectControls& c);
    Stereo chorusCore(uint32_t counter);
    Stereo stepChorus(Stereo in, const EffectTick& t);
    Stereo stepChorusDelay(Stereo in, const EffectTick& t);
    Stereo stepFlanger(Stereo in, const EffectTick& t);
    Stereo stepPhaser(Stereo in, const EffectTick& t);
    Stereo stepEnsemble(Stereo in, const EffectTick& t);
    void tickPhaser();
    // The moving balance of flanger and phaser, from the LFO's bipolar value.
    void panTo(float bipolar);

    SlotMemory& memory;
    Update updateType = &ChorusEffects::updateChorus;
    Step step = &ChorusEffects::stepChorus;
    float sampleRate = 44100.0f;

    // Chorus core (types 5 and 6; the flanger and phaser use the first LFO).
    ShortLine shortL, shortR;
    fxlfo::Phase lfo1, lfo2;
    float length = 0.0f;   // c, or the flanger's length
    float width = 0.0f;    // w
    float offset = 0.0f;   // o, the right line's extra delay
    OnePole inputLowPass;  // type 5
    float inputL = 0.0f, inputR = 0.0f;

    // Chorus / delay: the echo on the long lines.
    LongLine longL, longR;
    LengthGlide echoGlide;
    float echoLength = 0.0f, echoFeedback = 0.0f, echoVolume = 0.0f;

    // Flanger (and the phaser's balance).
    float feedback = 0.0f;
    float panDepth = 0.0f, gainL = 0.0f, gainR = 0.0f;
    OnePole lowPass, highPass;
    ToneStage toneL, toneR;

    // Phaser: first-order all-pass sections per channel and a ring that
    // delays the left output by the spread.
    struct AllPassChain {
        float in[kMaxAllPassSections] = {};
        float out[kMaxAllPassSections] = {};
        float last = 0.0f;
        float run(float v, float k, int sections);
    };
    PhaserRing phaserRing;
    AllPassChain chainL, chainR;
    int sections = 1;
    float pitch = 0.0f, coefficient = 0.0f;
    uint32_t spread = 1;

    // Ensemble: six voices, each with its own LFO and lines.
    struct EnsembleVoice {
        fxlfo::Phase lfo;
        float depth = 0.0f, length = 0.0f, gainL = 0.0f, gainR = 0.0f;
        ShortLine lineL, lineR;
    };
    EnsembleVoice voices[kEnsembleVoices];
};
