#include "effects/CombReverbEffects.h"

#include <algorithm>
#include <cmath>

#include "effects/Feedback.h"

using namespace reverblines;

namespace {
constexpr uint32_t kPositionMask = 0x1FFFFF;  // 21 bits: 8,192 samples of 1/256
constexpr uint32_t kShortestComb = 513;
constexpr uint32_t kLongestComb = 2097150;
constexpr uint32_t kLongestRing = 65535;

float clamp100(float v) { return v < -100.0f ? -100.0f : (v > 100.0f ? 100.0f : v); }

// A comb's delay in 1/256 samples for the knob's 20 .. 20,480 Hz.
uint32_t combDelay(float knob, float sampleRate) {
    const double d = std::floor(double(sampleRate) * 256.0 / (20.0 * std::exp2(10.0 * knob) + 1.0));
    return uint32_t(std::clamp(d, double(kShortestComb), double(kLongestComb)));
}

// -1 .. +1 with a quick rise from the centre, held short of unity: at
// exactly 1 the loop would add up its input until it hit the limit.
float combFeedback(float knob) {
    const float d = knob - 0.5f;
    const float magnitude = std::min(std::pow(2.0f * std::fabs(d), 0.25f), fxfeedback::kMost);
    return d < 0.0f ? -magnitude : magnitude;
}
}  // namespace

int CombReverbEffects::lineLength(int base, float sampleRate) {
    const float rate = std::min(sampleRate, kLongestRate);
    const int length = int(float(base) * rate / 44100.0f + 0.5f);
    return std::clamp(length, 1, capacity(base));
}

void CombReverbEffects::reset(int type) {
    SlotMemory::Layout layout(memory);
    if (type == fxtype::Reverb) {
        preL.attach(layout);
        preR.attach(layout);
        spreadRing.attach(layout);
        for (int channel = 0; channel < 2; ++channel) {
            Channel& ch = channel == 0 ? left : right;
            const int extra = channel == 0 ? 0 : kStereoSpread;
            for (int k = 0; k < kCombs; ++k) {
                ch.combs[k].capacity = capacity(kCombBase[k] + extra);
                ch.combs[k].line = layout.take(size_t(ch.combs[k].capacity));
            }
            for (int k = 0; k < kAllPasses; ++k) {
                ch.allPasses[k].capacity = capacity(kAllPassBase[k] + extra);
                ch.allPasses[k].line = layout.take(size_t(ch.allPasses[k].capacity));
            }
        }
        buildReverbLines(44100.0f);
        linesRate = 0.0f;  // the update that follows sets the lengths for the real rate
        updateType = &CombReverbEffects::updateReverb;
        step = &CombReverbEffects::stepReverb;
    } else {
        inL.attach(layout);
        inR.attach(layout);
        outL.attach(layout);
        outR.attach(layout);
        updateType = &CombReverbEffects::updateComb;
        step = &CombReverbEffects::stepComb;
    }
    position = 0;
    delay1 = delay2 = kShortestComb;
    feedback1 = feedback2 = depth1 = depth2 = effective1 = effective2 = 0.0f;
    lfo1 = lfo2 = fxlfo::Phase{};
    preDelay = 1;
    spread = 2;
    room = 0.65f;
    damp = 0.0f;
    lowPass = highPass = OnePole{};
    toneL = toneR = ToneStage{};
}

void CombReverbEffects::updateComb(const EffectControls& c) {
    using namespace fxknob;
    delay1 = combDelay(c.smoothed[A], c.sampleRate);
    delay2 = combDelay(c.smoothed[E], c.sampleRate);
    feedback1 = combFeedback(c.knob[B]);
    feedback2 = combFeedback(c.knob[F]);
    depth1 = std::sqrt(c.knob[C]);
    depth2 = std::sqrt(c.knob[G]);
    lfo1.step = fxlfo::syncedIncrement(c.knob[D], c.samplesPerBar, true);
    lfo2.step = fxlfo::syncedIncrement(c.knob[H], c.samplesPerBar, true);
}

Stereo CombReverbEffects::stepComb(Stereo in, const EffectTick& t) {
    if (!t.active) return {0.0f, 0.0f};
    if (t.tick16) {
        // The LFOs move the feedback amount, not the tuning.
        lfo1.advance();
        lfo2.advance();
        effective1 = feedback1 * (depth1 * lfo1.unipolar() + 1.0f - depth1);
        effective2 = feedback2 * (depth2 * lfo2.unipolar() + 1.0f - depth2);
    }
    position = (position + 256) & kPositionMask;
    const uint32_t n = position >> 8;
    const uint32_t read1 = (position - delay1) >> 8;
    const uint32_t read2 = (position - delay2) >> 8;
    // Each channel hears the other's input and fed-back output: one loop through both combs.
    inL.write(n, in.left);
    const float yL = clamp100(outR.at(read1) * effective1 + inR.at(read1));
    outL.write(n, yL);
    inR.write(n, in.right);
    const float yR = clamp100(outL.at(read2) * effective2 + inL.at(read2));
    outR.write(n, yR);
    return {yL, yR};
}

void CombReverbEffects::buildReverbLines(float sampleRate) {
    for (int channel = 0; channel < 2; ++channel) {
        Channel& ch = channel == 0 ? left : right;
        const int extra = channel == 0 ? 0 : kStereoSpread;
        for (int k = 0; k < kCombs; ++k) {
            Comb& comb = ch.combs[k];
            comb.length = lineLength(kCombBase[k] + extra, sampleRate);
            comb.index = 0;
            comb.store = 0.0f;
            std::fill_n(comb.line, comb.capacity, 0.0f);
        }
        for (int k = 0; k < kAllPasses; ++k) {
            AllPass& a = ch.allPasses[k];
            a.length = lineLength(kAllPassBase[k] + extra, sampleRate);
            a.index = 0;
            std::fill_n(a.line, a.capacity, 0.0f);
        }
    }
    linesRate = sampleRate;
}

void CombReverbEffects::updateReverb(const EffectControls& c) {
    using namespace fxknob;
    if (c.sampleRate != linesRate) buildReverbLines(c.sampleRate);
    // 0.5 ms to 512 ms.
    const double pre = std::floor(std::exp2(10.0 * c.smoothed[A]) * c.sampleRate * 0.0005 + 1.0);
    preDelay = uint32_t(std::min(pre, double(kLongestRing)));
    room = 0.65f + 0.249579f * std::log10(20.0f * c.knob[B] + 1.0f);
    damp = 0.55f * c.knob[C];
    lowPass.set(c.knob[D], c.sampleRate);
    highPass.set(c.knob[E], c.sampleRate);
    spread = uint32_t(std::min(std::floor(std::exp2(13.0f * c.knob[F])) + 1.0f, float(kLongestRing)));
}

float CombReverbEffects::Channel::run(float input, float room, float damp, float undamped) {
    float sum = 0.0f;
    for (Comb& comb : combs) {
        const float out = comb.line[comb.index] + 1e-12f;
        comb.store = damp * comb.store + undamped * out + 1e-12f;
        comb.line[comb.index] = room * comb.store + input;
        if (++comb.index >= comb.length) comb.index = 0;
        sum += out;
    }
    float v = sum;
    for (AllPass& a : allPasses) {
        const float bo = a.line[a.index] + 1e-12f;
        a.line[a.index] = 0.5f * bo + v;
        v = bo - v;
        if (++a.index >= a.length) a.index = 0;
    }
    return 0.025f * v;
}

Stereo CombReverbEffects::stepReverb(Stereo in, const EffectTick& t) {
    preL.write(t.counter, in.left);
    preR.write(t.counter, in.right);
    const float a = preL.at(t.counter - preDelay);
    const float b = preR.at(t.counter - preDelay);
    const float undamped = 1.0f - damp;
    const float wetL = toneL.run(left.run(a, room, damp, undamped), lowPass, highPass);
    const float wetR = toneR.run(right.run(b, room, damp, undamped), lowPass, highPass);
    spreadRing.write(t.counter, wetR);
    return {wetL, spreadRing.at(t.counter - spread)};
}
