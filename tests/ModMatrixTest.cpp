// The modulation matrix heard through the plug-in: the destination classes
// (VCA, whole-cent pitch, speed, additive), the controller row of the level
// destinations, the shared row (master volume, glide, effect offsets),
// destinations beyond the table, and a routing that is taken away.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "AudioAnalysis.h"
#include "TransportSupport.h"
#include "engine/ModIds.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

constexpr double kRate = 44100.0;
constexpr int kSettle = 20000;  // the master gain's fade after the test sound is set

// Slot k (0..3) of "Mod 1".."Mod 4".
void route(vsthost::PluginHost& host, int slot, int source, int destination, float amount,
           int controlSource = modsrc::None) {
    host.setParameter(prm::Mod1Source + slot, modChoice(source));
    host.setParameter(prm::Mod1Destination + slot, modChoice(destination));
    host.setParameter(prm::Mod1Amt + slot, (amount + 1.0f) / 2.0f);
    host.setParameter(prm::Mod1ModSource + slot, modChoice(controlSource));
}

// The plain test sound, without the default sound's vibrato on the mod wheel.
std::unique_ptr<vsthost::PluginHost> plainSine() {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(prm::PitchLfoAmountControl, 0.0f);
    renderFrames(*host, kSettle, 512);
    return host;
}

double level(vsthost::PluginHost& host, std::vector<VstMidiEvent> events, int frames = 20000) {
    auto r = renderFrames(host, frames, 512, events).left;
    return analysis::rms(r, size_t(frames) / 2, size_t(frames));
}

double pitchCents(const std::vector<float>& x, size_t begin, size_t end, double reference) {
    return analysis::cents(analysis::frequency(x, kRate, begin, end), reference);
}

}  // namespace

TEST(ModMatrix, VelocityOnVol1ActsAsAVca) {
    auto measure = [](float amount, int velocity) {
        auto host = plainSine();
        route(*host, 0, modsrc::Velocity, moddst::osc(0, moddst::OscVol), amount);
        return level(*host, {noteOn(0, 81, velocity)});
    };
    const double full = measure(0.0f, 100);  // amount 0: no modulation
    ASSERT_GT(full, 0.1);
    // "Velocity Shape" 0.5: the shaped velocity is velocity / 127.
    for (int velocity : {127, 64, 20}) {
        const double v = velocity / 127.0;
        EXPECT_NEAR(measure(1.0f, velocity) / full, v, 0.002) << velocity;
        EXPECT_NEAR(measure(-1.0f, velocity) / full, 1.0 - v, 0.002) << velocity;
        EXPECT_NEAR(measure(0.5f, velocity) / full, 0.5 + 0.5 * v, 0.002) << velocity;
        EXPECT_NEAR(measure(-0.5f, velocity) / full, 1.0 - 0.5 * v, 0.002) << velocity;
    }
    // A general slot without a source leaves the level alone, whether its
    // source counts as unipolar ("Mod 1") or not ("Mod 2").
    for (int slot : {0, 1}) {
        auto host = plainSine();
        route(*host, slot, modsrc::None, moddst::osc(0, moddst::OscVol), 0.5f);
        EXPECT_NEAR(level(*host, {noteOn(0, 81, 100)}) / full, 1.0, 0.002) << slot;
    }
}

TEST(ModMatrix, ModWheelOnSemi2MovesWholeCentsUpToThreeOctaves) {
    auto cents = [](int wheel) {
        auto host = plainSine();
        // Oscillator 2 alone, as a sine.
        host->setParameter(prm::Osc1On, 0.0f);
        host->setParameter(prm::Osc2On, 1.0f);
        host->setParameter(prm::Osc2Type, 0.0f);
        host->setParameter(prm::Osc2Volume, 1.0f);
        host->setParameter(prm::Osc2Output, 1.0f);
        host->setParameter(prm::Osc2Spread, 0.0f);
        host->setParameter(prm::Osc2Pwm, 0.0f);
        host->setParameter(prm::Osc2SubOscVol, 0.0f);
        host->setParameter(prm::Osc2FmMode, 0.0f);
        route(*host, 1, modsrc::ModWhl, moddst::osc(1, moddst::OscSemi), 1.0f);
        auto r = renderFrames(*host, 80000, 512, {controller(0, 1, wheel), noteOn(0, 57)}).left;
        return pitchCents(r, 40000, 80000, 110.0);
    };
    EXPECT_NEAR(cents(0), 0.0, 0.05);
    // The smoothed wheel settles at 64/127: 1814.17 cents, truncated to whole cents.
    EXPECT_NEAR(cents(64), 1814.0, 0.05);
    EXPECT_NEAR(cents(127), 3600.0, 1.05);
}

TEST(ModMatrix, SpeedAndAdditiveDestinations) {
    // "Offset" (a constant 1) on "Amp Spd" at +0.5 doubles the envelope speed:
    // a 1 s attack takes half a second.
    auto attackEnd = [](float amount) {
        auto host = plainSine();
        host->setParameter(prm::VolumeEnvelopeAttack, std::log2(1000.0f) / 14.0f);  // 1 s
        route(*host, 2, modsrc::Offset, moddst::AmpSpd, amount);
        auto r = renderFrames(*host, 120000, 512, {noteOn(0, 81)}).left;
        const auto env = analysis::peakEnvelope(r, 441);
        for (size_t i = 0; i < env.size(); ++i)
            if (env[i] > 0.99 * env.back()) return double(i) * 441.0;
        return 1e9;
    };
    EXPECT_NEAR(attackEnd(0.0f) / attackEnd(0.5f), 2.0, 0.05);
    EXPECT_NEAR(attackEnd(-0.5f) / attackEnd(0.0f), 2.0, 0.05);

    // Free envelope 1 (sustain 0.5, so 0.495) on "Main Pitch": whole cents of 3600 x 0.495.
    auto host = plainSine();
    host->setParameter(prm::FreeEnvelope1Attack, 0.0f);
    host->setParameter(prm::FreeEnvelope1Decay, 0.0f);
    host->setParameter(prm::FreeEnvelope1Sustain, 0.5f);
    host->setParameter(prm::FreeEnvelope1Dest, modChoice(moddst::MainPitch));
    host->setParameter(prm::FreeEnvelope1Amount, 1.0f);
    auto r = renderFrames(*host, 40000, 512, {noteOn(0, 57)}).left;
    EXPECT_NEAR(pitchCents(r, 10000, 40000, 110.0), std::trunc(0.99f * 0.5f * 3600.0f), 0.05);
}

TEST(ModMatrix, AmountControlsAndAmountDestinations) {
    // "Offset" on "Semi 1" at amount 0, its amount controlled by the wheel at
    // +100 %: the amount becomes the wheel's value, and the control source adds
    // to the signal as well.
    // At -50 % the amount becomes minus half the wheel.
    for (float control : {1.0f, 0.25f}) {
        auto host = plainSine();
        route(*host, 0, modsrc::Offset, moddst::osc(0, moddst::OscSemi), 0.0f, modsrc::ModWhl);
        host->setParameter(prm::Mod1AmountControl, control);
        auto r = renderFrames(*host, 80000, 512, {controller(0, 1, 64), noteOn(0, 57)}).left;
        const double w = 64.0 / 127.0;
        EXPECT_NEAR(pitchCents(r, 40000, 80000, 110.0), std::trunc((1.0 + w) * 3600.0) * w * (2.0 * control - 1.0), 1.0)
            << control;
    }
    // Free envelope 1 (sustain 0.495) on "Main Pitch" at amount 0, and "Offset"
    // on "Env 1 Amt" at +0.5: the envelope's amount becomes 0.5.
    auto host = plainSine();
    host->setParameter(prm::FreeEnvelope1Attack, 0.0f);
    host->setParameter(prm::FreeEnvelope1Decay, 0.0f);
    host->setParameter(prm::FreeEnvelope1Sustain, 0.5f);
    host->setParameter(prm::FreeEnvelope1Dest, modChoice(moddst::MainPitch));
    host->setParameter(prm::FreeEnvelope1Amount, 0.5f);
    route(*host, 0, modsrc::Offset, moddst::Env1Amt, 0.5f);
    auto r = renderFrames(*host, 40000, 512, {noteOn(0, 57)}).left;
    EXPECT_NEAR(pitchCents(r, 10000, 40000, 110.0), std::trunc(0.99f * 0.5f * 3600.0f) * 0.5, 0.05);
}

TEST(ModMatrix, ControllerOnVolumeMovesTheMasterThroughTheControllerRow) {
    // "Main Volume" at -30 dB; CC16 adds its value to it before the dB taper.
    auto measure = [](int cc, float amount) {
        auto host = plainSine();
        host->setParameter(prm::MainVolume, 0.5f);
        route(*host, 0, modsrc::CC16, moddst::Volume, amount);
        renderFrames(*host, kSettle, 512, {controller(0, 16, cc)});
        return level(*host, {noteOn(0, 81)}, 40000);
    };
    auto taper = [](double v) { return std::pow(10.0, (60.0 * v - 60.0) / 20.0); };
    const double unity = measure(0, 0.0f) / taper(0.5);
    EXPECT_NEAR(measure(127, 1.0f) / unity, 1.0, 0.003);  // up to 0 dB, not beyond
    EXPECT_NEAR(measure(32, 1.0f) / unity, taper(0.5 + 32.0 / 127.0), 0.003);
    EXPECT_NEAR(measure(64, -0.5f) / unity, taper(0.5 - 0.5 * 64.0 / 127.0), 0.003);
    EXPECT_LT(measure(127, -1.0f) / unity, 1e-4);  // below 0.001 the master is shut
}

TEST(ModMatrix, VelocityOnVolumeScalesTheMaster) {
    // The shared "Velocity" follows the note that starts a phrase; at -1 the
    // loudest note is silent, never inverted or boosted.
    auto measure = [](float amount, int velocity) {
        auto host = plainSine();
        route(*host, 0, modsrc::Velocity, moddst::Volume, amount);
        return level(*host, {noteOn(0, 81, velocity)}, 40000);
    };
    const double unity = measure(0.0f, 100);
    EXPECT_NEAR(measure(1.0f, 64) / unity, 64.0 / 127.0, 0.003);
    EXPECT_NEAR(measure(-1.0f, 64) / unity, 1.0 - 64.0 / 127.0, 0.003);
    EXPECT_LT(measure(-1.0f, 127) / unity, 1e-3);
}

TEST(ModMatrix, SharedFreeLfoGatesTheMasterVolume) {
    // Free LFO 1 in "Free" mode, a square, on "Volume" at +0.5: the master
    // factor 1 - 0.5 + 0.5 (2 raw - 1) is 0 in one half of the cycle and 1 in the other.
    auto host = plainSine();
    host->setParameter(prm::FreeLfo1Mode, choice(1, 3));
    host->setParameter(prm::FreeLfo1Wave, choice(4, 6));
    host->setParameter(prm::FreeLfo1Speed, 0.5f);  // 2.33 s a cycle
    host->setParameter(prm::FreeLfo1Dest, modChoice(moddst::Volume));
    host->setParameter(prm::FreeLfo1ModAmt, 0.75f);
    auto r = renderFrames(*host, 110000, 512, {noteOn(0, 81)}).left;
    double loud = 0.0, quiet = 1.0;
    for (size_t at = 0; at + 2205 <= r.size(); at += 2205) {
        const double level = analysis::rms(r, at, at + 2205);
        loud = std::max(loud, level);
        quiet = std::min(quiet, level);
    }
    EXPECT_GT(loud, 0.6);
    EXPECT_LT(quiet, 1e-3);
}

TEST(ModMatrix, PortamentoDestinationLengthensTheGlide) {
    // "Const Time": a glide takes 16 x 2^(12 x (Port Speed + Port.)) ticks,
    // linear in octaves; time it to half a semitone below its target.
    auto glideTime = [](float amount) {
        auto host = plainSine();
        host->setParameter(prm::PortMode, choice(2, 5));
        host->setParameter(prm::PortSpeed, 0.6f);
        route(*host, 0, modsrc::Offset, moddst::Port, amount);
        auto r = renderFrames(*host, 100000, 512, {noteOn(0, 69), noteOff(20000, 69), noteOn(20000, 81)}).left;
        const double nearTarget = kRate / (440.0 * std::exp2(-0.5 / 12.0));
        double previous = -1.0;
        for (size_t i = 20001; i < r.size(); ++i) {
            if (!(r[i - 1] < 0.0f && r[i] >= 0.0f)) continue;
            const double t = double(i - 1) + double(-r[i - 1]) / double(r[i] - r[i - 1]);
            if (previous >= 0.0 && t - previous < nearTarget) return t - 20000.0;
            previous = t;
        }
        return 1e9;
    };
    const double plain = glideTime(0.0f);
    EXPECT_NEAR(plain, 16.0 * std::exp2(12.0 * 0.6) * 11.5 / 12.0, 200.0);  // and a tone period
    EXPECT_NEAR(glideTime(1.0f / 12.0f) / plain, 2.0, 0.08);  // one more doubling
}

TEST(ModMatrix, DestinationsBeyondTheTableActAsNone) {
    auto render = [](float destination) {
        auto host = plainSine();
        host->setParameter(prm::Mod1Source, modChoice(modsrc::Offset));
        host->setParameter(prm::Mod1Amt, 1.0f);
        host->setParameter(prm::Mod1Destination, destination);
        host->setParameter(prm::FreeEnvelope1Dest, destination);
        host->setParameter(prm::FreeLfo1Dest, destination);
        host->setParameter(prm::FreeLfo1Speed, 0.8f);
        return renderFrames(*host, 20000, 512, {noteOn(0, 69)}).left;
    };
    const auto none = render(0.0f);
    for (int d : {77, 78, 90, 99}) EXPECT_EQ(render(modChoice(d)), none) << d;
    EXPECT_EQ(render(1.0f), none);
    EXPECT_NE(render(modChoice(moddst::MainPitch)), none);
}

TEST(ModMatrix, RemovedRoutingLeavesNothingBehind) {
    auto host = plainSine();
    route(*host, 1, modsrc::ModWhl, moddst::osc(0, moddst::OscSemi), 1.0f);
    renderFrames(*host, 20000, 512, {controller(0, 1, 127), noteOn(0, 57)});
    auto r = renderFrames(*host, 10000, 512).left;
    EXPECT_NEAR(pitchCents(r, 2000, 10000, 880.0), 0.0, 1.05);
    host->setParameter(prm::Mod1Destination + 1, 0.0f);
    r = renderFrames(*host, 10000, 512).left;
    EXPECT_NEAR(pitchCents(r, 2000, 10000, 110.0), 0.0, 0.05);
}

TEST(ModMatrix, EffectSlotsReadTheSharedRow) {
    auto plugin = makePlugin();
    auto row = [&] {
        processDirect(*plugin, 256);
        return plugin->voiceEngine().sharedModRow();
    };
    EXPECT_EQ(row()[moddst::Fx1Mix], 0.0f);
    plugin->setParameter(prm::FxMod1Source, modChoice(modsrc::Offset));
    plugin->setParameter(prm::FxMod1Amt, 0.75f);        // amount +0.5
    plugin->setParameter(prm::FxMod1Destination, modChoice(1));  // "FX 1 mix"
    plugin->setParameter(prm::FxMod2Source, modChoice(modsrc::ModWhl));  // the wheel at 0
    plugin->setParameter(prm::FxMod2Amt, 0.25f);        // amount -0.5
    plugin->setParameter(prm::FxMod2Destination, modChoice(30));  // "FX3 H"
    const float* shared = row();
    EXPECT_FLOAT_EQ(shared[moddst::Fx1Mix], 0.5f);
    EXPECT_FLOAT_EQ(shared[74], 0.5f);  // a knob takes the source's bipolar form: 2 x 0 - 1
    for (int d = 46; d < 74; ++d) EXPECT_EQ(shared[d], 0.0f) << d;
    // Beyond "FX3 H" the effect slots address nothing.
    plugin->setParameter(prm::FxMod2Destination, modChoice(31));
    shared = row();
    EXPECT_EQ(shared[74], 0.0f);
    EXPECT_EQ(shared[moddst::Env1Amt], 0.0f);
    EXPECT_EQ(shared[moddst::Env2Amt], 0.0f);
    // A general slot reaches the effect knobs too.
    plugin->setParameter(prm::Mod1Source, modChoice(modsrc::Offset));
    plugin->setParameter(prm::Mod1Amt, 1.0f);
    plugin->setParameter(prm::Mod1Destination, modChoice(47));
    EXPECT_FLOAT_EQ(row()[47], 1.0f);
    // "Mod 2" takes the wheel (at 0) in its bipolar form on a knob, as it is on a mix.
    plugin->setParameter(prm::Mod1Source + 1, modChoice(modsrc::ModWhl));
    plugin->setParameter(prm::Mod1Amt + 1, 1.0f);
    plugin->setParameter(prm::Mod1Destination + 1, modChoice(moddst::Fx1Mix));
    EXPECT_FLOAT_EQ(row()[moddst::Fx1Mix], 0.5f);
    plugin->setParameter(prm::Mod1Destination + 1, modChoice(48));
    EXPECT_FLOAT_EQ(row()[48], -1.0f);
}

TEST(ModMatrix, AnyModulationSettingStaysFiniteAndEnds) {
    const int modulation[] = {99, 100, 101, 102, 103, 104, 85, 86, 87, 88, 89, 90, 68};
    std::mt19937 random(7);
    for (int round = 0; round < 6; ++round) {
        auto host = loadPlugin();
        setPlainSine(*host);
        auto value = [&](int p) {
            if (round == 0) return 0.0f;
            if (round == 1) return 1.0f;
            if (round == 2) return (p % 2) ? NAN : INFINITY;
            return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
        };
        for (int p = 111; p <= 168; ++p) host->setParameter(p, value(p));
        for (int p = 204; p <= 209; ++p) host->setParameter(p, value(p));
        for (int p : modulation) host->setParameter(p, value(p));
        host->setParameter(prm::VolumeEnvelopeRelease, 0.3f);
        std::vector<VstMidiEvent> events;
        for (int k = 0; k < 8; ++k) {
            events.push_back(noteOn(k * 3000, 40 + 7 * k, 20 + 13 * k));
            events.push_back(controller(k * 3000 + 5, 1 + k % 2, 127 * (k % 2)));
            events.push_back(noteOff(k * 3000 + 2500, 40 + 7 * k));
        }
        auto r = renderFrames(*host, 60000, 512, events);
        for (float x : r.left) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 1e4) << round;
        // Every note has ended: silence at the end.
        EXPECT_LT(analysis::peak(r.left, 55000, 60000), 1e-3) << round;
    }
}
