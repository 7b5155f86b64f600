// The LFOs heard through the plug-in: the pitch LFO's rate (free and synced
// to the host tempo), depth and waveform, rest at speed 0, the restart rules
// of the "Poly", "Free" and "Mono" modes, and the filter LFO's sweep.
#include <gtest/gtest.h>

#include <cmath>

#include "AudioAnalysis.h"
#include "TransportSupport.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

// Rising zero crossings of x[begin, end), interpolated.
std::vector<double> risingCrossings(const std::vector<float>& x, size_t begin, size_t end) {
    std::vector<double> t;
    for (size_t i = begin + 1; i < end && i < x.size(); ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) t.push_back(double(i - 1) + double(-x[i - 1]) / double(x[i] - x[i - 1]));
    return t;
}

// Times at which the pitch of a tone alternating between `lowHz` and a
// semitone above it turns high (or, with `toHigh` false, low).
std::vector<double> turns(const std::vector<float>& x, double sampleRate, double lowHz, size_t begin,
                          bool toHigh = true) {
    const auto t = risingCrossings(x, begin, x.size());
    const double threshold = sampleRate / lowHz * (1.0 + std::exp2(-1.0 / 12.0)) / 2.0;
    std::vector<double> found;
    bool high = toHigh;
    for (size_t i = 1; i < t.size(); ++i) {
        const bool nowHigh = t[i] - t[i - 1] < threshold;
        if (nowHigh != high && nowHigh == toHigh) found.push_back(t[i - 1]);
        high = nowHigh;
    }
    return found;
}

// A sine at `hz`... note 93 is 880 Hz.
constexpr int kNote = 93;
constexpr double kNoteHz = 880.0;

std::unique_ptr<vsthost::PluginHost> pitchLfoSynth(double rate, float wave, float speed, float sync,
                                                   float amount) {
    auto host = loadPlugin(float(rate));
    setPlainSine(*host);
    host->setParameter(prm::PitchLfoWave, wave);
    host->setParameter(prm::PitchLfoSpeed, speed);
    host->setParameter(prm::PitchLfoSync, sync);
    host->setParameter(prm::PitchLfoAmt, amount);
    host->setParameter(prm::PitchLfoAmountControl, 0.0f);
    return host;
}

// The lowest and highest pitch over windows of `window` samples every `step`.
std::pair<double, double> pitchRange(const std::vector<float>& r, size_t window, size_t step) {
    double low = 1e9, high = 0.0;
    for (size_t at = 4000; at + window + 1000 < r.size(); at += step) {
        const double f = analysis::frequency(r, 44100.0, at, at + window);
        low = std::min(low, f);
        high = std::max(high, f);
    }
    return {low, high};
}

double meanCycle(const std::vector<double>& turns) {
    return (turns.back() - turns.front()) / double(turns.size() - 1);
}

}  // namespace

TEST(Lfo, PitchLfoRateFollowsItsFormulaFreeAndSynced) {
    constexpr double kRate = 48000.0;
    const float square = choice(4, 6);
    {
        // Free: 2^(10 a) / rate * 1.71875 of a cycle every 128 samples.
        const float a = 0.7f;
        auto host = pitchLfoSynth(kRate, square, a, 0.0f, 1.0f);
        Transport t{kRate};
        auto r = renderTransport(*host, t, 260000, 512, {noteOn(0, kNote)});
        const auto up = turns(r.left, kRate, kNoteHz, 2000);
        ASSERT_GE(up.size(), 8u);
        const double expected = 128.0 / (std::exp2(10.0 * a) / kRate * 1.71875);
        EXPECT_NEAR(meanCycle(up) / expected, 1.0, 0.001);
    }
    for (int division : {26, 23, 20}) {  // "1/16", "1/8", "1/4"
        // Synced at 120 BPM: one cycle lasts the division (a bar is 96000 samples).
        const double bars[] = {0.0625, 0.125, 0.25};
        const double expected = bars[(26 - division) / 3] * 96000.0;
        auto host = pitchLfoSynth(kRate, square, (division + 0.5f) / 30.99f, 1.0f, 1.0f);
        Transport t{kRate};
        auto r = renderTransport(*host, t, int(expected * 12), 512, {noteOn(0, kNote)});
        const auto up = turns(r.left, kRate, kNoteHz, 2000);
        ASSERT_GE(up.size(), 8u) << division;
        EXPECT_NEAR(meanCycle(up) / expected, 1.0, 0.002) << division;
        // The turns keep their spacing: no drift, each within a control period and a cycle of the tone.
        for (size_t i = 1; i < up.size(); ++i)
            EXPECT_NEAR(up[i] - up[0], double(i) * expected, 128.0 + 60.0) << division << " turn " << i;
        // The square is high for half of each cycle.
        const auto down = turns(r.left, kRate, kNoteHz, size_t(up[0]), false);
        ASSERT_GE(down.size(), 4u);
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(down[i] - up[i], expected / 2.0, 2 * (128.0 + 60.0)) << division << " half " << i;
    }
    {
        // "Offset" on "Pit LFO Spd" at +0.5 doubles a synced rate too: "1/8" takes a sixteenth.
        auto host = pitchLfoSynth(kRate, square, 23.5f / 30.99f, 1.0f, 1.0f);
        host->setParameter(prm::Mod1Source, modChoice(30));
        host->setParameter(prm::Mod1ModSource, modChoice(0));
        host->setParameter(prm::Mod1Destination, modChoice(3));
        host->setParameter(prm::Mod1Amt, 0.75f);
        Transport t{kRate};
        auto r = renderTransport(*host, t, 80000, 512, {noteOn(0, kNote)});
        const auto up = turns(r.left, kRate, kNoteHz, 2000);
        ASSERT_GE(up.size(), 8u);
        EXPECT_NEAR(meanCycle(up) / 6000.0, 1.0, 0.002);
    }
}

TEST(Lfo, SquarePitchLfoAlternatesByItsAmount) {
    for (float amount : {1.0f, 0.5f}) {
        auto host = pitchLfoSynth(44100.0, choice(4, 6), 0.5f, 0.0f, amount);  // 0.43 Hz
        auto r = renderFrames(*host, 200000, 512, {noteOn(0, kNote)}).left;
        // Pitches over windows well inside the halves of the cycle.
        const auto [low, high] = pitchRange(r, 3000, 4000);
        EXPECT_NEAR(analysis::cents(low, kNoteHz), 0.0, 0.5) << amount;
        EXPECT_NEAR(analysis::cents(high, kNoteHz), 100.0 * amount, 0.5) << amount;
    }
    // The sine swings both ways.
    auto host = pitchLfoSynth(44100.0, choice(0, 6), 0.5f, 0.0f, 1.0f);
    auto r = renderFrames(*host, 200000, 512, {noteOn(0, kNote)}).left;
    const auto [low, high] = pitchRange(r, 1000, 1000);
    EXPECT_NEAR(analysis::cents(low, kNoteHz), -100.0, 3.0);
    EXPECT_NEAR(analysis::cents(high, kNoteHz), 100.0, 3.0);
}

TEST(Lfo, SpeedZeroRestsAtZero) {
    // The pitch LFO at full depth leaves the pitch alone, whatever its wave.
    for (int wave = 0; wave < 6; ++wave) {
        auto host = pitchLfoSynth(44100.0, choice(wave, 6), 0.0f, 0.0f, 1.0f);
        auto r = renderFrames(*host, 60000, 512, {noteOn(0, kNote)}).left;
        EXPECT_NEAR(analysis::cents(analysis::frequency(r, 44100.0, 5000, 60000), kNoteHz), 0.0, 0.05) << wave;
    }
    // The filter LFO at full amount leaves the cutoff where it is: the output is
    // the one without any LFO amount.
    auto render = [](float speed, float amount) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::Osc1Type, choice(1, 128));  // saw
        host->setParameter(prm::FilterType, choice(3, 14));  // 12 dB low-pass
        host->setParameter(prm::FilterFrequency, 0.45f);
        host->setParameter(prm::FilterLfoSpeed, speed);
        host->setParameter(prm::FilterLfoWave, choice(4, 6));
        host->setParameter(prm::FilterLfoAmt, amount);
        return renderFrames(*host, 30000, 512, {noteOn(0, 57)}).left;
    };
    EXPECT_EQ(render(0.0f, 1.0f), render(0.0f, 0.5f));
    // A free LFO stopped while high on "Main Pitch" falls back to 0, not stays up.
    {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::PitchLfoAmountControl, 0.0f);
        host->setParameter(prm::FreeLfo1Wave, choice(4, 6));
        host->setParameter(prm::FreeLfo1Speed, 0.5f);
        host->setParameter(prm::FreeLfo1Dest, modChoice(1));
        host->setParameter(prm::FreeLfo1ModAmt, (1.0f / 36.0f + 1.0f) / 2.0f);
        auto r = renderFrames(*host, 70000, 512, {noteOn(0, 81)}).left;  // high from 1.16 s
        EXPECT_NEAR(analysis::cents(analysis::frequency(r, 44100.0, 60000, 70000), 440.0), 100.0, 0.1);
        host->setParameter(prm::FreeLfo1Speed, 0.0f);
        r = renderFrames(*host, 10000, 512).left;
        EXPECT_NEAR(analysis::cents(analysis::frequency(r, 44100.0, 1000, 10000), 440.0), 0.0, 0.1);
    }
    EXPECT_EQ(render(0.0f, 0.0f), render(0.0f, 0.5f));
    EXPECT_NE(render(0.9f, 1.0f), render(0.9f, 0.5f));
    // A resting free LFO on "Main Pitch" changes nothing, not even in the
    // control period in which a note restarts it ("Poly" and "Mono"), for the
    // waves that start high.
    auto routed = [](int wave, int mode, float destination) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::PitchLfoAmountControl, 0.0f);
        host->setParameter(prm::FreeLfo1Wave, choice(wave, 6));
        host->setParameter(prm::FreeLfo1Mode, choice(mode, 3));
        host->setParameter(prm::FreeLfo1Speed, 0.0f);
        host->setParameter(prm::FreeLfo1Dest, destination);
        host->setParameter(prm::FreeLfo1ModAmt, 1.0f);
        return renderFrames(*host, 4000, 512, {noteOn(1, 57), noteOn(1500, 64)}).left;
    };
    for (int wave : {0, 1, 3})
        for (int mode : {0, 2}) EXPECT_EQ(routed(wave, mode, modChoice(1)), routed(wave, mode, 0.0f)) << wave << " " << mode;
}

TEST(Lfo, FilterLfoSweepsTheCutoff) {
    // A square filter LFO moves a low-passed saw between two brightness levels;
    // amount 0 keeps it steady.
    auto levels = [](float amount) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::Osc1Type, choice(1, 128));
        host->setParameter(prm::FilterType, choice(9, 14));  // 24 dB low-pass
        host->setParameter(prm::FilterFrequency, 0.4f);
        host->setParameter(prm::FilterKeytracking, 0.5f);
        host->setParameter(prm::FilterLfoWave, choice(4, 6));
        host->setParameter(prm::FilterLfoMode, choice(0, 3));  // "Poly": restarts with the note
        host->setParameter(prm::FilterLfoSync, 0.0f);
        host->setParameter(prm::FilterLfoSpeed, 0.5f);         // 0.43 Hz: low for 1.16 s, then high
        host->setParameter(prm::FilterLfoAmt, amount);
        renderFrames(*host, 51200, 512);  // the shared instance, not heard, is half a cycle on
        auto r = renderFrames(*host, 100000, 512, {noteOn(0, 57)}).left;
        return std::pair{analysis::rms(r, 30000, 45000), analysis::rms(r, 60000, 95000)};
    };
    const auto steady = levels(0.5f);
    EXPECT_NEAR(steady.second / steady.first, 1.0, 0.01);
    const auto swept = levels(0.6f);  // +0.2 of the cutoff range in the upper half of the cycle
    EXPECT_GT(swept.second / swept.first, 1.3);
    const auto inverted = levels(0.4f);
    EXPECT_LT(inverted.second / inverted.first, 1.0 / 1.3);
}

TEST(Lfo, MonoModeRestartsAtEveryNoteFreeModeNever) {
    // Free LFO 1, a square of one cycle per second, moves "Main Pitch" a
    // semitone up in its upper half. A quiet second note comes at 0.75 s.
    auto highAt = [](int mode, bool secondNote, bool legato = false) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::PitchLfoAmountControl, 0.0f);
        if (legato) host->setParameter(prm::PlayMode, choice(3, 8));
        host->setParameter(prm::VelocityToVolume, 1.0f);
        host->setParameter(prm::FreeLfo1Wave, choice(4, 6));
        host->setParameter(prm::FreeLfo1Mode, choice(mode, 3));
        host->setParameter(prm::FreeLfo1Sync, 0.0f);
        host->setParameter(prm::FreeLfo1Speed, float(std::log2(128.0 / 1.71875) / 10.0));
        host->setParameter(prm::FreeLfo1Dest, modChoice(1));           // "Main Pitch"
        host->setParameter(prm::FreeLfo1ModAmt, (1.0f / 36.0f + 1.0f) / 2.0f);  // one semitone
        renderFrames(*host, 22050, 512);
        std::vector<VstMidiEvent> events{noteOn(0, 81, 127)};
        if (secondNote) events.push_back(noteOn(33075, legato ? 83 : 45, 1));
        auto r = renderFrames(*host, 44100, 512, events).left;
        const double f = analysis::frequency(r, 44100.0, 35500, 41500);
        return analysis::cents(f, legato && secondNote ? 493.883 : 440.0) > 50.0;
    };
    EXPECT_TRUE(highAt(2, false));   // "Mono": restarted by the first note, high from 0.5 s
    EXPECT_FALSE(highAt(2, true));   // ... and by the second, low again from 0.75 s
    EXPECT_EQ(highAt(1, false), highAt(1, true));  // "Free": the second note changes nothing
    EXPECT_TRUE(highAt(0, true));    // "Poly": the first voice keeps its own phase
    EXPECT_TRUE(highAt(0, false, true));
    EXPECT_FALSE(highAt(0, true, true));  // ... and restarts it at a legato note
}
