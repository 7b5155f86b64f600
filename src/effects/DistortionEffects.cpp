#include "effects/DistortionEffects.h"

#include <algorithm>
#include <cmath>

namespace {
// The bank's 12 dB low-pass: its state-variable structure, whose low output these types take.
constexpr int kStateVariable = 3;

float unit(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
float cutoff(float knob) { return 20.0f * std::exp2(10.0f * knob); }

// Soft output curve: (3|z| - z^2) / 2 up to full scale, then flat.
float softClip(float z) {
    const float a = std::fabs(z);
    if (!(a >= 0.00001f)) return 0.0f;
    const float y = a < 1.0f ? 0.5f * (3.0f * a - a * a) : 1.0f;
    return z < 0.0f ? -y : y;
}
}  // namespace

void DistortionEffects::reset(int type) {
    SlotMemory::Layout layout(memory);
    switch (type) {
        case fxtype::LowFi:
            updateType = &DistortionEffects::updateLowFi;
            step = &DistortionEffects::stepLowFi;
            break;
        case fxtype::FxFilter:
            combL = layout.take(CombRing::kFloats);
            combR = layout.take(CombRing::kFloats);
            updateType = &DistortionEffects::updateFilter;
            step = &DistortionEffects::stepFilter;
            break;
        default:
            updateType = &DistortionEffects::updateDistort;
            step = &DistortionEffects::stepDistort;
            break;
    }
    filterL = filterR = FilterSlot{};
    filterRate = 0.0f;
    limit = saturation = boost = 0.0f;
    rectify = 1.0f;
    levels = levelStep = 1.0f;
    hold = 1;
    heldL = heldR = position = 0.0f;
    filter = filterbank::mainFunction(0);
    drive = 0.0f;
    driveOn = false;
    combWriteL = combWriteR = 0;
}

void DistortionEffects::setFilters(int type, float hertz, float resonance, float sampleRate) {
    if (sampleRate != filterRate) {
        filterL.lastFrequency = filterR.lastFrequency = -1.0f;  // the cache knows no rate
        filterRate = sampleRate;
    }
    filterbank::setCoefficients(filterL, type, hertz, resonance, sampleRate);
    filterbank::setCoefficients(filterR, type, hertz, resonance, sampleRate);
}

void DistortionEffects::updateDistort(const EffectControls& c) {
    using namespace fxknob;
    limit = c.knob[A];
    rectify = 2.0f * c.knob[B] - 1.0f;
    saturation = std::exp2(8.0f * c.knob[C]) - 1.0f;
    const float tone = unit(c.knob[D] + (2.0f * c.knob[G] - 1.0f) * *c.env->modWheel);
    setFilters(kStateVariable, cutoff(tone), c.knob[E], c.sampleRate);
    // -30 .. +10 dB; off at the bottom.
    boost = c.knob[F] < 0.001f ? 0.0f : std::pow(10.0f, (40.0f * c.knob[F] - 30.0f) / 20.0f);
}

float DistortionEffects::distort(float x, FilterSlot& f) const {
    float y = filterbank::drive(x, saturation);
    filterbank::stateVariable(f, y);
    y = filterbank::limit100(2.0f * f.low);
    if (y < 0.0f) y *= rectify;  // 1 keeps, 0 removes, -1 folds up the negative half
    y = std::max(y, -limit);
    return softClip(boost * std::min(limit, y));
}

Stereo DistortionEffects::stepDistort(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    return {distort(in.left, filterL), distort(in.right, filterR)};
}

void DistortionEffects::updateLowFi(const EffectControls& c) {
    using namespace fxknob;
    levels = std::exp2(17.0f - 16.0f * c.knob[A]);
    levelStep = 1.0f / levels;
    hold = uint32_t(std::exp2(5.0f * c.knob[B]));  // 1 .. 32 samples
    const float e = unit(c.knob[C] + (2.0f * c.knob[D] - 1.0f) * *c.env->modWheel);
    position = unit(0.100000024f * e + 0.9f * position + 1e-15f);
    setFilters(kStateVariable, cutoff(position), 0.1f, c.sampleRate);
}

Stereo DistortionEffects::stepLowFi(Stereo in, const EffectTick& t) {
    if (hold == 0 || t.counter % hold == 0) {
        heldL = in.left;
        heldR = in.right;
    }
    if (!t.active) return {0.0f, 0.0f};
    // Truncated toward zero, so the steps are symmetric about 0.
    filterbank::stateVariable(filterL, std::trunc(heldL * levels) * levelStep);
    filterbank::stateVariable(filterR, std::trunc(heldR * levels) * levelStep);
    return {1.41f * filterL.low, 1.41f * filterR.low};
}

void DistortionEffects::updateFilter(const EffectControls& c) {
    using namespace fxknob;
    const int type = int(c.knob[A] * 13.99f);
    filter = filterbank::mainFunction(type);
    setFilters(type, cutoff(c.knob[B]), c.smoothed[C], c.sampleRate);
    drive = std::exp2(6.0f * c.smoothed[D]);
    driveOn = c.smoothed[D] > 0.001f;
}

Stereo DistortionEffects::stepFilter(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    float xL = in.left, xR = in.right;
    if (driveOn) {
        xL = filterbank::drive(xL, drive);
        xR = filterbank::drive(xR, drive);
    }
    return {filterbank::limit100(filter(filterL, CombLine{combL, &combWriteL}, xL)),
            filterbank::limit100(filter(filterR, CombLine{combR, &combWriteR}, xR))};
}
