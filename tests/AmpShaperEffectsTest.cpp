// The Amp Sim and the Waveshaper: each cabinet's response through the
// plug-in (tap by tap) and at the octave points against its generator's
// design, the tone controls, and the waveshaper's folding curves.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"
#include "effects/Cabinets.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr int kSettled = 40000;
const char* const kNames[] = {"None", "4x10", "4x12", "Bass", "Combo", "Radio"};
constexpr double kOctaves[] = {63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};

// The committed data file: its taps and its design lines.
struct CabinetFile {
    cabinets::Table table;
    double design[cabinets::kCount][9] = {};
    CabinetFile() {
        const std::string text = readText(std::string(BRENNIX_SOURCE_DIR) + "/resources/cabinets/cabinets.txt");
        table = cabinets::parse(text);
        int current = 0;
        size_t at = 0;
        while (at < text.size()) {
            const size_t end = std::min(text.find('\n', at), text.size());
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            int n = 0;
            if (std::sscanf(line.c_str(), "cabinet %d", &n) == 1) current = n;
            if (line.rfind("design ", 0) == 0 && current > 0) {
                std::istringstream in(line.substr(7));
                for (double& d : design[current]) in >> d;
            }
        }
    }
};
const CabinetFile& file() {
    static const CabinetFile f;
    return f;
}

}  // namespace

// The plug-in holds the generator's five responses, tap k weighting the
// input k samples back: the wet signal is the dry one convolved with them.
TEST(AmpSim, CabinetsConvolveTheInputWithTheirTaps) {
    ASSERT_EQ(file().table.loaded, 5);
    // The openings the cabinets are built on.
    EXPECT_FLOAT_EQ(file().table.taps[1][0], 0.0587158203f);
    EXPECT_FLOAT_EQ(file().table.taps[1][7], 0.0114f);
    EXPECT_FLOAT_EQ(file().table.taps[5][4], 0.1905f);
    EXPECT_FLOAT_EQ(file().table.taps[2][3], -0.0039f);
    EXPECT_FLOAT_EQ(file().table.taps[3][0], -0.0039f);
    for (int cab = 1; cab < cabinets::kCount; ++cab) {
        // No drive, flat tone, unity volume.
        const Split s = renderSplit(44100.0f, 120.0, kSettled, 4096, false, [&](auto& h) {
            setEffect(h, 0, fxtype::AmpSim, {entry(cab, 6), 0.0f, 0.5f, 0.5f, 0.5f});
        });
        const float* taps = file().table.taps[cab];
        double error = 0.0, level = 0.0;
        for (size_t i = 64; i < s.dry.size(); ++i) {
            double y = 0.0;
            for (size_t k = 0; k < 64; ++k) y += taps[k] * s.dry[i - k];
            // The pre-amp limits louder samples to full scale.
            if (std::fabs(y) > 0.95) continue;
            error = std::max(error, std::fabs(y - s.wet[i]));
            level = std::max(level, std::fabs(y));
        }
        EXPECT_LT(error, 2e-3 * level) << kNames[cab];
    }
}

// Each cabinet measured with sines at the octave points follows its design
// (the target the generator describes) within 3 dB from 125 Hz up; at 63 Hz
// 64 taps (1.45 ms) cannot follow a box's low end closely, so 6 dB there.
TEST(AmpSim, CabinetResponsesFollowTheirDesigns) {
    std::string table = "cabinet     63    125    250    500     1k     2k     4k     8k    16k (dB)\n";
    for (int cab = 1; cab < cabinets::kCount; ++cab) {
        char row[160];
        int n = std::snprintf(row, sizeof row, "%-6s", kNames[cab]);
        for (int i = 0; i < 9; ++i) {
            SlotBus bus(fxtype::AmpSim, {entry(cab, 6), 0.0f, 0.5f, 0.5f, 0.5f});
            bus.run(std::vector<float>(kSettled, 0.0f));
            const double measured = spectrum::decibels(bus.gainAt(kOctaves[i], 0.1));
            n += std::snprintf(row + n, sizeof row - size_t(n), " %6.1f", measured);
            EXPECT_NEAR(measured, file().design[cab][i], i == 0 ? 6.0 : 3.0) << kNames[cab] << " at " << kOctaves[i] << " Hz";
        }
        table += std::string(row) + "\n";
    }
    std::printf("%s", table.c_str());
}

// "Bass" and "Treble" at 0 subtract 1.41 times the 200 Hz low-pass and the
// 4 kHz high-pass (leaving -7.7 dB deep in the bass band); at 1 they lift
// them by about 20 dB; "Vol" is the level knob (0.5 unity, -20 .. +20 dB).
TEST(AmpSim, ToneAndVolume) {
    auto gain = [](float bass, float treble, float vol, double hz) {
        SlotBus bus(fxtype::AmpSim, {0.0f, 0.0f, bass, treble, vol});
        bus.run(std::vector<float>(kSettled, 0.0f));
        return spectrum::decibels(bus.gainAt(hz, 0.05));
    };
    EXPECT_NEAR(gain(0.5f, 0.5f, 0.5f, 1000.0), 0.0, 0.1);
    EXPECT_NEAR(gain(0.0f, 0.5f, 0.5f, 20.0), -7.7, 1.0);
    EXPECT_GT(gain(1.0f, 0.5f, 0.5f, 40.0), 15.0);
    EXPECT_GT(gain(0.5f, 1.0f, 0.5f, 15000.0), 12.0);
    EXPECT_NEAR(gain(0.5f, 0.5f, 0.75f, 1000.0), 10.0, 0.1);
    // "Distort" saturates: a full-scale sine comes out squarer but no louder than full scale.
    SlotBus hot(fxtype::AmpSim, {0.0f, 1.0f, 0.5f, 0.5f, 0.5f});
    hot.run(std::vector<float>(kSettled, 0.0f));
    EXPECT_GT(hot.gainAt(200.0, 0.5), 1.3);
}

// The waveshaper's curve for a slow input (the low-pass open, its 1.41):
// x cos(2 pi kTop x) above 0, x (1 - 2 C) cos(2 pi kBottom x) below.
TEST(Waveshaper, FoldsEachHalfWave) {
    struct Case {
        float top, bottom, rect;
    };
    for (const Case& c : {Case{0.0f, 0.0f, 0.0f}, Case{0.5f, 0.25f, 0.0f}, Case{0.25f, 0.5f, 1.0f}, Case{1.0f, 0.0f, 0.5f}}) {
        SlotBus bus(fxtype::Waveshaper, {c.top, c.bottom, c.rect, 1.0f, 0.0f, 0.0f});
        bus.run(std::vector<float>(kSettled, 0.0f));
        const std::vector<float> in = ramp(400000, 0.9f);
        const std::vector<float> out = bus.run(in);
        const double kTop = std::pow(2.0, 4.0 * c.top) - 1.0, kBottom = std::pow(2.0, 4.0 * c.bottom) - 1.0;
        double worst = 0.0;
        for (size_t i = 100; i < in.size(); ++i) {
            const double x = in[i];
            const double z = x > 0.0 ? x * std::cos(2.0 * spectrum::kPi * kTop * x)
                                     : x * (1.0 - 2.0 * c.rect) * std::cos(2.0 * spectrum::kPi * kBottom * x);
            worst = std::max(worst, std::fabs(out[i] - 1.41 * z));
        }
        EXPECT_LT(worst, 0.01) << "top " << c.top << " bottom " << c.bottom << " rect " << c.rect;
    }
}

// "Low" places the low-pass (20 x 2^(10 D) Hz); "Mod Amt" sweeps it at the
// synced rate of "Mod Spd".
TEST(Waveshaper, LowPassAndItsSweep) {
    SlotBus still(fxtype::Waveshaper, {0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f});  // 640 Hz
    EXPECT_LT(spectrum::decibels(still.gainAt(5120.0, 0.1) / 1.41), -30.0);
    EXPECT_NEAR(spectrum::decibels(still.gainAt(80.0, 0.1) / 1.41), 0.0, 0.5);
    // Swept by a whole bar's cycle at 120 beats per minute (2 s): the level of a
    // 2 kHz tone rises and falls once per 88,200 samples.
    SlotBus swept(fxtype::Waveshaper, {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, entry(14, 31)});
    std::vector<float> in(4 * 88200);
    for (size_t i = 0; i < in.size(); ++i) in[i] = float(0.1 * std::sin(2.0 * spectrum::kPi * 2000.0 * double(i) / 44100.0));
    const std::vector<double> e = analysis::envelope(swept.run(in), 2205);
    std::vector<float> ef(e.begin(), e.end());
    EXPECT_NEAR(spectrum::period(ef, 0, ef.size(), 20, 60), 40, 1);
    EXPECT_GT(*std::max_element(e.begin(), e.end()), 10.0 * *std::min_element(e.begin(), e.end()));
}
