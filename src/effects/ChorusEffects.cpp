#include "effects/ChorusEffects.h"

#include <algorithm>
#include <cmath>

#include "effects/Feedback.h"
#include "effects/SyncTables.h"

namespace {
constexpr float kLongestShort = 16383.0f;
// Up to 50 ms of delay from a length knob.
float shortLength(float knob, float sampleRate) { return sampleRate * knob * 0.05f + 1.0f; }
}  // namespace

void ChorusEffects::reset(int type) {
    SlotMemory::Layout layout(memory);
    switch (type) {
        case fxtype::ChorusDelay:
            shortL.attach(layout);
            shortR.attach(layout);
            longL.attach(layout);
            longR.attach(layout);
            updateType = &ChorusEffects::updateChorusDelay;
            step = &ChorusEffects::stepChorusDelay;
            break;
        case fxtype::Flanger:
            shortL.attach(layout);
            shortR.attach(layout);
            updateType = &ChorusEffects::updateFlanger;
            step = &ChorusEffects::stepFlanger;
            break;
        case fxtype::Phaser:
            phaserRing.attach(layout);
            updateType = &ChorusEffects::updatePhaser;
            step = &ChorusEffects::stepPhaser;
            break;
        case fxtype::Ensemble:
            for (EnsembleVoice& v : voices) {
                v.lineL.attach(layout);
                v.lineR.attach(layout);
            }
            updateType = &ChorusEffects::updateEnsemble;
            step = &ChorusEffects::stepEnsemble;
            break;
        default:
            shortL.attach(layout);
            shortR.attach(layout);
            updateType = &ChorusEffects::updateChorus;
            step = &ChorusEffects::stepChorus;
            break;
    }
    lfo1 = lfo2 = fxlfo::Phase{};
    length = width = offset = 0.0f;
    inputLowPass = lowPass = highPass = OnePole{};
    inputL = inputR = 0.0f;
    echoGlide = LengthGlide{};
    echoLength = echoFeedback = echoVolume = 0.0f;
    feedback = panDepth = gainL = gainR = 0.0f;
    toneL = toneR = ToneStage{};
    chainL = chainR = AllPassChain{};
    sections = 1;
    pitch = coefficient = 0.0f;
    spread = 1;
    for (EnsembleVoice& v : voices) {
        v.lfo = fxlfo::Phase{};
        v.depth = v.length = v.gainL = v.gainR = 0.0f;
    }
}

// Width and the two LFO rates shared by chorus and chorus / delay.
void ChorusEffects::updateChorusRates(const EffectControls& c) {
    using namespace fxknob;
    width = 0.99f * c.knob[B];
    // Every sample: 0.0067 to 6.9 Hz. "Spread" runs the right LFO up to four times faster.
    lfo1.step = fxlfo::increment(std::exp2(10.0 * c.knob[C]) / c.sampleRate * 112640.0);
    lfo2.step = fxlfo::increment((3.0 * c.knob[D] + 1.0) * lfo1.step);
}

void ChorusEffects::updateChorus(const EffectControls& c) {
    using namespace fxknob;
    updateChorusRates(c);
    length = std::min(shortLength(c.smoothed[A], c.sampleRate), kLongestShort);
    inputLowPass.set(c.knob[E], c.sampleRate);
    offset = 4.0f * std::exp2(8.0f * c.knob[F]) + 1.0f;
}

void ChorusEffects::updateChorusDelay(const EffectControls& c) {
    using namespace fxknob;
    updateChorusRates(c);
    length = std::min(shortLength(c.knob[A], c.sampleRate), kLongestShort);
    echoLength = std::min(synced::noteLength(c.knob[E]) * c.samplesPerBar + 1.0f, kLongestEchoBase);
    echoFeedback = fxfeedback::unipolar(c.knob[F]);
    echoVolume = c.knob[G];
}

Stereo ChorusEffects::chorusCore(uint32_t counter) {
    lfo1.advance();
    const float dL = length * (1.0f - width + width * lfo1.unipolar());
    lfo2.advance();
    const float dR = length * (1.0f - width + width * lfo2.unipolar()) + offset;
    return {shortL.read(counter, dL), shortR.read(counter, dR)};
}

Stereo ChorusEffects::stepChorus(Stereo in, const EffectTick& t) {
    const Stereo y = chorusCore(t.counter);
    inputL = inputLowPass.b * inputL + inputLowPass.a * in.left + 1e-15f;
    inputR = inputLowPass.b * inputR + inputLowPass.a * in.right + 1e-15f;
    shortL.write(t.counter, inputL);
    shortR.write(t.counter, inputR);
    return y;
}

Stereo ChorusEffects::stepChorusDelay(Stereo in, const EffectTick& t) {
    if (t.tick16) echoGlide.follow(std::min(echoLength, kLongestEchoTarget));
    const Stereo y = chorusCore(t.counter);
    shortL.write(t.counter, in.left);
    shortR.write(t.counter, in.right);
    const float eL = longL.read(t.counter, echoGlide.value);
    const float eR = longR.read(t.counter, echoGlide.value);
    longL.write(t.counter, y.left + echoFeedback * eL);
    longR.write(t.counter, y.right + echoFeedback * eR);
    return {y.left + echoVolume * eL, y.right + echoVolume * eR};
}

void ChorusEffects::panTo(float bipolar) {
    const float p = panDepth * bipolar + 0.5f;
    gainL = std::min(1.0f, 2.0f - 2.0f * p);
    gainR = std::min(1.0f, 2.0f * p);
}

void ChorusEffects::updateFlanger(const EffectControls& c) {
    using namespace fxknob;
    length = std::min(c.sampleRate * c.smoothed[A] * 0.05f + 44.0f, kLongestShort);
    width = 0.99f * c.knob[B];
    lfo1.step = fxlfo::syncedIncrement(c.knob[C], c.samplesPerBar, false);
    feedback = fxfeedback::bipolar(c.knob[D]);
    panDepth = 0.5f * c.knob[E];
    lowPass.set(c.knob[F], c.sampleRate);
    highPass.set(c.knob[G], c.sampleRate);
}

Stereo ChorusEffects::stepFlanger(Stereo in, const EffectTick& t) {
    lfo1.advance();
    const float d = (width * lfo1.unipolar() + 1.0f - width) * length + 10.0f;
    const float yL = shortL.read(t.counter, d);
    const float yR = shortR.read(t.counter, d);
    if (t.tick16) panTo(lfo1.bipolar());
    if (!t.active) return {0.0f, 0.0f};
    // The feedback crosses between the channels.
    shortR.write(t.counter, std::clamp(in.right - feedback * yL, -100.0f, 100.0f) + 1e-15f);
    shortL.write(t.counter, std::clamp(in.left - feedback * yR, -100.0f, 100.0f) + 1e-15f);
    return {toneL.run(yL, lowPass, highPass) * gainL, toneR.run(yR, lowPass, highPass) * gainR};
}

void ChorusEffects::updatePhaser(const EffectControls& c) {
    using namespace fxknob;
    sampleRate = c.sampleRate;
    sections = static_cast<int>(c.knob[A] * 7.99f + 2.0f) - 1;
    pitch = c.smoothed[B];
    width = 0.99f * c.knob[D];
    feedback = 1e-15f - fxfeedback::unipolar(c.knob[C]);
    lfo1.step = fxlfo::syncedIncrement(c.knob[E], c.samplesPerBar, true);
    spread = static_cast<uint32_t>(std::min(4.0f * std::exp2(8.0f * c.knob[F]) + 1.0f, 65535.0f));
    panDepth = 0.5f * c.knob[G];
}

// The all-pass corner sweeps upward from 15 x 2^(11 pitch) Hz.
void ChorusEffects::tickPhaser() {
    lfo1.advance();
    const float e = 15.0f * std::exp2(11.0f * pitch * (width * lfo1.unipolar() + 1.0f)) / sampleRate;
    coefficient = (1.0f - e) / (1.0f + e) + 1e-15f;
    panTo(lfo1.bipolar());
}

float ChorusEffects::AllPassChain::run(float v, float k, int count) {
    float x = v;
    for (int j = 0; j < count; ++j) {
        const float y = k * (x + out[j]) - in[j] + 1e-15f;
        in[j] = x;
        out[j] = y;
        x = y;
    }
    last = x;
    return x;
}

Stereo ChorusEffects::stepPhaser(Stereo in, const EffectTick& t) {
    if (t.tick16) tickPhaser();
    if (!t.active) return {0.0f, 0.0f};
    // The feedback knob adds C times the previous output.
    const float outL = chainL.run(in.left - feedback * chainL.last + 1e-15f, coefficient, sections);
    const float outR = chainR.run(in.right - feedback * chainR.last + 1e-15f, coefficient, sections);
    phaserRing.write(t.counter, outL);
    return {phaserRing.at(t.counter - spread) * gainL, outR * gainR};
}

void ChorusEffects::updateEnsemble(const EffectControls& c) {
    using namespace fxknob;
    const float q = 1.0f - c.knob[E];
    const float base = shortLength(c.knob[A], c.sampleRate);
    const double rate = std::exp2(10.0 * c.knob[C]) / c.sampleRate * 112640.0;
    // Voices 0 and 3 lean one way, 2 and 5 the other, 1 and 4 stay centred.
    const float side = (c.knob[F] + 1.0f) * 0.5f;
    const float pans[kEnsembleVoices] = {side, 0.5f, 1.0f - side, side, 0.5f, 1.0f - side};
    feedback = fxfeedback::unipolar(c.knob[D]);
    for (int i = 0; i < kEnsembleVoices; ++i) {
        EnsembleVoice& v = voices[i];
        const float spreadBy = float(i) * q;
        v.length = std::min(std::exp2(-0.4f * spreadBy) * base, kLongestShort);
        v.lfo.step = fxlfo::increment(std::exp2(-0.37735847 * spreadBy) * rate);
        v.depth = 0.99f * c.knob[B] * std::exp2(-0.24096385f * spreadBy);
        const float p = 2.0f * pans[i];
        v.gainL = std::min(1.0f, 2.0f - p);
        v.gainR = std::min(1.0f, p);
    }
}

Stereo ChorusEffects::stepEnsemble(Stereo in, const EffectTick& t) {
    float sumL = 0.0f, sumR = 0.0f;
    for (EnsembleVoice& v : voices) {
        v.lfo.advance();
        const float d = (v.depth * v.lfo.unipolar() + 1.0f - v.depth) * v.length;
        const float yL = v.lineL.readLinear(t.counter, d);
        const float yR = v.lineR.readLinear(t.counter, d);
        v.lineL.write(t.counter, in.left - feedback * yL);
        v.lineR.write(t.counter, in.right - feedback * yR);
        sumL += v.gainL * yL;
        sumR += v.gainR * yR;
    }
    return {0.5f * sumL, 0.5f * sumR};
}
