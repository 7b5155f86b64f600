// The tempo-synchronised echoes: "Mono Delay", "Stereo Delay" and "WahWah
// Delay". They always run, so their echoes die away after the input stops.
#pragma once

#include "effects/EffectFamily.h"
#include "effects/EffectLfo.h"
#include "effects/LengthGlide.h"
#include "effects/SlotMemory.h"
#include "effects/ToneFilter.h"

class DelayEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::MonoDelay, fxtype::StereoDelay, fxtype::WahDelay};
    static constexpr size_t kMemoryFloats = 2 * LongLine::kFloats;

    explicit DelayEffects(SlotMemory& memory) : memory(memory) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

private:
    using Update = void (DelayEffects::*)(const EffectControls&);
    using Step = Stereo (DelayEffects::*)(Stereo, const EffectTick&);

    void updateMono(const EffectControls& c);
    void updateStereo(const EffectControls& c);
    void updateWah(const EffectControls& c);
    Stereo stepEcho(Stereo in, const EffectTick& t);
    Stereo stepWah(Stereo in, const EffectTick& t);
    void tickWah();

    // The echo length of a note-length knob, and the right echo's later start.
    static float echoLength(float knob, float samplesPerBar);
    static float widening(float knob) { return 4.0f * std::exp2(8.0f * knob); }

    SlotMemory& memory;
    Update updateType = &DelayEffects::updateMono;
    Step step = &DelayEffects::stepEcho;
    LongLine lineL, lineR;
    OnePole lowPass, highPass;
    ToneStage toneL, toneR;
    fxlfo::Phase lfo;

    // Mono and stereo: base lengths, modulation depth and the feedback matrix
    // (mono uses only the two direct terms).
    float baseL = 0.0f, baseR = 0.0f;
    LengthGlide lengthL, lengthR;
    float depth = 0.0f;
    float fbLL = 0.0f, fbRR = 0.0f, xLR = 0.0f, xRL = 0.0f;

    // Wah-wah: the sweep, one state-variable filter per channel, one echo length.
    struct Wah {
        float band = 0.0f;
        float low = 0.0f;
        float run(float x, float f, float damping);
    };
    float sweepLow = 0.0f, sweepHigh = 0.0f, resonance = 0.0f, feedback = 0.0f, volume = 0.0f;
    float wahLength = 0.0f;
    LengthGlide wahGlide;
    Wah wahL, wahR;
    float wahF = 0.0f, wahDamping = 0.0f;
    float lastCutoff = -1.0f, lastResonance = -1.0f, lastRate = 0.0f;
    float sampleRate = 44100.0f;
};
