// The recirculating types: "Comb Filter", two cross-coupled tuned combs whose
// feedback an LFO each modulates, and "Reverb", ten low-pass-feedback combs
// and four all-pass filters per channel behind a pre-delay. The comb falls
// silent with the slot's input; the reverb always runs, so its tail decays.
#pragma once

#include <algorithm>
#include <cstdint>

#include "effects/EffectFamily.h"
#include "effects/EffectLfo.h"
#include "effects/SlotMemory.h"
#include "effects/ToneFilter.h"

// The reverb's line lengths: ten combs and four all-passes per channel.
namespace reverblines {
constexpr int kCombs = 10;
constexpr int kAllPasses = 4;
// Lengths at 44.1 kHz; the right channel's are 23 samples longer.
constexpr int kCombBase[kCombs] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617, 1680, 1046};
constexpr int kAllPassBase[kAllPasses] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
// Lengths follow the sample rate up to this one; above it they stay at its
// lengths (the slot memory is laid out once, never grown).
constexpr float kLongestRate = 192000.0f;
// A line's room: its length at kLongestRate.
constexpr int capacity(int base) { return int((int64_t(base) * 192000 + 22050) / 44100); }
// Every line of both channels.
constexpr size_t floats() {
    size_t n = 0;
    for (int b : kCombBase) n += size_t(capacity(b) + capacity(b + kStereoSpread));
    for (int b : kAllPassBase) n += size_t(capacity(b) + capacity(b + kStereoSpread));
    return n;
}
}  // namespace reverblines

class CombReverbEffects final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Comb, fxtype::Reverb};
    static constexpr int kCombs = reverblines::kCombs;
    static constexpr int kAllPasses = reverblines::kAllPasses;
    using CombLine = Ring<13>;    // 8,192 samples
    using ReverbRing = Ring<16>;  // pre-delays and the right channel's spread
    static constexpr size_t kMemoryFloats =
        std::max(4 * CombLine::kFloats, 3 * ReverbRing::kFloats + reverblines::floats());

    explicit CombReverbEffects(SlotMemory& memory) : memory(memory) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

    // The line length for a base length (given at 44.1 kHz) at `sampleRate`,
    // held to 1 .. its capacity.
    static int lineLength(int base, float sampleRate);

private:
    using Update = void (CombReverbEffects::*)(const EffectControls&);
    using Step = Stereo (CombReverbEffects::*)(Stereo, const EffectTick&);

    void updateComb(const EffectControls& c);
    void updateReverb(const EffectControls& c);
    Stereo stepComb(Stereo in, const EffectTick& t);
    Stereo stepReverb(Stereo in, const EffectTick& t);
    // Sets every line's length for `sampleRate` and clears the lines.
    void buildReverbLines(float sampleRate);

    SlotMemory& memory;
    Update updateType = &CombReverbEffects::updateComb;
    Step step = &CombReverbEffects::stepComb;

    // Comb filter: lines indexed by a 21-bit position in 1/256 samples.
    CombLine inL, inR, outL, outR;
    uint32_t position = 0;
    uint32_t delay1 = 513, delay2 = 513;  // 1/256 samples
    float feedback1 = 0.0f, feedback2 = 0.0f;
    float depth1 = 0.0f, depth2 = 0.0f;
    float effective1 = 0.0f, effective2 = 0.0f;
    fxlfo::Phase lfo1, lfo2;

    // Reverb.
    struct Comb {
        float* line = nullptr;
        int capacity = 1;
        int length = 1;
        int index = 0;
        float store = 0.0f;
    };
    struct AllPass {
        float* line = nullptr;
        int capacity = 1;
        int length = 1;
        int index = 0;
    };
    struct Channel {
        Comb combs[kCombs];
        AllPass allPasses[kAllPasses];
        float run(float input, float room, float damp, float undamped);
    };
    ReverbRing preL, preR, spreadRing;
    Channel left, right;
    float linesRate = 0.0f;  // the rate the line lengths were set for
    uint32_t preDelay = 1, spread = 2;
    float room = 0.65f, damp = 0.0f;
    OnePole lowPass, highPass;
    ToneStage toneL, toneR;
};
