// The comb filter and the reverb measured through the plug-in: the combs'
// delays, cross-coupling and resonances, the comb's silence; the reverb's
// pre-delay, line lengths at several sample rates (and after a change),
// spread, decay per "Size", darkening by "Damp" and its lasting tail.
#include <gtest/gtest.h>

#include <cmath>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"

using namespace testing_support;
using namespace fxtest;

namespace {

// Long enough for a smoothed knob to settle (0.99 per 16 samples).
constexpr int kSettled = 40000;

// The strongest bin between lo and hi Hz of the spectrum of x[begin, begin + n).
double peakHz(const std::vector<float>& x, size_t begin, size_t n, double rate, double lo, double hi) {
    const std::vector<double> p = spectrum::powerSpectrum(x, begin, n);
    size_t best = size_t(lo * double(n) / rate);
    for (size_t k = best; k <= size_t(hi * double(n) / rate); ++k)
        if (p[k] > p[best]) best = k;
    return double(best) * rate / double(n);
}

// A comb tuned by knob k at `rate` delays by the integer part of
// rate x 256 / (20 x 2^(10 k) + 1), in 1/256 samples, rounded up.
int combLag(float knob, double rate) {
    const double d = std::floor(rate * 256.0 / (20.0 * std::pow(2.0, 10.0 * knob) + 1.0));
    return int(std::ceil(std::max(513.0, d) / 256.0));
}

}  // namespace

// Without feedback each output is the other channel's input, delayed once:
// a voice hard left reaches only the right output, after comb 2's delay.
TEST(CombFilter, WithoutFeedbackEachSideHearsTheOtherDelayed) {
    for (float a : {0.2f, 0.5f, 1.0f}) {
        const Split s = renderSplit(44100.0f, 120.0, kSettled, 8192, false, [&](auto& h) {
            setEffect(h, 0, fxtype::Comb, {a, 0.5f, 0.0f, 0.0f, a, 0.5f});
        });
        const int lag = combLag(a, 44100.0);
        EXPECT_EQ(bestLag(s.dry, s.wet, 1024, 8192, 1, 1000), lag) << "Freq " << a;
    }
    // Frequencies past half the sample rate are held at the shortest delay, three samples.
    EXPECT_EQ(combLag(1.0f, 44100.0), 3);

    auto host = loadSource(44100.0f, false);
    host->setParameter(prm::MainPanning, 0.0f);
    setEffect(*host, 0, fxtype::Comb, {0.3f, 0.5f, 0.0f, 0.0f, 0.6f, 0.5f});
    renderFrames(*host, kSettled, 512, {noteOn(0, 57)});
    const Render r = renderFrames(*host, 8192, 512);
    ASSERT_GT(analysis::rms(r.right, 0, 8192), 0.05);
    EXPECT_LT(analysis::rms(r.left, 0, 8192), 1e-6);
    // The right output is the left input (the voice) delayed by comb 2.
    auto dry = loadSource(44100.0f, false);
    dry->setParameter(prm::MainPanning, 0.0f);
    renderFrames(*dry, kSettled, 512, {noteOn(0, 57)});
    const Render d = renderFrames(*dry, 8192, 512);
    const int lag = combLag(0.6f, 44100.0);
    double error = 0.0;
    for (size_t i = size_t(lag); i < 8192; ++i) error = std::max(error, double(std::fabs(r.right[i] - d.left[i - size_t(lag)])));
    EXPECT_LT(error, 1e-4);
}

// With feedback the loop through both combs rings at the tuned frequency and
// its harmonics; negative feedback moves the peaks half a step, to the odd
// multiples of half the frequency.
TEST(CombFilter, FeedbackResonatesAtTheTunedFrequency) {
    constexpr double kRate = 44100.0;
    for (float a : {0.3f, 0.5f}) {
        const double tuned = kRate / combLag(a, kRate);
        for (float feed : {0.97f, 0.03f}) {
            auto host = loadSource(float(kRate), true);
            setEffect(*host, 0, fxtype::Comb, {a, feed, 0.0f, 0.0f, a, feed});
            renderFrames(*host, kSettled, 512, {noteOn(0, 57)});
            const Render r = renderFrames(*host, 65536, 512);
            const double expected = feed > 0.5f ? tuned : 0.5 * tuned;
            EXPECT_NEAR(peakHz(r.left, 0, 65536, kRate, 0.75 * expected, 1.25 * expected), expected, 0.01 * expected)
                << "Freq " << a << ", Feed " << feed;
            if (feed < 0.5f) {
                // No peak at the tuned frequency itself: a notch instead.
                const double atTuned = spectrum::amplitudeAt(r.left, 0, 65536, tuned, kRate);
                const double atHalf = spectrum::amplitudeAt(r.left, 0, 65536, 0.5 * tuned, kRate);
                EXPECT_LT(atTuned, 0.1 * atHalf) << "Freq " << a;
            }
        }
    }
}

// "Mod 1" at full depth swings comb 1's feedback between none and the knob's
// at the synced rate: with one comb fed back, the ringing swells and fades
// once per cycle (1/4 bar: half a second at 120 beats per minute).
TEST(CombFilter, ModulationSwingsTheFeedbackInTime) {
    auto host = loadSource(44100.0f, true);
    // Comb 1 full feedback, modulated; comb 2 passes (its feedback 1 gives the loop comb 1's).
    setEffect(*host, 0, fxtype::Comb, {0.5f, 0.97f, 1.0f, entry(20, 31), 0.5f, 1.0f, 0.0f, 0.0f});
    renderFrames(*host, kSettled, 512, {noteOn(0, 57)});
    const Render r = renderFrames(*host, 4 * 22050, 512);
    const std::vector<double> e = analysis::envelope(r.left, 1024);
    double lo = 1e9, hi = 0.0;
    for (double v : e) lo = std::min(lo, v), hi = std::max(hi, v);
    EXPECT_GT(hi / lo, 3.0);
    // The envelope repeats every 22,050 samples.
    std::vector<float> ef(e.begin(), e.end());
    const int period = spectrum::period(ef, 0, ef.size(), 15, 30);
    EXPECT_NEAR(period * 1024.0, 22050.0, 1024.0);
}

// The comb outputs exact zeros once its input has been silent for 65,536
// samples, however strong its feedback.
TEST(CombFilter, FallsSilentWithItsInput) {
    auto host = loadSource(44100.0f, false);
    setEffect(*host, 0, fxtype::Comb, {0.1f, 1.0f, 0.0f, 0.0f, 0.1f, 1.0f});
    renderFrames(*host, 8192, 512, {noteOn(0, 57), noteOff(4096, 57)});
    // The voice's release and the engine's DC blocker fade out over a few thousand samples more.
    renderFrames(*host, 65536 + 16384, 512);
    const Render r = renderFrames(*host, 4096, 512);
    EXPECT_EQ(analysis::peak(r.left), 0.0);
    EXPECT_EQ(analysis::peak(r.right), 0.0);
}

namespace {

struct Onsets {
    long left, right;  // samples after the note's first
};

// A single click through the reverb (mix 1, open tone filters): when each
// side's first sound comes out. The shortest comb sounds first; the all-pass
// filters pass their input at once.
Onsets reverbOnsets(float rate, float pre, float spread, float changeFrom = 0.0f) {
    auto host = loadSource(changeFrom > 0.0f ? changeFrom : rate, false);
    host->setParameter(prm::MainPanning, 0.5f);
    setEffect(*host, 0, fxtype::Reverb, {pre, 0.5f, 0.0f, 1.0f, 0.0f, spread});
    renderFrames(*host, kSettled, 512);
    if (changeFrom > 0.0f) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        renderFrames(*host, 4096, 512);
    }
    // A short, loud high note: its first sample marks the click.
    const Render r = renderFrames(*host, 16384, 512, {noteOn(0, 105), noteOff(100, 105)});
    // The note's own first sample at this rate, without the reverb, seen at
    // the level the reverb's 0.025 and its open low-pass give it.
    constexpr double kThreshold = 1e-9;
    const double gain = 0.025 * std::min(1.0, 20.0 * 2048.0 / rate);
    auto dry = loadSource(rate, false);
    const Render d = renderFrames(*dry, 512, 512, {noteOn(0, 105)});
    const long click = analysis::firstAbove(d.left, kThreshold / gain);
    return {analysis::firstAbove(r.left, kThreshold) - click, analysis::firstAbove(r.right, kThreshold) - click};
}

long preDelay(float knob, double rate) {
    return long(std::floor(std::pow(2.0, 10.0 * knob) * rate * 0.0005 + 1.0));
}

long lineLength(int base, double rate) { return long(base * rate / 44100.0 + 0.5); }

}  // namespace

// "Pre" delays by 0.5 to 512 ms, then the shortest comb (1046 samples at
// 44.1 kHz, 1069 on the right) passes its first echo; "Spread" delays the
// right side a further 2 .. 8,193 samples.
TEST(Reverb, PreDelayLinesAndSpreadSetTheFirstSound) {
    struct Case {
        float rate, pre, spread, from;
    };
    for (const Case& c : {Case{44100, 0.0f, 0.0f, 0}, Case{44100, 0.5f, 0.5f, 0}, Case{48000, 0.31f, 1.0f, 0},
                          Case{192000, 0.0f, 0.0f, 0}, Case{96000, 0.0f, 0.0f, 44100},
                          Case{48000, 0.0f, 0.0f, 192000}}) {
        const Onsets o = reverbOnsets(c.rate, c.pre, c.spread, c.from);
        const long pre = preDelay(c.pre, c.rate);
        const long spread = long(std::floor(std::pow(2.0, 13.0 * c.spread))) + 1;
        EXPECT_EQ(o.left, pre + lineLength(1046, c.rate)) << c.rate << " Hz, from " << c.from;
        EXPECT_EQ(o.right, pre + lineLength(1069, c.rate) + spread) << c.rate << " Hz, from " << c.from;
    }
    // At 48 kHz the first left comb is 1,215 samples long.
    EXPECT_EQ(lineLength(1116, 48000.0), 1215);
    // Above 192 kHz the lines keep their 192 kHz lengths.
    const Onsets fast = reverbOnsets(384000.0f, 0.0f, 0.0f);
    EXPECT_EQ(fast.left, preDelay(0.0f, 384000.0) + lineLength(1046, 192000.0));
}

namespace {

// Level in dB of x in windows of 2048 samples.
std::vector<double> levels(const std::vector<float>& x) {
    std::vector<double> db;
    for (double v : analysis::envelope(x, 2048)) db.push_back(20.0 * std::log10(v + 1e-30));
    return db;
}

// A noise burst into the reverb, then the tail alone (mix 1, knobs as given).
Render reverbTail(float size, float damp, int seconds) {
    auto host = loadSource(44100.0f, true);
    setEffect(*host, 0, fxtype::Reverb, {0.0f, size, damp, 1.0f, 0.0f, 0.0f});
    renderFrames(*host, 44100, 512, {noteOn(0, 57), noteOff(22050, 57)});
    return renderFrames(*host, seconds * 44100, 512);
}

// Decay in dB per second of the tail between 10 dB and 50 dB below its start.
double decayPerSecond(const std::vector<float>& x) {
    const std::vector<double> db = levels(x);
    size_t from = 0, to = 0;
    for (size_t i = 0; i < db.size(); ++i) {
        if (db[i] > db[0] - 10.0) from = i;
        if (db[i] > db[0] - 50.0) to = i;
    }
    return (db[to] - db[from]) / (double(to - from) * 2048.0 / 44100.0);
}

}  // namespace

// "Size" sets the combs' feedback 0.65 .. 0.98; the tail dies at the rate
// of the longest comb (1,680 samples at 44.1 kHz): 20 log10(room) per pass.
TEST(Reverb, TailGrowsWithSize) {
    double previous = -1e9;
    for (float size : {0.0f, 0.5f, 1.0f}) {
        const double room = 0.65 + 0.249579 * std::log10(20.0 * size + 1.0);
        const double expected = 20.0 * std::log10(room) * 44100.0 / 1680.0;
        const Render r = reverbTail(size, 0.0f, size < 1.0f ? 3 : 8);
        const double decay = decayPerSecond(r.left);
        EXPECT_NEAR(decay, expected, 0.15 * std::fabs(expected)) << "Size " << size;
        EXPECT_GT(decay, previous) << "Size " << size;  // slower each time
        previous = decay;
    }
}

// "Damp" low-passes every comb's feedback: half a second into the tail the
// highs have fallen far more than with no damping.
TEST(Reverb, DampDarkensTheTail) {
    auto tilt = [](float damp) {
        const Render r = reverbTail(0.8f, damp, 1);
        const size_t at = 22050;
        double low = 0.0, high = 0.0;
        for (double hz : {200.0, 300.0, 400.0}) low += spectrum::amplitudeAt(r.left, at, at + 8192, hz, 44100.0);
        for (double hz : {5000.0, 6000.0, 7000.0}) high += spectrum::amplitudeAt(r.left, at, at + 8192, hz, 44100.0);
        return spectrum::decibels(high / low);
    };
    const double open = tilt(0.0f), damped = tilt(1.0f);
    EXPECT_LT(damped, open - 15.0) << "open " << open << " dB, damped " << damped << " dB";
}

// The reverb keeps running while its input is silent: a long tail is still
// heard two seconds after the input stopped, past the 65,536-sample window.
TEST(Reverb, TailOutlastsTheSilenceWindow) {
    const Render r = reverbTail(1.0f, 0.0f, 3);
    EXPECT_GT(analysis::rms(r.left, 2 * 44100, 3 * 44100), 1e-3);
    EXPECT_GT(analysis::rms(r.right, 2 * 44100, 3 * 44100), 1e-3);
}
