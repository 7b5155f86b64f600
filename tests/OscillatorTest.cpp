// Oscillators measured through the plug-in: pitch and tuning, the on and
// output switches, symmetry, aliasing with oversampling, FM, ring modulation
// and sync.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "TestSupport.h"
#include "Values.h"
#include "params/ParamIds.h"

using namespace testing_support;
using namespace values;

namespace {

constexpr double kRate = 44100.0;
constexpr int kSettle = 20000;  // the master gain's start-up fade


constexpr int kOn[3] = {prm::Osc1On, prm::Osc2On, prm::Osc3On};
constexpr int kType[3] = {prm::Osc1Type, prm::Osc2Type, prm::Osc3Type};
constexpr int kVolume[3] = {prm::Osc1Volume, prm::Osc2Volume, prm::Osc3Volume};
constexpr int kSemi[3] = {prm::Osc1Semi, prm::Osc2Semi, prm::Osc3Semi};
constexpr int kSymmetry[3] = {prm::Osc1Symmetry, prm::Osc2Symmetry, prm::Osc3Symmetry};

// The plain test sound with all three oscillators set up as sines (only
// oscillator 1 on), ready for a note after the start-up fade.
std::unique_ptr<vsthost::PluginHost> threeSines() {
    auto host = loadPlugin();
    setPlainSine(*host);
    for (int n = 0; n < 3; ++n) {
        host->setParameter(kType[n], 0.0f);
        host->setParameter(kVolume[n], 1.0f);
        host->setParameter(kSemi[n], semitones(0));
        host->setParameter(kSymmetry[n], 0.5f);
    }
    for (int p : {prm::Osc2SubOscVol, prm::Osc3SubOscVol, prm::Osc2Spread, prm::Osc3Spread,
                  prm::Osc2Pwm, prm::Osc3Pwm, prm::Osc2FmMode, prm::Osc3FmMode, prm::Osc2Sync,
                  prm::Osc3Sync})
        host->setParameter(p, 0.0f);
    host->setParameter(prm::Osc2Output, 1.0f);
    renderFrames(*host, kSettle, 512);
    return host;
}

std::vector<float> play(vsthost::PluginHost& host, int note, int frames) {
    auto r = renderFrames(host, frames, 512, {noteOn(0, note), noteOff(frames - 1, note)});
    renderFrames(host, 2048, 512);
    return r.left;
}

double pitchCents(vsthost::PluginHost& host, int note, double expectedHz) {
    auto x = play(host, note, 60000);
    return analysis::cents(analysis::frequency(x, kRate, 4000, x.size()), expectedHz);
}

// Energy between the harmonics of f0 relative to the energy on them.
double nonHarmonicDb(const std::vector<float>& x, size_t begin, double f0) {
    constexpr size_t kN = 65536;
    const auto power = spectrum::powerSpectrum(x, begin, kN);
    const double bin = kRate / double(kN);
    double harmonic = 0.0, other = 0.0;
    for (size_t k = size_t(20.0 / bin); k < power.size(); ++k) {
        const double f = double(k) * bin;
        const double nearest = std::max(1.0, std::round(f / f0));
        (std::fabs(f - nearest * f0) < 8.0 * bin ? harmonic : other) += power[k];
    }
    return 10.0 * std::log10(other / harmonic);
}

// Fraction of a cycle spent in the wave's lower half.
double lowFraction(const std::vector<float>& x, size_t begin, size_t end) {
    const auto [lo, hi] = std::minmax_element(x.begin() + long(begin), x.begin() + long(end));
    const float middle = (*lo + *hi) / 2;
    return double(std::count_if(x.begin() + long(begin), x.begin() + long(end),
                                [&](float v) { return v < middle; })) /
           double(end - begin);
}

}  // namespace

TEST(Oscillator, PitchFollowsKeyTuningAndOffsetsWithinACent) {
    auto host = threeSines();
    EXPECT_NEAR(pitchCents(*host, 57, 110.0), 0.0, 1.0);
    for (int note = 21; note <= 117; note += 8)
        EXPECT_NEAR(pitchCents(*host, note, noteHz(note)), 0.0, 1.0) << "note " << note;

    host->setParameter(prm::Osc1Semi, semitones(7));
    EXPECT_NEAR(pitchCents(*host, 57, noteHz(64)), 0.0, 1.0) << "Semi +7";
    host->setParameter(prm::Osc1Semi, semitones(-24));
    EXPECT_NEAR(pitchCents(*host, 81, noteHz(57)), 0.0, 1.0) << "Semi -24";
    host->setParameter(prm::Osc1Semi, semitones(0));
    host->setParameter(prm::Osc1Fine, 0.7525f);  // +50 cents
    EXPECT_NEAR(pitchCents(*host, 57, 110.0), 50.0, 1.0) << "Fine +50 cents";
    host->setParameter(prm::Osc1Fine, 0.5f);
    for (float tuning : {0.0f, 1.0f}) {
        host->setParameter(prm::GlobalTuning, tuning);
        EXPECT_NEAR(pitchCents(*host, 57, 110.0), tuning > 0.5f ? 100.0 : -100.0, 1.0)
            << "Global Tuning " << tuning;
    }
    host->setParameter(prm::GlobalTuning, 0.5f);
    host->setParameter(prm::Osc1Tracking, 0.0f);
    EXPECT_NEAR(pitchCents(*host, 81, 110.0), 0.0, 1.0) << "no keyboard tracking";
    host->setParameter(prm::Osc1Tracking, 1.0f);

    // At 16x the 23-bit phase steps sixteen times per sample and its increment
    // is coarser, yet rounded to the nearest unit it keeps within a cent from A1 up.
    host->setParameter(prm::OverSampling, 1.0f);
    renderFrames(*host, 1024, 512);
    for (int note = 33; note <= 117; note += 12)
        EXPECT_NEAR(pitchCents(*host, note, noteHz(note)), 0.0, 1.0) << "16x, note " << note;
}

TEST(Oscillator, EachSwitchAndOutputRoutingDecidesWhatIsHeard) {
    auto host = threeSines();
    // Tell the oscillators apart by pitch: A, E and A an octave up.
    const int offsets[3] = {0, 7, 12};
    for (int n = 0; n < 3; ++n) host->setParameter(kSemi[n], semitones(offsets[n]));
    for (int n = 0; n < 3; ++n) {
        for (int m = 0; m < 3; ++m) host->setParameter(kOn[m], m == n ? 1.0f : 0.0f);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 57, 20000);
        EXPECT_GT(analysis::rms(x, 4000, 20000), 0.3) << "oscillator " << n + 1;
        EXPECT_NEAR(analysis::cents(analysis::frequency(x, kRate, 4000, 20000), noteHz(57 + offsets[n])),
                    0.0, 2.0)
            << "oscillator " << n + 1;
    }
    // Nothing on; or oscillator 1 or 2 on with its output off: silence.
    for (int heard : {-1, 0, 1}) {
        for (int m = 0; m < 3; ++m) host->setParameter(kOn[m], m == heard ? 1.0f : 0.0f);
        host->setParameter(prm::Osc1Output, 0.0f);
        host->setParameter(prm::Osc2Output, 0.0f);
        renderFrames(*host, 30000, 512);  // the DC blocker's tail of the last note dies away
        EXPECT_LT(analysis::peak(play(*host, 57, 8000)), 1e-6) << "oscillator " << heard + 1;
    }
}

TEST(Oscillator, SilentWhenEveryLevelIsZeroEvenWithTheCombRinging) {
    auto host = threeSines();
    host->setParameter(prm::FilterType, choice(13, 14));
    host->setParameter(prm::FilterResonance, 1.0f);
    host->setParameter(prm::FilterFrequency, 0.3f);
    for (int n = 0; n < 3; ++n) {
        host->setParameter(kOn[n], 1.0f);
        host->setParameter(kVolume[n], 0.0f);
    }
    renderFrames(*host, 1024, 512);
    EXPECT_LT(analysis::peak(play(*host, 45, 20000)), 1e-6);
    // The same comb with an oscillator heard rings loudly.
    host->setParameter(prm::Osc3Volume, 0.5f);
    renderFrames(*host, 1024, 512);
    EXPECT_GT(analysis::peak(play(*host, 45, 20000)), 0.1);
}

TEST(Oscillator, SymmetryCentredKeepsTheWaveAndItsExtremesSqueezeOneHalf) {
    auto host = threeSines();
    // A sine at symmetry 0.5 stays clean; at either extreme it grows harmonics.
    for (float symmetry : {0.5f, 0.0f, 1.0f}) {
        host->setParameter(prm::Osc1Symmetry, symmetry);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 57, 30000);
        const double fundamental = spectrum::amplitudeAt(x, 8000, 30000, 110.0, kRate);
        double harmonics = 0.0;
        for (int k = 2; k <= 6; ++k)
            harmonics = std::hypot(harmonics, spectrum::amplitudeAt(x, 8000, 30000, 110.0 * k, kRate));
        if (symmetry == 0.5f)
            EXPECT_LT(spectrum::decibels(harmonics / fundamental), -40.0);
        else
            EXPECT_GT(spectrum::decibels(harmonics / fundamental), -20.0) << symmetry;
    }
    // A square's low half lasts 1 % of the cycle at symmetry 0 and 99 % at 1.
    host->setParameter(prm::Osc1Type, choice(2, 128));
    for (float symmetry : {0.0f, 0.5f, 1.0f}) {
        host->setParameter(prm::Osc1Symmetry, symmetry);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 33, 30000);  // 27.5 Hz
        const size_t cycles = size_t(5 * kRate / 27.5);
        EXPECT_NEAR(lowFraction(x, 10000, 10000 + cycles), 0.01 + 0.98 * symmetry, 0.01) << symmetry;
    }
}

TEST(Oscillator, SixteenTimesOversamplingLowersAliasingOfAHighSaw) {
    // A saw at 1760 Hz and at 3520 Hz: the energy between the harmonics is
    // what folded back from above half the sample rate.
    for (int note : {105, 117}) {
        double aliasing[2];
        for (int i = 0; i < 2; ++i) {
            auto host = threeSines();
            host->setParameter(prm::Osc1Type, choice(1, 128));
            host->setParameter(prm::OverSampling, i == 0 ? 0.0f : 1.0f);
            renderFrames(*host, 1024, 512);
            auto x = play(*host, note, 80000);
            const double f0 = analysis::frequency(x, kRate, 10000, 80000);
            aliasing[i] = nonHarmonicDb(x, 10000, f0);
        }
        char figures[64];
        std::snprintf(figures, sizeof figures, "%.1f dB at 1x, %.1f dB at 16x", aliasing[0], aliasing[1]);
        RecordProperty("saw_note_" + std::to_string(note) + "_aliasing", figures);
        EXPECT_LT(aliasing[1], aliasing[0] - 6.0) << "note " << note;
    }
}

TEST(Oscillator, FmAndRingModulationCarryTheModulatorWithoutItsOwnTone) {
    // Oscillator 1 (output off) modulates oscillator 2 at A 110 Hz.
    auto render = [](int fmMode, float amount, float modulatorVolume, int modulatorSemi) {
        auto host = threeSines();
        host->setParameter(prm::Osc1Output, 0.0f);
        host->setParameter(prm::Osc1Volume, modulatorVolume);
        host->setParameter(prm::Osc1Semi, semitones(modulatorSemi));
        host->setParameter(prm::Osc2On, 1.0f);
        host->setParameter(prm::Osc2FmMode, choice(fmMode, 3));
        host->setParameter(prm::Osc2FmAmount, amount);
        renderFrames(*host, 1024, 512);
        return play(*host, 57, 40000);
    };
    auto level = [](const std::vector<float>& x, double hz) {
        return spectrum::amplitudeAt(x, 8000, 40000, hz, kRate);
    };
    // A silent modulator changes nothing.
    EXPECT_EQ(render(2, 1.0f, 0.0f, 7), render(0, 1.0f, 1.0f, 7));
    // A modulator at E 164.8 Hz: full ring modulation leaves only the sum and
    // difference tones, half of it half the carrier; FM moves the carrier's
    // energy to sidebands. The modulator's own tone is never heard.
    const double carrier = 110.0, modulator = noteHz(64);
    const auto ring = render(1, 1.0f, 1.0f, 7);
    EXPECT_GT(level(ring, modulator + carrier), 0.2);
    EXPECT_GT(level(ring, modulator - carrier), 0.2);
    EXPECT_LT(level(ring, carrier), 0.01);
    EXPECT_LT(level(ring, modulator), 0.01);
    EXPECT_NEAR(level(render(1, 0.5f, 1.0f, 7), carrier), 0.5, 0.05);
    const auto fm = render(2, 0.15f, 1.0f, 7);
    EXPECT_LT(level(fm, carrier), 0.9);
    EXPECT_GT(level(fm, carrier + modulator), 0.05);
    EXPECT_LT(level(fm, modulator), 0.01);
    // Phase modulation by a modulator at the carrier's pitch keeps the period.
    EXPECT_NEAR(spectrum::period(render(2, 1.0f, 1.0f, 0), 8000, 20000, 300, 500), 401, 1);
}

TEST(Oscillator, SyncRestartsTheSlaveAtTheMastersPeriod) {
    // Oscillator 1 (output off) sets the period; the synced oscillator sounds
    // a fifth or an octave higher in between.
    for (int slave : {1, 2}) {
        for (bool sync : {false, true}) {
            auto host = threeSines();
            host->setParameter(prm::Osc1Output, 0.0f);
            host->setParameter(kOn[slave], 1.0f);
            host->setParameter(kType[slave], choice(1, 128));
            host->setParameter(kSemi[slave], semitones(7));
            host->setParameter(slave == 1 ? prm::Osc2Sync : prm::Osc3Sync, sync ? 1.0f : 0.0f);
            renderFrames(*host, 1024, 512);
            auto x = play(*host, 57, 30000);
            const int period = spectrum::period(x, 8000, 24000, 200, 500);
            if (sync)
                EXPECT_NEAR(period, 401, 1) << "oscillator " << slave + 1;  // 110 Hz
            else
                EXPECT_NEAR(period, 268, 1) << "oscillator " << slave + 1;  // 164.8 Hz
        }
    }
}

TEST(Oscillator, SubOscillatorAndSpreadAddTheirPartials) {
    auto level = [](const std::vector<float>& x, double hz) {
        return spectrum::amplitudeAt(x, 4000, 48100, hz, kRate);
    };
    // The sub is a square an octave down at -30 dB .. 0 dB: its fundamental is
    // 4 / pi of its level, its third harmonic a third of that, its even ones
    // nothing; it keeps its octave when the oscillator runs 16 times oversampled.
    for (float oversampling : {0.0f, 1.0f}) {
        for (float sub : {1.0f, 0.5f, 0.0f}) {
            auto host = threeSines();
            host->setParameter(prm::OverSampling, oversampling);
            host->setParameter(prm::Osc1SubOscVol, sub);
            renderFrames(*host, 1024, 512);
            auto x = play(*host, 81, 48100);
            const double subLevel = sub > 0.0f ? 0.99 * std::pow(10.0, (30.0 * sub - 30.0) / 20.0) : 0.0;
            SCOPED_TRACE(testing::Message() << "sub " << sub << ", oversampling " << oversampling);
            EXPECT_NEAR(level(x, 220.0), 4.0 / M_PI * subLevel, 0.01 * subLevel + 1e-4);
            EXPECT_NEAR(level(x, 660.0), 4.0 / (3.0 * M_PI) * subLevel, 0.01 * subLevel + 1e-4);
            EXPECT_LT(level(x, 110.0), 1e-3);
            EXPECT_NEAR(level(x, 440.0), 0.99, 0.01);
        }
    }
    // Spread adds copies 2^(+-spread / 30) octaves away; the three share the level.
    for (float spread : {1.0f, 0.5f}) {
        auto host = threeSines();
        host->setParameter(prm::Osc1Spread, spread);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 81, 48100);
        for (double ratio : {1.0, std::exp2(spread / 30.0), std::exp2(-spread / 30.0)})
            EXPECT_NEAR(level(x, 440.0 * ratio), 0.99 / 3.0, 0.01) << "spread " << spread << ", ratio " << ratio;
    }
}

TEST(Oscillator, PulseWidthSwingsTheSymmetryAtItsRate) {
    // A square's duty cycle follows the symmetry; PWM swings the symmetry by
    // +-0.49 x depth with a sine of 2^(10 speed) x 0.026855 Hz.
    for (auto [depth, speed] : {std::pair{1.0f, 0.6f}, {0.5f, 0.5f}}) {
        auto host = threeSines();
        host->setParameter(prm::Osc1Type, choice(2, 128));
        host->setParameter(prm::Osc1Pwm, depth);
        host->setParameter(prm::Osc1PwmSpeed, speed);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 45, 4 * 44100);  // 55 Hz
        // Each cycle starts low and steps up after the symmetry's share of it.
        // The DC blocker tilts the halves of a 55 Hz square, so find the steps;
        // a cycle in which the moving boundary passed the phase has extra ones.
        const double period = kRate / 55.0;
        std::vector<size_t> down, up;
        for (size_t i = 1; i < x.size(); ++i) {
            if (x[i] - x[i - 1] < -1.0f) down.push_back(i);
            if (x[i] - x[i - 1] > 1.0f) up.push_back(i);
        }
        std::vector<std::pair<double, double>> duty;  // (sample, duty) of whole cycles
        for (size_t k = 0; k + 1 < down.size(); ++k) {
            const auto rise = std::upper_bound(up.begin(), up.end(), down[k]);
            const double length = double(down[k + 1] - down[k]);
            if (rise != up.end() && *rise < down[k + 1] && std::fabs(length - period) < 2.0)
                duty.emplace_back(double(down[k]), double(*rise - down[k]) / length);
        }
        ASSERT_GT(duty.size(), 100u) << depth;
        const auto [lo, hi] = std::minmax_element(
            duty.begin(), duty.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        // Symmetry x picks warp row trunc(255.999 x), whose low share is 0.0038431373 row + 0.01.
        auto share = [](double x) { return std::floor(x * 255.999) * 0.0038431373 + 0.01; };
        EXPECT_NEAR(lo->second, share(0.5 - 0.49 * depth), 0.005) << depth;
        EXPECT_NEAR(hi->second, share(0.5 + 0.49 * depth), 0.005) << depth;
        // The swing's period, from its upward passes through the middle.
        std::vector<double> passes;
        for (size_t k = 1; k < duty.size(); ++k) {
            const auto [t0, d0] = duty[k - 1];
            const auto [t1, d1] = duty[k];
            if (d0 < 0.5 && d1 >= 0.5 && t1 - t0 < 1.5 * period)
                passes.push_back(t0 + (0.5 - d0) / (d1 - d0) * (t1 - t0));
        }
        ASSERT_GE(passes.size(), 2u) << depth;
        const double seconds = (passes.back() - passes.front()) / double(passes.size() - 1) / kRate;
        EXPECT_NEAR(seconds, 1.0 / (std::exp2(10.0 * speed) * 0.026855), 0.01 / (std::exp2(10.0 * speed) * 0.026855))
            << speed;
    }
}

TEST(Oscillator, AnalogDriftWandersEachOscillatorByItsDepth) {
    // Each oscillator drifts along a sine of about 18.6 s (its first cycle; the
    // length changes at random afterwards) by up to 0.00375 (n) octaves: 4.5
    // cents for oscillator 1, 13.5 for oscillator 3.
    for (int n : {0, 2}) {
        auto host = threeSines();
        host->setParameter(prm::AnalogDrift, 1.0f);
        for (int m = 0; m < 3; ++m) host->setParameter(kOn[m], m == n ? 1.0f : 0.0f);
        renderFrames(*host, 1024, 512);
        auto x = play(*host, 81, 5 * 44100);
        for (double t : {1.0, 2.5, 4.65}) {
            const size_t at = size_t(t * kRate);
            const double cents = analysis::cents(analysis::frequency(x, kRate, at - 2205, at + 2205), 440.0);
            const double expected = 1200.0 * 0.00375 * (n + 1) * std::sin(2.0 * M_PI * 0.0537109375 * t);
            EXPECT_NEAR(cents, expected, 0.3) << "oscillator " << n + 1 << " at " << t << " s";
        }
    }
}

TEST(Oscillator, FreeRunningOscillatorsCarryTheirPhaseIntoTheNextNote) {
    // A second voice on the same key half a period after the first: started at
    // phase 0 it cancels the first; free running, it takes up the first one's
    // phase (as kept at the last 16-sample boundary) and doubles it.
    for (bool freeRunning : {false, true}) {
        auto host = threeSines();
        host->setParameter(prm::Osc1FreeRunning, freeRunning ? 1.0f : 0.0f);
        renderFrames(*host, 1024, 512);
        auto x = renderFrames(*host, 20000, 512, {noteOn(0, 57), noteOn(200, 57)}).left;
        const double level = spectrum::amplitudeAt(x, 4000, 20000, 110.0, kRate);
        if (freeRunning)
            EXPECT_GT(level, 0.99 * 1.95);
        else
            EXPECT_LT(level, 0.99 * 0.05);
    }
}

TEST(Oscillator, OversamplingFilterIsAOnePoleAtTheOversampledRate) {
    // The filter is y = (x + y') / 2 on every sub-sample: at 1x it takes 1.7 dB
    // off a 3520 Hz tone, at 16x almost nothing.
    for (float oversampling : {0.0f, 1.0f}) {
        double level[2];
        for (int on = 0; on < 2; ++on) {
            auto host = threeSines();
            host->setParameter(prm::OverSampling, oversampling);
            host->setParameter(prm::OverSamplingFilter, on ? 1.0f : 0.0f);
            renderFrames(*host, 1024, 512);
            level[on] = spectrum::amplitudeAt(play(*host, 105, 20000), 4000, 20000, 3520.0, kRate);
        }
        const double w = 2.0 * M_PI * 3520.0 / kRate / (oversampling > 0.0f ? 16.0 : 1.0);
        const double expected = 0.5 / std::sqrt(1.25 - std::cos(w));
        EXPECT_NEAR(level[1] / level[0], expected, 0.002) << "oversampling " << oversampling;
    }
}
