// Voice filters measured through the plug-in: the magnitude response of every
// main and secondary type against its ideal shape, the comb's delay and
// decay, the coefficient cache's tolerance, and full resonance.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "TestSupport.h"
#include "Values.h"
#include "params/ParamIds.h"

using namespace testing_support;
using namespace values;
using cplx = std::complex<double>;

namespace {

constexpr double kRate = 44100.0;


// A sine at -40 dB (small enough that the saturating stages stay linear), no
// level normalisation, no drive, and a cutoff that follows nothing but its knob.
void setQuietSineIntoFilter(vsthost::PluginHost& host) {
    setPlainSine(host);
    host.setParameter(prm::Osc1Volume, 1.0f / 3.0f);
    host.setParameter(prm::FilterSmoothing, 0.0f);
    host.setParameter(prm::FilterResonance, 0.0f);
    host.setParameter(prm::FilterKeytracking, 0.5f);
    host.setParameter(prm::FilterEnvelopeAmt, 0.5f);
    host.setParameter(prm::VelToFilterFrequencyAmt, 0.5f);
    host.setParameter(prm::ModToFilterFrequencyAmt, 0.5f);
}

// RMS of a held note over whole periods, after the cutoff smoothing has settled.
double noteLevel(vsthost::PluginHost& host, int note) {
    constexpr int kSettle = 8192, kWindow = 8192;
    const double periods = std::floor(kWindow * noteHz(note) / kRate);
    const int window = periods >= 1 ? int(periods * kRate / noteHz(note)) : kWindow;
    auto r = renderFrames(host, kSettle + window, 512,
                          {noteOn(0, note), noteOff(kSettle + window - 1, note)});
    renderFrames(host, 1024, 512);
    return analysis::rms(r.left, kSettle, size_t(kSettle + window));
}

// Ideal responses, s = j f / cutoff. The state-variable stages have Q = 1 and
// carry a +3 dB output gain; the 6 dB sections corner at cutoff / pi; the
// 24 dB types put an over-damped biquad (damping 2 sqrt 2) before the
// state-variable stage; the ladder's stages are bilinear one-poles, its
// band-pass is 6 s3 (1 - s), its notch the input less that band-pass (a
// shallow dip below the corner and a lift above it rather than a true notch).
cplx svfDen(cplx s) { return s * s + s + 1.0; }
cplx onePole(cplx s) { return 1.0 / (1.0 + s * M_PI); }
cplx biquadDen(cplx s) { return s * s + 2.0 * M_SQRT2 * s + 1.0; }

cplx ideal(int type, double f, double cutoff) {
    const cplx s(0.0, f / cutoff);
    switch (type) {
        case 0: return 1.0;
        case 1: return onePole(s);
        case 2: return 1.0 - onePole(s);
        case 3: return M_SQRT2 / svfDen(s);
        case 4: return M_SQRT2 * s * s / svfDen(s);
        case 5: return 2.0 * s / svfDen(s);
        case 6: return M_SQRT2 * (s * s + 1.0) / svfDen(s);
        case 7: return onePole(s) * M_SQRT2 / svfDen(s);
        case 8: return (1.0 - onePole(s)) * M_SQRT2 * s * s / svfDen(s);
        case 9: return M_SQRT2 / (biquadDen(s) * svfDen(s));
        case 10: return M_SQRT2 * s * s * s * s / (biquadDen(s) * svfDen(s));
        case 11:
        case 12: {
            // Stage corner: the bilinear one-pole with gain h = 4g(1 - g), g = cutoff / rate.
            const double g = cutoff / kRate;
            const double h = 4.0 * g * (1.0 - g);
            const double stageHz = kRate / M_PI * std::atan(h / (1.0 - h));
            const cplx stage = 1.0 / (1.0 + cplx(0.0, std::tan(M_PI * f / kRate) /
                                                        std::tan(M_PI * stageHz / kRate)));
            const cplx band = 6.0 * stage * stage * stage * (1.0 - stage);
            return type == 11 ? band : 1.0 - band;
        }
        default: return 1.0;  // comb without feedback
    }
}

// Compares measured levels (relative to the bypassed tone) with the ideal
// shape at octave steps around each cutoff. Deep stop-band points (and the
// notches) sit on the wave table's own distortion floor: they need only reach it.
void expectResponse(vsthost::PluginHost& host, int typeParam, int typeCount, int shapeOf[],
                    int types) {
    const int cutoffNotes[] = {69, 93, 105};  // 220, 880, 1760 Hz
    std::map<int, double> reference;
    host.setParameter(typeParam, choice(0, typeCount));
    for (int cutoffNote : cutoffNotes)
        for (int k = -3; k <= 3; ++k)
            if (!reference.count(cutoffNote + 12 * k))
                reference[cutoffNote + 12 * k] = noteLevel(host, cutoffNote + 12 * k);
    for (int t = 0; t < types; ++t) {
        host.setParameter(typeParam, choice(t, typeCount));
        for (int cutoffNote : cutoffNotes) {
            const double cutoff = noteHz(cutoffNote);
            host.setParameter(prm::FilterFrequency, cutoffFor(cutoff));
            host.setParameter(prm::Filter2Frequency, cutoffFor(cutoff));
            for (int k = -3; k <= 3; ++k) {
                const int note = cutoffNote + 12 * k;
                const double f = noteHz(note);
                if (note > 127 || f < 20.0) continue;
                // Bilinear warping grows towards the top; allow for it there.
                const double warp = f > 4000.0 ? 1.5 : 0.0;
                const double expected = spectrum::decibels(std::abs(ideal(shapeOf[t], f, cutoff)));
                const double measured = spectrum::decibels(noteLevel(host, note) / reference[note]);
                if (expected < -40.0) {
                    // The table sine's own distortion floor lies near -60 dB; a notch's
                    // centre near -50 dB.
                    const double bound = std::isinf(expected) ? -45.0 : std::max(expected, -58.0) + 3.0;
                    EXPECT_LT(measured, bound) << "type " << t << ", cutoff " << cutoff
                                               << " Hz, tone " << f << " Hz";
                    continue;
                }
                const double tolerance = (expected > -12.0 ? 1.5 : 3.0) + warp;
                EXPECT_NEAR(measured, expected, tolerance)
                    << "type " << t << ", cutoff " << cutoff << " Hz, tone " << f << " Hz";
            }
        }
    }
}

}  // namespace

TEST(FilterResponse, MainTypesFollowTheirSlopesAndCorners) {
    auto host = loadPlugin();
    setQuietSineIntoFilter(*host);
    int shapes[14] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    expectResponse(*host, prm::FilterType, 14, shapes, 14);
}

TEST(FilterResponse, SecondaryTypesFollowTheirSlopesAndCorners) {
    auto host = loadPlugin();
    setQuietSineIntoFilter(*host);
    int shapes[7] = {0, 1, 2, 3, 4, 9, 10};
    expectResponse(*host, prm::Filter2Type, 7, shapes, 7);
}

TEST(FilterResponse, CombDelayIsTheCutoffPeriodAndFullResonanceStillDecays) {
    // A retriggered comb voice rings its noise buffer like a plucked string;
    // a quiet sine keeps the filter's level gate open.
    for (double rate : {44100.0, 96000.0}) {
        auto host = loadPlugin(float(rate));
        setQuietSineIntoFilter(*host);
        host->setParameter(prm::Osc1Volume, 0.01f);
        host->setParameter(prm::FilterType, choice(13, 14));
        host->setParameter(prm::FilterFrequency, cutoffFor(100.0));
        host->setParameter(prm::FilterResonance, 1.0f);
        renderFrames(*host, 20000, 512);
        const int expectedPeriod = int(rate / 100.0);  // 441 and 960 samples
        const int frames = expectedPeriod * 440;
        auto r = renderFrames(*host, frames, 512, {noteOn(0, 57)});
        const size_t start = size_t(expectedPeriod) * 10;
        EXPECT_EQ(spectrum::period(r.left, start, start + size_t(expectedPeriod) * 20,
                                   expectedPeriod * 2 / 3, expectedPeriod * 4 / 3),
                  expectedPeriod)
            << rate;
        // Resonance 1.0 acts as 0.9995: feedback 0.9995^(1/4) per period, so
        // 400 periods later the ring has lost about 5 %, not nothing.
        const size_t late = start + size_t(expectedPeriod) * 400;
        const double decay = analysis::rms(r.left, late, late + size_t(expectedPeriod) * 10) /
                             analysis::rms(r.left, start, start + size_t(expectedPeriod) * 10);
        EXPECT_NEAR(decay, std::pow(0.9995, 100.0), 0.01) << rate;
    }
}

TEST(FilterResponse, FullResonanceStaysFiniteAndBoundedInEveryType) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(prm::Osc1Type, choice(1, 128));  // saw at full level
    host->setParameter(prm::FilterResonance, 1.0f);
    host->setParameter(prm::FilterDistortion, 1.0f);
    renderFrames(*host, 20000, 512);
    // Loud, but far from the +-100 limit a runaway filter would sit at, and never silent.
    for (int type = 0; type < 14; ++type) {
        host->setParameter(prm::FilterType, choice(type, 14));
        for (float cutoff : {0.0f, 0.35f, 0.7f, 1.0f}) {
            host->setParameter(prm::FilterFrequency, cutoff);
            auto r = renderFrames(*host, 12000, 512, {noteOn(0, 45), noteOff(11000, 45)});
            for (float x : r.left) ASSERT_TRUE(std::isfinite(x)) << "type " << type << ", cutoff " << cutoff;
            // The comb at its shortest delay rings hardest.
            EXPECT_LT(analysis::peak(r.left), type == 13 && cutoff == 1.0f ? 80.0 : 12.0)
                << "type " << type << ", cutoff " << cutoff;
            EXPECT_GT(analysis::rms(r.left, 2000, 11000), 0.03) << "type " << type << ", cutoff " << cutoff;
        }
    }
}

TEST(FilterResponse, CutoffChangesWithinTheCacheToleranceKeepTheCoefficients) {
    // The cutoff creeps up on its target from below and is then nudged down:
    // by 0.005 Hz the filter must sound exactly as before, by 0.05 Hz not.
    constexpr double kCutoff = 320.0;
    const double hertzPerStep = kCutoff * 10.0 * std::log(2.0);  // d(cutoff Hz) / d(knob)
    auto render = [&](double shiftHz) {
        auto host = loadPlugin();
        setQuietSineIntoFilter(*host);
        host->setParameter(prm::Osc1Type, choice(1, 128));
        host->setParameter(prm::FilterType, choice(3, 14));
        host->setParameter(prm::FilterResonance, 0.8f);
        host->setParameter(prm::FilterFrequency, cutoffFor(kCutoff));
        renderFrames(*host, 20000, 512);
        auto first = renderFrames(*host, 30000, 512, {noteOn(0, 45)});
        host->setParameter(prm::FilterFrequency, float(cutoffFor(kCutoff) + shiftHz / hertzPerStep));
        return renderFrames(*host, 20000, 512).left;
    };
    const auto steady = render(0.0);
    EXPECT_EQ(render(-0.005), steady);
    EXPECT_NE(render(-0.05), steady);
}
