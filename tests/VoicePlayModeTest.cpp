// Voice allocation and the play modes, observed through the voices and the audio.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
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

TEST(PlayModes, NewNotesSkipHeldVoicesAndStealOnlyWhenAllAreHeld) {
    // Released voices are free for reuse whether they still ring or not.
    for (float release : {0.0f, 1.0f}) {
        auto plugin = makePlugin();
        plugin->setParameter(95, release);
        std::vector<VstMidiEvent> chord;
        for (int k = 0; k < 16; ++k) chord.push_back(noteOn(0, 40 + k));
        processDirect(*plugin, 200, chord);  // past the envelopes' first step
        int voice[16];
        for (int k = 0; k < 16; ++k) voice[k] = voiceOf(*plugin, 40 + k);
        EXPECT_EQ(std::set<int>(voice, voice + 16).size(), 16u);
        processDirect(*plugin, 8, {noteOff(0, 44), noteOff(0, 48)});
        processDirect(*plugin, 4000);
        const Voice& released = plugin->voiceEngine().voice(voice[4]);
        EXPECT_EQ(released.note, release > 0.5f ? 44 : -1) << "ringing on, or silent and free at " << release;
        // From the last voice allocated on: the held ones are skipped.
        processDirect(*plugin, 8, {noteOn(0, 90)});
        EXPECT_EQ(voiceOf(*plugin, 90), voice[4]) << release;
        processDirect(*plugin, 8, {noteOn(0, 91)});
        EXPECT_EQ(voiceOf(*plugin, 91), voice[8]) << release;
        // All held: the voice after the last one allocated is stolen.
        processDirect(*plugin, 8, {noteOn(0, 92)});
        EXPECT_EQ(voiceOf(*plugin, 92), voice[9]) << release;
        EXPECT_EQ(voiceOf(*plugin, 49), -1);
        EXPECT_EQ(heldNotes(*plugin).size(), 16u);
    }
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

TEST(PlayModes, UnisonStacksVoicesAtTheirDetunes) {
    // Detunes in semitones of "Unison Amount" U: 0 and U/2; 0, U/6, U/3, U/2;
    // 0, U/10 .. U/2. Every voice plays at full level.
    struct Case {
        int mode;
        float amount;
        std::vector<double> detunes;
    };
    const Case cases[] = {
        {5, 1.0f, {0.0, 0.5}},
        {6, 1.0f, {0.0, 1.0 / 6, 1.0 / 3, 0.5}},
        {6, 0.6f, {0.0, 0.1, 0.2, 0.3}},
        {7, 1.0f, {0.0, 0.1, 0.2, 0.3, 0.4, 0.5}},
    };
    for (const Case& c : cases) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(kPlayMode, choice(c.mode, 8));
        host->setParameter(7, c.amount);
        auto r = renderFrames(*host, 50000, 512, {noteOn(0, 105)}).left;  // 1760 Hz
        for (double d : c.detunes)
            EXPECT_NEAR(spectrum::amplitudeAt(r, 5000, 49100, noteHz(105) * std::exp2(d / 12.0), 44100.0), 0.99,
                        0.02)
                << "mode " << c.mode << ", amount " << c.amount << ", detune " << d;
    }
    // Without detune, six voices in phase: six times one.
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(kPlayMode, choice(7, 8));
    host->setParameter(7, 0.0f);
    auto r = renderFrames(*host, 20000, 512, {noteOn(0, 105)}).left;
    EXPECT_NEAR(spectrum::amplitudeAt(r, 4000, 20000, noteHz(105), 44100.0), 6 * 0.99, 0.03);
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

TEST(PlayModes, Mono2AndLegatoReturnToTheHeldNoteButMonoDoesNot) {
    for (int mode : {1, 2, 3}) {
        auto plugin = makePlugin();
        plugin->setParameter(kPlayMode, choice(mode, 8));
        processDirect(*plugin, 8, {noteOn(0, 60)});
        processDirect(*plugin, 8, {noteOn(0, 67)});
        processDirect(*plugin, 8, {noteOff(0, 67)});
        EXPECT_EQ(heldNotes(*plugin), mode == 1 ? std::multiset<int>{} : std::multiset<int>{60}) << "mode " << mode;
        processDirect(*plugin, 8, {noteOff(0, 60)});
        EXPECT_TRUE(heldNotes(*plugin).empty()) << "mode " << mode;
    }
}

TEST(PlayModes, LegatoChangesPitchWithoutRestartingTheEnvelope) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(kPlayMode, choice(3, 8));
    host->setParameter(91, 0.6f);  // a slow attack (about 300 ms) shows any restart
    host->setParameter(3, 1.0f);   // and the level follows the velocity
    auto r = renderFrames(*host, 30000, 512, {noteOn(0, 69, 127), noteOn(8000, 81, 32)}).left;
    auto env = analysis::envelope(r, 256);
    // The level keeps rising across the second key, and the pitch moves up an octave.
    const size_t change = 8000 / 256;
    EXPECT_GT(env[change + 4], env[change - 2]);
    EXPECT_NEAR(analysis::frequency(r, 44100, 2000, 7800), 220.0, 1.0);
    EXPECT_NEAR(analysis::frequency(r, 44100, 10000, 30000), 440.0, 1.0);
    // The legato note keeps the first note's velocity.
    EXPECT_NEAR(spectrum::amplitudeAt(r, 20000, 30000, 440.0, 44100.0), 0.99, 0.005);
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

TEST(PlayModes, AKeyReleasesTheChordItStartedEvenIfTheChordChangedMeanwhile) {
    // Automation of the chord memory, or of "Chord Mode", while a key is down:
    // its note-off still releases what it started, in every mode that keeps voices.
    for (int mode : {0, 2, 3}) {  // "Poly", "Mono2", "Legato"
        for (int change = 0; change < 2; ++change) {
            auto plugin = makePlugin();
            plugin->setParameter(kPlayMode, choice(mode, 8));
            plugin->setParameter(600, 60.5f / 255.0f);  // the chord C E G
            plugin->setParameter(601, 64.5f / 255.0f);
            plugin->setParameter(602, 67.5f / 255.0f);
            plugin->setParameter(610, 2.5f * 0.1001001f);
            plugin->setParameter(8, choice(2, 3));  // "Play"
            processDirect(*plugin, 600);
            processDirect(*plugin, 8, {noteOn(0, 50)});
            EXPECT_FALSE(heldNotes(*plugin).empty());
            if (change == 0) {
                plugin->setParameter(601, 65.5f / 255.0f);  // C F G
                plugin->setParameter(602, 69.5f / 255.0f);
            } else {
                plugin->setParameter(8, choice(0, 3));  // "Off", decoded at the next 512-sample tick
                processDirect(*plugin, 600);
            }
            processDirect(*plugin, 8, {noteOff(0, 50)});
            EXPECT_TRUE(heldNotes(*plugin).empty()) << "mode " << mode << ", change " << change;
            // And the next key alone is released by its own note-off.
            processDirect(*plugin, 8, {noteOn(0, 70)});
            processDirect(*plugin, 8, {noteOff(0, 70)});
            EXPECT_TRUE(heldNotes(*plugin).empty()) << "mode " << mode << ", change " << change;
        }
    }
    // After a reset (all notes off) a key still down belongs to no chord: its
    // late note-off leaves a newer note of a chord pitch alone.
    auto plugin = makePlugin();
    plugin->setParameter(600, 60.5f / 255.0f);
    plugin->setParameter(601, 64.5f / 255.0f);
    plugin->setParameter(610, 1.5f * 0.1001001f);
    plugin->setParameter(8, choice(2, 3));
    processDirect(*plugin, 600);
    processDirect(*plugin, 8, {noteOn(0, 50)});
    EXPECT_EQ(heldNotes(*plugin), (std::multiset<int>{50, 54}));
    plugin->setParameter(8, choice(0, 3));
    processDirect(*plugin, 600, {controller(0, 123, 0)});
    processDirect(*plugin, 8, {noteOn(0, 54)});
    processDirect(*plugin, 8, {noteOff(0, 50)});
    EXPECT_EQ(heldNotes(*plugin), std::multiset<int>{54});
}

namespace {
constexpr int kGlideStart = 6000;
// A key, let go and silent, then another, with glide mode `portMode` and a
// glide divisor of 2^9 (512 steps of 16 samples); the second key is let go
// `holdFor` samples after it starts (never, when negative) and rings on.
std::vector<float> glide(int portMode, int from, int to, int holdFor = -1) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(5, choice(portMode, 5));
    host->setParameter(4, 0.75f);
    auto x = renderFrames(*host, kGlideStart, 512, {noteOn(0, from), noteOff(2000, from)}).left;
    host->setParameter(95, 1.0f);
    std::vector<VstMidiEvent> events = {noteOn(0, to)};
    if (holdFor >= 0) events.push_back(noteOff(holdFor, to));
    const auto second = renderFrames(*host, 16000, 512, events).left;
    x.insert(x.end(), second.begin(), second.end());
    return x;
}

// Pitch (cents from note `to`) around `t` samples into the glide.
double centsAt(const std::vector<float>& x, int t, int to) {
    const size_t at = size_t(kGlideStart + t);
    return analysis::cents(analysis::frequency(x, 44100.0, at - 800, at + 800), noteHz(to));
}
constexpr int kConstRate = 1, kConstTime = 2, kHeldRate = 3, kHeldTime = 4;
}  // namespace

TEST(Glide, TimeModesTakeOneTimeForAnyIntervalAndRateModesOneSpeed) {
    // The glide lasts 512 x 16 = 8192 samples in the time modes; in the rate
    // modes it covers an octave in that time. While the key is held the
    // "Held" modes glide as the constant ones do.
    for (int mode : {kConstRate, kConstTime, kHeldRate, kHeldTime}) {
        const bool time = mode == kConstTime || mode == kHeldTime;
        for (auto [from, to] : {std::pair{69, 81}, {81, 69}, {69, 70}}) {
            const auto x = glide(mode, from, to);
            const double interval = 100.0 * (to - from);
            for (int t : {2048, 4096, 6144, 12000}) {
                const double done = time ? std::min(1.0, t / 8192.0)
                                         : std::min(1.0, 1200.0 * t / 8192.0 / std::fabs(interval));
                EXPECT_NEAR(centsAt(x, t, to), -interval * (1.0 - done), 8.0)
                    << "mode " << mode << ", " << from << " to " << to << ", at " << t;
            }
        }
    }
}

TEST(Glide, HeldModesStopGlidingWhenTheKeysAreUp) {
    for (int mode : {kConstRate, kConstTime, kHeldRate, kHeldTime}) {
        const auto x = glide(mode, 69, 81, 3000);
        const double still = -1200.0 * (1.0 - 5000.0 / 8192.0);  // both constant modes, an octave
        EXPECT_NEAR(centsAt(x, 5000, 81), mode >= kHeldRate ? 0.0 : still, 8.0) << "mode " << mode;
    }
}

TEST(Glide, NoGlideIntoTheFirstNoteAfterLoadingOrAProgramChange) {
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(5, choice(kConstTime, 5));
    host->setParameter(4, 0.75f);
    auto r = renderFrames(*host, 4000, 512, {noteOn(0, 81), noteOff(3000, 81)}).left;
    EXPECT_NEAR(analysis::frequency(r, 44100, 100, 3000), 440.0, 1.0);
    host->dispatch(effSetProgram, 0, kDefaultSoundProgram);  // the same sound, selected again
    r = renderFrames(*host, 4000, 512, {noteOn(100, 69)}).left;
    EXPECT_NEAR(analysis::frequency(r, 44100, 200, 4000), 220.0, 0.5);
}
