// Envelope stages, curves, fades and speeds. The volume envelope is read off
// the output sample by sample; the free envelopes, which only modulation
// reads, off the voice.
#include <gtest/gtest.h>

#include "AudioAnalysis.h"
#include "TestSupport.h"
#include "TransportSupport.h"
#include "engine/ModIds.h"
#include "Values.h"
#include "params/ParamIds.h"

using namespace testing_support;
using namespace values;

namespace {

constexpr double kRate = 44100.0;

// Ticks a full stage (a change of 1.0) takes at speed 1: (2^(14 p) rate + 32) / 1000.
double stageTicks(double p) { return (std::exp2(14.0 * p) * kRate + 32.0) / 1000.0; }
// Ticks a fade changes the level by 1.0: 2^(18 - 18 |1 - 2 f|) milliseconds.
double fadeTicks(double f) { return std::exp2(18.0 - 18.0 * std::fabs(1.0 - 2.0 * f)) * kRate / 1000.0; }

using Settings = std::initializer_list<std::pair<int, float>>;

// The level at each sample of a full-level sine under the volume envelope
// set by `settings`: note 105 four cents sharp repeats every 25 samples, so
// the RMS of the period around a sample, times sqrt 2, is the envelope there.
std::vector<float> envelope(Settings settings, const std::vector<VstMidiEvent>& events, int frames) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(prm::Osc1Fine, 0.52f);
    for (auto [p, v] : settings) host->setParameter(p, v);
    const auto x = renderFrames(*host, frames, 512, events).left;
    constexpr int kHalf = 12;
    std::vector<float> level(x.size(), 0.0f);
    for (size_t i = kHalf; i + kHalf < x.size(); ++i)
        level[i] = float(std::sqrt(2.0) * analysis::rms(x, i - kHalf, i + kHalf + 1));
    return level;
}

// The first sample from `from` on at which the level has risen to (or fallen to) `level`.
double crossing(const std::vector<float>& env, double level, size_t from = 0) {
    const bool rising = env[from] < level;
    for (size_t i = from + 1; i < env.size(); ++i)
        if (rising ? env[i] >= level : env[i] <= level) {
            // Between samples the ramp is straight.
            return double(i - 1) + (level - env[i - 1]) / (double(env[i]) - env[i - 1]);
        }
    return -1.0;
}

// Ticks from one level to another (both crossed after `from`).
double between(const std::vector<float>& env, double a, double b, size_t from = 0) {
    const double ta = crossing(env, a, from);
    return crossing(env, b, size_t(ta)) - ta;
}

}  // namespace

TEST(Envelopes, StageAndFadeTimesFollowTheirParameters) {
    // Straight segments: from a quarter to three quarters of the way takes half
    // the stage (the level read off a 25-sample window wobbles by a few ticks).
    for (float p : {0.5f, 2.0f / 7.0f}) {
        auto attack = envelope({{prm::VolumeEnvelopeAttack, p}}, {noteOn(0, 105)}, 12000);
        EXPECT_NEAR(between(attack, 0.25, 0.75), 0.5 * stageTicks(p), 6.0) << "attack " << p;
    }
    auto decay = envelope({{prm::VolumeEnvelopeDecay, 0.5f}, {prm::VolumeEnvelopeSustain, 0.0f}},
                          {noteOn(0, 105)}, 12000);
    EXPECT_NEAR(between(decay, 0.75, 0.25, 200), 0.5 * stageTicks(0.5), 6.0) << "decay";
    for (float p : {0.5f, 0.3f}) {
        auto release = envelope({{prm::VolumeEnvelopeRelease, p}}, {noteOn(0, 105), noteOff(2000, 105)}, 12000);
        // The sustain holds 0.99.
        EXPECT_NEAR(release[1900], 0.99, 0.002);
        EXPECT_NEAR(between(release, 0.75, 0.25, 2000), 0.5 * stageTicks(p), 6.0) << "release " << p;
    }

    // A falling fade moves down from the sustain and ends the note at the bottom.
    auto falling = envelope({{prm::VolumeEnvelopeFade, 0.2f}}, {noteOn(0, 105)}, 14000);
    EXPECT_NEAR(between(falling, 0.75, 0.25, 200), 0.5 * fadeTicks(0.2), 6.0);
    const double quarter = crossing(falling, 0.25, 200);
    const double end = quarter + 0.25 * fadeTicks(0.2);
    EXPECT_NEAR(falling[size_t(end - 100)], 100.0 / fadeTicks(0.2), 0.002);
    EXPECT_LT(analysis::peak(falling, size_t(end + 150)), 1e-3);
    EXPECT_LT(analysis::peak(falling, size_t(end + 3000)), 1e-5);  // ended, not held at the bottom
    // A rising fade climbs from the sustain towards full level.
    auto rising = envelope({{prm::VolumeEnvelopeFade, 0.7f}, {prm::VolumeEnvelopeSustain, 0.3f}},
                           {noteOn(0, 105)}, 40000);
    EXPECT_NEAR(rising[300], 0.297 + 250.0 / fadeTicks(0.7), 0.002);
    EXPECT_NEAR(between(rising, 0.5, 0.75, 1000), 0.25 * fadeTicks(0.7), 20.0);
}

TEST(Envelopes, CurveShapesBendEachStage) {
    // A shape s bends a stage by the exponent e = 2^(4 - 8 s) (1 at 0.5):
    // the attack plays l^e, the decay s + (1 - s) ((l - s) / (1 - s))^e above
    // the sustain s, the release r (l / r)^e from the level r it starts at,
    // while the straight value l moves as in a straight stage. So the time
    // between two levels tells the exponent.
    const double T = stageTicks(0.5);
    auto exponent = [](double shape) { return std::exp2(4.0 - 8.0 * shape); };
    for (float shape : {0.2f, 0.505f, 0.8f}) {
        auto attack = envelope({{prm::VolumeEnvelopeAttack, 0.5f}, {prm::AttackShape, shape}},
                               {noteOn(0, 105)}, 12000);
        const double e = shape == 0.505f ? 1.0 : exponent(shape);  // within 0.01 of 0.5: straight
        const double expected = T * (std::pow(0.5, 1.0 / e) - std::pow(0.1, 1.0 / e));
        EXPECT_NEAR(between(attack, 0.1, 0.5), expected, 20.0) << "attack shape " << shape;
    }
    const double s = 0.495;  // sustain 0.5
    for (float shape : {0.25f, 0.75f}) {
        const double e = exponent(shape);
        auto straight = [&](double y, double from) { return from * std::pow(y / from, 1.0 / e); };
        auto decay = envelope({{prm::VolumeEnvelopeDecay, 0.5f}, {prm::VolumeEnvelopeSustain, 0.5f},
                               {prm::DecayReleaseShape, shape}},
                              {noteOn(0, 105)}, 12000);
        auto decayLinear = [&](double y) { return s + (1.0 - s) * std::pow((y - s) / (1.0 - s), 1.0 / e); };
        EXPECT_NEAR(between(decay, 0.9, 0.6, 100), T * (decayLinear(0.9) - decayLinear(0.6)), 20.0)
            << "decay shape " << shape;
        auto release = envelope({{prm::VolumeEnvelopeRelease, 0.5f}, {prm::VolumeEnvelopeSustain, 0.5f},
                                 {prm::DecayReleaseShape, shape}},
                                {noteOn(0, 105), noteOff(4000, 105)}, 12000);
        EXPECT_NEAR(release[3900], s, 0.004);
        EXPECT_NEAR(between(release, 0.4, 0.1, 4000), T * (straight(0.4, s) - straight(0.1, s)), 20.0)
            << "release shape " << shape;
    }
}

TEST(Envelopes, FreeEnvelopeSpeedsFollowKeyAndVelocity) {
    // Free envelope k runs at 2^((2 key - 1) pitch) 2^((2 vel - 1) (1 - shaped velocity)),
    // pitch in octaves from note 57; the volume and filter envelopes at speed 1.
    struct Case {
        int note, velocity;
        float key1, vel1, key2, vel2, shape;
    };
    const Case cases[] = {
        {81, 127, 1.0f, 0.5f, 0.0f, 0.5f, 0.5f},
        {57, 64, 0.5f, 1.0f, 0.5f, 0.0f, 0.5f},
        {45, 32, 0.75f, 1.0f, 0.25f, 0.75f, 0.0f},
    };
    const double T = stageTicks(0.5);
    for (const Case& c : cases) {
        auto plugin = makePlugin();
        setPlainSine(*plugin);
        for (int p : {prm::VolumeEnvelopeAttack, prm::FilterEnvelopeAttack, prm::FreeEnvelope1Attack,
                      prm::FreeEnvelope2Attack})
            plugin->setParameter(p, 0.5f);
        plugin->setParameter(prm::KeyToFreeEnvelope1Speed, c.key1);
        plugin->setParameter(prm::VelToFreeEnvelope1Speed, c.vel1);
        plugin->setParameter(prm::KeyToFreeEnvelope2Speed, c.key2);
        plugin->setParameter(prm::VelToFreeEnvelope2Speed, c.vel2);
        plugin->setParameter(prm::VelocityShape, c.shape);
        processDirect(*plugin, 16, {noteOn(0, c.note, c.velocity)});
        int voice = 0;
        while (plugin->voiceEngine().voice(voice).note != c.note) ++voice;
        // Ticks from a quarter to three quarters of each envelope's attack.
        double quarter[4] = {-1, -1, -1, -1}, rise[4] = {-1, -1, -1, -1};
        for (int tick = 16; tick < 3 * int(T); tick += 16) {
            processDirect(*plugin, 16);
            for (int k = 0; k < 4; ++k) {
                const float out = plugin->voiceEngine().voice(voice).env[k].output;
                if (quarter[k] < 0 && out >= 0.25f) quarter[k] = tick;
                if (rise[k] < 0 && out >= 0.75f) rise[k] = tick - quarter[k];
            }
        }
        const double pitch = (c.note - 57) / 12.0;
        const double shaped = std::pow(c.velocity / 127.0, std::exp2(3.0 - 6.0 * c.shape));
        const double speed[4] = {1.0, 1.0,
                                 std::exp2((2 * c.key1 - 1) * pitch + (2 * c.vel1 - 1) * (1 - shaped)),
                                 std::exp2((2 * c.key2 - 1) * pitch + (2 * c.vel2 - 1) * (1 - shaped))};
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(rise[k], 0.5 * T / speed[k], 32.0) << "envelope " << k << ", note " << c.note;
    }
}

TEST(Envelopes, ReleaseAtMaximumNeverEnds) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(prm::VolumeEnvelopeRelease, 1.0f);
    auto r = renderFrames(*host, 44100 * 4, 1024, {noteOn(0, 81), noteOff(4000, 81)}).left;
    const double held = analysis::rms(r, 2000, 4000);
    EXPECT_GT(held, 0.1);
    EXPECT_NEAR(analysis::rms(r, r.size() - 10000, r.size()), held, held * 0.01);
}

TEST(Envelopes, SustainPedalHoldsReleasedKeys) {
    // The pedal is down from 64 on; lifting it releases the keys it held.
    auto r = envelope({}, {controller(0, 64, 64), noteOn(100, 105), noteOff(5000, 105), controller(20000, 64, 63)},
                      24000);
    EXPECT_NEAR(analysis::peak(r, 15000, 19000), 0.99, 0.002);
    EXPECT_LT(analysis::peak(r, 23000, 24000), 1e-4);

    // A key released under the pedal during a curved attack: the attack goes on
    // as if the key were held (it restarted from almost nothing, and the voice
    // ended), and the lifted pedal releases from the level last heard, along
    // the release curve, to the end (the formula overflowed).
    for (float shape : {0.25f, 0.375f}) {
        r = envelope({{prm::VolumeEnvelopeAttack, 0.55f}, {prm::AttackShape, shape}, {prm::DecayReleaseShape, 0.1f},
                      {prm::VolumeEnvelopeRelease, 0.5f}},
                     {controller(0, 64, 64), noteOn(100, 105), noteOff(3000, 105), controller(8000, 64, 0)}, 40000);
        const double lifted = analysis::peak(r, 7500, 8000);
        EXPECT_GT(lifted, 0.3) << "the attack went on under the pedal, shape " << shape;
        EXPECT_GT(lifted, analysis::peak(r, 2900, 3000) * 1.5) << shape;
        for (size_t i = 8000; i < r.size(); ++i) ASSERT_LE(r[i], lifted * 1.01) << "at sample " << i << ", shape " << shape;
        EXPECT_LT(analysis::peak(r, 36000, 40000), 1e-5) << shape;
    }

    // The shared free envelope on the master "Volume" has no trigger: released
    // with the last key during its curved attack, it too falls from its level.
    r = envelope({{prm::FreeEnvelope1Attack, 0.55f}, {prm::AttackShape, 0.375f}, {prm::DecayReleaseShape, 0.1f},
                  {prm::FreeEnvelope1Release, 0.5f}, {prm::FreeEnvelope1Sustain, 1.0f},
                  {prm::FreeEnvelope1Dest, modChoice(moddst::Volume)}, {prm::FreeEnvelope1Amount, 1.0f},
                  {prm::VolumeEnvelopeRelease, 1.0f}},
                 {noteOn(100, 105), noteOff(3000, 105)}, 40000);
    const double released = analysis::peak(r, 2900, 3000);
    EXPECT_GT(released, 0.01);
    for (size_t i = 3000; i < r.size(); ++i) ASSERT_LE(r[i], released * 1.05) << "at sample " << i;
    EXPECT_LT(analysis::peak(r, 36000, 40000), 1e-4);
}
