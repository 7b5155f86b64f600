// Whatever the knobs, rates, tempo and types, the effect slots stay finite
// and bounded: every built type in all three slots with knobs at 0, 1, NaN
// and random values at four sample rates, a minute at full feedback, types
// changing every block, a wandering tempo and sample-rate changes under a
// ringing tail.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "effects/EffectRegistry.h"

using namespace testing_support;
using namespace fxtest;

namespace {

std::vector<VstMidiEvent> chord(int at = 0) {
    return {noteOn(at, 48), noteOn(at, 55), noteOn(at, 60), noteOn(at, 64)};
}

double peakOf(const Render& r) { return std::max(analysis::peak(r.left), analysis::peak(r.right)); }

void expectFinite(const Render& r, double bound, const std::string& what) {
    for (const auto* channel : {&r.left, &r.right})
        for (size_t i = 0; i < channel->size(); ++i) {
            const float x = (*channel)[i];
            ASSERT_TRUE(std::isfinite(x) && std::fabs(x) <= bound)
                << what << ", sample " << i << ": " << x << " (bound " << bound << ")";
        }
}

// Knob patterns: all 0, all 1, and the two alternations (which open one
// filter while they turn a feedback to its end).
void knobPattern(int pattern, float* k) {
    for (int i = 0; i < 8; ++i)
        k[i] = pattern == 0 ? 0.0f : pattern == 1 ? 1.0f : float((i + pattern) % 2);
}

// The four held notes without effects.
double dryPeak() {
    static const double peak = [] {
        auto host = loadSource(44100.0f, false);
        return peakOf(renderFrames(*host, 8192, 512, chord()));
    }();
    return peak;
}

class EffectExtremes : public ::testing::TestWithParam<int> {};

std::string typeName(const ::testing::TestParamInfo<int>& info) {
    return "Type" + std::to_string(info.param);
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(BuiltTypes, EffectExtremes, ::testing::ValuesIn(builtEffectTypes()),
                         typeName);

TEST_P(EffectExtremes, AnyKnobsInAllSlotsAtAnyRateStayBounded) {
    const int type = GetParam();
    std::mt19937 random{unsigned(type)};
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (float rate : {22050.0f, 44100.0f, 96000.0f, 192000.0f}) {
        for (int pattern = 0; pattern < 5; ++pattern) {
            auto host = loadSource(rate, false);
            for (int slot = 0; slot < 3; ++slot) {
                float k[8];
                for (float& v : k) v = pattern == 0 ? 0.0f : pattern == 1 ? 1.0f : pattern == 2 ? NAN : unit(random);
                const float mix = pattern < 3 ? 0.5f : unit(random), pan = pattern < 3 ? 0.5f : unit(random);
                setEffect(*host, slot, type, {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7]}, mix, pan);
            }
            const int frames = int(rate * 0.25f);
            auto events = chord(100);
            for (int key : {48, 55, 60, 64}) events.push_back(noteOff(frames / 2, key));
            // Three slots in series, each loop held below unity gain.
            expectFinite(renderFrames(*host, frames, 512, events), 1e6 * dryPeak(),
                         "pattern " + std::to_string(pattern) + " at " + std::to_string(int(rate)) + " Hz");
        }
    }
}

TEST_P(EffectExtremes, FullFeedbackForAMinuteStaysBelowTheLoopGainBound) {
    const int type = GetParam();
    for (int pattern = 0; pattern < 4; ++pattern) {
        auto host = loadSource(44100.0f, false);
        host->setRecordCalls(false);
        float k[8];
        knobPattern(pattern, k);
        setEffect(*host, 0, type, {k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7]}, 0.5f, 0.5f);
        renderFrames(*host, 512, 512, chord());
        // A loop of gain 0.99 lifts a steady input at most a hundredfold; the dry signal adds once more.
        const double bound = 101.0 * dryPeak();
        for (int second = 0; second < 60; ++second)
            expectFinite(renderFrames(*host, 44100, 512), bound,
                         "pattern " + std::to_string(pattern) + ", second " + std::to_string(second));
    }
}

// One slot changes its type (built or not, 22..24 too) every block; where it
// changes the output moves by no more than the signal's own level around it.
TEST(EffectBadInput, TypeChangesEveryBlockClickNoMoreThanTheSignal) {
    std::vector<int> types = builtEffectTypes();
    for (int t : {0, 3, 4, 10, 17, 22, 23, 24}) types.push_back(t);
    auto host = loadSource(44100.0f, false);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    setEffect(*host, 0, types[0], {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f});
    Render all = renderFrames(*host, 4096, 512, chord());
    std::vector<size_t> changes;
    int previous = types[0];
    for (int block = 0; block < 300; ++block) {
        const int type = types[random() % types.size()];
        setEffect(*host, 0, type, {unit(random), unit(random), unit(random), unit(random), unit(random),
                                   unit(random), unit(random), unit(random)},
                  unit(random), unit(random));
        Render r = renderFrames(*host, 512, 512);
        ASSERT_NO_FATAL_FAILURE(expectFinite(r, 1e4, "block " + std::to_string(block)));
        all.left.insert(all.left.end(), r.left.begin(), r.left.end());
        all.right.insert(all.right.end(), r.right.begin(), r.right.end());
        // The type check runs every 512 samples, on the last sample of each of these blocks.
        if (type != previous) changes.push_back(all.left.size() - 1);
        previous = type;
    }
    EXPECT_GT(changes.size(), 250u);
    for (size_t at : changes) {
        const size_t end = std::min(all.left.size(), at + 512);
        const double level =
            std::max(analysis::peak(all.left, at - 1024, end), analysis::peak(all.right, at - 1024, end));
        const double jump = std::max(std::fabs(all.left[at] - all.left[at - 1]),
                                     std::fabs(all.right[at] - all.right[at - 1]));
        EXPECT_LE(jump, level) << "at sample " << at;
    }
}

// Synced delays and modulations under a tempo that is missing, zero, NaN,
// infinite, negative or huge, and sample-rate changes (without suspend, as
// some hosts do) while their tails ring.
TEST(EffectBadInput, WanderingTempoAndSampleRateUnderRingingTails) {
    auto host = loadSource(44100.0f, false);
    host->setRecordCalls(false);
    setEffect(*host, 0, 1, {0.7f, 0.1f, 1.0f, 0.0f, 0.5f, 0.5f, 0.5f});
    setEffect(*host, 1, 9, {0.1f, 0.9f, 0.6f, 0.9f, 0.9f, 1.0f, 0.8f}, 0.5f);
    setEffect(*host, 2, 7, {1.0f, 1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 0.0f}, 0.5f);
    const double tempos[] = {0.0, NAN, INFINITY, -40.0, 1e12, 1.0, 300.0, 120.0, 33.3};
    const float rates[] = {192000.0f, 22050.0f, 0.0f, NAN, 1e9f, 96000.0f, 44100.0f};
    renderFrames(*host, 2048, 512, chord());
    for (int block = 0; block < 400; ++block) {
        VstTimeInfo& time = host->timeInfo();
        time.tempo = tempos[block % 9];
        time.flags = block % 5 ? kVstTempoValid : 0;
        if (block % 37 == 36) host->dispatch(effSetSampleRate, 0, 0, nullptr, rates[(block / 37) % 7]);
        std::vector<VstMidiEvent> events;
        if (block == 100)
            for (int key : {48, 55, 60, 64}) events.push_back(noteOff(0, key));
        ASSERT_NO_FATAL_FAILURE(
            expectFinite(renderFrames(*host, 512, 512, events), 1e6 * dryPeak(), "block " + std::to_string(block)));
    }
}

// Reverbs at full size and a comb at full feedback while the host changes
// the sample rate under their ringing tails, beyond 192 kHz too: the reverb
// lines are rebuilt for each rate inside the memory laid out once.
TEST(EffectBadInput, ReverbAndCombTailsAcrossSampleRateChanges) {
    auto host = loadSource(44100.0f, true);
    host->setRecordCalls(false);
    setEffect(*host, 0, fxtype::Reverb, {1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f}, 0.5f);
    setEffect(*host, 1, fxtype::Comb, {0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f}, 0.5f);
    setEffect(*host, 2, fxtype::Reverb, {0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f}, 0.5f);
    const float rates[] = {192000.0f, 22050.0f, 512000.0f, 8000.0f, 1e9f, NAN, 96000.0f, 0.0f, 44100.0f};
    renderFrames(*host, 8192, 512, chord());
    for (int block = 0; block < 360; ++block) {
        if (block % 40 == 39) host->dispatch(effSetSampleRate, 0, 0, nullptr, rates[(block / 40) % 9]);
        std::vector<VstMidiEvent> events;
        if (block == 200)
            for (int key : {48, 55, 60, 64}) events.push_back(noteOff(0, key));
        ASSERT_NO_FATAL_FAILURE(
            expectFinite(renderFrames(*host, 512, 512, events), 1e4 * dryPeak(), "block " + std::to_string(block)));
    }
}
