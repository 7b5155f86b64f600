// The effect slots measured through the plug-in: the dry/wet and pan law,
// "FX Bypass" and empty slots, tails across knob and type changes, and the
// silence detector; and, on the bus itself, effect modulation offsets, knob
// smoothing and the single-vocoder rule.
#include <gtest/gtest.h>

#include <cmath>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "effects/StandaloneEffectBus.h"
#include "engine/ModIds.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr int kNoteLengths = 15;

// Mono delay, 1/48 bar, one echo (no feedback), filters open: a wet signal
// that is a delayed copy of the dry one.
// `fxMod` (if not null) routes the constant "Offset" source through "FX Mod 1".
Render monoDelayRender(float mix, float pan, int frames = 8000, float fxModAmount = 0.5f, int fxModDestination = 0) {
    auto host = loadSource(44100.0f, true);
    setEffect(*host, 0, 1, {0.0f, 0.5f, 1.0f, 0.0f, 0.3f}, mix, pan);
    host->setParameter(prm::FxMod1Source, entry(modsrc::Offset, 100));
    host->setParameter(prm::FxMod1Amt, fxModAmount);
    host->setParameter(prm::FxMod1Destination, entry(fxModDestination, 100));
    return renderFrames(*host, frames, 512, {noteOn(0, 57)});
}

}  // namespace

TEST(EffectSlots, MixAndPanLaw) {
    const Render dry = monoDelayRender(0.0f, 0.5f);
    const Render wet = monoDelayRender(1.0f, 0.5f);
    ASSERT_GT(analysis::rms(wet.left, 4000, 8000), 0.1);
    ASSERT_GT(analysis::rms(dry.left, 4000, 8000), 0.1);
    struct Setting {
        float mix, pan;
        float dryGain, wetLeft, wetRight;
    };
    const Setting settings[] = {
        {0.5f, 0.5f, 1.0f, 1.0f, 1.0f},    // full dry and full wet
        {0.25f, 0.5f, 1.0f, 0.5f, 0.5f},   {0.75f, 0.5f, 0.5f, 1.0f, 1.0f},
        {0.5f, 0.0f, 1.0f, 1.0f, 0.0f},    // pan 0 silences the right wet channel
        {0.5f, 1.0f, 1.0f, 0.0f, 1.0f},    {1.0f, 0.25f, 0.0f, 1.0f, 0.5f},
        {0.5f, 0.75f, 1.0f, 0.5f, 1.0f},
    };
    for (const Setting& s : settings) {
        const Render r = monoDelayRender(s.mix, s.pan);
        double worst = 0.0;
        for (size_t i = 0; i < r.left.size(); ++i) {
            worst = std::fmax(worst, std::fabs(r.left[i] - (s.dryGain * dry.left[i] + s.wetLeft * wet.left[i])));
            worst = std::fmax(worst, std::fabs(r.right[i] - (s.dryGain * dry.right[i] + s.wetRight * wet.right[i])));
        }
        EXPECT_LT(worst, 2e-6) << "mix " << s.mix << ", pan " << s.pan;
    }
}

// "FX Mod 1" through the modulation matrix: destination 1 is "FX 1 mix",
// an offset added to the knob and held to 0..1; destination 3 is "FX1 a",
// the delay length, which moves by the source's bipolar form.
TEST(EffectSlots, TheFxModSlotsReachTheSlotsThroughTheMatrix) {
    constexpr int kFrames = 24000;
    auto worstAfter = [](const Render& a, const Render& b, size_t from) {
        double worst = 0.0;
        for (size_t i = from; i < a.left.size(); ++i)
            worst = std::fmax(worst, std::fabs(a.left[i] - b.left[i]) + std::fabs(a.right[i] - b.right[i]));
        return worst;
    };
    const Render dry = monoDelayRender(0.0f, 0.5f, kFrames);
    const Render wet = monoDelayRender(1.0f, 0.5f, kFrames);
    ASSERT_GT(worstAfter(dry, wet, 16000), 0.1);
    // Amount 0 is -1, amount 1 is +1: the mix knob is pushed to either end.
    EXPECT_LT(worstAfter(monoDelayRender(1.0f, 0.5f, kFrames, 0.0f, 1), dry, 16000), 2e-3);
    EXPECT_LT(worstAfter(monoDelayRender(0.0f, 0.5f, kFrames, 1.0f, 1), wet, 16000), 2e-3);
    // Without a destination the slot is untouched.
    EXPECT_LT(worstAfter(monoDelayRender(0.0f, 0.5f, kFrames, 1.0f, 0), dry, 0), 1e-6);
    // "FX1 a" + 1 from the shortest note length: a longer echo, so the wet
    // signal differs from the unmodulated one.
    EXPECT_GT(worstAfter(monoDelayRender(1.0f, 0.5f, kFrames, 1.0f, 3), wet, 16000), 0.1);
}

TEST(EffectSlots, BypassAndEmptySlotsPassTheBusBitForBit) {
    auto render = [](std::initializer_list<int> types, float bypass) {
        auto host = loadSource(44100.0f, false);
        int slot = 0;
        for (int type : types) setEffect(*host, slot++, type, {0.3f, 0.2f, 1.0f, 0.1f, 0.6f, 0.4f, 0.7f}, 0.5f);
        host->setParameter(prm::FxBypass, bypass);
        return renderFrames(*host, 8192, 512, {noteOn(0, 48), noteOn(0, 60), noteOff(6000, 48)});
    };
    const Render none = render({0, 0, 0}, 0.0f);
    for (float bypass : {0.5f, 1.0f}) {
        const Render bypassed = render({1, 5, 9}, bypass);
        EXPECT_EQ(bypassed.left, none.left) << "FX Bypass " << bypass;
        EXPECT_EQ(bypassed.right, none.right) << "FX Bypass " << bypass;
    }
    // Numbers beyond the last type behave as type 0.
    const Render beyond = render({22, 23, 24}, 0.0f);
    EXPECT_EQ(beyond.left, none.left);
    EXPECT_EQ(beyond.right, none.right);
    const Render running = render({1, 5, 9}, 0.49f);
    EXPECT_NE(running.left, none.left);
}

// A tail rings on after the input has stopped; a knob change lets it ring,
// a change to another type of the same family (which reuses the slot's
// memory) clears it. (The chorus has no feedback: its tail is its 50 ms line.)
TEST(EffectSlots, TypeChangeClearsTailsKnobChangeDoesNot) {
    struct Case {
        int type, sibling;
        std::initializer_list<float> knobs;
        int knob;  // the knob moved
        float moved;
    };
    const Case cases[] = {
        {1, 2, {0.3f, 0.0f, 1.0f, 0.0f}, 2, 0.9f},              // mono, feedback +0.99
        {2, 9, {0.3f, 0.35f, 0.0f, 0.5f, 1.0f, 0.0f}, 4, 0.9f},  // stereo, feedback +0.99
        {9, 1, {0.2f, 0.8f, 0.5f, 0.5f, 0.3f, 0.9f, 1.0f}, 2, 0.6f},
        {6, 21, {0.5f, 0.5f, 0.5f, 0.5f, 0.3f, 0.9f, 1.0f}, 2, 0.6f},
        {7, 5, {1.0f, 0.5f, 0.5f, 1.0f, 0.0f, 1.0f, 0.0f}, 2, 0.6f},
        {21, 7, {1.0f, 0.5f, 0.5f, 0.9f, 0.5f, 0.5f}, 2, 0.6f},
    };
    for (const Case& c : cases) {
        // Returns what follows the change.
        auto render = [&](int change) {
            auto host = loadSource(44100.0f, false);
            setEffect(*host, 0, c.type, c.knobs);
            renderFrames(*host, 30000, 512, {noteOn(0, 57), noteOn(0, 64)});
            // The oscillator stops; what the DC blocker held dies away.
            host->setParameter(prm::Osc1On, 0.0f);
            renderFrames(*host, 12000, 512);
            if (change == 1) host->setParameter(knobParameter(0, c.knob), c.moved);
            if (change == 2) host->setParameter(prm::Fx1Type, typeValue(c.sibling));
            return renderFrames(*host, 2200, 512);
        };
        // The type check comes within 512 samples.
        const size_t begin = 600, end = 2200;
        const double ringing = analysis::rms(render(0).left, begin, end);
        ASSERT_GT(ringing, 1e-2) << "type " << c.type;
        EXPECT_GT(analysis::rms(render(1).left, begin, end), 0.3 * ringing) << "type " << c.type;
        const Render changed = render(2);
        EXPECT_LT(std::max(analysis::peak(changed.left, begin), analysis::peak(changed.right, begin)), 1e-6)
            << "type " << c.type << " to " << c.sibling;
    }
}

// After 65,536 samples of (near) silence at its input a flanger slot outputs
// exactly 0, though its filters still held a remainder; a delay slot rings on.
// (The detector resolves 2^-32 per sample; the reference sum here counts even
// the DC blocker's 1e-12 floor, a few samples' worth at the crossing.)
TEST(EffectSlots, SilenceStopsTheFlangerAfter65536SamplesNotTheDelay) {
    const std::vector<VstMidiEvent> burst = {noteOn(0, 57), noteOff(2000, 57)};
    constexpr int kFrames = 90000;
    auto render = [&](int type, std::initializer_list<float> knobs) {
        auto host = loadSource(44100.0f, false);
        if (type) setEffect(*host, 0, type, knobs);
        return renderFrames(*host, kFrames, 512, burst);
    };
    // The slot's input is what the plug-in plays without effects.
    const Render input = render(0, {});
    size_t quiet = 0;  // the first sample from which the last 65,536 inputs sum below 0.00001
    {
        double sum = 0.0;
        std::vector<double> a(kFrames);
        for (size_t i = 0; i < kFrames; ++i) {
            a[i] = std::fabs(double(input.left[i])) + std::fabs(double(input.right[i]));
            sum += a[i] - (i >= 65536 ? a[i - 65536] : 0.0);
            if (i > 2000 && sum < 0.00001 && quiet == 0) quiet = i;
        }
    }
    ASSERT_GT(quiet, size_t(2000 + 65536));
    ASSERT_LT(quiet, size_t(kFrames - 2000));

    const Render flanger = render(7, {0.5f, 0.5f, 0.5f, 1.0f, 0.0f, 1.0f, 0.0f});
    size_t lastNonZero = 0;
    for (size_t i = 0; i < kFrames; ++i)
        if (flanger.left[i] != 0.0f || flanger.right[i] != 0.0f) lastNonZero = i;
    EXPECT_NEAR(double(lastNonZero), double(quiet), 8.0);

    const Render delay = render(1, {0.6f, 0.0f, 1.0f, 0.0f});
    EXPECT_GT(analysis::peak(delay.left, quiet, kFrames), 1e-3);
}

// A phaser falls silent with its input like the flanger, but its sweep runs
// on through the pause: once the voice is back, its pan swings exactly as on a
// phaser whose voice never stopped. (The pause outlasts the 65,536-sample
// window by half a sweep, so a sweep that stood still would come back mirrored.)
TEST(EffectSlots, APausedPhaserSweepsOnThroughTheSilence) {
    constexpr int kResume = 120000, kWindow = 8192, kFrames = kResume + 5 * kWindow;
    auto render = [&](const std::vector<VstMidiEvent>& notes) {
        auto host = loadSource(44100.0f, false);
        // One section at a still corner, no feedback; "LFO Speed" 1 bar
        // (88,201 samples at 120 BPM) swings the pan fully from side to side.
        setEffect(*host, 0, 8, {0.0f, 0.5f, 0.0f, 0.0f, entry(14, 31), 0.0f, 1.0f});
        return renderFrames(*host, kFrames, 512, notes);
    };
    const Render paused = render({noteOn(0, 57), noteOff(10000, 57), noteOn(kResume, 57)});
    const Render held = render({noteOn(0, 57)});
    ASSERT_EQ(analysis::peak(paused.left, kResume - 1000, kResume), 0.0);
    auto leftShare = [](const Render& r, size_t begin) {
        const double left = analysis::rms(r.left, begin, begin + kWindow);
        const double right = analysis::rms(r.right, begin, begin + kWindow);
        return left / (left + right);
    };
    for (int k = 1; k < 5; ++k) {
        const size_t begin = size_t(kResume + k * kWindow);
        EXPECT_NEAR(leftShare(paused, begin), leftShare(held, begin), 0.01) << "window " << k;
    }
}

namespace {

// The bus alone, with its own parameter values and modulation row.
struct Bus : StandaloneEffectBus {
    void run(int frames) {
        for (int i = 0; i < frames; ++i) step(0.0f);
    }
    float step(float in) {
        float left = in, right = in;
        process(left, right);
        return left;
    }
    // Samples after an impulse until the output shows it, up to `limit`.
    int echoAfterImpulse(int limit) {
        run(4096);  // the echoes of an earlier impulse pass first
        float out = step(1.0f);
        for (int n = 0; n <= limit; ++n, out = step(0.0f))
            if (std::fabs(out) > 0.5f) return n;
        return -1;
    }
};

}  // namespace

TEST(EffectSlots, ModulationOffsetsMoveTheKnobsTheyAddress) {
    for (int slot = 0; slot < 3; ++slot) {
        auto b = std::make_unique<Bus>();
        // A mono delay of 3/4 bar (66,151 samples at 120 beats per minute), wet only.
        b->values[prm::Fx1Type + slot] = typeValue(1);
        b->values[prm::Fx1Mix + slot] = 1.0f;
        b->values[prm::Fx1Pan + slot] = 0.5f;
        b->values[knobParameter(slot, 0)] = entry(14, kNoteLengths);
        b->values[knobParameter(slot, 1)] = 0.5f;
        b->values[knobParameter(slot, 2)] = 1.0f;
        b->bus.reset();
        EXPECT_EQ(b->echoAfterImpulse(70000), 66151) << "slot " << slot;
        // "FX<n> a" - 1 lands on 1/48 bar (1,838.5 samples, which the
        // interpolation spreads over the two samples around it).
        float* offsets = b->modRow + moddst::Fx1Mix + 10 * slot;
        offsets[2] = -1.0f;
        EXPECT_EQ(b->echoAfterImpulse(70000), 1838) << "slot " << slot;
        // "FX <n> mix" - 1: dry only, the impulse passes at once.
        offsets[0] = -1.0f;
        EXPECT_EQ(b->echoAfterImpulse(10), 0) << "slot " << slot;
        // The other slots' offsets leave this one alone.
        offsets[0] = 0.0f;
        for (int other = 0; other < 3; ++other)
            if (other != slot) {
                b->modRow[moddst::Fx1Mix + 10 * other] = -1.0f;
                b->modRow[moddst::Fx1Mix + 10 * other + 2] = 1.0f;
            }
        EXPECT_EQ(b->echoAfterImpulse(70000), 1838) << "slot " << slot;
    }
}

// The sample rate and bar length another thread may be halfway through
// publishing: the bus holds them to usable values (44.1 kHz, 120 beats per
// minute) instead of running lengths off them.
TEST(EffectSlots, UnusableRatesFallBackToTheDefaults) {
    for (float bar : {NAN, 0.0f, -5.0f, INFINITY, 1e12f}) {
        auto b = std::make_unique<Bus>();
        b->values[prm::Fx1Type] = typeValue(1);
        b->values[prm::Fx1Mix] = 1.0f;
        b->values[prm::Fx1Pan] = 0.5f;
        b->values[knobParameter(0, 0)] = entry(10, kNoteLengths);  // 1/4 bar
        b->values[knobParameter(0, 1)] = 0.5f;
        b->values[knobParameter(0, 2)] = 1.0f;
        b->ctx.rates.samplesPerBar = bar;
        b->bus.reset();
        EXPECT_EQ(b->echoAfterImpulse(30000), 22051) << "bar of " << bar << " samples";
        b->ctx.rates.sampleRate = NAN;
        EXPECT_EQ(b->echoAfterImpulse(30000), 22051) << "bar of " << bar << " samples, rate NaN";
    }
}

TEST(EffectSlots, AKnobMovedAbruptlyReaches63PercentAfter100Updates) {
    auto b = std::make_unique<Bus>();
    b->values[prm::Fx1Type] = typeValue(5);
    b->bus.reset();
    b->run(16 * 200);
    EXPECT_LT(b->bus.slotControls(0).smoothed[0], 1e-6f);
    b->values[knobParameter(0, 0)] = 1.0f;
    b->run(16 * 100);
    EXPECT_NEAR(b->bus.slotControls(0).smoothed[0], 1.0 - std::pow(0.99, 100), 0.002);
    EXPECT_EQ(b->bus.slotControls(0).knob[0], 1.0f);
    // A new type starts its smoothing again from 0, not where the old one was.
    b->run(16 * 400);
    b->values[prm::Fx1Type] = typeValue(7);
    b->run(512);
    EXPECT_EQ(b->bus.slotType(0), 7);
    EXPECT_LT(b->bus.slotControls(0).smoothed[0], 0.3f);
}

TEST(EffectSlots, OnlyTheLowestSlotRunsTheVocoder) {
    auto b = std::make_unique<Bus>();
    auto types = [&](int a, int c, int d) {
        b->values[prm::Fx1Type] = typeValue(a);
        b->values[prm::Fx1Type + 1] = typeValue(c);
        b->values[prm::Fx1Type + 2] = typeValue(d);
        b->run(512);
        return std::vector<int>{b->bus.slotType(0), b->bus.slotType(1), b->bus.slotType(2)};
    };
    EXPECT_EQ(types(17, 17, 17), (std::vector<int>{17, 0, 0}));
    EXPECT_TRUE(b->bus.vocoderRunning());
    EXPECT_EQ(types(1, 17, 17), (std::vector<int>{1, 17, 0}));
    EXPECT_EQ(types(1, 17, 5), (std::vector<int>{1, 17, 5}));
    EXPECT_EQ(types(17, 1, 17), (std::vector<int>{17, 1, 0}));
    EXPECT_EQ(types(1, 2, 5), (std::vector<int>{1, 2, 5}));
    EXPECT_FALSE(b->bus.vocoderRunning());
}
