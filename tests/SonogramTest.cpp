// The spectrogram of brennix-render: where a tone lands in the grid and at
// what level, what happens in time, and the picture's layout and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ColourMap.h"
#include "ProgramFiles.h"
#include "PngFile.h"
#include "Sonogram.h"
#include "SonogramPicture.h"
#include "TestSupport.h"

using render::Spectrogram;

namespace {
constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Feeds `seconds` of a sine (both channels) in blocks of 1000 frames.
void feedSine(Spectrogram& s, double hz, double amplitude, double seconds, size_t& clock) {
    std::vector<float> block;
    const auto frames = static_cast<size_t>(seconds * kRate);
    for (size_t done = 0; done < frames;) {
        block.clear();
        for (size_t i = 0; i < 1000 && done < frames; ++i, ++done, ++clock)
            block.push_back(float(amplitude * std::sin(2.0 * kPi * hz * double(clock) / kRate)));
        s.add(block.data(), block.data(), block.size());
    }
}

// The loudest row of a column and its level.
std::pair<int, float> loudest(const Spectrogram& s, int column) {
    int best = 0;
    for (int r = 1; r < s.rows(); ++r)
        if (s.level(column, r) > s.level(column, best)) best = r;
    return {best, s.level(column, best)};
}
}  // namespace

TEST(Spectrogram, ToneLandsInItsRowAtItsLevel) {
    Spectrogram s(kRate, 4 * kRate, 400, 480, 20.0, 20000.0);
    size_t clock = 0;
    feedSine(s, 1000.0, 1.0, 2.0, clock);  // full scale
    feedSine(s, 100.0, 0.1, 2.0, clock);   // -20 dB
    s.finish();
    for (int column : {20, 100, 180}) {
        const auto [row, level] = loudest(s, column);
        EXPECT_NEAR(row, s.rowOf(1000.0), 1.0) << column;
        EXPECT_NEAR(level, 0.0, 1.5) << column;
    }
    // The last column's frames reach past the end, into padded silence.
    EXPECT_NEAR(loudest(s, 399).first, s.rowOf(100.0), 1.0);
    for (int column : {220, 300, 380}) {
        const auto [row, level] = loudest(s, column);
        EXPECT_NEAR(row, s.rowOf(100.0), 1.0) << column;
        EXPECT_NEAR(level, -20.0, 1.5) << column;
        EXPECT_LT(s.level(column, int(s.rowOf(1000.0))), -60.0f);  // the first tone is gone
    }
    // 20 Hz at the bottom, 20 kHz at the top, log-spaced: 100 Hz a third of the way up.
    EXPECT_DOUBLE_EQ(s.rowOf(20.0), 0.0);
    EXPECT_NEAR(s.rowOf(20000.0), 480.0, 1e-9);
    EXPECT_NEAR(s.rowOf(632.456), 240.0, 1e-3);
    EXPECT_DOUBLE_EQ(s.seconds(), 4.0);
}

TEST(Spectrogram, EveryColumnIsItsOwnStretchOfTime) {
    // A burst from 3.0 to 3.5 s of a 10 s render.
    Spectrogram s(kRate, 10 * kRate, 1000, 100, 20.0, 20000.0);
    size_t clock = 0;
    std::vector<float> silence(3 * kRate);
    s.add(silence.data(), silence.data(), silence.size());
    clock = silence.size();
    feedSine(s, 440.0, 0.5, 0.5, clock);
    silence.assign(6 * kRate + kRate / 2, 0.0f);
    s.add(silence.data(), nullptr, silence.size());
    s.finish();
    const int row = static_cast<int>(s.rowOf(440.0));
    for (int column = 0; column < 1000; ++column) {
        const double t = (column + 0.5) / 100.0;  // the column's middle, seconds
        if (t > 3.1 && t < 3.4) {
            EXPECT_GT(s.level(column, row), -12.0f) << column;
        } else if (t < 2.9 || t > 3.6) {
            EXPECT_EQ(s.level(column, row), Spectrogram::kFloorDb) << column;
        }
    }
}

TEST(Spectrogram, ShortRendersFillEveryColumnAndInvalidSamplesAreSilence) {
    // 0.2 s over 1500 columns: fewer samples per column than one frame's step.
    Spectrogram s(kRate, kRate / 5, 1500, 50, 20.0, 20000.0);
    size_t clock = 0;
    feedSine(s, 2000.0, 0.5, 0.2, clock);
    s.finish();
    for (int column = 0; column < 1500; column += 7) EXPECT_GT(loudest(s, column).second, -20.0f) << column;

    // Fewer samples than columns.
    Spectrogram tiny(kRate, 1000, 1500, 50, 20.0, 20000.0);
    clock = 0;
    feedSine(tiny, 5000.0, 0.5, 1000.0 / kRate, clock);
    tiny.finish();
    for (int column = 0; column < 1500; column += 7) EXPECT_GT(loudest(tiny, column).second, -40.0f) << column;

    // A tone that starts half-way: the level rises smoothly column by column,
    // not in steps of whole frames.
    Spectrogram onset(kRate, kRate / 5, 1500, 50, 20.0, 20000.0);
    std::vector<float> silence(kRate / 10);
    onset.add(silence.data(), silence.data(), silence.size());
    clock = silence.size();
    feedSine(onset, 2000.0, 0.5, 0.1, clock);
    onset.finish();
    const int row = static_cast<int>(onset.rowOf(2000.0));
    for (int column = 500; column < 700; column += 10)
        EXPECT_LT(onset.level(column, row), onset.level(column + 10, row)) << column;

    Spectrogram invalid(kRate, kRate, 100, 50, 20.0, 20000.0);
    std::vector<float> nan(kRate, NAN), inf(kRate, INFINITY);
    invalid.add(nan.data(), inf.data(), nan.size());
    invalid.finish();
    for (int column = 0; column < 100; ++column) EXPECT_EQ(loudest(invalid, column).second, Spectrogram::kFloorDb);
    // A single invalid sample in a tone is a moment of silence, not a blank in the picture.
    Spectrogram glitch(kRate, kRate, 100, 50, 20.0, 20000.0);
    clock = 0;
    feedSine(glitch, 1000.0, 0.5, 0.5, clock);
    const float bad = NAN;
    glitch.add(&bad, &bad, 1);
    ++clock;
    feedSine(glitch, 1000.0, 0.5, 0.5 - 1.0 / kRate, clock);
    glitch.finish();
    for (int column = 0; column < 100; ++column) EXPECT_GT(loudest(glitch, column).second, -20.0f) << column;
}

TEST(SpectrogramPicture, LayoutMakesRoomForTheMarks) {
    const render::PictureLayout plain = render::pictureLayout(10.0, {});
    EXPECT_EQ(plain.plotWidth, 1500);
    EXPECT_EQ(plain.plotHeight, 480);
    EXPECT_FALSE(plain.uprightLabels);

    // A few labels side by side: one line of text more.
    const render::PictureLayout few = render::pictureLayout(10.0, {{0.0, "0 Analog Bass"}, {5.0, "1 Square Lead"}});
    EXPECT_FALSE(few.uprightLabels);
    EXPECT_GT(few.height, plain.height);
    EXPECT_EQ(few.plotWidth, plain.plotWidth);
    // Labels too close to sit side by side stand upright, which takes more room.
    const render::PictureLayout close =
        render::pictureLayout(10.0, {{0.0, "0 Analog Bass"}, {0.1, "1 Square Lead"}});
    EXPECT_TRUE(close.uprightLabels);
    EXPECT_GT(close.height, few.height);
    // 128 programs widen the picture to give each label its place.
    std::vector<render::TimeMark> bank;
    for (int p = 0; p < 128; ++p) bank.push_back({p * 3.0, std::to_string(p) + " Init"});
    const render::PictureLayout wide = render::pictureLayout(384.0, bank);
    EXPECT_EQ(wide.plotWidth, 128 * 22);
    EXPECT_EQ(wide.markEvery, 1);
    // Thousands are thinned out rather than drawn wider than cairo can.
    bank.resize(3584, {0.0, "x"});
    for (size_t p = 0; p < bank.size(); ++p) bank[p].seconds = p * 3.0;
    const render::PictureLayout huge = render::pictureLayout(3584 * 3.0, bank);
    EXPECT_EQ(huge.plotWidth, 12000);
    EXPECT_EQ(huge.markEvery, 7);
    EXPECT_LT(huge.width, 32768);
}

TEST(SpectrogramPicture, ColoursRiseEvenlyInLightnessAndShowTheLevels) {
    // Perceptual: the colours grow lighter with every step, from near black to near white.
    auto luminance = [](double t) {
        const std::array<uint8_t, 3> c = render::colourAt(t);
        auto linear = [](uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c[0]) + 0.7152 * linear(c[1]) + 0.0722 * linear(c[2]);
    };
    for (int i = 1; i < 256; ++i) EXPECT_GE(luminance(i / 255.0), luminance((i - 1) / 255.0)) << i;
    EXPECT_LT(luminance(0.0), 0.01);
    EXPECT_GT(luminance(1.0), 0.8);
    EXPECT_EQ(render::colourAt(-1.0), render::colourAt(0.0));
    EXPECT_EQ(render::colourAt(NAN), render::colourAt(0.0));
    EXPECT_EQ(render::colourAt(2.0), render::colourAt(1.0));

    // A full-scale tone in the first half: bright there, the floor's colour after it.
    Spectrogram s(kRate, 2 * kRate, 1500, 480, 20.0, 20000.0);
    size_t clock = 0;
    feedSine(s, 1500.0, 1.0, 1.0, clock);  // off the 1-2-5 grid lines
    std::vector<float> silence(kRate);
    s.add(silence.data(), silence.data(), silence.size());
    s.finish();
    const render::PictureLayout layout = render::pictureLayout(2.0, {});
    const std::string path = testing_support::tempPath("tone.png");
    std::string error;
    ASSERT_TRUE(render::writeSpectrogramPicture(s, layout, {}, "tone", path, error)) << error;
    artgen::Pixels image;
    ASSERT_TRUE(artgen::readPng(path, image));
    ASSERT_EQ(image.width, layout.width);
    ASSERT_EQ(image.height, layout.height);
    const int y = layout.plotY + layout.plotHeight - 1 - static_cast<int>(s.rowOf(1500.0));
    const int before = layout.plotX + layout.plotWidth / 4, after = layout.plotX + layout.plotWidth * 3 / 4;
    const std::array<uint8_t, 3> top = render::colourAt(1.0), floor = render::colourAt(0.0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(image.at(before, y)[c], top[c], 40) << c;
        EXPECT_EQ(image.at(after, y)[c], floor[c]) << c;
    }
    EXPECT_FALSE(render::writeSpectrogramPicture(s, layout, {}, "tone", "/nonexistent/dir/tone.png", error));
    EXPECT_EQ(error, "cannot write /nonexistent/dir/tone.png");
}

TEST(ProgramFiles, NamesSafeForAnyFileSystem) {
    EXPECT_EQ(render::safeNamePart("Drawbar Organ"), "Drawbar-Organ");
    EXPECT_EQ(render::safeNamePart("  a/b\\c:d*e?f\"g<h>i|j  "), "a-b-c-d-e-f-g-h-i-j");
    EXPECT_EQ(render::safeNamePart(".."), "");
    EXPECT_EQ(render::safeNamePart("Caf\xC3\xA9 au lait"), "Caf-au-lait");
    EXPECT_EQ(render::safeNamePart("Bass+Sub_2"), "Bass+Sub_2");
    EXPECT_EQ(render::safeNamePart("\x01\tTab\n"), "Tab");
    EXPECT_EQ(render::safeNamePart(std::string(30, 'x') + " " + std::string(30, 'y')).size(), 40u);
    EXPECT_EQ(render::safeNamePart(std::string(40, 'x') + " y"), std::string(40, 'x'));

    EXPECT_EQ(render::programFileName("out.wav", 5, 128, "Drawbar Organ"), "out-005-Drawbar-Organ.wav");
    EXPECT_EQ(render::programFileName("dir.d/take", 12, 16, "A"), "dir.d/take-12-A");
    EXPECT_EQ(render::programFileName("renders/bank.v2.wav", 0, 4, ""), "renders/bank.v2-0.wav");
    EXPECT_EQ(render::programFileName("renders/.wav", 3, 1000, "x"), "renders/.wav-003-x");
}
