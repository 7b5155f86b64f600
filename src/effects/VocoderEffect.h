// "Vocoder": a 32-band channel vocoder. The slot's left input and an outside
// signal (the host's audio input, or the loaded sample) are the modulator
// and the carrier, one way round or the other ("Vocoder Mode"). The
// modulator's band levels, from the analysis bank, shape the carrier's bands
// in the synthesis bank, which "Shift" can move by up to three octaves. The
// output is mono, the same on both sides, and falls silent with the slot's
// input.
#pragma once

#include "effects/EffectFamily.h"
#include "effects/SlotMemory.h"
#include "effects/ToneFilter.h"

class VocoderEffect final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Vocoder};
    static constexpr size_t kMemoryFloats = 0;  // its banks are its own
    static constexpr int kBands = 32;

    explicit VocoderEffect(SlotMemory&) {}

    void reset(int type) override;
    void update(const EffectControls& c) override;
    Stereo process(Stereo in, const EffectTick& t) override;

    // A bank's band centre i in Hz before "Shift": 50 Hz to 6,400 Hz in equal steps.
    static float bandCentre(int i);

private:
    // 32 second-order band-passes on one input, laid out band by band so the
    // compiler can run several bands at once.
    struct Bank {
        float a0[kBands], a2[kBands], b1[kBands], b2[kBands];
        float y1[kBands], y2[kBands];
        float x1, x2;
        void design(float shift, float width, float sampleRate);
        void clear();
    };
    void designBanks(float sampleRate);

    Bank analysis{}, synthesis{};
    float envelope[kBands] = {};

    bool inputSource = false;  // "Vocoder Source" "Input"; otherwise the sample
    bool swapped = false;      // "Vocoder Mode" "Swapped"
    float mix = 0.0f;
    float width = 0.0f;
    float boost = 0.0f;
    float inputGain = 0.0f;
    float shift = 1.0f;
    bool lowPassOn = true;
    OnePole lowPass, highPass;
    ToneStage tone;
    // The last band design; a rate of 0 designs at the next update.
    float designedWidth = 0.0f, designedShift = 0.0f, designedRate = 0.0f;
};
