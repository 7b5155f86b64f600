#include "editor/BitmapFont.h"

#include <algorithm>

#include "editor/BitmapFontMetrics.h"

using namespace VSTGUI;
namespace font = layout::font;

namespace {
constexpr int kInset = 2;  // left-aligned text starts this far in
// A text wider than its area is narrowed to fit, down to this share of its
// width; past that it is cut at the right edge.
constexpr double kMinSqueeze = 0.6;
}  // namespace

int BitmapFont::advance(unsigned char c) { return font::kAdvance[font::glyphIndex(c)]; }

int BitmapFont::textWidth(const char* text) {
    int width = 0;
    for (const char* p = text; p && *p; ++p) width += advance(static_cast<unsigned char>(*p));
    return width;
}

void BitmapFont::draw(CDrawContext* context, CBitmap* glyphs, const char* text, const CRect& area,
                      bool centred, int glyphOffset) {
    if (!glyphs || !text || !glyphs->getSurface()) return;
    const int width = textWidth(text);
    const int room = centred ? area.width() : area.width() - kInset;
    const double squeeze = width > room && width > 0 ? std::max(kMinSqueeze, double(room) / width) : 1.0;
    // Centred; a text that cannot fit starts at the left edge, so its beginning shows.
    const double drawn = width * squeeze;
    const double x = centred ? area.left + std::max(0, int(area.width() - drawn) / 2) : area.left + kInset;
    const int y = area.top + (area.height() - font::kGlyphHeight) / 2 + glyphOffset;

    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, squeeze, 1.0);
    int pen = 0;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const int w = advance(c);
        if (x + (pen + w) * squeeze > area.right + 1e-6) break;  // a glyph past the edge is left out
        cairo_save(cr);
        cairo_rectangle(cr, pen, 0, w, font::kGlyphHeight);
        cairo_clip(cr);
        cairo_set_source_surface(cr, glyphs->getSurface(), pen,
                                 -(font::glyphIndex(c) * font::kBand + font::kGlyphTop));
        cairo_pattern_set_filter(cairo_get_source(cr), squeeze < 1.0 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        pen += w;
    }
    cairo_restore(cr);
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
