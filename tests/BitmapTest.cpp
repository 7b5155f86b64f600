// Images: PNG decoding from memory, the BITMAP kind without alpha, refusal of
// damaged data with a placeholder, and the three ways of drawing.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "widgets/CDrawContext.h"

using namespace VSTGUI;
using namespace widget_testing;

TEST(Bitmap, DecodesPngWithAlphaAndKeepsTheBitmapKindOpaque) {
    auto bytes = pngBytes(3, 2, [](int x, int y) { return x == 0 ? 0x80ff0000u : 0xff0000ffu; });
    CBitmap* png = new CBitmap(bytes.data(), bytes.size(), true);
    EXPECT_TRUE(png->isLoaded());
    EXPECT_EQ(png->getWidth(), 3);
    EXPECT_EQ(png->getHeight(), 2);
    EXPECT_TRUE(png->hasAlpha());
    EXPECT_EQ(png->getPixel(0, 0) >> 24, 0x80u);       // half transparent red, premultiplied
    EXPECT_EQ(png->getPixel(2, 1), 0xff0000ffu);
    CBitmap* bmp = new CBitmap(bytes.data(), bytes.size(), false);
    EXPECT_FALSE(bmp->hasAlpha());
    EXPECT_EQ(bmp->getPixel(0, 0), 0xffff0000u);       // the colour as stored, opaque
    png->forget();
    bmp->forget();
}

TEST(Bitmap, DamagedDataIsRefusedWithAPlaceholderOfTheDeclaredSize) {
    auto good = pngBytes(40, 30, [](int, int) { return 0xff123456u; });
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
    };
    std::vector<unsigned char> truncated(good.begin(), good.begin() + good.size() / 2);
    std::vector<unsigned char> flipped = good;
    for (size_t i = 40; i < flipped.size() - 20; i += 7) flipped[i] ^= 0x5a;
    std::vector<unsigned char> garbage(100, 0x42);
    std::vector<unsigned char> huge = good;  // claims 100000 x 30 pixels
    huge[16] = 0, huge[17] = 1, huge[18] = 0x86, huge[19] = 0xa0;
    for (const Case& c : {Case{"truncated", truncated}, Case{"flipped", flipped}, Case{"garbage", garbage},
                          Case{"empty", {}}, Case{"huge", huge}}) {
        SCOPED_TRACE(c.what);
        CBitmap* b = new CBitmap(c.bytes.data(), c.bytes.size(), true, c.what);
        EXPECT_FALSE(b->isLoaded());
        EXPECT_NE(b->getError().find(c.what), std::string::npos) << b->getError();
        bool headerReadable = std::string(c.what) == "truncated" || std::string(c.what) == "flipped";
        EXPECT_EQ(b->getWidth(), headerReadable ? 40 : 32);
        EXPECT_EQ(b->getHeight(), headerReadable ? 30 : 32);
        // The placeholder draws like any image.
        COffscreenContext context(50, 50);
        b->drawAlphaBlend(&context, CRect(0, 0, 50, 50));
        EXPECT_EQ(context.getPixel(5, 5).alpha, 255);
        b->forget();
    }
}

TEST(Bitmap, MissingResourceGivesAPlaceholder) {
    CBitmap* b = new CBitmap(4711);
    EXPECT_FALSE(b->isLoaded());
    EXPECT_EQ(b->getWidth(), 32);
    b->forget();
}

TEST(Bitmap, DrawsOpaqueTransparentColourAndAlphaBlended) {
    // Left column half-transparent white, the rest magenta (the transparent colour).
    auto bytes = pngBytes(4, 4, [](int x, int) { return x == 0 ? 0x80ffffffu : 0xffff00ffu; });
    CBitmap* b = new CBitmap(bytes.data(), bytes.size(), true);
    COffscreenContext context(4, 4, CColor{0, 0, 255, 255});
    b->drawAlphaBlend(&context, CRect(0, 0, 4, 4));
    CColor blended = context.getPixel(0, 0);
    EXPECT_NEAR(blended.red, 128, 2);
    EXPECT_NEAR(blended.blue, 255, 2);

    COffscreenContext keyed(4, 4, CColor{0, 0, 255, 255});
    b->setTransparentColor(CColor{255, 0, 255, 255});
    b->drawTransparent(&keyed, CRect(0, 0, 4, 4));
    EXPECT_EQ(keyed.getPixel(2, 2), (CColor{0, 0, 255, 255}));  // magenta left out

    COffscreenContext opaque(4, 4, CColor{0, 0, 255, 255});
    b->draw(&opaque, CRect(0, 0, 4, 4));
    EXPECT_EQ(opaque.getPixel(2, 2), (CColor{255, 0, 255, 255}));
    EXPECT_EQ(opaque.getPixel(0, 0).alpha, 255);  // alpha ignored

    // A part from an offset: rows 2.. of the image at the top.
    auto rows = pngBytes(2, 4, [](int, int y) { return y < 2 ? 0xffff0000u : 0xff00ff00u; });
    CBitmap* strip = new CBitmap(rows.data(), rows.size(), true);
    COffscreenContext part(2, 2);
    strip->drawAlphaBlend(&part, CRect(0, 0, 2, 2), CPoint(0, 2));
    EXPECT_EQ(part.getPixel(1, 1), (CColor{0, 255, 0, 255}));
    strip->forget();
    b->forget();
}
