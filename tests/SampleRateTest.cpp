// Behaviour that must follow a change of the host's sample rate.
#include <gtest/gtest.h>

#include "AudioAnalysis.h"
#include "TestSupport.h"

using namespace testing_support;

TEST(SampleRate, FiltersFollowARateChange) {
    auto render = [](float firstRate) {
        auto host = loadPlugin(firstRate);
        setPlainSine(*host);
        host->setParameter(20, 1.5f / 127.99f);  // "Saw"
        host->setParameter(60, 3.5f / 13.99f);   // "12dB LowPass"
        host->setParameter(61, 0.5f);            // about 640 Hz
        // Every voice computes its coefficients for this note at the first rate.
        std::vector<VstMidiEvent> all;
        for (int v = 0; v < 16; ++v) all.push_back(noteOn(0, 69));
        all.push_back(noteOff(4000, 69));
        renderFrames(*host, 8000, 512, all);
        host->dispatch(effMainsChanged, 0, 0);
        host->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        host->dispatch(effMainsChanged, 0, 1);
        return renderFrames(*host, 30000, 512, {noteOn(0, 69)}).left;
    };
    const auto fresh = render(44100.0f);
    const auto changed = render(96000.0f);
    const double level = analysis::rms(fresh, 20000, 30000);
    ASSERT_GT(level, 0.01);
    EXPECT_NEAR(analysis::rms(changed, 20000, 30000), level, level * 0.01);
}

TEST(SampleRate, DerivedConstantsFollowTheRate) {
    auto plugin = makePlugin();
    plugin->setSampleRate(48000.0f);
    const RateConstants& r = plugin->processContext().rates;
    EXPECT_FLOAT_EQ(r.samplesPerTempoUnit, 400.0f);
    EXPECT_FLOAT_EQ(r.samplesPerBar, 96000.0f);
    EXPECT_FLOAT_EQ(r.inverseSampleRate, 1.0f / 48000.0f);
    plugin->setSampleRate(0.5f);  // unusable: 44100, derived values untouched
    EXPECT_FLOAT_EQ(r.sampleRate, 44100.0f);
    EXPECT_FLOAT_EQ(r.samplesPerBar, 96000.0f);
    plugin->setSampleRate(1.0e6f);
    EXPECT_FLOAT_EQ(r.sampleRate, 512000.0f);
    EXPECT_FLOAT_EQ(r.samplesPerTempoUnit, 512000.0f / 120.0f);
    EXPECT_FLOAT_EQ(r.inverseSampleRate, 1.0f / 512000.0f);
    EXPECT_FLOAT_EQ(r.rateScale110, 110.0f / 512000.0f);
    // Rotation indices after 1, 2 and 3 samples.
    const int expected[3][3] = {{1, 2, 0}, {0, 1, 2}, {2, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        processDirect(*plugin, 1);
        const ProcessContext& c = plugin->processContext();
        EXPECT_EQ(c.rotationA, expected[i][0]);
        EXPECT_EQ(c.rotationB, expected[i][1]);
        EXPECT_EQ(c.rotationC, expected[i][2]);
    }
}
