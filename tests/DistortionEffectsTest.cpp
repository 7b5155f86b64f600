// The distortion family measured on exact signals through the effect bus and
// through the plug-in: Distort's transfer curves at several saturations, its
// rectifier and limiter; Low Fi's levels and held samples; FX Filt's
// response per filter type and its drive.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr int kSettled = 40000;  // smoothed knobs settle

// Distort's curve for a slowly moving input: saturation, the open tone
// filter's 2 x, rectifier, limit, boost and the soft output curve.
double distortCurve(double x, double sat, double rect, double limit, double boost) {
    const double s = sat * x;
    double y = std::clamp((x + s) / (std::fabs(s) + 1.0), -1.0, 1.0);
    y = 2.0 * y;
    if (y < 0.0) y *= rect;
    y = std::max(y, -limit);
    const double z = boost * std::min(limit, y);
    const double a = std::fabs(z);
    if (a < 0.00001) return 0.0;
    return std::copysign(a < 1.0 ? 0.5 * (3.0 * a - a * a) : 1.0, z);
}

}  // namespace

TEST(Distort, TransferCurvesFollowSaturationRectifierAndLimit) {
    struct Case {
        float limit, rect, sat, boost;
    };
    // Boost 0.75 is 0 dB; 1 is +10 dB, 0.5 -10 dB.
    for (const Case& c : {Case{1.0f, 1.0f, 0.0f, 0.75f}, Case{1.0f, 1.0f, 0.5f, 0.5f}, Case{1.0f, 1.0f, 1.0f, 0.75f},
                          Case{0.4f, 0.5f, 0.25f, 1.0f}, Case{1.0f, 0.0f, 0.0f, 0.5f}}) {
        SlotBus bus(fxtype::Distort, {c.limit, c.rect, c.sat, 1.0f, 0.0f, c.boost});
        bus.run(std::vector<float>(4096, 0.3f));
        const std::vector<float> in = ramp(20000, 0.9f);
        const std::vector<float> out = bus.run(in);
        const double sat = std::pow(2.0, 8.0 * c.sat) - 1.0, rect = 2.0 * c.rect - 1.0;
        const double boost = std::pow(10.0, (40.0 * c.boost - 30.0) / 20.0);
        double worst = 0.0;
        for (size_t i = 100; i < in.size(); ++i)
            worst = std::max(worst, std::fabs(out[i] - distortCurve(in[i], sat, rect, c.limit, boost)));
        EXPECT_LT(worst, 0.02) << "limit " << c.limit << " rect " << c.rect << " sat " << c.sat;
    }
    // "Limit" 0 silences; "Boost" 0 too.
    for (float limit : {0.0f, 1.0f}) {
        SlotBus bus(fxtype::Distort, {limit, 1.0f, 0.5f, 1.0f, 0.0f, limit > 0.0f ? 0.0f : 1.0f});
        EXPECT_EQ(analysis::peak(bus.run(ramp(4096))), 0.0);
    }
}

// "Tone" sets the low-pass before the curve: 20 x 2^(10 x tone) Hz.
TEST(Distort, ToneLowPassesBeforeTheCurve) {
    SlotBus bus(fxtype::Distort, {1.0f, 1.0f, 0.0f, 0.5f, 0.0f, 0.5f});  // 640 Hz, boost -10 dB
    const double low = bus.gainAt(100.0, 0.1), high = bus.gainAt(5120.0, 0.1);
    EXPECT_NEAR(spectrum::decibels(high / low), -36.0, 4.0);  // three octaves of 12 dB
}

// "Bits": steps of 2^(16 A - 17), truncated toward zero; the low-pass then
// settles on 1.41 times each step.
TEST(LowFi, BitsSetTheNumberOfLevels) {
    for (auto [bits, levels] : {std::pair{1.0f, 3}, std::pair{0.875f, 15}, std::pair{0.75f, 63}}) {
        SlotBus bus(fxtype::LowFi, {bits, 0.0f, 1.0f});
        bus.run(std::vector<float>(kSettled, 0.0f));
        const std::vector<float> out = bus.run(ramp(200000, 0.999f));
        std::map<long, int> counts;
        for (float v : out) ++counts[std::lround(v / 1.41 * 1000.0)];
        int steady = 0;
        for (auto [level, n] : counts) steady += n > 500 ? 1 : 0;
        EXPECT_EQ(steady, levels) << "Bits " << bits;
    }
    // A = 1: steps of 0.5, so 0.3 reads as 0 and -0.7 as -0.5.
    SlotBus bus(fxtype::LowFi, {1.0f, 0.0f, 1.0f});
    bus.run(std::vector<float>(kSettled, 0.3f));
    EXPECT_NEAR(bus.step(0.3f), 0.0, 1e-6);
    bus.run(std::vector<float>(4096, -0.7f));
    EXPECT_NEAR(bus.step(-0.7f), 1.41 * -0.5, 1e-3);
}

// "Sample": the input is held for 2^(5 B) samples (1 .. 32); the output
// jumps only where a new value is taken.
TEST(LowFi, SampleHoldsTheInput) {
    for (auto [knob, hold] : {std::pair{0.0f, 1}, std::pair{0.6f, 8}, std::pair{1.0f, 32}}) {
        SlotBus bus(fxtype::LowFi, {0.0f, knob, 1.0f});
        bus.run(std::vector<float>(kSettled, 0.0f));
        const std::vector<float> in = ramp(4096, 0.5f);
        const std::vector<float> out = bus.run(in);
        // Where the output's largest steps fall, modulo the hold.
        std::set<size_t> phases;
        for (size_t i = 64; i < out.size(); ++i) {
            const float d = std::fabs(out[i] - out[i - 1]);
            if (d > 0.4f * float(hold) * (in[1] - in[0])) phases.insert(i % size_t(hold));
        }
        EXPECT_GE(phases.size(), 1u) << "Sample " << knob;
        EXPECT_LE(phases.size(), hold == 1 ? 1u : 3u) << "Sample " << knob;
    }
}

namespace {
// The knob value that puts the effect filter's cutoff at `hz`.
float frequencyKnob(double hz) { return float(std::log2(hz / 20.0) / 10.0); }
double db(double ratio) { return spectrum::decibels(ratio); }
}  // namespace

// FX Filt runs the engine's filter of each type: the slopes of the low- and
// high-passes grow with their order, band-passes peak and the 12 dB notch cancels at
// the cutoff, the comb resonates at its multiples, "Bypass" passes.
TEST(FxFilter, EachTypeHasItsResponse) {
    const float f = frequencyKnob(1000.0);
    auto gains = [&](int type, std::initializer_list<double> hz, float q = 0.0f) {
        std::vector<double> g;
        for (double h : hz) {
            SlotBus bus(fxtype::FxFilter, {entry(type, 14), f, q});
            g.push_back(bus.gainAt(h, 0.1));
        }
        return g;
    };
    EXPECT_NEAR(gains(0, {300.0})[0], 1.0, 0.01);
    // Low-passes: the octave 4 .. 8 kHz, far above the cutoff.
    for (auto [type, slope] : {std::pair{1, -6.0}, std::pair{3, -12.0}, std::pair{7, -18.0}, std::pair{9, -24.0}}) {
        const auto g = gains(type, {100.0, 4000.0, 8000.0});
        EXPECT_NEAR(db(g[2] / g[1]), slope, 2.5) << "type " << type;
        EXPECT_LT(g[1], g[0]) << "type " << type;
    }
    // High-passes: the octave 125 .. 250 Hz, far below.
    for (auto [type, slope] : {std::pair{2, 6.0}, std::pair{4, 12.0}, std::pair{8, 18.0}, std::pair{10, 24.0}}) {
        const auto g = gains(type, {125.0, 250.0, 8000.0});
        EXPECT_NEAR(db(g[1] / g[0]), slope, 2.5) << "type " << type;
        EXPECT_LT(g[1], g[2]) << "type " << type;
    }
    for (int type : {5, 11}) {
        const auto g = gains(type, {250.0, 1000.0, 4000.0}, 0.5f);
        EXPECT_GT(db(g[1] / g[0]), 6.0) << "band-pass " << type;
        EXPECT_GT(db(g[1] / g[2]), 6.0) << "band-pass " << type;
    }
    // The 12 dB notch cancels at the cutoff.
    const auto notch = gains(6, {250.0, 1000.0, 4000.0});
    EXPECT_LT(db(notch[1] / notch[0]), -40.0);
    EXPECT_LT(db(notch[1] / notch[2]), -40.0);
    // Comb at 1 kHz with strong feedback: its harmonics ring, the half-way points do not.
    const auto comb = gains(13, {1000.0, 1500.0, 2000.0, 2500.0}, 0.9f);
    EXPECT_GT(db(comb[0] / comb[1]), 10.0);
    EXPECT_GT(db(comb[2] / comb[3]), 10.0);
}

// "Distort" drives the filter's input: 2^(6 D) into the engine's drive stage
// squares off a quiet sine; at 0 the stage is off and the level unchanged.
TEST(FxFilter, DistortDrivesTheInput) {
    SlotBus clean(fxtype::FxFilter, {entry(0, 14), 1.0f, 0.0f, 0.0f});
    EXPECT_NEAR(clean.gainAt(441.0, 0.05), 1.0, 1e-3);
    SlotBus driven(fxtype::FxFilter, {entry(0, 14), 1.0f, 0.0f, 1.0f});
    driven.run(std::vector<float>(kSettled, 0.0f));
    std::vector<float> in(16384);
    for (size_t i = 0; i < in.size(); ++i) in[i] = float(0.05 * std::sin(2.0 * spectrum::kPi * 441.0 * double(i) / 44100.0));
    const std::vector<float> out = driven.run(in);
    EXPECT_GT(analysis::peak(out), 0.7);
    const double first = spectrum::amplitudeAt(out, 0, 16384, 441.0, 44100.0);
    const double third = spectrum::amplitudeAt(out, 0, 16384, 1323.0, 44100.0);
    EXPECT_GT(db(third / first), -20.0);
}

// Through the plug-in: every type of the family falls silent 65,536 samples
// after its input, in any slot.
TEST(DistortionFamily, FallsSilentWithItsInput) {
    for (int type : {fxtype::Distort, fxtype::LowFi, fxtype::FxFilter}) {
        auto host = loadSource(44100.0f, false);
        setEffect(*host, 2, type, {1.0f, 1.0f, 0.5f, 1.0f, 0.5f, 1.0f});
        const Render on = renderFrames(*host, 8192, 512, {noteOn(0, 57), noteOff(4096, 57)});
        ASSERT_GT(analysis::peak(on.left), 0.01) << "type " << type;
        renderFrames(*host, 65536 + 16384, 512);
        const Render r = renderFrames(*host, 4096, 512);
        EXPECT_EQ(analysis::peak(r.left), 0.0) << "type " << type;
    }
}
