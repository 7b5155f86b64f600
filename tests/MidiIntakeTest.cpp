// Controllers, pitch bend, program change and MIDI learn with its settings.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "AudioAnalysis.h"
#include "TestSupport.h"
#include "Values.h"
#include "engine/ModIds.h"
#include "platform/SettingsStore.h"

using namespace testing_support;
using namespace values;

namespace {

double pitchAfterBend(int lsb, int msb, float upRange, float downRange) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(106, upRange);
    host->setParameter(105, downRange);
    auto r = renderFrames(*host, 60000, 512,
                          {noteOn(0, 81), vsthost::PluginHost::midi(100, 0xE0, uint8_t(lsb), uint8_t(msb))})
                 .left;
    return analysis::frequency(r, 44100, 30000, 60000);
}

// A clean settings file for tests that look at it.
platform::SettingsStore freshSettings() {
    platform::SettingsStore store;
    std::remove(store.path().c_str());
    return store;
}
}  // namespace

TEST(MidiIntake, PitchBendFollowsTheRangeArithmetic) {
    EXPECT_NEAR(pitchAfterBend(0, 64, choice(2, 16), choice(2, 16)), 440.0, 0.2);
    // Full bend up with range "2": (2/12) * 0.49994 * 2.0825 octaves.
    const double up = 440.0 * std::exp2((2.0 / 12.0) * (127.0 / 128.0 + 127.0 - 64.0) / 128.0 * 2.0825);
    EXPECT_NEAR(analysis::cents(pitchAfterBend(127, 127, choice(2, 16), 0.0f), up), 0.0, 1.0);
    // Full bend down with range "12": half of 2.0825 octaves below.
    const double down = 440.0 * std::exp2(-0.5 * 2.0825);
    EXPECT_NEAR(analysis::cents(pitchAfterBend(0, 0, 0.0f, choice(12, 16)), down), 0.0, 1.0);
    // Range "Off" does not bend.
    EXPECT_NEAR(pitchAfterBend(127, 127, 0.0f, 0.0f), 440.0, 0.2);
}

TEST(MidiIntake, ControllersAftertouchAndBendFeedTheirSources) {
    // Each event writes its value to its sources, globally and for all 16 voices.
    struct Case {
        VstMidiEvent event;
        std::vector<int> sources;
        float value;
    };
    auto status = [](uint8_t s, uint8_t d1, uint8_t d2) { return vsthost::PluginHost::midi(0, s, d1, d2); };
    std::vector<Case> cases = {
        {status(0xA3, 60, 100), {modsrc::PolyAftr, modsrc::ModAft}, 100 / 127.0f},  // the key is not used
        {status(0xD0, 50, 0), {modsrc::ChAftr, modsrc::ModAft}, 50 / 127.0f},
        {controller(0, 2, 33), {modsrc::Breath}, 33 / 127.0f},
        {controller(0, 4, 44), {modsrc::Foot}, 44 / 127.0f},
        {controller(0, 11, 55), {modsrc::Expressn}, 55 / 127.0f},
        {status(0xE0, 0, 96), {modsrc::Pitchbend}, 0.5f},
        {status(0xE0, 0, 0), {modsrc::Pitchbend}, -1.0f},
        {status(0xE0, 127, 127), {modsrc::Pitchbend}, ((127 / 128.0f + 127) / 128 - 0.5f) * 2},
    };
    for (int c = 0; c < 6; ++c) cases.push_back({controller(0, 16 + c, 60 + c), {modsrc::CC16 + c}, (60 + c) / 127.0f});
    for (int c = 0; c < 7; ++c) cases.push_back({controller(0, 84 + c, 70 + c), {modsrc::CC84 + c}, (70 + c) / 127.0f});
    auto plugin = makePlugin();
    // Every source but the mod wheel, which its smoother rewrites every 16 samples.
    auto sources = [&] {
        std::vector<float> all;
        for (int v = 0; v < 16; ++v)
            for (int s = 0; s < modsrc::kCount; ++s)
                all.push_back(s == modsrc::ModWhl ? 0.0f : plugin->voiceEngine().voice(v).sources[s]);
        return all;
    };
    for (const Case& c : cases) {
        const auto before = sources();
        processDirect(*plugin, 1, {c.event});
        const auto after = sources();
        for (int v = 0; v < 16; ++v)
            for (int s = 0; s < modsrc::kCount; ++s) {
                const size_t i = size_t(v * modsrc::kCount + s);
                const bool target = std::count(c.sources.begin(), c.sources.end(), s) > 0;
                EXPECT_FLOAT_EQ(after[i], target ? c.value : before[i])
                    << "status " << int(uint8_t(c.event.midiData[0])) << ", byte " << int(c.event.midiData[1])
                    << ": voice " << v << ", source " << s;
            }
    }
    // Controllers without a role feed nothing.
    const auto before = sources();
    for (int number : {3, 15, 22, 83, 91}) processDirect(*plugin, 1, {controller(0, number, 99)});
    EXPECT_EQ(sources(), before);
}

TEST(MidiIntake, ProgramChangeSelectsExcept127) {
    auto host = loadPlugin();
    std::vector<float> l, r;
    host->sendMidi({vsthost::PluginHost::midi(0, 0xC3, 5, 0)});
    host->process(16, l, r);
    EXPECT_EQ(host->dispatch(effGetProgram), 5);
    host->sendMidi({vsthost::PluginHost::midi(0, 0xC0, 127, 0)});
    host->process(16, l, r);
    EXPECT_EQ(host->dispatch(effGetProgram), 5);
}

TEST(MidiIntake, AllNotesOffAndResetControllersSilence) {
    for (int cc : {120, 123}) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(95, 1.0f);  // endless release: only a reset can stop it
        auto r = renderFrames(*host, 20000, 512, {noteOn(0, 69), noteOn(0, 76), controller(8000, cc, 0)}).left;
        EXPECT_GT(analysis::rms(r, 4000, 8000), 0.05);
        EXPECT_LT(analysis::rms(r, 16000, 20000), 1e-4) << cc;
    }
}

TEST(MidiLearn, LatchBindsAControllerAndPersists) {
    freshSettings();
    auto plugin = makePlugin();
    plugin->latchToMidi(61);  // "Filter Frequency"
    plugin->setParameter(61, 0.2f);
    processDirect(*plugin, 4, {controller(0, 74, 127)});
    EXPECT_EQ(plugin->boundParameter(74), 61);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 1.0f);
    EXPECT_EQ(plugin->controllerBoundTo(61), 74);
    // One latch binds one controller: the next one stays free.
    processDirect(*plugin, 4, {controller(0, 21, 5)});
    EXPECT_EQ(plugin->boundParameter(21), 0);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 1.0f);
    plugin->flushBindings();
    EXPECT_EQ(platform::SettingsStore().readBinding(74), 61u);

    // A new instance reads the binding back and obeys it at once.
    auto again = makePlugin();
    EXPECT_EQ(again->boundParameter(74), 61);
    processDirect(*again, 4, {controller(0, 74, 0)});
    EXPECT_FLOAT_EQ(again->getParameter(61), 0.0f);

    // Parameters far up the table bind as well ("Velocity Shape").
    again->latchToMidi(787);
    processDirect(*again, 4, {controller(0, 20, 127)});
    EXPECT_EQ(again->boundParameter(20), 787);
    EXPECT_FLOAT_EQ(again->getParameter(787), 1.0f);
    again->clearMidi();
}

TEST(MidiLearn, ControllerOneDrivesTheWheelAndItsBinding) {
    freshSettings();
    auto plugin = makePlugin();
    plugin->latchToMidi(7);  // "Unison Amount"
    processDirect(*plugin, 4, {controller(0, 1, 64)});
    EXPECT_NEAR(plugin->getParameter(7), 64.0f / 127.0f, 1e-6f);
    // The wheel reaches the modulation sources through its smoother.
    processDirect(*plugin, 44100);
    EXPECT_NEAR(plugin->voiceEngine().voice(0).sources[1], 64.0f / 127.0f, 1e-3f);
}

TEST(MidiLearn, UnlatchAndClearRemoveBindings) {
    freshSettings();
    auto plugin = makePlugin();
    plugin->latchToMidi(61);
    processDirect(*plugin, 1, {controller(0, 74, 10)});
    plugin->latchToMidi(61);
    processDirect(*plugin, 1, {controller(0, 75, 10)});
    plugin->latchToMidi(62);
    processDirect(*plugin, 1, {controller(0, 76, 10)});
    EXPECT_EQ(plugin->controllerBoundTo(61), 75);  // the last one wins
    plugin->flushBindings();
    EXPECT_EQ(platform::SettingsStore().readBinding(75), 61u);

    // Unlatch takes effect with the next controller message, whichever it is.
    plugin->unlatchMidi(61);
    processDirect(*plugin, 1, {controller(0, 20, 0)});
    EXPECT_EQ(plugin->boundParameter(74), 0);
    EXPECT_EQ(plugin->boundParameter(75), 0);
    EXPECT_EQ(plugin->boundParameter(76), 62);
    plugin->flushBindings();
    EXPECT_EQ(platform::SettingsStore().readBinding(75), 0u);
    EXPECT_EQ(platform::SettingsStore().readBinding(76), 62u);

    plugin->clearMidi();
    platform::SettingsStore store;
    for (int c = 0; c < 128; ++c) {
        EXPECT_EQ(plugin->boundParameter(c), 0);
        EXPECT_EQ(store.readBinding(c), 0u);
    }
}

TEST(MidiLearn, BindingsToMissingParametersAreIgnored) {
    auto store = freshSettings();
    store.writeBinding(5000, 10);
    store.writeBinding(61, 11);
    auto plugin = makePlugin();
    EXPECT_EQ(plugin->boundParameter(10), 0);
    EXPECT_EQ(plugin->boundParameter(11), 61);
}

TEST(MidiIntake, AuditionPlaysMiddleCWhilePressed) {
    auto plugin = makePlugin();
    setPlainSine(*plugin);
    // A press starts from a reset engine: the key held before it stops.
    processDirect(*plugin, 64, {noteOn(0, 48)});
    plugin->auditionStart();
    auto held = processDirect(*plugin, 8000);
    bool playing = false, before = false;
    for (int v = 0; v < 16; ++v) {
        playing |= plugin->voiceEngine().voice(v).gate && plugin->voiceEngine().voice(v).note == 60;
        before |= plugin->voiceEngine().voice(v).gate && plugin->voiceEngine().voice(v).note == 48;
    }
    EXPECT_TRUE(playing);
    EXPECT_FALSE(before);
    EXPECT_NEAR(analysis::frequency(held.left, 44100, 2000, 8000), 110.0 * std::exp2(3.0 / 12.0), 0.5);
    plugin->auditionStop();
    auto after = processDirect(*plugin, 20000, {noteOff(0, 48)});
    EXPECT_LT(analysis::rms(after.left, 16000, 20000), 1e-4);
    EXPECT_EQ(plugin->voiceEngine().heldKeys(), 0);
}
