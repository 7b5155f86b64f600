// Equalizer and compressor measured through the plug-in: each band's gain at
// its centre against the knob's dB text (also after the host changes the
// sample rate), the compressor's threshold and ratio from a stepped sine,
// its attack and release, look-ahead and output volume.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <string>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"
#include "effects/StandaloneEffectBus.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr int kEqualizer = 19, kCompressor = 20;
constexpr double kBandHz[5] = {60.0, 200.0, 600.0, 2000.0, 8000.0};

// The gain of `wet` against `dry` at `hz`: cross spectrum over dry power,
// from Hann windows of 32,768 samples overlapping by half.
double transferDb(const Split& s, double hz, double rate) {
    constexpr size_t kWindow = 32768;
    std::complex<double> cross = 0.0;
    double power = 0.0;
    for (size_t begin = 0; begin + kWindow <= s.dry.size(); begin += kWindow / 2) {
        std::complex<double> x = 0.0, y = 0.0;
        const std::complex<double> turn = std::polar(1.0, -2.0 * spectrum::kPi * hz / rate);
        std::complex<double> phasor = 1.0;
        for (size_t i = 0; i < kWindow; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2.0 * spectrum::kPi * double(i) / double(kWindow));
            x += w * double(s.dry[begin + i]) * phasor;
            y += w * double(s.wet[begin + i]) * phasor;
            phasor *= turn;
            if ((i & 1023) == 0) phasor /= std::abs(phasor);
        }
        cross += std::conj(x) * y;
        power += std::norm(x);
    }
    return 20.0 * std::log10(std::abs(cross) / power);
}

// The equalizer with band `band` at `value` and the others off, on noise.
Split equalizerSplit(float rate, int band, float value, int frames) {
    return renderSplit(rate, 120.0, 20000, frames, false, [&](vsthost::PluginHost& h) {
        float k[5] = {0, 0, 0, 0, 0};
        k[band] = value;
        setEffect(h, 0, kEqualizer, {k[0], k[1], k[2], k[3], k[4]});
    });
}

// The number a knob's display text starts with ("+10.0 dB" gives 10).
double displayed(vsthost::PluginHost& host, int parameter) { return std::stod(host.parameterDisplay(parameter)); }

}  // namespace

// Each band passes its centre frequency at the gain the knob shows, -20 to
// +20 dB, at 44.1 and 96 kHz.
TEST(Equalizer, BandGainsAtTheirCentresMatchTheKnobText) {
    auto host = loadSource(44100.0f, true);
    for (float rate : {44100.0f, 96000.0f}) {
        for (int band = 0; band < 5; ++band) {
            for (float value : {0.0625f, 0.5f, 0.8f, 1.0f}) {
                setEffect(*host, 0, kEqualizer, {});
                host->setParameter(knobParameter(0, band), value);
                const double knobDb = displayed(*host, knobParameter(0, band));
                const Split s = equalizerSplit(rate, band, value, int(rate * 1.5f));
                EXPECT_NEAR(transferDb(s, kBandHz[band], rate), knobDb, 1.0)
                    << kBandHz[band] << " Hz band at " << rate << " Hz, knob " << value;
            }
        }
    }
}

// Knobs at 0 remove their bands: all five at 0 is silence. Off its centre a
// band falls away: an octave-wide band-pass is down by more than 15 dB three
// octaves from its centre.
TEST(Equalizer, BandsAreBandPassesAndZeroRemovesThem) {
    const Split off = equalizerSplit(44100.0f, 2, 0.0f, 20000);
    EXPECT_EQ(analysis::peak(off.wet), 0.0);
    const Split s = equalizerSplit(44100.0f, 2, 0.5f, 200000);
    EXPECT_NEAR(transferDb(s, 600.0, 44100.0), 0.0, 0.5);
    EXPECT_LT(transferDb(s, 75.0, 44100.0), -15.0);
    EXPECT_LT(transferDb(s, 4800.0, 44100.0), -15.0);
}

// A sample-rate change from the host redesigns the bands: they stay at their
// frequencies instead of moving with the rate.
TEST(Equalizer, BandsStayInPlaceWhenTheHostChangesTheSampleRate) {
    for (int band : {0, 4}) {
        auto host = loadSource(44100.0f, true);
        setEffect(*host, 0, kEqualizer, {}, 0.5f, 0.0f);
        host->setParameter(knobParameter(0, band), 0.75f);  // +10 dB
        renderFrames(*host, 20000, 512, {noteOn(0, 57)});
        host->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
        renderFrames(*host, 20000, 512);
        const Render r = renderFrames(*host, 150000, 512);
        const Split s{r.right, difference(r.left, r.right)};
        EXPECT_NEAR(transferDb(s, kBandHz[band], 96000.0), 10.0, 1.0) << kBandHz[band] << " Hz";
    }
}

namespace {

// The compressor on a 1,760 Hz sine whose level steps through `volumes`
// ("Osc 1 Volume"); per step the dry amplitude and the compressor's output
// amplitude (the wet side), once both have settled.
struct Step {
    double in, out;
};
std::vector<Step> steppedSine(std::initializer_list<float> knobs, std::initializer_list<float> volumes) {
    auto host = loadSource(44100.0f, false);
    setEffect(*host, 0, kCompressor, knobs, 0.5f, 0.0f);
    renderFrames(*host, 30000, 512, {noteOn(0, 105)});
    std::vector<Step> steps;
    for (float v : volumes) {
        host->setParameter(prm::Osc1Volume, v);
        const Render r = renderFrames(*host, 16384, 512);
        const std::vector<float> wet = difference(r.left, r.right);
        steps.push_back({analysis::peak(r.right, 8192, 16384), analysis::peak(wet, 8192, 16384)});
    }
    return steps;
}

double db(double x) { return 20.0 * std::log10(x); }

}  // namespace

// Below the threshold T the compressor passes the level; above it the
// output is m x level + (1 - m) x T with m = 1 / ratio ("2:1" gives half of
// what rises above T, the limiter holds T). Threshold -20 dB, volume 0 dB.
TEST(Compressor, ThresholdAndRatioFromASteppedSine) {
    const auto volumes = {0.25f, 0.4f, 0.55f, 0.7f, 0.8f, 0.9f, 1.0f};
    for (float ratioKnob : {1.0f / 7.0f, 2.0f / 7.0f, 1.0f}) {
        auto host = loadSource(44100.0f, false);
        setEffect(*host, 0, kCompressor, {0.5f, ratioKnob, 0.0f, 0.0f, 0.5f});
        const std::string text = host->parameterDisplay(knobParameter(0, 1));
        const double ratio = text == " : Limiter" ? 128.0 : std::stod(text);
        const double threshold = std::pow(10.0, displayed(*host, knobParameter(0, 0)) / 20.0);
        ASSERT_NEAR(threshold, 0.1, 1e-6);
        const double m = 1.0 / ratio;
        const std::vector<Step> steps = steppedSine({0.5f, ratioKnob, 0.0f, 0.0f, 0.5f}, volumes);
        int above = 0;
        for (const Step& s : steps) {
            // The detector reads a 1,760 Hz sine about 5 % (0.45 dB) below its peak.
            const double expected = s.in <= threshold ? s.in : m * s.in + (1.0 - m) * threshold;
            EXPECT_NEAR(db(s.out), db(expected), 0.75) << text << " at input " << s.in;
            above += s.in > 2.0 * threshold;
        }
        EXPECT_GE(above, 3) << "the steps reach well above the threshold";
        EXPECT_LE(steps.front().in, threshold) << "and start below it";
        // The slope above the threshold is 1 / ratio.
        const Step& a = steps[steps.size() - 3];
        const Step& b = steps.back();
        EXPECT_NEAR((b.out - a.out) / (b.in - a.in), m, 0.02 + 0.05 * m) << text;
    }
}

// "Threshold" 0 compresses any signal to 1 / ratio of its level; "Ratio" 0
// never compresses; the output is the input of 256 samples before, at
// "Volume" (-20 .. +20 dB).
TEST(Compressor, LookAheadVolumeAndRatioWithoutThreshold) {
    for (float volume : {0.5f, 0.75f, 1.0f}) {
        auto host = loadSource(44100.0f, true);
        setEffect(*host, 0, kCompressor, {1.0f, 0.0f, 0.0f, 0.0f, volume});
        const double gain = std::pow(10.0, displayed(*host, knobParameter(0, 4)) / 20.0);
        const Split s = renderSplit(44100.0f, 120.0, 30000, 20000, false, [&](vsthost::PluginHost& h) {
            setEffect(h, 0, kCompressor, {1.0f, 0.0f, 0.0f, 0.0f, volume});
        });
        EXPECT_EQ(bestLag(s.dry, s.wet, 1000, 20000, 200, 300), 256);
        double error = 0.0;
        for (size_t i = 300; i < s.wet.size(); ++i)
            error = std::max(error, std::fabs(s.wet[i] - gain * s.dry[i - 256]));
        EXPECT_LT(error, 1e-4 * gain) << "volume " << volume;
    }
    for (float ratioKnob : {1.0f / 7.0f, 3.0f / 7.0f}) {
        const Split s = renderSplit(44100.0f, 120.0, 30000, 20000, false, [&](vsthost::PluginHost& h) {
            setEffect(h, 0, kCompressor, {0.0f, ratioKnob, 0.0f, 0.0f, 0.5f});
        });
        double dot = 0.0, norm = 0.0;
        for (size_t i = 300; i < s.wet.size(); ++i) {
            dot += double(s.dry[i - 256]) * s.wet[i];
            norm += double(s.dry[i - 256]) * s.dry[i - 256];
        }
        EXPECT_NEAR(dot / norm, 1.0 / std::exp2(7.0 * ratioKnob), 0.002) << ratioKnob;
    }
}

// "Attack" sets how fast the gain comes down when the level rises above the
// threshold, "Release" how fast it comes back when the level falls: at 1 the
// gain moves with a time constant of about 8,192 samples, at 0 at once.
TEST(Compressor, AttackGovernsTheFallAndReleaseTheRecovery) {
    // Limiter at -20 dB; the sine steps from -30 dB to -6 dB and back.
    auto gains = [](float attack, float release) {
        auto host = loadSource(44100.0f, false);
        host->setParameter(prm::Osc1Volume, 0.5f);  // -30 dB
        setEffect(*host, 0, kCompressor, {0.5f, 1.0f, attack, release, 0.5f}, 0.5f, 0.0f);
        renderFrames(*host, 80000, 512, {noteOn(0, 105)});
        host->setParameter(prm::Osc1Volume, 0.9f);  // -6 dB
        Render r = renderFrames(*host, 80000, 512);
        host->setParameter(prm::Osc1Volume, 0.5f);
        const Render back = renderFrames(*host, 80000, 512);
        r.left.insert(r.left.end(), back.left.begin(), back.left.end());
        r.right.insert(r.right.end(), back.right.begin(), back.right.end());
        // The gain over 256-sample windows: the wet peak over the dry peak 256 samples before.
        const std::vector<float> wet = difference(r.left, r.right);
        std::vector<double> g;
        for (size_t i = 256; i + 256 <= wet.size(); i += 256)
            g.push_back(analysis::peak(wet, i, i + 256) / analysis::peak(r.right, i - 256, i));
        return g;
    };
    // Window w covers samples 256 (w + 1) ..; the rise comes at 0, the fall at 80,000.
    auto at = [](const std::vector<double>& g, int sample) { return g[size_t(sample / 256)]; };
    const std::vector<double> fastAttack = gains(0.0f, 1.0f);
    const std::vector<double> slowAttack = gains(1.0f, 0.0f);
    EXPECT_NEAR(at(fastAttack, -256 + 2048), 0.2, 0.05) << "down within 2,048 samples";
    EXPECT_GT(at(slowAttack, 2048), 0.7) << "still coming down";
    EXPECT_NEAR(at(slowAttack, 78000), 0.2, 0.05) << "down in the end";
    // After the fall the detector needs about 1,100 samples to drop below the threshold.
    EXPECT_NEAR(at(slowAttack, 80000 + 3000), 1.0, 0.05) << "back at once";
    EXPECT_LT(at(fastAttack, 80000 + 3000), 0.6) << "still coming back";
    EXPECT_NEAR(at(fastAttack, 159000), 1.0, 0.05) << "back in the end";
}

// The detector reads the mean of each two neighbouring samples: a sine looks
// cos(pi f / rate) of its size to it, so the limiter holds a 7,040 Hz sine at
// 32 kHz higher above its threshold than a 1,760 Hz one, by the ratio of
// those factors (2.1 dB). Pure sines straight into the effect bus.
TEST(Compressor, TheDetectorReadsPairsOfSamples) {
    auto limited = [](double hz) {
        constexpr float kRate32 = 32000.0f;
        auto b = std::make_unique<StandaloneEffectBus>();
        for (int i = 0; i < prm::kCount; ++i) b->values[i] = 0.0f;
        b->ctx.rates.sampleRate = kRate32;
        b->ctx.rates.updateTempoDerived();
        b->values[prm::Fx1Type] = typeValue(kCompressor);
        b->values[prm::Fx1Mix] = 1.0f;
        b->values[prm::Fx1Pan] = 0.5f;
        const float knobs[5] = {0.5f, 1.0f, 0.0f, 0.0f, 0.5f};  // limiter at -20 dB
        for (int k = 0; k < 5; ++k) b->values[knobParameter(0, k)] = knobs[k];
        b->bus.reset();
        double peak = 0.0;
        for (int i = 0; i < 100000; ++i) {
            float left = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * i / kRate32)), right = left;
            b->process(left, right);
            if (i > 60000) peak = std::max(peak, double(std::fabs(left)));
        }
        return peak;
    };
    const double expected = std::cos(spectrum::kPi * 1760.0 / 32000.0) / std::cos(spectrum::kPi * 7040.0 / 32000.0);
    EXPECT_NEAR(db(limited(7040.0) / limited(1760.0)), db(expected), 0.25);
}

// The bands follow the smoothed knobs: a knob thrown from 0 dB to +20 dB
// reaches the gain of 1 - 0.99^n of the way after n control updates, 7.3 dB
// short of the end after 100 (1,600 samples).
TEST(Equalizer, BandGainsGlideWithTheSmoothedKnobs) {
    auto host = loadSource(44100.0f, false);
    setEffect(*host, 0, kEqualizer, {0.0f, 0.0f, 0.5f, 0.0f, 0.0f});
    renderFrames(*host, 60000, 512, {noteOn(0, 69)});  // 440 Hz, in the 600 Hz band
    const double before = analysis::rms(renderFrames(*host, 4096, 512).left, 0, 4096);
    host->setParameter(knobParameter(0, 2), 1.0f);
    const Render r = renderFrames(*host, 40000, 16);
    const double end = analysis::rms(r.left, 36000, 40000);
    EXPECT_NEAR(db(end / before), 20.0, 0.2);
    EXPECT_NEAR(db(analysis::rms(r.left, 1500, 1700) / end), -20.0 * std::pow(0.99, 100), 1.0);
    EXPECT_LT(db(analysis::rms(r.left, 0, 200) / end), -17.0);
}

// The two sides are compressed apart: with the voice panned so that the
// right side is at half the left's level, a threshold between the two
// limits the left side and lets the right one pass.
TEST(Compressor, TheSidesHaveTheirOwnDetectors) {
    auto host = loadSource(44100.0f, false);
    host->setParameter(prm::MainPanning, 0.25f);
    host->setParameter(prm::Osc1Volume, 0.8f);  // -12 dB: 0.25 left, 0.125 right
    setEffect(*host, 0, kCompressor, {0.625f, 1.0f, 0.0f, 0.0f, 0.5f});  // limiter at -15 dB
    const Render dry = [] {
        auto plain = loadSource(44100.0f, false);
        plain->setParameter(prm::MainPanning, 0.25f);
        plain->setParameter(prm::Osc1Volume, 0.8f);
        return renderFrames(*plain, 60000, 512, {noteOn(0, 105)});
    }();
    const Render r = renderFrames(*host, 60000, 512, {noteOn(0, 105)});
    const double inL = analysis::peak(dry.left, 40000, 60000), inR = analysis::peak(dry.right, 40000, 60000);
    ASSERT_GT(inL, 0.18);
    ASSERT_LT(inR, 0.17);
    EXPECT_NEAR(db(analysis::peak(r.right, 40000, 60000) / inR), 0.0, 0.1) << "below the threshold";
    EXPECT_LT(db(analysis::peak(r.left, 40000, 60000) / inL), -1.0) << "above it";
}
