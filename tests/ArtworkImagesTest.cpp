// The embedded images, decoded as the editor decodes them: sizes, frame
// layout, and that each frame shows what the control expects of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ArtworkSupport.h"
#include "editor/BitmapFontMetrics.h"
#include "editor/ControlLayout.h"
#include "editor/EditorImages.h"

namespace {
using artwork_support::embedded;
namespace img = layout::img;

// Pixels of the frame [top, top + height) with alpha at or above `alpha`.
int count(const artgen::Pixels& p, int top, int height, bool (*keep)(const uint8_t*)) {
    int n = 0;
    for (int y = top; y < top + height; ++y)
        for (int x = 0; x < p.width; ++x) n += keep(p.at(x, y));
    return n;
}

bool sameFrame(const artgen::Pixels& p, int a, int b, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < p.width; ++x)
            for (int k = 0; k < 4; ++k)
                if (p.at(x, a * height + y)[k] != p.at(x, b * height + y)[k]) return false;
    return true;
}

TEST(ArtworkImages, EveryImageIsEmbeddedAtItsSizeAndKind) {
    for (const layout::Image& image : layout::kImages) {
        const artgen::Pixels& p = embedded(image.id);
        EXPECT_EQ(p.width, image.width) << image.id;
        EXPECT_EQ(p.height, image.height) << image.id;
        EXPECT_EQ(image.height % image.frames, 0) << image.id;
        // Backgrounds are opaque; everything drawn over them carries alpha.
        EXPECT_EQ(p.hasAlpha, image.type == layout::ImageType::Png) << image.id;
    }
}

TEST(ArtworkImages, EveryFrameOfEveryStripDiffersFromTheNext) {
    for (const layout::Image& image : layout::kImages) {
        if (image.frames < 2 || image.frames == layout::font::kGlyphs) continue;
        const artgen::Pixels& p = embedded(image.id);
        for (int f = 1; f < image.frames; ++f)
            EXPECT_FALSE(sameFrame(p, f - 1, f, image.frameHeight())) << image.id << " frames " << f - 1 << ", " << f;
    }
    EXPECT_NE(embedded(img::Button).rgba, embedded(img::EditedButton).rgba);
}

// The pointer is the only light grey inside the knob's body.
bool pointer(const uint8_t* p) {
    int lo = std::min({p[0], p[1], p[2]}), hi = std::max({p[0], p[1], p[2]});
    return p[3] > 200 && lo > 150 && hi - lo < 30;
}
bool arc(const uint8_t* p) { return p[3] > 160 && p[2] > 200 && p[0] < 200 && p[2] > p[0] + 60; }
bool visible(const uint8_t* p) { return p[3] >= 32; }

// The pointer's direction in a frame, in degrees clockwise from 3 o'clock.
double pointerAngle(const artgen::Pixels& p, int frame) {
    int size = p.width;
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double dx = x + 0.5 - size / 2.0, dy = y + 0.5 - size / 2.0;
            if (std::hypot(dx, dy) < size / 2.0 - 6 && pointer(p.at(x, frame * size + y))) {
                sx += dx;
                sy += dy;
                ++n;
            }
        }
    EXPECT_GT(n, 3) << "no pointer in frame " << frame;
    double a = std::atan2(sy, sx) * 180 / M_PI;
    return a < 90 ? a + 360 : a;  // 135 .. 405 over the knob's travel
}

TEST(ArtworkImages, KnobFramesTurnThePointerOverTheValueRangeAndStayInsideTheFrame) {
    for (int strip = 0; strip < img::kKnobStrips; ++strip) {
        const artgen::Pixels& p = embedded(img::knobStrip(strip));
        int size = img::knobSize(strip);
        for (int frame : {0, 16, 32, 48, 64})
            EXPECT_NEAR(pointerAngle(p, frame), 135 + 270 * frame / 64.0, 6) << "strip " << strip << " frame " << frame;
        // Two pixels of margin keep a knob clear of what stands at its frame's corners.
        for (int f = 0; f < img::kKnobFrames; ++f)
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    if (x < 2 || y < 2 || x >= size - 2 || y >= size - 2) {
                        ASSERT_FALSE(visible(p.at(x, f * size + y))) << "strip " << strip << " frame " << f;
                    }
    }
}

int stripOf(int tag) {
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.tag == tag && c.kind == layout::Kind::Knob) return c.strip();
    ADD_FAILURE() << "no knob " << tag;
    return 0;
}

TEST(ArtworkImages, KnobsOfCentredParametersGrowTheirArcFromTheTop) {
    // Semi, fine, pan, fade, symmetry, filter envelope amount, an amount control.
    for (int tag : {22, 23, 2, 72, 24, 64, 89}) {
        const artgen::Pixels& p = embedded(img::knobStrip(stripOf(tag)));
        int size = p.width;
        int low = count(p, 0, size, arc), middle = count(p, 32 * size, size, arc), high = count(p, 64 * size, size, arc);
        EXPECT_LT(middle * 10, high) << tag;
        EXPECT_NEAR(low, high, high / 10) << tag;
    }
    // Volume, cutoff, pulse width and its speed, resonance, drive.
    for (int tag : {21, 61, 27, 28, 62, 63}) {
        const artgen::Pixels& p = embedded(img::knobStrip(stripOf(tag)));
        int size = p.width, previous = -1;
        EXPECT_EQ(count(p, 0, size, arc), 0) << tag;
        for (int f = 0; f < img::kKnobFrames; f += 8) {
            int n = count(p, f * size, size, arc);
            EXPECT_GE(n, previous) << tag << " frame " << f;
            previous = n;
        }
    }
}

TEST(ArtworkImages, FontGlyphsStayInsideTheirAdvanceWithAColumnToSpare) {
    namespace font = layout::font;
    for (int id : {img::Font, img::FontPlain, img::NormalFont, img::NormalFontPlain}) {
        const artgen::Pixels& p = embedded(id);
        for (int g = 0; g < font::kGlyphs; ++g) {
            int inside = 0, outside = 0;
            for (int y = 0; y < font::kBand; ++y)
                for (int x = 0; x < p.width; ++x) {
                    bool ink = p.alpha(x, g * font::kBand + y) > 0;
                    bool inCut = x < font::kAdvance[g] - 1 && y >= font::kGlyphTop &&
                                 y < font::kGlyphTop + font::kGlyphHeight;
                    (inCut ? inside : outside) += ink;
                }
            EXPECT_EQ(outside, 0) << id << " glyph " << g;
            bool printable = g > 0 && g < font::kGlyphs - 1;
            EXPECT_EQ(inside > 0, printable) << id << " glyph " << g;
        }
    }
    // Each scheme's plain member is the dimmer one.
    auto brightness = [](int id) {
        const artgen::Pixels& p = embedded(id);
        double sum = 0;
        int n = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if (p.alpha(x, y) > 200) sum += p.at(x, y)[0] + p.at(x, y)[1] + p.at(x, y)[2], ++n;
        return sum / n;
    };
    EXPECT_LT(brightness(img::FontPlain), brightness(img::Font) * 0.8);
    EXPECT_LT(brightness(img::NormalFontPlain), brightness(img::NormalFont) * 0.8);
    EXPECT_NE(embedded(img::Font).rgba, embedded(img::NormalFont).rgba);
}

TEST(ArtworkImages, StepIndicatorFrameLightsItsOwnStep) {
    const artgen::Pixels& p = embedded(img::StepIndicator);
    for (int frame = 0; frame < 16; ++frame) {
        int brightest = -1;
        double best = -1;
        for (int step = 0; step < 16; ++step) {
            double sum = 0;
            for (int y = 0; y < 17; ++y)
                for (int x = 25 * step; x < 25 * step + 25; ++x) {
                    const uint8_t* c = p.at(x, frame * 17 + y);
                    sum += (c[0] + c[1] + c[2]) * c[3];
                }
            if (sum > best) best = sum, brightest = step;
        }
        EXPECT_EQ(brightest, frame);
    }
}

TEST(ArtworkImages, LevelImageShowsSegmentsFromTopToBottom) {
    const artgen::Pixels& p = embedded(img::LevelImage);
    // The slider shows the rows from its level down: any level has something to show.
    EXPECT_GT(count(p, 0, 3, visible), 0);
    EXPECT_GT(count(p, 35, 3, visible), 0);
}

}  // namespace
