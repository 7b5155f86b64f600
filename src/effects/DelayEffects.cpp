#include "effects/DelayEffects.h"

#include <algorithm>
#include <cmath>

#include "effects/Feedback.h"
#include "effects/SyncTables.h"

namespace {
constexpr float kPi = 3.14159265358979f;
}  // namespace

void DelayEffects::reset(int type) {
    SlotMemory::Layout layout(memory);
    lineL.attach(layout);
    lineR.attach(layout);
    // The tone filters stay silent until the control update that follows.
    lowPass = highPass = OnePole{};
    toneL = toneR = ToneStage{};
    lfo = fxlfo::Phase{};
    baseL = baseR = depth = 0.0f;
    lengthL = lengthR = wahGlide = LengthGlide{};
    fbLL = fbRR = xLR = xRL = 0.0f;
    sweepLow = sweepHigh = resonance = feedback = volume = wahLength = 0.0f;
    wahL = wahR = Wah{};
    wahF = wahDamping = 0.0f;
    lastCutoff = lastResonance = -1.0f;
    lastRate = 0.0f;

    switch (type) {
        case fxtype::StereoDelay:
            updateType = &DelayEffects::updateStereo;
            step = &DelayEffects::stepEcho;
            break;
        case fxtype::WahDelay:
            updateType = &DelayEffects::updateWah;
            step = &DelayEffects::stepWah;
            break;
        default:
            updateType = &DelayEffects::updateMono;
            step = &DelayEffects::stepEcho;
            break;
    }
}

float DelayEffects::echoLength(float knob, float samplesPerBar) {
    return synced::noteLength(knob) * samplesPerBar + 1.0f;
}

void DelayEffects::updateMono(const EffectControls& c) {
    using namespace fxknob;
    const float length = echoLength(c.knob[A], c.samplesPerBar);
    baseL = std::min(length, kLongestEchoBase);
    baseR = std::min(widening(c.knob[E]) + length, kLongestEchoBase);
    fbLL = fbRR = fxfeedback::bipolar(c.knob[B]);
    xLR = xRL = 0.0f;
    lowPass.set(c.knob[C], c.sampleRate);
    highPass.set(c.knob[D], c.sampleRate);
    depth = std::sqrt(c.knob[F]);
    // The phase advances on the 16-sample tick: 0.027 to 27.5 Hz.
    lfo.step = fxlfo::increment(std::exp2(10.0 * c.knob[G]) / c.sampleRate * 7208960.0);
}

void DelayEffects::updateStereo(const EffectControls& c) {
    using namespace fxknob;
    baseL = std::min(echoLength(c.knob[A], c.samplesPerBar), kLongestEchoBase);
    baseR = std::min(widening(c.knob[G]) + echoLength(c.knob[B], c.samplesPerBar), kLongestEchoBase);
    const float o = fxfeedback::bipolar(c.knob[C]);
    if (c.knob[H] > 0.5f) {
        // "Feed Equal": both echoes lose the same level per second.
        xLR = xRL = 0.0f;
        const float sign = o < 0.0f ? -1.0f : 1.0f;
        const float magnitude = std::fabs(o) + 0.0001f;
        if (baseL > baseR) {
            fbLL = o;
            fbRR = sign * std::pow(magnitude, baseR / baseL);
        } else {
            fbRR = o;
            fbLL = sign * std::pow(magnitude, baseL / baseR);
        }
    } else {
        // Cross-feed, normalised so that the loop gain stays below 1.
        const float cross = 1.98f * c.knob[D] - 0.99f;
        const float g = 1.0f / std::max(1.0f, std::fabs(o) + std::fabs(cross) + 0.0001f);
        fbLL = fbRR = g * o + 1e-15f;
        xLR = xRL = 1e-15f - g * cross;
    }
    lfo.step = fxlfo::increment(4.0 / c.sampleRate * 7208960.0);  // a fixed 0.107 Hz
    lowPass.set(c.knob[E], c.sampleRate);
    highPass.set(c.knob[F], c.sampleRate);
    depth = std::sqrt(c.knob[G]);
}

Stereo DelayEffects::stepEcho(Stereo in, const EffectTick& t) {
    if (t.tick16) {
        lfo.advance();
        const float m = 1.0f + 0.125f * depth * lfo.unipolar();
        lengthL.follow(std::min(baseL * m, kLongestEchoTarget));
        lengthR.follow(std::min(baseR * m, kLongestEchoTarget));
    }
    const float yL = lineL.read(t.counter, lengthL.value);
    const float yR = lineR.read(t.counter, lengthR.value);
    const float vL = in.left - fbLL * yL + xLR * yR;
    const float vR = in.right - fbRR * yR + xRL * yL;
    lineL.write(t.counter, toneL.run(vL, lowPass, highPass));
    lineR.write(t.counter, toneR.run(vR, lowPass, highPass));
    return {yL, yR};
}

void DelayEffects::updateWah(const EffectControls& c) {
    using namespace fxknob;
    sweepLow = c.knob[A];
    sweepHigh = c.knob[B];
    resonance = c.knob[D];
    feedback = fxfeedback::unipolar(c.knob[F]);
    volume = c.knob[G];
    lfo.step = fxlfo::syncedIncrement(c.knob[C], c.samplesPerBar, true);
    wahLength = std::min(echoLength(c.knob[E], c.samplesPerBar), kLongestEchoBase);
    sampleRate = c.sampleRate;
}

void DelayEffects::tickWah() {
    lfo.advance();
    const float sweep = sweepLow + (sweepHigh - sweepLow) * lfo.unipolar();
    const float cutoff = 20.0f * std::exp2(10.0f * sweep);
    const float r = std::min(resonance, 0.9995f);
    // Recomputed only when the sweep or the resonance moved (or the sample rate changed).
    if (std::fabs(cutoff - lastCutoff) > 0.01f || std::fabs(r - lastResonance) > 0.01f ||
        sampleRate != lastRate) {
        lastCutoff = cutoff;
        lastResonance = r;
        lastRate = sampleRate;
        const float g = std::min(std::max((cutoff + 0.001f) / sampleRate + 1e-15f, 50.0f / sampleRate), 0.2f);
        wahF = 2.0f * std::sin(kPi * g) + 1e-15f;
        wahDamping = 1.0f - r + 1e-15f;
    }
    wahGlide.follow(std::min(wahLength, kLongestEchoTarget));
}

float DelayEffects::Wah::run(float x, float f, float damping) {
    // Soft limit. The cubic rises only up to its knee (1/sqrt(0.003)) and would
    // throw a larger state (a loud bus) further out, so the state is held there.
    constexpr float kKnee = 18.257419f;
    const float held = band < -kKnee ? -kKnee : (band > kKnee ? kKnee : band);
    const float b = held * (1.0f - 0.001f * held * held) + 1e-15f;
    const float high = x - low - damping * b + 1e-15f;
    band = b + f * high + 1e-15f;
    low = f * band + low + 1e-15f;
    return 1.41f * low;
}

Stereo DelayEffects::stepWah(Stereo in, const EffectTick& t) {
    if (t.tick16) tickWah();
    const float wL = wahL.run(in.left, wahF, wahDamping);
    const float wR = wahR.run(in.right, wahF, wahDamping);
    const float yL = lineL.read(t.counter, wahGlide.value);
    const float yR = lineR.read(t.counter, wahGlide.value);
    lineL.write(t.counter, wL + feedback * yL);
    lineR.write(t.counter, wR + feedback * yR);
    return {wL + volume * yL, wR + volume * yR};
}
