#include "editor/BitmapFont.h"

#include <algorithm>

using namespace VSTGUI;

namespace {
const unsigned char kAdvances[96] = {
    4, 3, 5, 7, 8, 8, 5, 2, 4, 5, 6, 6, 3, 6, 3, 8, 7, 4, 8, 7, 7, 7, 7, 7, 8, 7, 3, 3, 4, 6, 4, 6,
    4, 8, 8, 8, 8, 7, 7, 8, 8, 4, 8, 8, 6, 8, 8, 8, 8, 8, 8, 8, 6, 8, 8, 8, 7, 7, 7, 5, 5, 5, 5, 6,
    5, 8, 8, 8, 8, 7, 7, 8, 8, 4, 8, 8, 6, 8, 8, 8, 8, 8, 8, 8, 6, 8, 8, 8, 7, 7, 7, 4, 4, 4, 4, 4};

int glyphOf(unsigned char c) { return c >= 32 && c <= 127 ? c - 32 : 0; }
}  // namespace

int BitmapFont::advance(unsigned char c) { return kAdvances[glyphOf(c)]; }

int BitmapFont::textWidth(const char* text) {
    int width = 0;
    for (const char* p = text; p && *p; ++p) width += advance(static_cast<unsigned char>(*p));
    return width;
}

void BitmapFont::draw(CDrawContext* context, CBitmap* glyphs, const char* text, const CRect& area,
                      bool centred, int glyphOffset) {
    if (!glyphs || !text) return;
    // Centred; a text wider than the area starts at its left edge, so its beginning shows.
    int x = centred ? area.left + std::max(0, (area.width() - textWidth(text)) / 2) : area.left + 2;
    int y = area.top + (area.height() - kGlyphHeight) / 2 + glyphOffset;
    for (const char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        int w = advance(c);
        if (x + w > area.right) break;
        glyphs->drawAlphaBlend(context, CRect(x, y, x + w, y + kGlyphHeight),
                               CPoint(0, glyphOf(c) * kBandHeight + 2));
        x += w;
    }
}

BitmapFonts::BitmapFonts()
    : fonts{new CBitmap(kTextOff), new CBitmap(kPlainOff), new CBitmap(kTextOn), new CBitmap(kPlainOn)} {}

BitmapFonts::BitmapFonts(CBitmap* textOff, CBitmap* plainOff, CBitmap* textOn, CBitmap* plainOn)
    : fonts{textOff, plainOff, textOn, plainOn} {
    for (CBitmap* f : fonts)
        if (f) f->remember();
}

BitmapFonts::~BitmapFonts() {
    for (CBitmap* f : fonts)
        if (f) f->forget();
}
