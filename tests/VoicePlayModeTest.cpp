// Voice allocation and the play modes, observed through the voices and the audio.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "AudioAnalysis.h"
#include "TestSupport.h"
#include "Values.h"

using namespace testing_support;
using namespace values;

namespace {

std::multiset<int> heldNotes(const APlugin& plugin) {
    std::multiset<int> notes;
    for (int v = 0; v < 16; ++v)
        if (plugin.voiceEngine().voice(v).gate) notes.insert(plugin.voiceEngine().voice(v).note);
    return notes;
}

int voiceOf(const APlugin& plugin, int key) {
    for (int v = 0; v < 16; ++v)
        if (plugin.voiceEngine().voice(v).gate && plugin.voiceEngine().voice(v).note == key) return v;
    return -1;
}

constexpr int kPlayMode = 6;
}  // namespace

TEST(PlayModes, SeventeenthNoteStealsInRoundRobinOrder) {
    auto plugin = makePlugin();
    std::vector<VstMidiEvent> chord;
    for (int k = 0; k < 16; ++k) chord.push_back(noteOn(0, 40 + k));
    processDirect(*plugin, 8, chord);
    EXPECT_EQ(heldNotes(*plugin).size(), 16u);
    const int firstVoice = voiceOf(*plugin, 40);
    processDirect(*plugin, 8, {noteOn(0, 90)});
    // The voice after the last one allocated is the first one allocated.
    EXPECT_EQ(voiceOf(*plugin, 90), firstVoice);
    EXPECT_EQ(voiceOf(*plugin, 40), -1);
    EXPECT_EQ(heldNotes(*plugin).size(), 16u);
}

TEST(PlayModes, ReleasingVoiceIsReusedBeforeAFreeOne) {
    auto plugin = makePlugin();
    plugin->setParameter(95, 1.0f);  // a release that never ends keeps voices sounding
    std::vector<VstMidiEvent> notes;
    for (int k = 0; k < 16; ++k) notes.push_back(noteOn(0, 40 + k));
    processDirect(*plugin, 8, notes);
    const int first = voiceOf(*plugin, 40);
    std::vector<VstMidiEvent> offs;
    for (int k = 0; k < 16; ++k) offs.push_back(noteOff(0, 40 + k));
    processDirect(*plugin, 64, offs);
    processDirect(*plugin, 8, {noteOn(0, 80)});
    // All 16 still sound in release; the next one in order is taken at once.
    EXPECT_EQ(voiceOf(*plugin, 80), first);
}

TEST(PlayModes, PolyNoteOffReleasesEveryCopyOfTheKey) {
    auto plugin = makePlugin();
    plugin->setParameter(kPlayMode, choice(6, 8));  // "Unison 4"
    processDirect(*plugin, 8, {noteOn(0, 60), noteOn(0, 64)});
    EXPECT_EQ(heldNotes(*plugin).count(60), 4u);
    EXPECT_EQ(heldNotes(*plugin).count(64), 4u);
    processDirect(*plugin, 8, {noteOff(0, 60)});
    EXPECT_EQ(heldNotes(*plugin).count(60), 0u);
    EXPECT_EQ(heldNotes(*plugin).count(64), 4u);
}

TEST(PlayModes, UnisonSixAtZeroDetuneIsSixTimesOneVoice) {
    auto level = [](int mode) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(kPlayMode, choice(mode, 8));
        host->setParameter(7, 0.0f);  // "Unison Amount"
        auto r = renderFrames(*host, 20000, 512, {noteOn(0, 69)});
        return analysis::rms(r.left, 10000, 20000);
    };
    const double one = level(0);
    const double six = level(7);
    ASSERT_GT(one, 0.001);
    EXPECT_NEAR(six / one, 6.0, 0.02);
}

TEST(PlayModes, UnisonDetuneSpreadsThePitches) {
    auto plugin = makePlugin();
    plugin->setParameter(kPlayMode, choice(7, 8));  // "Unison 6"
    plugin->setParameter(7, 1.0f);
    processDirect(*plugin, 8, {noteOn(0, 57)});
    std::vector<float> pitches;
    for (int v = 0; v < 16; ++v)
        if (plugin->voiceEngine().voice(v).gate) pitches.push_back(plugin->voiceEngine().voice(v).targetPitch);
    std::sort(pitches.begin(), pitches.end());
    ASSERT_EQ(pitches.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(pitches[i] * 12.0f, 0.1f * i, 1e-5f);
}

TEST(PlayModes, MonoModesKeepOneVoice) {
    for (int mode : {1, 2, 3}) {  // "Mono", "Mono2", "Legato"
        auto plugin = makePlugin();
        plugin->setParameter(kPlayMode, choice(mode, 8));
        processDirect(*plugin, 8, {noteOn(0, 60)});
        processDirect(*plugin, 8, {noteOn(0, 64)});
        EXPECT_EQ(heldNotes(*plugin), std::multiset<int>{64}) << "mode " << mode;
    }
}

TEST(PlayModes, Mono2AndLegatoReturnToTheHeldNote) {
    for (int mode : {2, 3}) {
        auto plugin = makePlugin();
        plugin->setParameter(kPlayMode, choice(mode, 8));
        processDirect(*plugin, 8, {noteOn(0, 60)});
        processDirect(*plugin, 8, {noteOn(0, 67)});
        processDirect(*plugin, 8, {noteOff(0, 67)});
        EXPECT_EQ(heldNotes(*plugin), std::multiset<int>{60}) << "mode " << mode;
        processDirect(*plugin, 8, {noteOff(0, 60)});
        EXPECT_TRUE(heldNotes(*plugin).empty()) << "mode " << mode;
    }
}

TEST(PlayModes, LegatoChangesPitchWithoutRestartingTheEnvelope) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(kPlayMode, choice(3, 8));
    host->setParameter(91, 0.6f);  // a slow attack (about 300 ms) shows any restart
    auto r = renderFrames(*host, 30000, 512, {noteOn(0, 69), noteOn(8000, 81)}).left;
    auto env = analysis::envelope(r, 256);
    // The level keeps rising across the second key, and the pitch moves up an octave.
    const size_t change = 8000 / 256;
    EXPECT_GT(env[change + 4], env[change - 2]);
    EXPECT_NEAR(analysis::frequency(r, 44100, 2000, 7800), 220.0, 1.0);
    EXPECT_NEAR(analysis::frequency(r, 44100, 10000, 30000), 440.0, 1.0);
}

TEST(PlayModes, ChordMemoryLearnsAndTransposes) {
    auto plugin = makePlugin();
    plugin->setParameter(8, choice(1, 3));  // "Learn"
    processDirect(*plugin, 600);            // the mode is decoded every 512 samples
    processDirect(*plugin, 8, {noteOn(0, 60), noteOn(0, 64), noteOn(0, 67)});
    processDirect(*plugin, 8, {noteOff(0, 60), noteOff(0, 64), noteOff(0, 67)});
    // The chord travels with the program as hidden parameters.
    EXPECT_NEAR(plugin->getParameter(600), 60.5f / 255.0f, 1e-6f);
    EXPECT_NEAR(plugin->getParameter(602), 67.5f / 255.0f, 1e-6f);
    EXPECT_EQ(int(plugin->getParameter(610) * 9.99f), 2);
    plugin->setParameter(8, choice(2, 3));  // "Play"
    processDirect(*plugin, 8, {noteOn(0, 50)});
    EXPECT_EQ(heldNotes(*plugin), (std::multiset<int>{50, 54, 57}));
    processDirect(*plugin, 8, {noteOff(0, 50)});
    EXPECT_TRUE(heldNotes(*plugin).empty());
}

namespace {
// Time (samples after the second note) until the pitch settles within 0.3 %.
double glideTime(int portMode, int from, int to) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(5, choice(portMode, 5));
    host->setParameter(4, 0.75f);  // glide divisor 2^9
    const int start = 6000;
    auto r = renderFrames(*host, 40000, 512, {noteOn(0, from), noteOff(start, from), noteOn(start, to)}).left;
    const double target = 110.0 * std::pow(2.0, (to - 57) / 12.0);
    double last = -1.0;
    int crossings = 0;
    double settled = -1.0;
    for (size_t i = start + 1; i < r.size(); ++i) {
        if (r[i - 1] < 0.0f && r[i] >= 0.0f) {
            double t = double(i - 1) + double(-r[i - 1]) / double(r[i] - r[i - 1]);
            if (last >= 0.0 && ++crossings > 1) {
                double f = 44100.0 / (t - last);
                if (std::fabs(f / target - 1.0) < 0.003) {
                    if (settled < 0.0) settled = t - start;
                } else {
                    settled = -1.0;
                }
            }
            last = t;
        }
    }
    return settled;
}
}  // namespace

TEST(Glide, ConstantTimeTakesTheSameTimeForAnyInterval) {
    const double octave = glideTime(2, 69, 81);
    const double semitone = glideTime(2, 69, 70);
    // 512 control periods of 16 samples.
    EXPECT_NEAR(octave, 8192.0, 400.0);
    EXPECT_NEAR(semitone, octave, 1200.0);
}

TEST(Glide, ConstantRateTakesTimeInProportionToTheInterval) {
    const double octave = glideTime(1, 69, 81);
    const double semitone = glideTime(1, 69, 70);
    EXPECT_NEAR(octave, 8192.0, 400.0);
    EXPECT_NEAR(octave / semitone, 12.0, 2.0);
}

TEST(Glide, FirstNoteAfterLoadingDoesNotGlide) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(5, choice(2, 5));
    host->setParameter(4, 0.75f);
    auto r = renderFrames(*host, 4000, 512, {noteOn(0, 81)}).left;
    EXPECT_NEAR(analysis::frequency(r, 44100, 100, 4000), 440.0, 1.0);
}
