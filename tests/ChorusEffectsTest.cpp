// The chorus family measured through the plug-in: the still delays of chorus,
// flanger and ensemble, the crossed flanger feedback, the depth and rate of
// the chorus and flanger sweeps read back from the output, and the phaser's
// notches against "Stages".
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr float kRate = 44100.0f;
constexpr int kSettle = 30000;  // smoothed knobs settle within this

Split renderSplit(int type, std::initializer_list<float> knobs, int frames, bool wetOnRight = false,
                  double tempo = 120.0) {
    return fxtest::renderSplit(kRate, tempo, kSettle, frames, wetOnRight,
                               [&](vsthost::PluginHost& h) { setEffect(h, 0, type, knobs); });
}

int stillLag(const Split& s, int expected) {
    return bestLag(s.dry, s.wet, 4096, 8192, expected - 8, expected + 8);
}

double gain(const Split& s, int lag) {
    return analysis::rms(s.wet, size_t(lag) + 1000, s.wet.size()) /
           analysis::rms(s.dry, 1000, s.dry.size() - size_t(lag));
}

}  // namespace

// Without "Width" the types are still delays: the chorus c = rate x A x 0.05 + 1
// on the left and c + o on the right, the flanger its length + 10, the
// ensemble's six alike voices three times one voice.
TEST(ChorusEffects, StillDelaysAndLevels) {
    // A = 0.2: c = 442 samples; "Widen" 0 puts the right line 5 samples later.
    Split chorus = renderSplit(5, {0.2f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f}, 8192);
    EXPECT_EQ(stillLag(chorus, 442), 442);
    // White noise through the open one-pole low-pass (a = 0.929).
    const double a = 20.0 * 2048.0 / kRate;
    EXPECT_NEAR(gain(chorus, 442), a / std::sqrt(1.0 - (1.0 - a) * (1.0 - a)), 0.003);
    chorus = renderSplit(5, {0.2f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f}, 8192, true);
    EXPECT_EQ(stillLag(chorus, 447), 447);
    chorus = renderSplit(5, {0.2f, 0.0f, 0.5f, 0.0f, 1.0f, 1.0f}, 8192, true);
    EXPECT_EQ(stillLag(chorus, 442 + 1025), 442 + 1025);

    // Chorus / delay without its echo: the chorus alone, no right offset.
    const Split chorusDelay = renderSplit(6, {0.2f, 0.0f, 0.5f, 0.0f, 0.5f, 0.0f, 0.0f}, 8192, true);
    EXPECT_EQ(stillLag(chorusDelay, 442), 442);
    EXPECT_NEAR(gain(chorusDelay, 442), 1.0, 0.001);
    // With "Delay Vol" 0.5 the chorused signal returns 1/8 bar (11,026 samples) later at half level.
    const Split echo = renderSplit(6, {0.2f, 0.0f, 0.5f, 0.0f, entry(7, 15), 0.0f, 0.5f}, 24000, true);
    const int echoLag = 442 + 11026;
    EXPECT_EQ(bestLag(echo.dry, echo.wet, 16384, 20480, echoLag - 8, echoLag + 8), echoLag);
    double dot = 0.0, norm = 0.0;
    for (size_t i = 16384; i < 20480; ++i) {
        const double echoed = echo.wet[i] - echo.dry[i - 442];  // less the chorus itself
        dot += double(echo.dry[i - echoLag]) * echoed;
        norm += double(echo.dry[i - echoLag]) * echo.dry[i - echoLag];
    }
    EXPECT_NEAR(dot / norm, 0.5, 0.002);

    // Flanger: 441 + 44 + 10 samples, no feedback, open low-pass.
    const Split flanger = renderSplit(7, {0.2f, 0.0f, 0.5f, 0.5f, 0.0f, 1.0f, 0.0f}, 8192);
    EXPECT_EQ(stillLag(flanger, 495), 495);

    // Ensemble: "Ensemble" 1 and "Spread" 0 make six centred voices of 442 samples.
    const Split ensemble = renderSplit(21, {0.2f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f}, 8192);
    EXPECT_EQ(stillLag(ensemble, 442), 442);
    EXPECT_NEAR(gain(ensemble, 442), 3.0, 0.003);
    // Between two samples the ensemble reads linearly: 443.1 samples is 0.9
    // of the sample 443 back and 0.1 of the one before it.
    const float length = kRate * 0.2005f * 0.05f + 1.0f;
    const double fraction = length - std::floor(length);
    const Split between = renderSplit(21, {0.2005f, 0.0f, 0.5f, 0.0f, 1.0f, 0.0f}, 8192);
    auto weight = [&](const Split& s, size_t lag) {
        double dot = 0.0, norm = 0.0;
        for (size_t i = lag + 1000; i < s.dry.size(); ++i) {
            dot += double(s.dry[i - lag]) * s.wet[i];
            norm += double(s.dry[i - lag]) * s.dry[i - lag];
        }
        return dot / norm;
    };
    EXPECT_NEAR(weight(between, 443) / 3.0, 1.0 - fraction, 0.01);
    EXPECT_NEAR(weight(between, 444) / 3.0, fraction, 0.01);
    // "Ensemble" 0 spreads the lengths 2^-0.4 apart: voice 0 stays at 442
    // samples and voice 5 reads a quarter as far back (110.5, half from each
    // side). The other voices' noise blurs each weight by about 0.007.
    const Split spread = renderSplit(21, {0.2f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f}, 32768);
    EXPECT_NEAR(weight(spread, 442), 0.5, 0.03);
    EXPECT_NEAR(weight(spread, 110), 0.25, 0.03);
    EXPECT_NEAR(weight(spread, 111), 0.25, 0.03);
    // At "Length" 0 a swept voice stays one sample behind at least, rather
    // than reading the oldest sample of its line (16,384 back).
    const Split shortest = renderSplit(21, {0.0f, 1.0f, 0.5f, 0.0f, 1.0f, 0.0f}, 20000);
    double residue = 0.0;
    for (size_t i = 1; i < shortest.dry.size(); ++i)
        residue = std::fmax(residue, std::fabs(shortest.wet[i] - 3.0 * shortest.dry[i - 1]));
    EXPECT_LT(residue, 1e-5);
}

// "Spread" 0 keeps the six ensemble voices in the middle; at 1 the outer
// voices go to the sides, so a centred voice comes out wide.
TEST(ChorusEffects, EnsembleSpreadWidensACentredVoice) {
    auto sideDifference = [](float spread) {
        auto host = loadSource(kRate, true);
        setEffect(*host, 0, 21, {0.3f, 0.5f, 0.5f, 0.0f, 0.5f, spread}, 1.0f, 0.5f);
        const Render r = renderFrames(*host, kSettle + 8192, 512, {noteOn(0, 57)});
        double diff = 0.0, sum = 0.0;
        for (size_t i = kSettle; i < r.left.size(); ++i) {
            diff += std::fabs(r.left[i] - r.right[i]);
            sum += std::fabs(r.left[i] + r.right[i]);
        }
        return diff / sum;
    };
    EXPECT_LT(sideDifference(0.0f), 1e-6);
    EXPECT_GT(sideDifference(1.0f), 0.2);
}

// The flanger's feedback crosses over: with the voice hard left, the right
// line is fed only by -0.99 times the left output.
TEST(ChorusEffects, FlangerFeedbackCrossesTheChannels) {
    auto host = loadSource(kRate, true);
    host->setParameter(prm::MainPanning, 0.0f);
    setEffect(*host, 0, 7, {0.2f, 0.0f, 0.5f, 1.0f, 0.0f, 1.0f, 0.0f});
    const Render r = renderFrames(*host, kSettle + 8192, 512, {noteOn(0, 57)});
    const size_t begin = kSettle, end = kSettle + 8192;
    ASSERT_GT(analysis::rms(r.left, begin, end), 0.1);
    double dot = 0.0, norm = 0.0, error = 0.0;
    for (size_t i = begin; i < end; ++i) {
        const double expected = -0.99 * r.left[i - 495];
        dot += expected * r.right[i];
        norm += expected * expected;
        error += (r.right[i] - expected) * (r.right[i] - expected);
    }
    EXPECT_NEAR(dot / norm, 1.0, 0.01);
    EXPECT_LT(error / norm, 1e-3);
}

// The sweep read back from the output: the chorus delay runs between
// c (1 - w) and c with w = 0.99 x "Width", at 2^(10 C) x 0.00671 Hz; "Spread"
// runs the right LFO up to four times faster. The flanger sweeps its length
// + 10 over one bar of the cycle table per cycle, following the tempo.
TEST(ChorusEffects, SweepDepthAndRateMeasuredFromTheOutput) {
    // c = 442, w = 0.495: 223.2 .. 442 samples; C = 0.7: increment 326, 0.857 Hz.
    const double chorusHz = 326.0 * kRate / 16777216.0;
    const Split left = renderSplit(5, {0.2f, 0.5f, 0.7f, 1.0f, 1.0f, 0.0f}, 160000);
    Sweep s = measureSweep(left, kRate, 200, 470);
    EXPECT_NEAR(s.lowest, 442.0 * 0.505, 1.5);
    EXPECT_NEAR(s.highest, 442.0, 1.5);
    EXPECT_NEAR(s.hertz, chorusHz, 0.01 * chorusHz);
    // "Spread" 1: the right LFO at four times the increment (here with a
    // narrower sweep, so that windows stay sharp); right line 5 samples on.
    const Split right = renderSplit(5, {0.2f, 0.1f, 0.7f, 1.0f, 1.0f, 0.0f}, 160000, true);
    s = measureSweep(right, kRate, 390, 460, 256);
    EXPECT_NEAR(s.lowest, 442.0 * 0.901 + 5.0, 1.5);
    EXPECT_NEAR(s.highest, 447.0, 1.5);
    EXPECT_NEAR(s.hertz, 4.0 * chorusHz, 0.01 * 4.0 * chorusHz);

    // Flanger: length 485, w = 0.495: 254.9 .. 495 samples; "Speed" at 1 bar,
    // 88,200 samples at 120 beats per minute and half as fast at 60.
    for (double tempo : {120.0, 60.0}) {
        const double bar = kRate * 240.0 / tempo;
        const double hertz = std::floor(16777215.0 / (bar + 1.0)) * kRate / 16777216.0;
        const Split f = renderSplit(7, {0.2f, 0.5f, entry(14, 31), 0.5f, 0.0f, 1.0f, 0.0f},
                                    int(2.2 * bar), false, tempo);
        s = measureSweep(f, kRate, 240, 510);
        EXPECT_NEAR(s.lowest, 485.0 * 0.505 + 10.0, 1.5) << tempo;
        EXPECT_NEAR(s.highest, 495.0, 1.5) << tempo;
        EXPECT_NEAR(s.hertz, hertz, 0.01 * hertz) << tempo;
    }
}

// Dry plus a chain of m all-pass sections has floor(m / 2) notches between DC
// and Nyquist; "Stages" 0, 0.5 and 1 give 1, 4 and 8 sections.
TEST(ChorusEffects, PhaserNotchesFollowStages) {
    constexpr size_t kSize = 16384;
    const double pitch = 0.7;
    const double e = 15.0 * std::pow(2.0, 11.0 * pitch) / kRate;
    const double k = (1.0 - e) / (1.0 + e);
    // Dips of the response below -15 dB, counted between 20 Hz and 18 kHz;
    // each dip's deepest bin goes to `where`.
    auto dips = [&](const std::vector<double>& db, std::vector<double>* where) {
        int count = 0;
        const size_t lowest = size_t(20.0 * kSize / kRate), highest = size_t(18000.0 * kSize / kRate);
        bool in = db[lowest] < -15.0;  // a dip running in from DC is not counted
        size_t deepest = 0;
        for (size_t b = lowest; b <= highest; ++b) {
            const bool below = db[b] < -15.0;
            if (below && !in) {
                ++count;
                deepest = b;
            }
            if (below && in && deepest && db[b] < db[deepest]) deepest = b;
            if (!below && in && deepest && where) where->push_back(double(deepest) * kRate / kSize);
            if (!below) deepest = 0;
            in = below;
        }
        return count;
    };
    for (const auto& [stages, sections] : {std::pair{0.0f, 1}, std::pair{0.5f, 4}, std::pair{1.0f, 8}}) {
        // Width 0 (a still corner), no feedback, no pan movement; the right
        // channel carries dry plus the chain.
        auto host = loadSource(kRate, true);
        setEffect(*host, 0, 8, {stages, float(pitch), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f}, 0.5f, 1.0f);
        renderFrames(*host, kSettle, 512, {noteOn(0, 57)});
        std::vector<double> dry(kSize / 2 + 1, 0.0), both(kSize / 2 + 1, 0.0);
        for (int frame = 0; frame < 12; ++frame) {
            const Render r = renderFrames(*host, int(kSize), 512);
            const std::vector<double> pd = spectrum::powerSpectrum(r.left, 0, kSize);
            const std::vector<double> pb = spectrum::powerSpectrum(r.right, 0, kSize);
            for (size_t b = 0; b < dry.size(); ++b) {
                dry[b] += pd[b];
                both[b] += pb[b];
            }
        }
        std::vector<double> measured(dry.size()), ideal(dry.size());
        for (size_t b = 1; b < dry.size(); ++b) {
            measured[b] = 10.0 * std::log10(both[b] / dry[b]);
            const std::complex<double> z = std::polar(1.0, -2.0 * spectrum::kPi * double(b) / double(kSize));
            ideal[b] = 20.0 * std::log10(std::abs(1.0 + std::pow((k - z) / (1.0 - k * z), sections)));
        }
        std::vector<double> found, expected;
        EXPECT_EQ(dips(measured, &found), sections / 2) << sections << " sections";
        ASSERT_EQ(dips(ideal, &expected), sections / 2);
        for (size_t i = 0; i < std::min(found.size(), expected.size()); ++i)
            EXPECT_NEAR(found[i], expected[i], 0.05 * expected[i] + 3.0) << sections << " sections, notch " << i;
    }
}
