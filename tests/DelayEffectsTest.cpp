// The delay types measured through the plug-in: echo lengths from the tempo
// (host tempo, none, slow tempo at the line's end), length jumps and glides,
// the feedback decay, "Feed Equal", the cross-feed and its normalised loop,
// the wah's filter across a sample-rate change and with a loud input, and the
// tone filters at a low sample rate.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"
#include "effects/DelayEffects.h"
#include "effects/SlotMemory.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr int kNoteLengths = 15;

Split renderSplit(float rate, double tempo, int frames, bool wetOnRight,
                  const std::function<void(vsthost::PluginHost&)>& setup) {
    return fxtest::renderSplit(rate, tempo, 0, frames, wetOnRight, setup);
}

int echoLag(const Split& s, int expected, int search = 4) {
    const size_t begin = size_t(expected + search + 2048);
    return bestLag(s.dry, s.wet, begin, begin + 4096, expected - search, expected + search);
}

void monoDelay(vsthost::PluginHost& host, int note, float widen = 0.0f) {
    setEffect(host, 0, 1, {entry(note, kNoteLengths), 0.5f, 1.0f, 0.0f, widen});
}

}  // namespace

// At 120 beats per minute and 48 kHz a bar is 96,000 samples; every echo is
// one sample behind its beat.
TEST(DelayEffects, SyncedLengthsLandOnTheBeat) {
    struct Case {
        int note;
        int beat;  // samples
    };
    for (const Case& c : {Case{0, 2000}, Case{4, 6000}, Case{10, 24000}, Case{14, 72000}}) {
        const int frames = c.beat + 8192;
        const Split left = renderSplit(48000.0f, 120.0, frames, false, [&](auto& h) { monoDelay(h, c.note); });
        EXPECT_EQ(echoLag(left, c.beat + 1), c.beat + 1) << "note length " << c.note;
        // "Widen": the right echo starts 4 .. 1,024 samples later.
        const Split right = renderSplit(48000.0f, 120.0, frames, true, [&](auto& h) { monoDelay(h, c.note); });
        EXPECT_EQ(echoLag(right, c.beat + 5), c.beat + 5) << "note length " << c.note;
    }
    const Split wide = renderSplit(48000.0f, 120.0, 16384, true, [](auto& h) { monoDelay(h, 0, 1.0f); });
    EXPECT_EQ(echoLag(wide, 2001 + 1024), 2001 + 1024);

    // Without a tempo from the host the plug-in keeps its own 120.
    const Split none = renderSplit(48000.0f, 0.0, 32768, false, [](auto& h) { monoDelay(h, 10); });
    EXPECT_EQ(echoLag(none, 24001), 24001);
    // The host's tempo: at 90 a quarter note is 32,000 samples.
    const Split ninety = renderSplit(48000.0f, 90.0, 40960, false, [](auto& h) { monoDelay(h, 10); });
    EXPECT_EQ(echoLag(ninety, 32001), 32001);

    // Stereo delay: left 1/8, right 1/16 plus its 4-sample offset.
    auto stereo = [](vsthost::PluginHost& h) {
        setEffect(h, 0, 2, {entry(7, kNoteLengths), entry(4, kNoteLengths), 0.5f, 0.5f, 1.0f});
    };
    EXPECT_EQ(echoLag(renderSplit(48000.0f, 120.0, 24576, false, stereo), 12001), 12001);
    EXPECT_EQ(echoLag(renderSplit(48000.0f, 120.0, 24576, true, stereo), 6005), 6005);
}

// "Mod Amt" and "Mod Speed": the LFO stretches the length by up to 12.5 %
// at 2^(10 G) x 0.02686 Hz, seen through the length's glide (a one-pole of
// 0.999 per 16-sample tick).
TEST(DelayEffects, ModulationSweepsTheLengthThroughItsGlide) {
    constexpr double kRate = 44100.0;
    const double hertz = std::floor(32.0 / kRate * 7208960.0) * (kRate / 16.0) / 16777216.0;
    const std::complex<double> glide =
        0.000999987 / (1.0 - 0.999 * std::polar(1.0, -2.0 * spectrum::kPi * hertz * 16.0 / kRate));
    // The first second lets the glide's start-up swing die away.
    const Split s = fxtest::renderSplit(float(kRate), 120.0, 44100, 4 * 44100, false, [](auto& h) {
        setEffect(h, 0, 1, {0.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f});
    });
    const Sweep sweep = measureSweep(s, kRate, 1800, 2100);
    EXPECT_NEAR(sweep.highest - sweep.lowest, 0.125 * 1838.5 * std::abs(glide), 2.0);
    EXPECT_NEAR(sweep.hertz, hertz, 0.01 * hertz);
}

// A length the tempo or the sample rate would put past the line is held at
// 262,142 samples.
TEST(DelayEffects, LongestEchoIsHeldAtTheLine) {
    const Split slow = renderSplit(44100.0f, 20.0, 262142 + 8192, false, [](auto& h) { monoDelay(h, 14); });
    EXPECT_EQ(echoLag(slow, 262142), 262142);
    const Split fast = renderSplit(192000.0f, 120.0, 262142 + 8192, false, [](auto& h) { monoDelay(h, 14); });
    EXPECT_EQ(echoLag(fast, 262142), 262142);
}

// Changing the length by more than a factor of ten moves the read point at
// once; a smaller change glides, 0.1 % of the way on every 16-sample tick.
TEST(DelayEffects, LengthJumpsBeyondAFactorOfTenAndGlidesBelow) {
    auto run = [](int from, int to, int after) {
        auto host = loadSource(44100.0f, true);
        monoDelay(*host, from);
        host->setParameter(prm::Fx1Mix, 0.5f);
        host->setParameter(prm::Fx1Pan, 0.0f);
        Render r = renderFrames(*host, 70000, 512, {noteOn(0, 57)});
        host->setParameter(knobParameter(0, 0), entry(to, kNoteLengths));
        Render next = renderFrames(*host, after, 512);
        r.left.insert(r.left.end(), next.left.begin(), next.left.end());
        r.right.insert(r.right.end(), next.right.begin(), next.right.end());
        return r;
    };
    // 1/48 bar to 3/4 bar: 1,838.5 to 66,151 samples.
    const Render jump = run(0, 14, 4096 + 600);
    const size_t at = 70000 + 600;
    EXPECT_EQ(bestLag(jump.right, difference(jump.left, jump.right), at, at + 4096, 66140, 66160), 66151);
    // 1/8 bar to 1/4 bar (11,026 to 22,051): short bursts after the change
    // return after the length the glide has reached when they come back.
    auto host = loadSource(44100.0f, false);
    monoDelay(*host, 7);
    host->setParameter(prm::Fx1Mix, 0.5f);
    host->setParameter(prm::Fx1Pan, 0.0f);
    renderFrames(*host, 20000, 512);  // a multiple of 16: the ticks fall on samples 15, 31, ...
    host->setParameter(knobParameter(0, 0), entry(10, kNoteLengths));
    const int bursts[] = {1000, 16000, 48000};
    std::vector<VstMidiEvent> events;
    for (int t : bursts) events.insert(events.end(), {noteOn(t, 81), noteOff(t + 300, 81)});
    const Render r = renderFrames(*host, 80000, 512, events);
    const std::vector<float> wet = difference(r.left, r.right);
    std::vector<double> length(r.left.size());
    double l = 11026.0;
    for (size_t i = 0; i < length.size(); ++i) {
        if (i % 16 == 15) l = 0.999 * l + 0.000999987 * 22051.0;
        length[i] = l;
    }
    for (int t : bursts) {
        const long start = analysis::firstAbove(r.right, 0.05, size_t(t));
        const long echo = analysis::firstAbove(wet, 0.05, size_t(t + 11000));
        ASSERT_GT(start, 0);
        ASSERT_GT(echo, 0);
        EXPECT_NEAR(double(echo - start), length[size_t(echo)], 2.0) << "burst at " << t;
    }
}

// Mono delay of 1/8 bar with "Feedback" 0.25 (echoes of +0.495) and 0.75
// (-0.495, alternating): each echo is the last one times the feedback and the
// tone filters' gain.
TEST(DelayEffects, EchoesDecayByTheFeedback) {
    constexpr float kRate = 48000.0f;
    constexpr int kLength = 12001;
    // Gain of the open low-pass and the lowest high-pass stage at 110 Hz.
    const double w = 2.0 * spectrum::kPi * 110.0 / kRate;
    const std::complex<double> z = std::polar(1.0, -w);
    const double aLow = std::fmin(1.0, 20.0 * 2048.0 / kRate), aHigh = 20.0 / kRate;
    const std::complex<double> low = aLow / (1.0 - (1.0 - aLow) * z);
    const double filter = std::abs(low * (1.0 - aHigh / (1.0 - (1.0 - aHigh) * z)));
    for (float knob : {0.25f, 0.75f}) {
        auto host = loadSource(kRate, false);
        setEffect(*host, 0, 1, {entry(7, kNoteLengths), knob, 1.0f, 0.0f});
        const Render r = renderFrames(*host, 6 * kLength, 512, {noteOn(0, 57), noteOff(1000, 57)});
        auto echo = [&](int k) {
            return std::vector<float>(r.left.begin() + k * kLength, r.left.begin() + k * kLength + 6000);
        };
        for (int k = 1; k < 5; ++k) {
            const std::vector<float> a = echo(k), b = echo(k + 1);
            const double ratio = analysis::rms(b, 0, b.size()) / analysis::rms(a, 0, a.size());
            EXPECT_NEAR(ratio, 0.495 * filter, 0.002) << "feedback " << knob << ", echo " << k;
            double dot = 0.0;
            for (size_t i = 0; i < a.size(); ++i) dot += double(a[i]) * b[i];
            EXPECT_EQ(dot > 0.0, knob < 0.5f) << "feedback " << knob << ", echo " << k;
        }
    }
}

// "Feed Equal": the echo of 1/8 bar and the one of 1/4 bar lose the same
// level per second, whichever side is the longer.
TEST(DelayEffects, FeedEqualGivesBothSidesTheSameDecay) {
    constexpr float kRate = 48000.0f;
    auto level = [](const std::vector<float>& x, int at) { return analysis::rms(x, size_t(at), size_t(at + 6000)); };
    for (bool leftShorter : {true, false}) {
        auto host = loadSource(kRate, false);
        const float eighth = entry(7, kNoteLengths), quarter = entry(10, kNoteLengths);
        setEffect(*host, 0, 2, {leftShorter ? eighth : quarter, leftShorter ? quarter : eighth, 0.25f, 0.5f,
                                1.0f, 0.0f, 0.0f, 1.0f});
        const Render r = renderFrames(*host, 5 * 24005 + 6000, 512, {noteOn(0, 57), noteOff(1000, 57)});
        const std::vector<float>& shortSide = leftShorter ? r.left : r.right;
        const std::vector<float>& longSide = leftShorter ? r.right : r.left;
        const int shortLength = leftShorter ? 12001 : 12005, longLength = leftShorter ? 24005 : 24001;
        const double shortPerSecond =
            20.0 * std::log10(level(shortSide, 8 * shortLength) / level(shortSide, 2 * shortLength)) /
            (6.0 * shortLength / kRate);
        const double longPerSecond =
            20.0 * std::log10(level(longSide, 4 * longLength) / level(longSide, 1 * longLength)) /
            (3.0 * longLength / kRate);
        EXPECT_NEAR(shortPerSecond, longPerSecond, 0.05) << (leftShorter ? "left" : "right") << " shorter";
        EXPECT_NEAR(longPerSecond, 20.0 * std::log10(0.495) / 0.5, 0.1);
    }
}

// Cross-feed: with the voice hard left and no direct feedback, the right line
// hears only -0.99 times the left echo ("CrossFeed" 1, normalised to a loop
// gain just under 1). At 38.4 kHz the open low-pass passes everything.
TEST(DelayEffects, CrossFeedSendsTheLeftEchoToTheRight) {
    auto host = loadSource(38400.0f, true);
    host->setParameter(prm::MainPanning, 0.0f);
    setEffect(*host, 0, 2, {entry(0, kNoteLengths), entry(4, kNoteLengths), 0.5f, 1.0f, 1.0f, 0.0f});
    const Render r = renderFrames(*host, 16384, 512, {noteOn(0, 57)});
    constexpr size_t kRight = 4801 + 4;  // 1/16 bar plus the right line's offset
    double dot = 0.0, norm = 0.0;
    for (size_t i = 8192; i < 16384; ++i) {
        dot += double(r.left[i - kRight]) * r.right[i];
        norm += double(r.left[i - kRight]) * r.left[i - kRight];
    }
    ASSERT_GT(norm, 100.0);
    EXPECT_NEAR(dot / norm, -0.99, 0.01);
}

// "Feedback" and "CrossFeed" both at their ends would add up to a loop gain of
// 1.98; normalised together it stays just under 1, so the echoes of a centred
// voice hold their level for as long as the loop runs, but never grow.
TEST(DelayEffects, FullFeedbackWithFullCrossFeedNeverGrows) {
    constexpr int kLength = 9601;  // 1/8 bar at 38.4 kHz, where the low-pass is open
    auto host = loadSource(38400.0f, false);
    setEffect(*host, 0, 2, {entry(7, kNoteLengths), entry(7, kNoteLengths), 1.0f, 1.0f, 1.0f, 0.0f});
    const Render r = renderFrames(*host, 9 * kLength, 512, {noteOn(0, 57), noteOff(1000, 57)});
    auto level = [&](int k) {
        const size_t begin = size_t(k * kLength), end = begin + 6000;
        return analysis::rms(r.left, begin, end) + analysis::rms(r.right, begin, end);
    };
    ASSERT_GT(level(1), 0.1);
    for (int k = 1; k < 8; ++k) {
        const double ratio = level(k + 1) / level(k);
        EXPECT_LT(ratio, 1.0) << "echo " << k;
        EXPECT_GT(ratio, 0.97) << "echo " << k;
    }
}

// The echo passes the low-pass and the high-pass stage of its knobs once:
// sines far apart come back at the one-pole gains.
TEST(DelayEffects, ToneFiltersShapeTheEcho) {
    constexpr float kRate = 44100.0f;
    const double aLow = 20.0 * std::pow(2.0, 11.0 * 0.5) / kRate, aHigh = 20.0 * std::pow(2.0, 11.0 * 0.3) / kRate;
    for (int note : {33, 57, 93}) {
        const double hz = 110.0 * std::pow(2.0, (note - 57) / 12.0);
        const std::complex<double> z = std::polar(1.0, -2.0 * spectrum::kPi * hz / kRate);
        const std::complex<double> low = aLow / (1.0 - (1.0 - aLow) * z);
        const double expected = std::abs(low * (1.0 - aHigh / (1.0 - (1.0 - aHigh) * z)));
        auto host = loadSource(kRate, false);
        setEffect(*host, 0, 1, {entry(0, kNoteLengths), 0.5f, 0.5f, 0.3f}, 0.5f, 0.0f);
        const Render r = renderFrames(*host, 20000, 512, {noteOn(0, note)});
        const std::vector<float> wet = difference(r.left, r.right);
        EXPECT_NEAR(analysis::rms(wet, 10000, 20000) / analysis::rms(r.right, 10000, 20000), expected,
                    0.01 * expected)
            << hz << " Hz";
    }
}

// A still wah (low = high) resonates at 20 x 2^(10 x sweep) Hz, and still does
// after the host changes the sample rate without a suspend.
TEST(DelayEffects, StillWahKeepsItsFrequencyAcrossASampleRateChange) {
    auto host = loadSource(44100.0f, true);
    // 640 Hz, strong resonance, no echo.
    setEffect(*host, 0, 9, {0.5f, 0.5f, 0.5f, 0.97f, 0.0f, 0.0f, 0.0f});
    auto peakHz = [&](float rate) {
        constexpr size_t kSize = 16384;
        std::vector<double> sum(kSize / 2 + 1, 0.0);
        for (int frame = 0; frame < 8; ++frame) {
            const Render r = renderFrames(*host, int(kSize), 512);
            const std::vector<double> p = spectrum::powerSpectrum(r.left, 0, kSize);
            for (size_t k = 0; k < sum.size(); ++k) sum[k] += p[k];
        }
        size_t best = 1;
        for (size_t k = 1; k < sum.size(); ++k)
            if (sum[k] > sum[best]) best = k;
        return double(best) * rate / double(kSize);
    };
    renderFrames(*host, 8192, 512, {noteOn(0, 57)});
    EXPECT_NEAR(peakHz(44100.0f), 640.0, 20.0);
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    renderFrames(*host, 8192, 512);
    EXPECT_NEAR(peakHz(96000.0f), 640.0, 20.0);
}

// Three slots in series can raise the bus well above full scale. A wah at its
// top cutoff and full resonance fed a sine of amplitude 30 near its corner
// stays bounded: the band state is held where its soft limit still rises.
TEST(DelayEffects, WahStaysBoundedWithALoudInput) {
    SlotMemory memory(DelayEffects::kMemoryFloats);
    DelayEffects wah(memory);
    for (float sweep : {1.0f, 0.9f, 0.75f})
        for (double hz : {8000.0, 15000.0, 3000.0}) {
            wah.reset(fxtype::WahDelay);
            EffectControls c{};
            // Sweep low and high, rate, resonance, length, feedback, volume.
            const float knobs[8] = {sweep, sweep, 0.0f, 1.0f, 0.5f, 1.0f, 1.0f, 0.0f};
            std::copy(knobs, knobs + 8, c.knob);
            std::copy(knobs, knobs + 8, c.smoothed);
            c.sampleRate = 44100.0f;
            c.samplesPerBar = 88200.0f;
            wah.update(c);
            double peak = 0.0;
            for (uint32_t n = 0; n < 44100; ++n) {
                const float x = float(30.0 * std::sin(2.0 * M_PI * hz * n / 44100.0));
                const Stereo y = wah.process({x, -x}, EffectTick{n, (n & 15) == 0, true, nullptr});
                ASSERT_TRUE(std::isfinite(y.left) && std::isfinite(y.right))
                    << "sweep " << sweep << ", " << hz << " Hz, sample " << n;
                peak = std::max({peak, double(std::fabs(y.left)), double(std::fabs(y.right))});
            }
            // The filter's own gain at its corner and a 0.99 echo on top, not a runaway.
            EXPECT_LT(peak, 30.0 * 1000.0) << "sweep " << sweep << ", " << hz << " Hz";
        }
}

// Far below its cutoff the wah passes a sine at 1.41 times its level.
TEST(DelayEffects, WahPassesLowNotesAtItsOutputGain) {
    auto host = loadSource(44100.0f, false);
    setEffect(*host, 0, 9, {1.0f, 1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f}, 0.5f, 0.0f);
    const Render r = renderFrames(*host, 16384, 512, {noteOn(0, 45)});
    const std::vector<float> wet = difference(r.left, r.right);
    EXPECT_NEAR(analysis::rms(wet, 8192, 16384) / analysis::rms(r.right, 8192, 16384), 1.41, 0.01);
}

// Below 40,960 Hz the low-pass knob's top would put the coefficient above 1
// (and above 2, where the filter would grow without bound, below 20,480 Hz);
// it is held open, so the echo of 1/48 bar (here a whole number of samples)
// is the input itself.
TEST(DelayEffects, ToneFiltersStayOpenAtLowSampleRates) {
    for (float rate : {38400.0f, 24000.0f, 12000.0f}) {
        const Split s = renderSplit(rate, 120.0, 16384, false, [](auto& h) { monoDelay(h, 0); });
        const int length = int(rate / 24.0f) + 1;
        ASSERT_EQ(echoLag(s, length, 2), length) << rate << " Hz";
        const size_t begin = size_t(length + 1000);
        EXPECT_NEAR(analysis::rms(s.wet, begin, s.wet.size()) /
                        analysis::rms(s.dry, begin - size_t(length), s.dry.size() - size_t(length)),
                    1.0, 0.01)
            << rate << " Hz";
    }
}
