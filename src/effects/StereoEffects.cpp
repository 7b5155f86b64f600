#include "effects/StereoEffects.h"

#include <algorithm>
#include <cmath>

#include "arp/HostTime.h"

namespace {

// The gator's steps per beat over 8, by the integer part of "Speed" x 30.99.
constexpr double kGatorRate[31] = {
    0.0,       1.0 / 48, 1.0 / 32, 3.0 / 64, 1.0 / 24, 1.0 / 16, 3.0 / 32, 1.0 / 12,
    1.0 / 8,   3.0 / 16, 1.0 / 6,  1.0 / 4,  3.0 / 8,  1.0 / 3,  1.0 / 2,  3.0 / 4,
    2.0 / 3,   1.0,      1.5,      4.0 / 3,  2.0,      3.0,      8.0 / 3,  4.0,
    6.0,       16.0 / 3, 8.0,      12.0,     32.0 / 3, 16.0,     18.0};

enum GatorMode { BothGated = 0, LeftGated = 1, RightGated = 2 };
enum GatorSync { SyncOff = 0, SyncOn = 1, SyncAuto = 2 };

}  // namespace

void StereoEffects::reset(int type) {
    SlotMemory::Layout layout(memory);
    switch (type) {
        case fxtype::AutoPan:
            updateType = &StereoEffects::updateAutoPan;
            step = &StereoEffects::stepAutoPan;
            break;
        case fxtype::Gator:
            updateType = &StereoEffects::updateGator;
            step = &StereoEffects::stepGator;
            break;
        default:
            ring.attach(layout);
            updateType = &StereoEffects::updateWidener;
            step = &StereoEffects::stepWidener;
            break;
    }
    longest = depth = 0.0f;
    triangle = triangleStep = 0.0;
    sweep = 1.0f;
    lowPass = highPass = OnePole{};
    toneL = toneR = ToneStage{};
    lfo = fxlfo::Phase{};
    panDepth = 0.0f;
    pan = 0.5f;
    position = increment = multiplier = 0.0;
    std::fill(std::begin(patternL), std::end(patternL), false);
    std::fill(std::begin(patternR), std::end(patternR), false);
    gateL = gateR = 0.0f;
    weight = 0.0f;
    factor = 1.0f;
    mode = sync = 0;
}

// --- Widener ---------------------------------------------------------------

void StereoEffects::updateWidener(const EffectControls& c) {
    using namespace fxknob;
    // 5 to 1,025 samples.
    longest = std::min(4.0f * std::exp2(8.0f * c.knob[A]) + 1.0f, float(WidenerRing::kMask));
    depth = c.knob[B];
    // Advanced every 16 samples: 0.027 to 27.5 Hz.
    triangleStep = std::exp2(10.0 * c.knob[C]) / c.sampleRate * 0.4296875;
    lowPass.set(c.knob[D], c.sampleRate);
    highPass.set(c.knob[E], c.sampleRate);
}

Stereo StereoEffects::stepWidener(Stereo in, const EffectTick& t) {
    if (t.tick16) {
        triangle += triangleStep;
        triangle -= std::floor(triangle);
        sweep = depth * float(1.0 - std::fabs(2.0 * triangle - 1.0)) + (1.0f - depth);
    }
    if (!t.active) return {0.0f, 0.0f};
    ring.write(t.counter, in.right);
    const float delayed = ring.at(t.counter - static_cast<uint32_t>(sweep * longest));
    return {toneL.run(in.left, lowPass, highPass) + 1e-15f, toneR.run(delayed, lowPass, highPass) + 1e-15f};
}

// --- Auto-pan --------------------------------------------------------------

void StereoEffects::updateAutoPan(const EffectControls& c) {
    using namespace fxknob;
    panDepth = 0.5f * c.knob[A];
    // One swing to each side per cycle-table length, at the host's tempo.
    lfo.step = fxlfo::syncedIncrement(c.knob[B], c.samplesPerBar, true);
}

Stereo StereoEffects::stepAutoPan(Stereo in, const EffectTick& t) {
    if (t.tick16) {
        lfo.advance();
        pan = (2.0f * lfo.unipolar() - 1.0f) * panDepth + 0.5f;
    }
    if (!t.active) return {0.0f, 0.0f};
    const float c = 2.0f * pan;
    return {std::min(1.0f, 2.0f - c) * in.left, std::min(1.0f, c) * in.right};
}

// --- Gator -----------------------------------------------------------------

void StereoEffects::updateGator(const EffectControls& c) {
    using namespace fxknob;
    multiplier = kGatorRate[static_cast<int>(c.knob[A] * 30.99f)];
    // 8 m steps per beat: 32 m per bar of the host's tempo.
    increment = 32.0 * multiplier / double(c.samplesPerBar);
    weight = std::exp2(12.0f - 20.0f * (1.0f - c.knob[B]));
    factor = 1.0f / (weight + 1.0f);
    mode = static_cast<int>(c.knob[C] * 2.99f);
    sync = static_cast<int>(c.knob[D] * 2.99f);
    const unsigned left = static_cast<unsigned>(c.knob[E] * 65535.9f);
    const unsigned right = static_cast<unsigned>(c.knob[F] * 65535.9f);
    for (int i = 0; i < kSteps; ++i) {
        patternL[i] = (left >> i) & 1u;
        patternR[i] = (right >> i) & 1u;
    }
    sampleRate = c.sampleRate;
}

void StereoEffects::moveGate(const EffectTick& t) {
    const HostTime* host = t.env->hostTime;
    const bool followHost = sync == SyncOn || (sync == SyncAuto && host && host->transportPlaying());
    if (followHost) {
        // The step the host's song position falls on; without a position, the first.
        const double quarters = host ? host->quartersAt(t.env->ctx->sampleCounter64, sampleRate) : 0.0;
        position = std::isfinite(quarters) ? std::floor(quarters * multiplier * 8.0) : 0.0;
    } else {
        position += increment;
    }
    position -= 16.0 * std::floor(position / 16.0);
}

Stereo StereoEffects::stepGator(Stereo in, const EffectTick& t) {
    moveGate(t);
    const int s = std::min(static_cast<int>(position), kSteps - 1);
    const float gL = (patternL[s] ? 1.0f : 0.0f) + 1e-15f;
    const float gR = (patternR[s] ? 1.0f : 0.0f) + 1e-15f;
    gateL = (weight * gateL + gL) * factor + 1e-15f;
    gateR = (weight * gateR + gR) * factor + 1e-15f;
    Stereo out{in.left + 1e-15f, in.right + 1e-15f};
    if (mode != RightGated) out.left = in.left * gateL + 1e-15f;
    if (mode != LeftGated) out.right = in.right * gateR + 1e-15f;
    return out;
}
