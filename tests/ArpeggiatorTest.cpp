// The arpeggiator heard through the plug-in: which notes the modes play, steps,
// octaves, note length, swing, ties, chords, latch, the "Mod" sequencer, and
// timing against the host's transport (sync, stop, loop, no host time, bad
// host time).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "TransportSupport.h"
#include "engine/ModIds.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

constexpr double kRate = 44100.0;
// The six blocks of step parameters.
constexpr int kTie = 220, kOn = 236, kVelocity = 268, kTune = 284, kFree = 300;

// Tunes decode as trunc(v x 72.99 - 36), truncated toward zero.
float tune(int semitones) { return (float(semitones) + (semitones < 0 ? 35.5f : 36.5f)) / 72.99f; }
double noteHz(int note) { return 110.0 * std::exp2((note - 57) / 12.0); }

enum Mode { Up = 0, Down = 1, UpDown = 2, Ordered = 5, Chord = 9, ModSequencer = 10 };

// Play mode "Arp" on the plain sine, one step per sixteenth note.
std::unique_ptr<vsthost::PluginHost> arpSynth(int mode, double rate = kRate) {
    auto host = loadPlugin(float(rate));
    setPlainSine(*host);
    host->setParameter(prm::PitchLfoAmountControl, 0.0f);
    host->setParameter(prm::PlayMode, choice(4, 8));
    host->setParameter(prm::ArpMode, choice(mode, 11));
    host->setParameter(prm::ArpSpeed, choice(4, 9));  // "1x bpm"
    return host;
}

// A square wave starts with a step: its onsets can be found to the sample.
void useSquare(vsthost::PluginHost& host) {
    host.setParameter(prm::Osc1Type, choice(2, 128));
    host.setParameter(prm::ArpNoteLength, 0.5f / 1.05f);
}

int noteIn(const std::vector<float>& x, double begin, double end) {
    const double f = analysis::frequency(x, kRate, size_t(begin), size_t(end));
    return f > 0.0 ? int(std::lround(57.0 + 12.0 * std::log2(f / 110.0))) : -1;
}

// The notes of `count` steps of `length` samples from the first sound on.
std::vector<int> stepNotes(const std::vector<float>& x, int count, double length) {
    const long first = analysis::firstAbove(x, 1e-4);
    std::vector<int> notes;
    for (int k = 0; k < count; ++k)
        notes.push_back(noteIn(x, first + k * length + 800, first + (k + 1) * length - 300));
    return notes;
}

// Free-running at 120 BPM (transport stopped): 5512.5 samples a step.
constexpr double kStep = 5512.5;
std::vector<float> playFree(vsthost::PluginHost& host, std::vector<VstMidiEvent> keys, int frames) {
    Transport t;
    t.playing = false;
    return renderTransport(host, t, frames, 512, keys).left;
}

std::vector<VstMidiEvent> keys(std::initializer_list<int> notes, int at = 0) {
    std::vector<VstMidiEvent> e;
    for (int n : notes) e.push_back(noteOn(at, n));
    return e;
}

}  // namespace

TEST(Arpeggiator, ModesWalkTheHeldNotes) {
    auto play = [](int mode, std::initializer_list<int> notes, int steps, float noteLength = 1.0f) {
        auto host = arpSynth(mode);
        host->setParameter(prm::ArpNoteLength, noteLength);
        return stepNotes(playFree(*host, keys(notes), int(kStep * (steps + 1))), steps, kStep);
    };
    using V = std::vector<int>;
    EXPECT_EQ(play(UpDown, {60, 64, 67, 71}, 9), (V{60, 64, 67, 71, 67, 64, 60, 64, 67}));
    EXPECT_EQ(play(UpDown, {60}, 4), (V{60, 60, 60, 60}));
    EXPECT_EQ(play(Down, {60, 64, 67}, 4), (V{67, 64, 60, 67}));
    // "Up" keeps the order the keys came in; "Ordered" sorts them while notes
    // are held into the next step (note length above 1).
    EXPECT_EQ(play(Up, {67, 60, 64}, 4), (V{67, 60, 64, 67}));
    EXPECT_EQ(play(Ordered, {67, 60, 64}, 4), (V{60, 64, 67, 60}));
    EXPECT_EQ(play(Ordered, {67, 60, 64}, 4, 0.9f), (V{67, 60, 64, 67}));
    EXPECT_EQ(play(3, {60, 64, 67}, 6), (V{67, 64, 60, 64, 67, 64}));      // "Down/Up"
    EXPECT_EQ(play(6, {67, 60, 64}, 4), (V{67, 64, 60, 67}));              // "Rev. Ord."
    EXPECT_EQ(play(8, {67, 60, 64}, 5), (V{67, 64, 60, 64, 67}));          // "O Down/Up"
    // "Random" picks among the held notes, not always the same one.
    const V random = play(4, {60, 64, 67}, 12);
    for (int n : random) EXPECT_TRUE(n == 60 || n == 64 || n == 67) << n;
    EXPECT_NE(std::count(random.begin(), random.end(), random[0]), 12);
}

TEST(Arpeggiator, StepsTunesAndOctaves) {
    // "Arp Steps" 3 plays steps 1 to 3 of a pattern tuned 0, +7, +12, +5.
    auto host = arpSynth(Up);
    host->setParameter(prm::ArpSteps, 2.5f / 15.99f);
    const int tunes[] = {0, 7, 12, 5};
    for (int i = 0; i < 4; ++i) host->setParameter(kTune + i, tune(tunes[i]));
    EXPECT_EQ(stepNotes(playFree(*host, keys({60}), int(kStep * 8)), 7, kStep),
              (std::vector<int>{60, 67, 72, 60, 67, 72, 60}));
    // Two octaves: a pass through the notes, then the same an octave up.
    host = arpSynth(Up);
    host->setParameter(prm::ArpOctaves, 1.5f / 3.99f);
    EXPECT_EQ(stepNotes(playFree(*host, keys({60, 64, 67}), int(kStep * 9)), 8, kStep),
              (std::vector<int>{60, 64, 67, 72, 76, 79, 60, 64}));
    // A pass of "Up/Down" goes up and back down before the octave moves.
    host = arpSynth(UpDown);
    host->setParameter(prm::ArpOctaves, 1.5f / 3.99f);
    EXPECT_EQ(stepNotes(playFree(*host, keys({60, 64, 67}), int(kStep * 10)), 9, kStep),
              (std::vector<int>{60, 64, 67, 64, 72, 76, 79, 76, 60}));
    // A step switched off is a rest, even for notes held into the next step.
    host = arpSynth(Up);
    useSquare(*host);
    host->setParameter(prm::ArpNoteLength, 1.0f);
    host->setParameter(kOn + 1, 0.0f);
    const auto found = onsets(playFree(*host, keys({93}), int(kStep * 4.5)));
    ASSERT_EQ(found.size(), 2u);  // step 1, then steps 3 to 5 without a gap
    EXPECT_NEAR(double(found[1] - found[0]), 2 * kStep, 16.0);
}

TEST(Arpeggiator, NoteLengthReleasesWithinTheStepOrHoldsOver) {
    auto host = arpSynth(Up);
    useSquare(*host);  // note length 0.5
    const auto x = playFree(*host, keys({93}), int(kStep * 5));
    const auto found = onsets(x);
    ASSERT_GE(found.size(), 4u);
    for (size_t k = 0; k + 1 < found.size(); ++k) {
        EXPECT_NEAR(double(found[k + 1] - found[k]), kStep, 16.0);
        long end = found[k];
        for (long i = found[k]; i < found[k + 1]; ++i)
            if (std::fabs(x[size_t(i)] - x[size_t(i) - 1]) > 1e-3) end = i;
        // Half a step, then the instant release (three envelope steps).
        EXPECT_NEAR(double(end - found[k]), kStep / 2 + 32.0, 32.0) << k;
    }
    // A tie flag on a step that is off holds nothing: the note still ends half-way.
    host = arpSynth(Up);
    useSquare(*host);
    host->setParameter(kOn + 1, 0.0f);
    host->setParameter(kTie + 1, 1.0f);
    const auto rest = playFree(*host, keys({93}), int(kStep * 2));
    const long first = analysis::firstAbove(rest, 1e-4);
    double change = 0.0;
    for (size_t i = size_t(first + 0.6 * kStep); i < size_t(first + 1.5 * kStep); ++i)
        change = std::max(change, double(std::fabs(rest[i] - rest[i - 1])));
    EXPECT_LT(change, 1e-4);
    // At full length (1.05 steps) the sound never stops between the steps.
    host->setParameter(prm::ArpNoteLength, 1.0f);
    EXPECT_EQ(onsets(playFree(*host, keys({93}), int(kStep * 5))).size(), 1u);
}

TEST(Arpeggiator, FullSwingMakesStepsOfTwoThirdsAndFourThirds) {
    auto host = arpSynth(Up);
    useSquare(*host);
    host->setParameter(prm::ArpSwing, 1.0f);
    const auto found = onsets(playFree(*host, keys({93}), int(kStep * 9)));
    ASSERT_GE(found.size(), 8u);
    for (size_t k = 0; k + 1 < found.size(); ++k)
        EXPECT_NEAR(double(found[k + 1] - found[k]), (k % 2 == 0 ? 4.0 : 2.0) / 3.0 * kStep, 16.0) << k;
    // Each pair lasts two plain steps.
    EXPECT_NEAR(double(found[6] - found[0]), 6 * kStep, 16.0);
    // Synced, swung steps keep to the host's grid: a pair starts on every other
    // sixteenth, its second step 4/3 of a sixteenth into it.
    host = arpSynth(Up);
    useSquare(*host);
    host->setParameter(prm::ArpSwing, 1.0f);
    Transport t;
    t.tempo = 174.0;
    const double sixteenth = t.samplesPerSixteenth();
    const auto synced = onsets(renderTransport(*host, t, int(sixteenth * 25), 512, keys({93})).left);
    ASSERT_GE(synced.size(), 24u);
    for (size_t k = 1; k < synced.size(); ++k) {  // the first key came on the boundary: a period late
        const double due = (double(k - k % 2) + (k % 2 ? 4.0 / 3.0 : 0.0)) * sixteenth;
        EXPECT_GE(double(synced[k]) + 0.5, due) << k;
        EXPECT_LT(double(synced[k]), due + 16.0) << k;
    }
}

TEST(Arpeggiator, TiesKeepTheEnvelope) {
    // A slow attack shows whether the second step restarts the envelope.
    auto around = [](bool tie, bool tiedMode, float noteLength = 1.0f) {
        auto host = arpSynth(Up);
        host->setParameter(prm::ArpNoteLength, noteLength);
        host->setParameter(prm::VolumeEnvelopeAttack, float(std::log2(300.0) / 14.0));
        host->setParameter(kTune + 1, tune(12));
        host->setParameter(kTie + 1, tie ? 1.0f : 0.0f);
        host->setParameter(prm::TiedMode, tiedMode ? 1.0f : 0.0f);
        const auto x = playFree(*host, keys({81}), int(kStep * 3));
        const long first = analysis::firstAbove(x, 1e-4);
        const double boundary = first + kStep;
        struct Around {
            double before, after;
            int noteAfter;
        };
        return Around{analysis::peak(x, size_t(boundary - 700), size_t(boundary - 100)),
                      analysis::peak(x, size_t(boundary + 100), size_t(boundary + 700)),
                      noteIn(x, boundary + 400, boundary + 3000)};
    };
    const auto retriggered = around(false, false);
    EXPECT_LT(retriggered.after, 0.2 * retriggered.before);
    EXPECT_EQ(retriggered.noteAfter, 93);
    // "Tied Mode": the pitch moves, the envelope carries on rising.
    const auto tied = around(true, true);
    EXPECT_GT(tied.after, tied.before);
    EXPECT_EQ(tied.noteAfter, 93);
    // Without it the tie continues the note as it is.
    const auto held = around(true, false);
    EXPECT_GT(held.after, held.before);
    EXPECT_EQ(held.noteAfter, 81);
    // A note tied to the next step is held into it, however short the notes.
    const auto shortNotes = around(false, true, 0.5f);
    EXPECT_LT(shortNotes.before, 0.01);
    const auto tiedShort = around(true, true, 0.5f);
    EXPECT_GT(tiedShort.before, 0.2);
    EXPECT_GT(tiedShort.after, tiedShort.before);
}

TEST(Arpeggiator, SlideStepsGlideAtTheSlideSpeed) {
    // Step 2 is an octave up. A slide step glides there at one octave per
    // 16 x 2^(12 x "Arp Slide") ticks (1024 at 0.5), even with "Port Mode" "Off";
    // other steps get there within a control period or two.
    auto centsInto = [](bool slide, double from, double to) {
        auto host = arpSynth(Up);
        host->setParameter(kTune + 1, tune(12));
        host->setParameter(252 + 1, slide ? 1.0f : 0.0f);
        host->setParameter(prm::ArpSlide, 0.5f);
        const auto x = playFree(*host, keys({81}), int(kStep * 2.5));
        const double boundary = analysis::firstAbove(x, 1e-4) + kStep;
        return analysis::cents(analysis::frequency(x, kRate, size_t(boundary + from), size_t(boundary + to)), 880.0);
    };
    EXPECT_NEAR(centsInto(false, 200, 600), 0.0, 0.5);
    EXPECT_LT(centsInto(true, 200, 600), -500.0);
    EXPECT_GT(centsInto(true, 200, 600), -1100.0);
    EXPECT_NEAR(centsInto(true, 1500, 4000), 0.0, 0.5);
}

TEST(Arpeggiator, TiedModeGlidesTheVelocity) {
    // Step 1 at full velocity, step 2 tied at velocity 0. The loudness follows
    // the average velocity (63.5) and "Velocity" on "Vol 1" the gliding one
    // (0.1 x 0 + 0.9 x 127).
    auto host = arpSynth(Up);
    host->setParameter(prm::VelocityToVolume, 1.0f);
    host->setParameter(prm::Mod1Source, modChoice(modsrc::Velocity));
    host->setParameter(prm::Mod1Destination, modChoice(moddst::osc(0, moddst::OscVol)));
    host->setParameter(prm::Mod1Amt, 1.0f);
    host->setParameter(prm::TiedMode, 1.0f);
    host->setParameter(kTie + 1, 1.0f);
    host->setParameter(kVelocity + 1, 0.0f);
    const auto x = playFree(*host, keys({81}), int(kStep * 2.5));
    const long first = analysis::firstAbove(x, 1e-4);
    const double before = analysis::rms(x, size_t(first + kStep - 2000), size_t(first + kStep - 100));
    const double after = analysis::rms(x, size_t(first + 2 * kStep - 2000), size_t(first + 2 * kStep - 100));
    EXPECT_NEAR(after / before, 0.5 * 0.9, 0.01);
}

TEST(Arpeggiator, StepVelocityMixesWithTheKeysVelocity) {
    // Loudness follows the velocity ("Velocity > Volume" full); the steps are at 127.
    auto levels = [](int mode, float velMix, std::vector<VstMidiEvent> keys) {
        auto host = arpSynth(mode);
        host->setParameter(prm::VelocityToVolume, 1.0f);
        host->setParameter(prm::ArpVelKeyboard, velMix);
        host->setParameter(kVelocity, 1.0f);
        host->setParameter(kVelocity + 1, 1.0f);
        const auto x = playFree(*host, keys, int(kStep * 2.5));
        const long first = analysis::firstAbove(x, 1e-4);
        return std::pair{analysis::rms(x, size_t(first + 800), size_t(first + kStep - 300)),
                         analysis::rms(x, size_t(first + kStep + 800), size_t(first + 2 * kStep - 300))};
    };
    const double full = levels(Up, 0.0f, {noteOn(0, 81, 27)}).first;
    ASSERT_GT(full, 0.1);
    // A quarter of the key's 27 and three quarters of the step's 127.
    EXPECT_NEAR(levels(Up, 0.25f, {noteOn(0, 81, 27)}).first / full, 102.0 / 127.0, 0.005);
    // Each key keeps its own velocity, in the order of the keys ("Up") and
    // sorted ("Ordered"), also while notes are held over and the sorted copy is kept.
    const auto up = levels(Up, 1.0f, {noteOn(0, 79, 127), noteOn(0, 72, 40)});
    EXPECT_NEAR(up.first / full, 1.0, 0.005);
    EXPECT_NEAR(up.second / full, 40.0 / 127.0, 0.005);
    const auto sorted = levels(Ordered, 1.0f, {noteOn(0, 79, 127), noteOn(0, 72, 40)});
    EXPECT_NEAR(sorted.first / full, 40.0 / 127.0, 0.005);
    EXPECT_NEAR(sorted.second / full, 1.0, 0.005);
}

TEST(Arpeggiator, ChordPlaysEveryHeldNoteOnEachStep) {
    auto host = arpSynth(Chord);
    host->setParameter(kTune + 1, tune(12));
    const auto x = playFree(*host, keys({60, 64, 67}), int(kStep * 3));
    const long first = analysis::firstAbove(x, 1e-4);
    for (int step = 0; step < 2; ++step) {
        const size_t begin = size_t(first + step * kStep + 800), end = begin + 4096;
        for (int note : {60, 64, 67}) {
            const int heard = note + 12 * step;
            EXPECT_GT(spectrum::amplitudeAt(x, begin, end, noteHz(heard), kRate), 0.3) << step << " " << heard;
            EXPECT_LT(spectrum::amplitudeAt(x, begin, end, noteHz(heard + 12 - 24 * step), kRate), 0.01);
        }
    }
}

TEST(Arpeggiator, ChordClimbsOctavesAndEndsEveryNoteAtTheNoteLength) {
    auto host = arpSynth(Chord);
    host->setParameter(prm::ArpOctaves, 1.5f / 3.99f);
    host->setParameter(prm::ArpNoteLength, 0.5f / 1.05f);
    const auto x = playFree(*host, keys({60, 64}), int(kStep * 4));
    const long first = analysis::firstAbove(x, 1e-4);
    for (int step = 0; step < 3; ++step) {
        const size_t begin = size_t(first + step * kStep + 300), end = begin + 2048;
        const int octave = step % 2;
        EXPECT_GT(spectrum::amplitudeAt(x, begin, end, noteHz(60 + 12 * octave), kRate), 0.3) << step;
        EXPECT_GT(spectrum::amplitudeAt(x, begin, end, noteHz(64 + 12 * octave), kRate), 0.3) << step;
        // The second half of the step is silent: every chord note has ended.
        double change = 0.0;
        for (size_t i = size_t(first + (step + 0.6) * kStep); i < size_t(first + (step + 0.95) * kStep); ++i)
            change = std::max(change, double(std::fabs(x[i] - x[i - 1])));
        EXPECT_LT(change, 1e-4) << step;
    }
}

TEST(Arpeggiator, LatchHoldsThePhraseUntilTheNextOne) {
    auto host = arpSynth(Up);
    host->setParameter(prm::ArpLatch, 1.0f);
    std::vector<VstMidiEvent> e{noteOn(0, 60), noteOn(0, 64), noteOff(3000, 60), noteOff(3000, 64),
                                noteOn(int(8 * kStep), 67), noteOff(int(8 * kStep) + 100, 67)};
    const auto x = playFree(*host, e, int(13 * kStep));
    const auto notes = stepNotes(x, 12, kStep);
    EXPECT_EQ(std::vector<int>(notes.begin(), notes.begin() + 7),
              (std::vector<int>{60, 64, 60, 64, 60, 64, 60}));
    EXPECT_EQ(std::vector<int>(notes.begin() + 9, notes.end()), (std::vector<int>{67, 67, 67}));

    // The sustain pedal holds an arpeggio too; lifting it stops the pattern.
    host = arpSynth(Up);
    useSquare(*host);
    const auto held = playFree(*host, {controller(0, 64, 127), noteOn(0, 93), noteOff(3000, 93),
                                       controller(int(4.2 * kStep), 64, 0)},
                               int(7 * kStep));
    EXPECT_EQ(onsets(held).size(), 5u);
}

TEST(Arpeggiator, SyncedOnsetsLandOnTheHostSixteenths) {
    for (double tempo : {90.0, 120.0, 174.0})
        for (int block : {512, 333}) {
            auto host = arpSynth(Up);
            useSquare(*host);
            Transport t;
            t.tempo = tempo;
            t.ppq = 2.37;  // the transport starts in the middle of a bar
            const double sixteenth = t.samplesPerSixteenth();
            const auto x = renderTransport(*host, t, int(sixteenth * 14), block, keys({93})).left;
            const auto found = onsets(x);
            ASSERT_GE(found.size(), 12u) << tempo;
            // The first boundary at or after the note: ppq 2.5.
            for (size_t k = 0; k < found.size(); ++k) {
                const double boundary = ((10.0 + double(k)) / 4.0 - 2.37) * 4.0 * sixteenth;
                EXPECT_GE(double(found[k]), boundary) << tempo << " block " << block << " step " << k;
                EXPECT_LT(double(found[k]), boundary + 16.0) << tempo << " block " << block << " step " << k;
            }
        }
    // A key the host meant for a boundary that falls between two samples
    // (5512.5 at 120 BPM), placed on the sample after it, starts the pattern
    // on that boundary, not on the next one.
    auto host = arpSynth(Up);
    useSquare(*host);
    Transport t;
    const double sixteenth = t.samplesPerSixteenth();
    const auto found = onsets(renderTransport(*host, t, int(sixteenth * 4), 512, keys({93}, 5513)).left);
    ASSERT_GE(found.size(), 2u);
    EXPECT_NEAR(double(found[0]), 5513.0 + 16.0, 16.0);
    EXPECT_GE(double(found[1]) + 0.5, 2.0 * sixteenth);
    EXPECT_LT(double(found[1]), 2.0 * sixteenth + 16.0);
}

TEST(Arpeggiator, TransportStopResetsAndALoopRestartsThePattern) {
    auto host = arpSynth(Up);
    useSquare(*host);
    host->setParameter(kTune, tune(-12));  // the first step is an octave below the others
    Transport t;
    const double sixteenth = t.samplesPerSixteenth();
    // Loop back to ppq 1 at the block after sample 42000 (ppq 1.9, in a gap
    // between two notes), stop at 72000 (while a note sounds).
    bool looped = false;
    int loopAt = -1;
    const auto x = renderTransport(*host, t, 90000, 512, keys({93}), [&](int start, Transport& tr) {
        if (!looped && start >= 42000) {
            looped = true;
            loopAt = start;
            tr.ppq = 1.0;
        }
        if (start >= 72000) tr.playing = false;
    }).left;
    const auto found = onsets(x);
    // Before the loop: on the grid from ppq 0. The key came on the first
    // boundary itself, so the first note sounds a control period later.
    ASSERT_GE(found.size(), 9u);
    EXPECT_LT(found[0], 32);
    for (size_t k = 1; found[k] < loopAt; ++k) {
        EXPECT_GE(found[k], k * sixteenth) << k;
        EXPECT_LT(found[k], k * sixteenth + 16.0) << k;
    }
    // At the loop the pattern restarts on its first step, on the loop's boundary.
    const auto restart = std::find_if(found.begin(), found.end(), [&](long s) { return s >= loopAt; });
    ASSERT_NE(restart, found.end());
    EXPECT_LT(*restart - loopAt, 32);
    EXPECT_EQ(noteIn(x, *restart + 200, *restart + 2500), 81);
    EXPECT_EQ(noteIn(x, *restart + sixteenth + 200, *restart + sixteenth + 2500), 93);
    // The stop silences at once and clears the held notes: nothing plays after it.
    const int stopAt = (72000 / 512 + 1) * 512;
    EXPECT_GT(analysis::peak(x, size_t(stopAt - 100), size_t(stopAt)), 0.3);
    double change = 0.0;  // only the DC blocker's slow decay is left
    for (size_t i = size_t(stopAt + 64); i < x.size(); ++i) change = std::max(change, double(std::fabs(x[i] - x[i - 1])));
    EXPECT_LT(change, 1e-4);
    EXPECT_TRUE(std::none_of(found.begin(), found.end(), [&](long s) { return s > stopAt; }));
}

TEST(Arpeggiator, WithoutHostTimeItRunsFreeAt120) {
    for (int variant = 0; variant < 4; ++variant) {
        auto host = arpSynth(Up);
        useSquare(*host);
        Transport t;
        t.tempo = 90.0;
        if (variant == 0) t.timeInfo = false;  // getTime answers null
        if (variant == 1) t.tempoValid = false;
        if (variant == 2) t.tempo = NAN;
        if (variant == 3) t.tempo = 0.0;
        t.positionValid = false;
        const auto found = onsets(renderTransport(*host, t, int(kStep * 8), 512, keys({93})).left);
        ASSERT_GE(found.size(), 7u) << variant;
        for (size_t k = 1; k < found.size(); ++k)
            EXPECT_NEAR(double(found[k] - found[0]), double(k) * kStep, 16.0) << variant << " step " << k;
    }
}

TEST(Arpeggiator, ModSequencerModulatesInStepWithTheGrid) {
    // Play mode "Poly", arpeggiator mode "Mod": "Arp Free" on "Main Pitch"
    // moves the held note by the steps' free values (2 v - 1 of 3600 cents).
    auto host = loadPlugin();
    setPlainSine(*host);
    host->setParameter(prm::PitchLfoAmountControl, 0.0f);
    host->setParameter(prm::ArpMode, choice(ModSequencer, 11));
    host->setParameter(prm::ArpSteps, 3.5f / 15.99f);  // 4 steps
    const float free[] = {0.5f, 0.625f, 0.375f, 0.625f};   // 0, +900, -900, +900 cents
    for (int i = 0; i < 4; ++i) host->setParameter(kFree + i, free[i]);
    host->setParameter(kTie + 3, 1.0f);  // without "Tied Mode" step 4 keeps step 3's value
    host->setParameter(prm::Mod1Source, modChoice(modsrc::ArpFree));
    host->setParameter(prm::Mod1Destination, modChoice(moddst::MainPitch));
    host->setParameter(prm::Mod1Amt, 1.0f);
    Transport t;
    t.ppq = 0.75;
    const double sixteenth = t.samplesPerSixteenth();
    renderTransport(*host, t, 1024, 512);  // the new arpeggiator mode releases what sounds
    t.ppq = 0.75;
    const auto x = renderTransport(*host, t, int(sixteenth * 10), 512, keys({81})).left;
    const int expected[] = {0, 900, -900, -900};
    // The sequencer starts at the first boundary after the transport: ppq 0.75 itself.
    for (int k = 0; k < 9; ++k) {
        const double boundary = k * sixteenth;
        const double cents = analysis::cents(
            analysis::frequency(x, kRate, size_t(boundary + 500), size_t(boundary + sixteenth)), 440.0);
        // The smoothed source settles just below its value: whole cents, truncated.
        EXPECT_NEAR(cents, expected[k % 4], 1.05) << "step " << k;
        if (k > 0) {
            const double before = analysis::cents(
                analysis::frequency(x, kRate, size_t(boundary - 500), size_t(boundary)), 440.0);
            EXPECT_NEAR(before, expected[(k - 1) % 4], 1.05) << "before step " << k;
        }
    }
}

TEST(Arpeggiator, ModSequencerSmoothsItsSteps) {
    // "Arp Vel" (and "Arp Free") on "Vol 1" scales a 3520 Hz square by the
    // steps' velocities 1 and 0.25 (free values 1 and 0.625: 1 and 0.25); the
    // source halves its distance to each new value every 16 ticks.
    for (int source : {modsrc::ArpVel, modsrc::ArpFree}) {
        SCOPED_TRACE(source);
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::Osc1Type, choice(2, 128));
        host->setParameter(prm::ArpMode, choice(ModSequencer, 11));
        host->setParameter(prm::ArpSteps, 1.5f / 15.99f);  // 2 steps
        host->setParameter(kVelocity, 1.0f);
        host->setParameter(kVelocity + 1, 0.25f);
        host->setParameter(kFree, 1.0f);
        host->setParameter(kFree + 1, 0.625f);
        host->setParameter(prm::Mod1Source, modChoice(source));
        host->setParameter(prm::Mod1Destination, modChoice(moddst::osc(0, moddst::OscVol)));
        host->setParameter(prm::Mod1Amt, 1.0f);
        Transport t;
        renderTransport(*host, t, 1024, 512);
        t.ppq = 0.0;
        const auto x = renderTransport(*host, t, int(kStep * 3), 512, keys({117})).left;
        auto level = [&](double at) {  // half the peak-to-peak over one period: free of the DC blocker
            double lo = 1e9, hi = -1e9;
            for (size_t i = size_t(at); i < size_t(at) + 13; ++i) lo = std::min(lo, double(x[i])), hi = std::max(hi, double(x[i]));
            return (hi - lo) / 2.0;
        };
        const double high = level(kStep - 300), low = level(2 * kStep - 300);
        EXPECT_NEAR(low / high, 0.25, 0.01);
        // 40 samples after the boundary back to step 1 (two or three updates) the
        // level is on its way up.
        const double during = level(2 * kStep + 40);
        EXPECT_LT(during, high - 0.04 * (high - low));
        EXPECT_GT(during, low + 0.3 * (high - low));
        EXPECT_NEAR(level(2 * kStep + 2000), high, 0.01 * high);
    }
}

TEST(Arpeggiator, StepDisplayFollowsTheSteps) {
    auto plugin = makePlugin();
    plugin->setParameter(prm::PlayMode, choice(4, 8));
    plugin->setParameter(prm::ArpSteps, 2.5f / 15.99f);  // 3 steps
    EXPECT_EQ(plugin->voiceEngine().arpDisplayedStep(), -1);
    processDirect(*plugin, 16, {noteOn(0, 60)});
    std::vector<int> shown;
    for (int block = 0; block < int((4 * kStep - 64) / 16); ++block) {
        processDirect(*plugin, 16);
        const int step = plugin->voiceEngine().arpDisplayedStep();
        if (shown.empty() || shown.back() != step) shown.push_back(step);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
}

TEST(Arpeggiator, BadHostTimeAndCrowdedKeysStayFiniteAndEnd) {
    std::mt19937 random(3);
    for (int round = 0; round < 4; ++round) {
        auto host = arpSynth(round);
        for (int p = prm::ArpSteps; p <= prm::TiedMode; ++p)
            host->setParameter(p, std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
        host->setParameter(prm::ArpMode, choice(round * 3 % 10, 11));
        for (int p = kTie; p < kFree + 16; ++p)
            host->setParameter(p, std::uniform_real_distribution<float>(0.0f, 1.0f)(random));
        host->setParameter(prm::VolumeEnvelopeRelease, 0.2f);
        std::vector<VstMidiEvent> events;
        for (int k = 0; k < 40; ++k) events.push_back(noteOn(k * 50, 20 + 2 * k));  // beyond the 32 listed
        for (int k = 0; k < 40; ++k) events.push_back(noteOff(60000, 20 + 2 * k));
        Transport t;
        const double tempos[] = {0.0, -5.0, NAN, INFINITY, 100000.0, 300.0, 1.0, 120.0};
        const auto x = renderTransport(*host, t, 100000, 256, events, [&](int start, Transport& tr) {
            const int block = start / 256;
            tr.tempo = tempos[(block / 7) % 8];
            if (round == 1) tr.playing = block % 2 == 0;  // the transport toggles every block
            if (round == 2 && block % 5 == 0) tr.ppq = block % 10 ? NAN : 3.6e6 * (block % 3);  // hours away
            if (round == 3) tr.ppq = -tr.ppq;
            if (start >= 80000) tr.playing = false;
        });
        for (float s : x.left) ASSERT_TRUE(std::isfinite(s)) << round;
        EXPECT_LT(analysis::peak(x.left, 95000, 100000), 1e-3) << round;
    }
}
