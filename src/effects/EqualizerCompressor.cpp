#include "effects/EqualizerCompressor.h"

#include <algorithm>
#include <cmath>

namespace {

// A knob as a gain: `scale` dB across the knob, `offset` dB below that at 0;
// below 0.001 the knob mutes.
float level(float knob, float scale, float offset) {
    return knob < 0.001f ? 0.0f : std::pow(10.0f, (scale * knob - offset) / 20.0f);
}

}  // namespace

void EqualizerCompressor::reset(int type) {
    if (type == fxtype::Compressor) {
        updateType = &EqualizerCompressor::updateCompressor;
        step = &EqualizerCompressor::stepCompressor;
    } else {
        updateType = &EqualizerCompressor::updateEqualizer;
        step = &EqualizerCompressor::stepEqualizer;
    }
    for (int k = 0; k < kBands; ++k) {
        historyL[k] = historyR[k] = BandHistory{};
        gain[k] = 0.0f;
    }
    designedRate = 0.0f;
    left = right = Channel{};
    threshold = attack = release = volume = 0.0f;
    floorGain = 1.0f;
}

// --- Equalizer -------------------------------------------------------------

void EqualizerCompressor::designBands(float sampleRate) {
    designedRate = sampleRate;
    for (int k = 0; k < kBands; ++k) {
        const float w = 6.28318f * kBandHz[k] / (sampleRate + 1.0f);
        const float c = (1.41f - 0.5f * w) / (w + 2.82f);
        const float d = (0.5f - c) / 2.0f;
        bands[k] = {2.0f * d, -2.0f * std::cos(w) * (c + 0.5f), 2.0f * c};
    }
}

void EqualizerCompressor::updateEqualizer(const EffectControls& c) {
    // After a reset, and whenever the host changes the sample rate, so that
    // the bands stay at their frequencies.
    if (c.sampleRate != designedRate) designBands(c.sampleRate);
    // -20 .. +20 dB, 0 dB at the middle.
    for (int k = 0; k < kBands; ++k) gain[k] = level(c.smoothed[k], 40.0f, 20.0f);
}

float EqualizerCompressor::BandHistory::run(float x, const Band& b) {
    const float y = std::clamp(b.a0 * (x - x2) - b.b1 * y1 - b.b2 * y2 + 1e-15f, -100.0f, 100.0f);
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

Stereo EqualizerCompressor::stepEqualizer(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    Stereo out{0.0f, 0.0f};
    for (int k = 0; k < kBands; ++k) {
        out.left += gain[k] * historyL[k].run(in.left, bands[k]);
        out.right += gain[k] * historyR[k].run(in.right, bands[k]);
    }
    return out;
}

// --- Compressor ------------------------------------------------------------

void EqualizerCompressor::updateCompressor(const EffectControls& c) {
    using namespace fxknob;
    threshold = level(c.smoothed[A], 40.0f, 40.0f);     // -40 .. 0 dB
    floorGain = 1.0f / std::exp2(7.0f * c.smoothed[B]);  // ratio 1:1 .. 128:1
    // 4 down to 2^-13: at 0 the gain moves four fifths of the way each sample.
    attack = std::exp2(2.0f - 15.0f * c.smoothed[C]);
    release = std::exp2(2.0f - 15.0f * c.smoothed[D]);
    volume = level(c.smoothed[E], 40.0f, 20.0f);  // -20 .. +20 dB
}

float EqualizerCompressor::Channel::run(float x, uint32_t counter, const EqualizerCompressor& c) {
    // The output is the input of 256 samples ago: the gain has seen it coming.
    const uint32_t at = counter & (kLookAhead - 1);
    const float delayed = ring[at];
    ring[at] = x;
    const float r = std::fabs((previous + x) * 0.5f);
    previous = x;
    fast = r + (fast - r) * (r > fast ? 0.9f : 0.998f);
    fast = std::clamp(fast, 0.0f, 1.0f);
    slow = std::clamp((slow + 0.05f * fast) * 0.952381f, 0.0f, 1.0f);
    const float target =
        slow <= c.threshold
            ? 1.0f
            : std::clamp(c.floorGain + (1.0f - c.floorGain) * c.threshold / (slow + 0.0001f), 0.0f, 1.0f);
    // "Attack" sets how fast the gain comes down onto a louder passage,
    // "Release" how fast it recovers.
    const float k = std::fabs(gain) > std::fabs(target) ? c.attack : c.release;
    gain = (k * target + gain) / (k + 1.0f);
    return c.volume * gain * delayed;
}

Stereo EqualizerCompressor::stepCompressor(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    return {left.run(in.left, t.counter, *this), right.run(in.right, t.counter, *this)};
}
