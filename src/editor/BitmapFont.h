// Text drawn from a bitmap font: a 16 x 1536 image of 96 glyphs for the
// characters 32..127, one per 16-pixel band, each cut 2 pixels below its
// band's top, 14 pixels high and as wide as the character's advance. Other
// characters are drawn as glyph 0 (the blank). A text wider than its area is
// narrowed to fit (to no less than 60 % of its width); a glyph that would still
// pass the right edge is left out.
#pragma once

#include "widgets/CBitmap.h"
#include "widgets/CDrawContext.h"

class BitmapFont {
public:
    static int advance(unsigned char c);
    static int textWidth(const char* text);
    // Centred in `area`, or from 2 pixels right of its left edge; the glyphs
    // stand vertically centred, moved down by `glyphOffset`.
    static void draw(VSTGUI::CDrawContext* context, VSTGUI::CBitmap* glyphs, const char* text,
                     const VSTGUI::CRect& area, bool centred, int glyphOffset = 0);
};

// The four fonts and the "Normal Font" option that picks a pair of them:
// off uses PNG 10026 (and 10059 for the arp display's plain cells), on 10060 (and 10061).
class BitmapFonts {
public:
    static constexpr int kTextOff = 10026, kPlainOff = 10059, kTextOn = 10060, kPlainOn = 10061;

    // Loads the four fonts from the resources.
    BitmapFonts();
    // Uses the given images (tests); each is remembered.
    BitmapFonts(VSTGUI::CBitmap* textOff, VSTGUI::CBitmap* plainOff, VSTGUI::CBitmap* textOn,
                VSTGUI::CBitmap* plainOn);
    ~BitmapFonts();
    BitmapFonts(const BitmapFonts&) = delete;
    BitmapFonts& operator=(const BitmapFonts&) = delete;

    void setNormalFont(bool on) { normalFont = on; }
    bool isNormalFont() const { return normalFont; }
    VSTGUI::CBitmap* text() const { return fonts[normalFont ? 2 : 0]; }
    VSTGUI::CBitmap* plain() const { return fonts[normalFont ? 3 : 1]; }

private:
    VSTGUI::CBitmap* fonts[4];
    bool normalFont = false;
};
