// The bank checks themselves: they must tell a sound in tune from one a few
// cents off, a harmonic sound from an inharmonic one, and catch a program that
// is too quiet, clips, rings on or is an octave off, measured through the plug-in.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "BankChecks.h"
#include "TestSupport.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"

using namespace bank_checks;

namespace {
constexpr double kPi = 3.14159265358979323846;

// Partials k * f at amplitudes 1/k, each optionally doubled a few cents higher.
std::vector<float> tone(double hz, int harmonics, double detuneCents = 0.0, double seconds = 1.5) {
    std::vector<float> x(static_cast<size_t>(seconds * kSampleRate));
    for (int k = 1; k <= harmonics; ++k) {
        for (double cents : {0.0, detuneCents}) {
            if (cents == 0.0 && detuneCents != 0.0 && k < 0) continue;
            const double f = k * hz * std::pow(2.0, cents / 1200.0);
            if (f > 0.45 * kSampleRate) continue;
            for (size_t i = 0; i < x.size(); ++i)
                x[i] += float(0.2 / k * std::sin(2.0 * kPi * f * double(i) / kSampleRate + k));
            if (detuneCents == 0.0) break;
        }
    }
    return x;
}

void add(std::vector<float>& x, const std::vector<float>& y, float gain) {
    for (size_t i = 0; i < x.size(); ++i) x[i] += gain * y[i];
}

double centsFrom440(const PitchReading& r) { return 1200.0 * std::log2(r.hz / 440.0); }
}  // namespace

TEST(BankChecks, PitchReadingFindsTheFundamentalOfHarmonicSounds) {
    const size_t start = kSampleRate / 2;
    for (double cents : {0.0, 3.0, -4.0, 6.0}) {
        const PitchReading r = readPitch(tone(440.0 * std::pow(2.0, cents / 1200.0), 20), start, kSampleRate);
        ASSERT_TRUE(r.clear) << cents;
        EXPECT_NEAR(centsFrom440(r), cents, 0.2);
    }
    // A detuned pair reads between its two pitches.
    PitchReading pair = readPitch(tone(440.0, 20, 8.0), start, kSampleRate);
    ASSERT_TRUE(pair.clear);
    EXPECT_GT(centsFrom440(pair), 1.0);
    EXPECT_LT(centsFrom440(pair), 7.0);

    // A sub-octave square under the tone is the fundamental; a bright octave above is not.
    std::vector<float> withSub = tone(440.0, 20);
    std::vector<float> sub = tone(220.0, 19);
    add(withSub, sub, 0.25f);
    EXPECT_NEAR(readPitch(withSub, start, kSampleRate).hz, 220.0, 0.2);
    std::vector<float> withOctave = tone(440.0, 20);
    add(withOctave, tone(880.0, 10), 0.5f);
    EXPECT_NEAR(readPitch(withOctave, start, kSampleRate).hz, 440.0, 0.2);
    // A missing fundamental is not invented: the lowest partial present is taken.
    std::vector<float> hollow = tone(880.0, 10);
    EXPECT_NEAR(readPitch(hollow, start, kSampleRate).hz, 880.0, 0.3);
}

TEST(BankChecks, PitchReadingRejectsNoiseAndInharmonicSounds) {
    const size_t start = kSampleRate / 2;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-0.3f, 0.3f);
    std::vector<float> noise(kSampleRate * 3 / 2);
    for (float& s : noise) s = uniform(random);
    EXPECT_FALSE(readPitch(noise, start, kSampleRate).clear);

    // Bell-like partials at 1, 2.76 and 5.4 times the lowest.
    std::vector<float> bell(kSampleRate * 3 / 2);
    for (double ratio : {1.0, 2.76, 5.4})
        for (size_t i = 0; i < bell.size(); ++i)
            bell[i] += float(0.2 * std::sin(2.0 * kPi * 440.0 * ratio * double(i) / kSampleRate));
    const PitchReading r = readPitch(bell, start, kSampleRate);
    EXPECT_FALSE(r.clear);
    ASSERT_EQ(r.partials.size(), 3u);
    // Silence has no pitch either.
    EXPECT_FALSE(readPitch(std::vector<float>(kSampleRate * 2), start, kSampleRate).clear);
}

namespace {
bool hasProblem(const ProgramReport& r, const std::string& check) {
    for (const std::string& p : r.problems)
        if (p.rfind(check + ":", 0) == 0) return true;
    return false;
}
std::string problems(const ProgramReport& r) {
    std::string all = r.summary();
    for (const std::string& p : r.problems) all += "\n" + p;
    return all;
}
bankgen::ProgramNotes pitched(std::optional<int> pitch = 0) { return {"Test", "lead", pitch, true, ""}; }

constexpr int kDefaultSound = testing_support::kDefaultSoundProgram;
// "Osc 1 Semi" at +12 and +11 semitones, "Osc 1 Fine" at +7 cents.
constexpr float kSemiUp12 = 60.5f / 96.99f;
constexpr float kSemiUp11 = 59.5f / 96.99f;
constexpr float kFineUp7 = 0.5352f;
}  // namespace

TEST(BankChecks, CatchAProgramAnOctaveOrAFewCentsOff) {
    auto host = testing_support::loadPlugin(kSampleRate, 512, true);
    // The default sound plays note 69 at 220 Hz.
    ProgramReport r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(hasProblem(r, "pitch")) << problems(r);
    EXPECT_NEAR(r.pitch.hz, 220.0, 0.2);
    // ... which is right for a sound meant an octave down, and for one without pitch.
    EXPECT_FALSE(hasProblem(checkProgram(*host, kDefaultSound, pitched(-12)), "pitch"));
    EXPECT_FALSE(hasProblem(checkProgram(*host, kDefaultSound, pitched(std::nullopt)), "pitch"));

    host->setParameter(prm::Osc1Semi, kSemiUp12);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_FALSE(hasProblem(r, "pitch")) << problems(r);
    EXPECT_NEAR(r.centsOff, 0.0, 1.0);
    host->setParameter(prm::Osc1Fine, kFineUp7);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(hasProblem(r, "pitch")) << problems(r);
    EXPECT_NEAR(r.centsOff, 7.0, 1.0);
    host->setParameter(prm::Osc1Fine, 0.5f);
    host->setParameter(prm::Osc1Semi, kSemiUp11);
    EXPECT_TRUE(hasProblem(checkProgram(*host, kDefaultSound, pitched()), "pitch"));
}

TEST(BankChecks, CatchLevelsAndTailsOutOfBounds) {
    auto host = testing_support::loadPlugin(kSampleRate, 512, true);
    host->setParameter(prm::Osc1Semi, kSemiUp12);
    host->setParameter(prm::Osc1Volume, 1.0f);
    host->setParameter(prm::MainVolume, 0.9f);  // a single note peaks near -4 dBFS
    ProgramReport r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_FALSE(r.traits.monoPhrase);
    EXPECT_FALSE(hasProblem(r, "note level")) << problems(r);
    EXPECT_TRUE(hasProblem(r, "chord level")) << problems(r);  // four of them clip
    // A mono program plays a phrase instead: one voice at a time (with a short
    // release, so that no note rings under the next), no clipping.
    host->setParameter(prm::PlayMode, params::kPlayMode.valueOf(playmode::Mono));
    host->setParameter(prm::VolumeEnvelopeRelease, 0.0f);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(r.traits.monoPhrase);
    EXPECT_TRUE(r.problems.empty()) << problems(r);
    // Too loud, too quiet, silent.
    host->setParameter(prm::MainVolume, 1.0f);
    EXPECT_TRUE(hasProblem(checkProgram(*host, kDefaultSound, pitched()), "note level"));
    host->setParameter(prm::MainVolume, 0.6f);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(hasProblem(r, "note level")) << problems(r);
    EXPECT_FALSE(hasProblem(r, "silent"));
    host->setParameter(prm::MainVolume, 0.0f);
    EXPECT_TRUE(hasProblem(checkProgram(*host, kDefaultSound, pitched(std::nullopt)), "silent"));

    // A 13-second release rings past the limit; at the top the notes hold, which is meant.
    host->setParameter(prm::MainVolume, 0.9f);
    host->setParameter(prm::VolumeEnvelopeRelease, 0.98f);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(hasProblem(r, "tail")) << problems(r);
    EXPECT_FALSE(r.traits.holds);
    host->setParameter(prm::VolumeEnvelopeRelease, 1.0f);
    r = checkProgram(*host, kDefaultSound, pitched());
    EXPECT_TRUE(r.traits.holds);
    EXPECT_FALSE(hasProblem(r, "tail")) << problems(r);
    EXPECT_FALSE(r.note.tailSeconds);
}

TEST(BankChecks, CatchDcAndInvalidSamples) {
    // The probe instrument adds program x 0.01 to its right channel, and a NaN
    // when its parameter 1 is on.
    vsthost::PluginHost host;
    ASSERT_TRUE(host.load(BRENNIX_PROBE_PATH)) << host.error();
    host.start(kSampleRate, 512);
    ProgramReport r = checkProgram(host, 0, pitched(std::nullopt));
    EXPECT_FALSE(hasProblem(r, "dc")) << problems(r);
    EXPECT_FALSE(hasProblem(r, "invalid"));
    EXPECT_FALSE(hasProblem(r, "tail"));
    r = checkProgram(host, 1, pitched(std::nullopt));
    EXPECT_TRUE(hasProblem(r, "dc")) << problems(r);
    EXPECT_NEAR(r.note.dc, 0.01, 1e-6);
    EXPECT_TRUE(hasProblem(r, "tail"));  // and it never ends
    host.setParameter(1, 1.0f);
    EXPECT_TRUE(hasProblem(checkProgram(host, 0, pitched(std::nullopt)), "invalid"));
}
