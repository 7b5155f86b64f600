// Widener, auto-pan and gator measured through the plug-in: the widener's
// right-channel delay and its sweep read back as the lag between the
// channels, the auto-pan's cycle against the host tempo, and the gator's
// steps against the tempo and the host's song position.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"
#include "TransportSupport.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr float kRate = 44100.0f;
constexpr int kWidener = 14, kAutoPan = 15, kGator = 16;

// Normalised correlation of a[i - lag] and b[i] over [begin, end).
double correlation(const std::vector<float>& a, const std::vector<float>& b, size_t begin, size_t end,
                   size_t lag = 0) {
    double ab = 0.0, aa = 1e-30, bb = 1e-30;
    for (size_t i = begin; i < end; ++i) {
        ab += double(a[i - lag]) * b[i];
        aa += double(a[i - lag]) * a[i - lag];
        bb += double(b[i]) * b[i];
    }
    return ab / std::sqrt(aa * bb);
}

// The wet output alone (mix 1, pan centred) of a held note through slot 1.
Render renderWet(bool noise, int note, int frames, std::initializer_list<float> knobs, int type,
                 double tempo = 120.0) {
    auto host = loadSource(kRate, noise, tempo);
    setEffect(*host, 0, type, knobs);
    return renderFrames(*host, frames, 512, {noteOn(0, note)});
}

// A pattern knob value whose steps `on` are set (bit i is step i).
float pattern(std::initializer_list<int> on) {
    unsigned bits = 0;
    for (int step : on) bits |= 1u << step;
    return (float(bits) + 0.5f) / 65535.9f;
}

// The gate the gator applies to each sample, from the split render: the wet
// side over the dry one, where the dry noise is loud enough to divide by
// (elsewhere the previous estimate is repeated).
std::vector<double> gateOf(const Split& s) {
    std::vector<double> gate(s.dry.size(), 0.0);
    double last = 0.0;
    for (size_t i = 0; i < s.dry.size(); ++i) {
        if (std::fabs(s.dry[i]) > 0.05f) last = s.wet[i] / s.dry[i];
        gate[i] = last;
    }
    return gate;
}

// Where the gate opens: indices at which it rises through one half.
std::vector<long> openings(const std::vector<double>& gate) {
    std::vector<long> at;
    for (size_t i = 1; i < gate.size(); ++i)
        if (gate[i - 1] < 0.5 && gate[i] >= 0.5) at.push_back(long(i));
    return at;
}

// The gator in slot 1 at mix 0.5 with its wet side alone on the left.
void gator(vsthost::PluginHost& h, float speed, float smooth, int mode, int sync, float left, float right) {
    setEffect(h, 0, kGator, {speed, smooth, entry(mode, 3), entry(sync, 3), left, right}, 0.5f, 0.0f);
}

}  // namespace

// "Widener" delays only the right channel by up to K = 4 x 2^(8 A) + 1
// samples; without "Width" the delay stands at K, and a centred (mono) voice
// comes out with its two sides K samples apart: uncorrelated noise, a sine
// correlated by the cosine of its phase difference.
TEST(StereoEffects, WidenerDelaysTheRightChannelAndDecorrelatesTheSides) {
    // A = 0.5: K = 65.
    const Render noise = renderWet(true, 57, 30000, {0.5f, 0.0f, 0.5f, 1.0f, 0.0f}, kWidener);
    EXPECT_EQ(bestLag(noise.left, noise.right, 20000, 30000, 0, 200), 65);
    EXPECT_GT(correlation(noise.left, noise.right, 20000, 30000, 65), 0.9999);
    EXPECT_LT(std::fabs(correlation(noise.left, noise.right, 20000, 30000)), 0.1);

    // A 110 Hz sine 1,025 samples apart (A = 1).
    const Render sine = renderWet(false, 57, 30000, {1.0f, 0.0f, 0.5f, 1.0f, 0.0f}, kWidener);
    EXPECT_NEAR(correlation(sine.left, sine.right, 20000, 30000),
                std::cos(2.0 * spectrum::kPi * 110.0 * 1025.0 / kRate), 0.01);
}

// Each side keeps its own signal: a voice panned hard left leaves the right
// side silent, one panned hard right comes out delayed on the right only.
TEST(StereoEffects, WidenerKeepsTheSidesApart) {
    for (float pan : {0.0f, 1.0f}) {
        auto host = loadSource(kRate, true);
        host->setParameter(prm::MainPanning, pan);
        setEffect(*host, 0, kWidener, {0.5f, 0.0f, 0.5f, 1.0f, 0.0f});
        const Render r = renderFrames(*host, 20000, 512, {noteOn(0, 57)});
        const double left = analysis::rms(r.left, 10000, 20000), right = analysis::rms(r.right, 10000, 20000);
        EXPECT_GT(std::max(left, right), 0.1);
        EXPECT_LT(pan == 0.0f ? right / left : left / right, 0.01) << "pan " << pan;
    }
}

// Widener, auto-pan, equalizer, compressor and vocoder output exactly nothing
// once their input has been silent for 65,536 samples; the gator runs on.
TEST(StereoEffects, WhichTypesFallSilentWithTheirInput) {
    for (int type : {14, 15, 16, 17, 19, 20}) {
        auto host = loadSource(kRate, true);
        setEffect(*host, 0, type, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
        host->setParameter(prm::VocoderSource, 1.0f);
        renderFrames(*host, 20000, 512, {noteOn(0, 57), noteOff(10000, 57)});
        const Render r = renderFrames(*host, 90000, 512);
        const double rest = std::max(analysis::peak(r.left, 80000, 90000), analysis::peak(r.right, 80000, 90000));
        if (type == kGator)
            EXPECT_GT(rest, 0.0) << "the gator keeps running";
        else
            EXPECT_EQ(rest, 0.0) << "type " << type;
    }
}

// "Width" moves the delay along a triangle between (1 - w) K and K, at
// 2^(10 C) x 0.02685546875 Hz.
TEST(StereoEffects, WidenerSweepsItsDelayWithWidthAndSpeed) {
    // K = 65 and w = 1: 0 .. 65 samples; C = 0.5: 32 x 0.02685546875 = 0.859 Hz.
    const Render r = renderWet(true, 57, 160000, {0.5f, 1.0f, 0.5f, 1.0f, 0.0f}, kWidener);
    const Sweep s = measureSweep(Split{r.left, r.right}, kRate, 0, 70, 256);
    EXPECT_NEAR(s.lowest, 0.0, 1.0);
    EXPECT_NEAR(s.highest, 65.0, 1.0);
    EXPECT_NEAR(s.hertz, 0.859375, 0.01);
}

// "AutoPan" swings the balance once per cycle-table length at the host's
// tempo; "Amount" 0 leaves both sides at full level.
TEST(StereoEffects, AutoPanCyclesOncePerBarOfTheHostTempo) {
    for (double tempo : {120.0, 90.0}) {
        const double bar = kRate * 240.0 / tempo;
        const int frames = int(3.5 * bar);
        // "Speed" at one bar; full depth: the right side's gain is min(1, 2 u).
        const Render r = renderWet(true, 57, frames, {1.0f, entry(14, 31)}, kAutoPan, tempo);
        // Where the right side falls through half level (u = 1/4) over 256-sample windows.
        const std::vector<double> right = analysis::envelope(r.right, 256);
        const std::vector<double> left = analysis::envelope(r.left, 256);
        std::vector<double> falls;
        for (size_t i = 1; i < right.size(); ++i) {
            const double a = right[i - 1] / (left[i - 1] + right[i - 1] + 1e-9);
            const double b = right[i] / (left[i] + right[i] + 1e-9);
            // Balance 1/3 = right at half level with the left at full.
            if (a > 1.0 / 3.0 && b <= 1.0 / 3.0) falls.push_back(256.0 * (double(i - 1) + (a - 1.0 / 3.0) / (a - b)));
        }
        ASSERT_GE(falls.size(), 3u) << tempo;
        const double period = (falls.back() - falls.front()) / double(falls.size() - 1);
        EXPECT_NEAR(period, bar, 0.01 * bar) << tempo;
        // Full depth silences each side in turn.
        double quietest = 1e9;
        for (size_t i = 8; i < right.size(); ++i) quietest = std::min(quietest, right[i] / left[i]);
        EXPECT_LT(quietest, 0.02) << tempo;
    }
    // The swing starts towards the right: an eighth of a bar after the type
    // change the pan is (sin(pi / 4) + 1) / 2, the left side at 2 - 2 pan.
    {
        auto host = loadSource(kRate, true);
        setEffect(*host, 0, kAutoPan, {1.0f, entry(14, 31)});
        const Render r = renderFrames(*host, 16384, 512, {noteOn(0, 57)});
        const double pan = (std::sin(spectrum::kPi / 4.0) + 1.0) / 2.0;
        // The type check at sample 512 starts the cycle.
        const size_t at = 512 + 11025;
        EXPECT_NEAR(analysis::rms(r.left, at - 256, at + 256) / analysis::rms(r.right, at - 256, at + 256),
                    2.0 - 2.0 * pan, 0.03);
    }
    // "Amount" 0: both sides are the voice itself.
    const Render still = renderWet(true, 57, 20000, {0.0f, entry(20, 31)}, kAutoPan);
    auto host = loadSource(kRate, true);
    const Render dry = renderFrames(*host, 20000, 512, {noteOn(0, 57)});
    for (size_t i = 0; i < dry.left.size(); i += 7) {
        ASSERT_NEAR(still.left[i], dry.left[i], 1e-5) << i;
        ASSERT_NEAR(still.right[i], dry.right[i], 1e-5) << i;
    }
}

// Free running, the gator steps 8 m times per beat of the host tempo (m from
// its rate table): a pattern with steps 0 and 5 opens 5 and 11 steps apart.
TEST(StereoEffects, GatorStepsFollowTheHostTempo) {
    for (double tempo : {120.0, 90.0}) {
        // "Speed" entry 17: m = 1, eight steps per beat.
        const double step = kRate * 60.0 / (tempo * 8.0);
        const Split s = renderSplit(kRate, tempo, 4096, int(40 * step), false, [&](vsthost::PluginHost& h) {
            gator(h, entry(17, 31), 0.0f, 0, 0, pattern({0, 5}), pattern({0, 5}));
        });
        const std::vector<long> open = openings(gateOf(s));
        ASSERT_GE(open.size(), 4u) << tempo;
        for (size_t i = 1; i < open.size(); ++i) {
            const double apart = double(open[i] - open[i - 1]);
            const double steps = apart / step;
            EXPECT_TRUE(std::fabs(steps - 5.0) < 0.01 || std::fabs(steps - 11.0) < 0.01)
                << tempo << " BPM: openings " << apart << " samples apart";
        }
    }
    // Entry 14, m = 1/2: four steps per beat.
    const double step = kRate * 60.0 / (120.0 * 4.0);
    const Split s = renderSplit(kRate, 120.0, 4096, int(40 * step), false, [&](vsthost::PluginHost& h) {
        gator(h, entry(14, 31), 0.0f, 0, 0, pattern({3}), pattern({3}));
    });
    const std::vector<long> open = openings(gateOf(s));
    ASSERT_GE(open.size(), 2u);
    EXPECT_NEAR(double(open[1] - open[0]), 16.0 * step, 2.0);
}

// "Sync" "On" takes the step from the host's song position: step
// floor(ppq x 8 m) mod 16, here 8 per beat from a position of 3.3 beats;
// "Auto" does so while the transport plays and runs free when it stops.
TEST(StereoEffects, GatorSyncedStepsFollowTheHostPosition) {
    const std::vector<int> steps = {0, 1, 2, 4, 7, 8, 13};
    const float bits = pattern({0, 1, 2, 4, 7, 8, 13});
    for (int sync : {1, 2}) {
        auto host = loadSource(kRate, true);
        gator(*host, entry(17, 31), 0.0f, 0, sync, bits, bits);
        Transport t;
        t.tempo = 100.0;
        t.ppq = 3.3;
        const int frames = 60000;
        const Render r = renderTransport(*host, t, frames, 512, {noteOn(0, 57)});
        const std::vector<double> gate = gateOf(Split{r.right, difference(r.left, r.right)});
        int checked = 0, wrong = 0;
        for (int i = 2048; i < frames; ++i) {
            const double ppq = 3.3 + i * 100.0 / (60.0 * kRate);
            const double position = ppq * 8.0;
            // Skip the samples next to a step boundary and those between noise peaks.
            if (std::fabs(position - std::round(position)) * kRate * 60.0 / 800.0 < 3.0) continue;
            if (std::fabs(r.right[size_t(i)]) <= 0.05f) continue;
            const int s = int(std::floor(position)) % 16;
            const bool on = std::find(steps.begin(), steps.end(), s) != steps.end();
            ++checked;
            if (std::fabs(gate[size_t(i)] - (on ? 1.0 : 0.0)) > 0.01) ++wrong;
        }
        EXPECT_GT(checked, 10000) << "sync " << sync;
        EXPECT_EQ(wrong, 0) << "sync " << sync;
    }

    // "On" with the transport stopped holds the step of the host's position
    // (2.3 beats: step 18 mod 16).
    {
        auto host = loadSource(kRate, true);
        gator(*host, entry(17, 31), 0.0f, 0, 1, pattern({2}), pattern({2}));
        Transport standing;
        standing.playing = false;
        standing.ppq = 2.3;
        const Render r = renderTransport(*host, standing, 30000, 512, {noteOn(0, 57)});
        const std::vector<double> gate = gateOf(Split{r.right, difference(r.left, r.right)});
        for (size_t i = 2048; i < gate.size(); ++i) ASSERT_NEAR(gate[i], 1.0, 0.01) << i;
    }

    // "On" without a host position stays on step 0; "Auto" with the
    // transport stopped runs free from where it was.
    auto host = loadSource(kRate, true);
    gator(*host, entry(17, 31), 0.0f, 0, 1, pattern({0}), pattern({0}));
    Transport stopped;
    stopped.playing = false;
    stopped.positionValid = false;
    Render r = renderTransport(*host, stopped, 30000, 512, {noteOn(0, 57)});
    std::vector<double> gate = gateOf(Split{r.right, difference(r.left, r.right)});
    for (size_t i = 2048; i < gate.size(); ++i) ASSERT_NEAR(gate[i], 1.0, 0.01) << i;
    host->setParameter(knobParameter(0, 3), entry(2, 3));
    r = renderTransport(*host, stopped, 100000, 512);
    gate = gateOf(Split{r.right, difference(r.left, r.right)});
    const std::vector<long> open = openings(gate);
    ASSERT_GE(open.size(), 2u);
    EXPECT_NEAR(double(open[1] - open[0]), 16.0 * kRate * 60.0 / (120.0 * 8.0), 2.0);
}

// "Mode" gates both sides, the left only or the right only; "Smooth" at 1
// (L = 4,096) lets a single open step open the gate only partly; with all
// steps on the signal passes unchanged, with none the gated side is silent.
TEST(StereoEffects, GatorModesSmoothingAndFullPatterns) {
    auto levels = [](int mode, float smooth, float left, float right) {
        const Split l = renderSplit(kRate, 120.0, 8192, 88200, false, [&](vsthost::PluginHost& h) {
            gator(h, entry(17, 31), smooth, mode, 0, left, right);
        });
        const Split r = renderSplit(kRate, 120.0, 8192, 88200, true, [&](vsthost::PluginHost& h) {
            gator(h, entry(17, 31), smooth, mode, 0, left, right);
        });
        std::vector<double> gates = gateOf(l), gatesR = gateOf(r);
        double lowL = 1e9, highL = -1e9, lowR = 1e9, highR = -1e9;
        for (size_t i = 0; i < gates.size(); ++i) {
            lowL = std::min(lowL, gates[i]);
            highL = std::max(highL, gates[i]);
            lowR = std::min(lowR, gatesR[i]);
            highR = std::max(highR, gatesR[i]);
        }
        return std::vector<double>{lowL, highL, lowR, highR};
    };
    const float all = 1.0f, none = 0.0f;
    std::vector<double> g = levels(0, 0.0f, all, none);
    EXPECT_NEAR(g[0], 1.0, 1e-3);
    EXPECT_NEAR(g[1], 1.0, 1e-3);
    EXPECT_NEAR(g[3], 0.0, 1e-3);
    // Left only: the right side passes whatever its pattern.
    g = levels(1, 0.0f, none, none);
    EXPECT_NEAR(g[1], 0.0, 1e-3);
    EXPECT_NEAR(g[2], 1.0, 1e-3);
    EXPECT_NEAR(g[3], 1.0, 1e-3);
    // Right only.
    g = levels(2, 0.0f, none, none);
    EXPECT_NEAR(g[0], 1.0, 1e-3);
    EXPECT_NEAR(g[1], 1.0, 1e-3);
    EXPECT_NEAR(g[3], 0.0, 1e-3);
    // One open step of 2,756 samples against a smoothing of 4,097: the gate
    // reaches 1 - e^(-2756 / 4097), about half.
    g = levels(0, 1.0f, pattern({0}), pattern({0}));
    EXPECT_NEAR(g[1], 1.0 - std::exp(-2756.25 / 4097.0), 0.05);
}
