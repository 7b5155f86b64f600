// Envelope timing and shapes, measured on the audio of a plain sine.
#include <gtest/gtest.h>

#include "AudioAnalysis.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {
constexpr double kRate = 44100.0;
constexpr size_t kWindow = 101;  // one period of the 440 Hz test note

// Milliseconds from the note until the RMS envelope first reaches `fraction` of `level`.
double timeToReach(const std::vector<double>& env, double level, double fraction, size_t from = 0) {
    for (size_t i = from; i < env.size(); ++i)
        if (env[i] >= fraction * level) return double(i * kWindow) * 1000.0 / kRate;
    return -1.0;
}

double timeToFall(const std::vector<double>& env, double level, double fraction, size_t from) {
    for (size_t i = from; i < env.size(); ++i)
        if (env[i] <= fraction * level) return double(i * kWindow - from * kWindow) * 1000.0 / kRate;
    return -1.0;
}
}  // namespace

TEST(Envelopes, AttackTimeFollowsItsParameter) {
    // A full attack lasts about 2^(14 p) ms: 128 ms at 0.5, 16 ms at 2/7.
    for (auto [p, ms] : {std::pair{0.5f, 128.0}, std::pair{2.0f / 7.0f, 16.0}}) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(91, p);
        auto r = renderFrames(*host, 30000, 512, {noteOn(0, 81)}).left;
        auto env = analysis::peakEnvelope(r, kWindow);
        const double full = env.back();
        // The envelope starts one to two control periods late and is linear.
        EXPECT_NEAR(timeToReach(env, full, 0.98), ms * 0.98, 2.5) << p;
        EXPECT_NEAR(timeToReach(env, full, 0.5), ms * 0.5, 2.5) << p;
    }
}

TEST(Envelopes, DecayAndReleaseTakeTheSameTimeForTheSameValue) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(92, 0.5f);  // decay 128 ms (for a full fall)
    host->setParameter(93, 0.0f);  // to sustain 0
    auto decay = analysis::peakEnvelope(renderFrames(*host, 20000, 512, {noteOn(0, 81)}).left, kWindow);
    auto host2 = loadPlugin();
    setPlainSine(*host2);
    host2->setParameter(95, 0.5f);  // release 128 ms
    auto release = analysis::peakEnvelope(
        renderFrames(*host2, 30000, 512, {noteOn(0, 81), noteOff(8000, 81)}).left, kWindow);
    const double peakDecay = *std::max_element(decay.begin(), decay.end());
    const double fullRelease = release[8000 / kWindow - 2];
    const size_t top = size_t(std::max_element(decay.begin(), decay.end()) - decay.begin());
    const double tDecay = timeToFall(decay, peakDecay, 0.5, top);
    const double tRelease = timeToFall(release, fullRelease, 0.5, 8000 / kWindow);
    EXPECT_NEAR(tDecay, 64.0, 5.0);
    EXPECT_NEAR(tRelease, 64.0 * 0.99, 4.0);  // sustain holds 0.99, not 1
}

TEST(Envelopes, ReleaseAtMaximumNeverEnds) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(95, 1.0f);
    auto r = renderFrames(*host, 44100 * 4, 1024, {noteOn(0, 81), noteOff(4000, 81)}).left;
    const double held = analysis::rms(r, 2000, 4000);
    EXPECT_GT(held, 0.1);
    EXPECT_NEAR(analysis::rms(r, r.size() - 10000, r.size()), held, held * 0.01);
}

TEST(Envelopes, FallingFadeEndsTheHeldNote) {
    auto plugin = makePlugin();
    setPlainSine(*plugin);
    plugin->setParameter(94, 0.2f);  // "down": about 40 ms for the full level
    processDirect(*plugin, 0, {noteOn(0, 60)});
    auto r = processDirect(*plugin, 44100);
    EXPECT_LT(analysis::rms(r.left, 30000, 44100), 1e-4);
    EXPECT_EQ(plugin->voiceEngine().voice(1).gate, 0);  // released by the fade

    // A rising fade climbs toward full level during sustain.
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(93, 0.3f);
    host->setParameter(94, 0.7f);  // "up": about 1.8 s for the full level
    auto up = renderFrames(*host, 44100 * 2, 1024, {noteOn(0, 81)}).left;
    EXPECT_GT(analysis::rms(up, up.size() - 4000, up.size()), 2.0 * analysis::rms(up, 8000, 12000));
}

TEST(Envelopes, CurveShapesBendTheAttack) {
    auto halfway = [](float shape) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(91, 0.5f);
        host->setParameter(788, shape);
        auto env = analysis::peakEnvelope(renderFrames(*host, 20000, 512, {noteOn(0, 81)}).left, kWindow);
        return timeToReach(env, env.back(), 0.5);
    };
    const double straight = halfway(0.505f);  // within 0.01 of 0.5: linear
    EXPECT_NEAR(straight, 64.0, 2.5);
    EXPECT_GT(halfway(0.2f), straight + 20.0);  // exponent above 1: slow start
    EXPECT_LT(halfway(0.8f), straight - 20.0);  // exponent below 1: fast start
}

TEST(Envelopes, SustainPedalHoldsReleasedKeys) {
    auto host = loadPlugin();
    setPlainSine(*host);
    auto r = renderFrames(*host, 40000, 512,
                          {controller(0, 64, 127), noteOn(100, 81), noteOff(5000, 81),
                           controller(20000, 64, 0)})
                 .left;
    const double held = analysis::rms(r, 3000, 5000);
    EXPECT_NEAR(analysis::rms(r, 15000, 19000), held, held * 0.02);
    EXPECT_LT(analysis::rms(r, 30000, 40000), 1e-4);
}
