#include "effects/VocoderEffect.h"

#include <algorithm>
#include <cmath>

#include "params/ParamIds.h"
#include "params/SamplePlayer.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

float VocoderEffect::bandCentre(int i) { return 50.0f * std::exp2(float(i) * 0.22580644f); }

void VocoderEffect::Bank::clear() {
    std::fill(std::begin(y1), std::end(y1), 0.0f);
    std::fill(std::begin(y2), std::end(y2), 0.0f);
    x1 = x2 = 0.0f;
}

// Band-passes of width `width` (a fraction of the centre) at the band centres
// times `shift`. The coefficients are worked out in double: the narrow low
// bands at high sample rates put their poles very near the unit circle.
void VocoderEffect::Bank::design(float shiftBy, float widthOf, float sampleRate) {
    const double w = std::min(double(widthOf), 0.99);
    for (int i = 0; i < kBands; ++i) {
        const double f = std::clamp(double(bandCentre(i)) * shiftBy, 10.0, 0.5 * sampleRate);
        const double k = 1.0 / std::tan(kPi * f * w / sampleRate);
        const double g = 1.0 / (k + 1.00001);
        a0[i] = float(g + 1e-15);
        a2[i] = float(-g + 1e-15);
        b1[i] = float(-k * 2.0 * std::cos(2.0 * kPi * f / sampleRate) * g + 1e-15);
        b2[i] = float((k - 1.0) * g + 1e-15);
    }
}

void VocoderEffect::designBanks(float sampleRate) {
    analysis.design(1.0f, width, sampleRate);
    synthesis.design(shift, width, sampleRate);
    designedWidth = width;
    designedShift = shift;
    designedRate = sampleRate;
}

void VocoderEffect::reset(int) {
    analysis.clear();
    synthesis.clear();
    std::fill(std::begin(envelope), std::end(envelope), 0.0f);
    mix = width = boost = inputGain = 0.0f;
    shift = 1.0f;
    lowPassOn = true;
    lowPass = highPass = OnePole{};
    tone = ToneStage{};
    designedWidth = designedShift = designedRate = 0.0f;
}

void VocoderEffect::update(const EffectControls& c) {
    using namespace fxknob;
    const ParamValue* values = c.env->values;
    inputSource = values && values[prm::VocoderSource] > 0.5f;
    swapped = values && values[prm::VocoderMode] >= 0.5f;

    mix = c.knob[A];
    width = 0.1f * c.knob[B] * c.knob[B] + 0.006f;
    // Up to 40 dB more; narrow bands pass less, so they get more.
    boost = std::pow(10.0f, 2.0f * c.knob[F]) / (width * std::sqrt(width)) * 0.25f;
    inputGain = std::pow(10.0f, c.knob[G] - 1.0f);  // -20 .. 0 dB
    const int semitones = static_cast<int>(c.knob[C] * 72.99f - 36.0f);
    shift = std::exp2(float(semitones) / 12.0f);
    lowPassOn = c.knob[D] <= 0.99f;
    if (lowPassOn)
        lowPass.set(c.knob[D], c.sampleRate);
    else
        lowPass = OnePole{1.0f, 0.0f};  // passes the sum unchanged
    highPass.set(c.knob[E], c.sampleRate);
    // Also after a sample-rate change: the bands keep their frequencies.
    if (width != designedWidth || shift != designedShift || c.sampleRate != designedRate)
        designBanks(c.sampleRate);

    // "In Pitch": -1,200 .. +1,200 cents on the sample's playback rate.
    if (!inputSource && c.env->samplePlayer) {
        const int cents = static_cast<int>(c.knob[H] * 2400.9f - 1200.0f);
        c.env->samplePlayer->setPitchFactor(std::exp2(float(cents) / 1200.0f));
    }
}

Stereo VocoderEffect::process(Stereo in, const EffectTick& t) {
    // The sample keeps playing through silent passages, so it stays in time.
    float source = 0.0f;
    if (inputSource)
        source = t.env->ctx->inputMono;
    else if (t.env->samplePlayer)
        source = t.env->samplePlayer->nextSample();
    if (!t.active) return {0.0f, 0.0f};

    const float outside = inputGain * source;
    const float modulator = swapped ? in.left : outside;
    const float carrier = swapped ? outside : in.left;

    float sum = 0.0f;
    Bank& a = analysis;
    Bank& s = synthesis;
    for (int i = 0; i < kBands; ++i) {
        const float e = a.a0[i] * modulator + a.a2[i] * a.x2 - a.b1[i] * a.y1[i] - a.b2[i] * a.y2[i] + 1e-15f;
        a.y2[i] = a.y1[i];
        a.y1[i] = e;
        const float y = s.a0[i] * carrier + s.a2[i] * s.x2 - s.b1[i] * s.y1[i] - s.b2[i] * s.y2[i] + 1e-15f;
        s.y2[i] = s.y1[i];
        s.y1[i] = y;
        // The band's level rises fast and falls slowly.
        const float r = std::fabs(e);
        const float env = envelope[i];
        envelope[i] = r + (env - r) * (env < r ? 0.9f : 0.998f) + 1e-15f;
        sum += y * envelope[i];
    }
    a.x2 = a.x1;
    a.x1 = modulator;
    s.x2 = s.x1;
    s.x1 = carrier;

    const float banded = tone.run(sum, lowPass, highPass);
    // "Mix" lets the plain modulator through while notes sound.
    const float out = (1.0f - mix) * banded * boost + mix * modulator * *t.env->envelopeSum;
    return {out, out};
}
