#include "effects/AmpShaperEffects.h"

#include <cmath>

namespace {
// The bank's 12 dB low-pass: its state-variable structure, whose low and
// high outputs these types take.
constexpr int kStateVariable = 3;
constexpr float kTwoPi = 6.28318530717959f;
constexpr uint32_t kRingMask = cabinets::kTaps - 1;

float unit(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
// A gain knob: -20 .. +20 dB with 0.5 at unity; off at the bottom.
float level(float knob) { return knob < 0.001f ? 0.0f : std::pow(10.0f, (40.0f * knob - 20.0f) / 20.0f); }
}  // namespace

void AmpShaperEffects::reset(int type) {
    if (type == fxtype::Waveshaper) {
        updateType = &AmpShaperEffects::updateShaper;
        step = &AmpShaperEffects::stepShaper;
    } else {
        updateType = &AmpShaperEffects::updateAmp;
        step = &AmpShaperEffects::stepAmp;
    }
    sampleRate = 0.0f;
    cabinet = 0;
    drive = 0.0f;
    bassGain = trebleGain = volume = 1.0f;
    ampL = ampR = AmpChannel{};
    top = bottom = base = depth = 0.0f;
    polarity = 1.0f;
    lfo = fxlfo::Phase{};
    lowL = lowR = FilterSlot{};
}

void AmpShaperEffects::forgetCoefficientsIfRateChanged(float rate) {
    if (rate == sampleRate) return;
    sampleRate = rate;
    for (FilterSlot* f : {&ampL.bass, &ampL.treble, &ampR.bass, &ampR.treble, &lowL, &lowR})
        f->lastFrequency = -1.0f;
}

void AmpShaperEffects::updateAmp(const EffectControls& c) {
    using namespace fxknob;
    forgetCoefficientsIfRateChanged(c.sampleRate);
    cabinet = int(c.knob[A] * 5.99f);
    drive = std::exp2(8.0f * c.knob[B]) - 1.0f;
    bassGain = level(c.smoothed[C]);
    trebleGain = level(c.smoothed[D]);
    volume = level(c.knob[E]);
    for (AmpChannel* ch : {&ampL, &ampR}) {
        filterbank::setCoefficients(ch->bass, kStateVariable, 200.0f, 0.0f, c.sampleRate);
        filterbank::setCoefficients(ch->treble, kStateVariable, 4000.0f, 0.0f, c.sampleRate);
    }
}

float AmpShaperEffects::amp(float x, AmpChannel& ch, uint32_t counter) const {
    float y = x;
    if (cabinet > 0) {
        // Tap k weights the input k samples back.
        const uint32_t w = counter & kRingMask;
        ch.ring[w] = x;
        const float* taps = cabinetTable.taps[cabinet];
        y = 1e-15f;
        for (uint32_t k = 0; k < uint32_t(cabinets::kTaps); ++k) y += taps[k] * ch.ring[(w - k) & kRingMask];
    }
    const float s = filterbank::drive(y, drive);
    filterbank::stateVariable(ch.bass, s);
    const float e = s + 1.41f * ch.bass.low * (bassGain - 1.0f);
    filterbank::stateVariable(ch.treble, e);
    return (1.41f * ch.treble.high * (trebleGain - 1.0f) + e) * volume + 1e-15f;
}

Stereo AmpShaperEffects::stepAmp(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    return {amp(in.left, ampL, t.counter), amp(in.right, ampR, t.counter)};
}

void AmpShaperEffects::updateShaper(const EffectControls& c) {
    using namespace fxknob;
    forgetCoefficientsIfRateChanged(c.sampleRate);
    top = std::exp2(4.0f * c.smoothed[A]) - 1.0f;  // 0 .. 15 folds
    bottom = std::exp2(4.0f * c.smoothed[B]) - 1.0f;
    polarity = 1.0f - 2.0f * c.knob[C];
    base = c.knob[D];
    depth = c.knob[E];
    lfo.step = fxlfo::syncedIncrement(c.knob[F], c.samplesPerBar, true);
}

float AmpShaperEffects::shape(float x) const {
    if (x > 0.0f) return x * std::cos(kTwoPi * top * x);
    return x * polarity * std::cos(kTwoPi * bottom * x);
}

Stereo AmpShaperEffects::stepShaper(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    if (t.tick16) {
        lfo.advance();
        const float position = unit(lfo.bipolar() * depth + base);
        const float hertz = 20.0f * std::exp2(10.0f * position);
        filterbank::setCoefficients(lowL, kStateVariable, hertz, 0.1f, sampleRate);
        filterbank::setCoefficients(lowR, kStateVariable, hertz, 0.1f, sampleRate);
    }
    filterbank::stateVariable(lowL, shape(in.left));
    filterbank::stateVariable(lowR, shape(in.right));
    return {1.41f * lowL.low, 1.41f * lowR.low};
}
