// The level-shaping types: "Equalizer", five fixed band-passes at 60, 200,
// 600, 2,000 and 8,000 Hz summed with their gains, and "Compressor", an
// unlinked stereo compressor that looks 256 samples ahead. Both read the
// smoothed knobs and fall silent with the slot's input.
#pragma once

#include <cstdint>

#include "effects/EffectFamily.h"
#include "effects/SlotMemory.h"

class EqualizerCompressor final : public EffectFamily {
public:
    static constexpr int kTypes[] = {fxtype::Equalizer, fxtype::Compressor};
    static constexpr size_t kMemoryFloats = 0;  // its few histories are its own
    static constexpr int kBands = 5;
    static constexpr float kBandHz[kBands] = {60.0f, 200.0f, 600.0f, 2000.0f, 8000.0f};
    static constexpr uint32_t kLookAhead = 256;

    explicit EqualizerCompressor(SlotMemory&) {}

    void reset(int type) override;
    void update(const EffectControls& c) override { (this->*updateType)(c); }
    Stereo process(Stereo in, const EffectTick& t) override { return (this->*step)(in, t); }

private:
    using Update = void (EqualizerCompressor::*)(const EffectControls&);
    using Step = Stereo (EqualizerCompressor::*)(Stereo, const EffectTick&);

    void updateEqualizer(const EffectControls& c);
    void updateCompressor(const EffectControls& c);
    Stereo stepEqualizer(Stereo in, const EffectTick& t);
    Stereo stepCompressor(Stereo in, const EffectTick& t);
    // The band-pass coefficients for the sample rate.
    void designBands(float sampleRate);

    Update updateType = &EqualizerCompressor::updateEqualizer;
    Step step = &EqualizerCompressor::stepEqualizer;

    // Equalizer: coefficients shared by both channels, a history per channel.
    struct Band {
        float a0 = 0.0f, b1 = 0.0f, b2 = 0.0f;
    };
    struct BandHistory {
        float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
        float run(float x, const Band& b);
    };
    Band bands[kBands];
    BandHistory historyL[kBands], historyR[kBands];
    float gain[kBands] = {};
    float designedRate = 0.0f;  // 0: design at the next update

    // Compressor, per channel.
    struct Channel {
        float ring[kLookAhead] = {};
        float previous = 0.0f;
        float fast = 0.0f;  // e1, the peak follower
        float slow = 0.0f;  // e2, its smoothed level
        float gain = 0.0f;
        float run(float x, uint32_t counter, const EqualizerCompressor& c);
    };
    Channel left, right;
    float threshold = 0.0f;  // T
    float floorGain = 1.0f;  // m, the gain far above the threshold is m + (1 - m) T / level
    float attack = 0.0f;     // c_C, rising gain
    float release = 0.0f;    // c_D, falling gain
    float volume = 0.0f;
};
