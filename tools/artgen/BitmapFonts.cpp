// The bitmap fonts of menus, readouts and the arp display: DejaVu Sans at a
// capital height of 7 pixels, each glyph centred in its advance less one
// pixel of spacing and narrowed where it would not fit. The advances are
// those of the lettering of capitals only, so lower case is drawn as small
// capitals. The default scheme is bold pale blue; "Normal Font" is regular
// weight in warm white. The plain member of each pair (the arp display's
// cells of steps that are off) is dimmer.
#include <cctype>
#include <cmath>

#include "Artwork.h"
#include "editor/BitmapFontMetrics.h"

namespace artgen {

Drawn bitmapFont(bool normal, bool plain) {
    namespace font = layout::font;
    Painter p(16, font::kBand * font::kGlyphs);
    cairo_t* cr = p.cr();
    Colour ink = normal ? (plain ? Colour::hex(0x8e918f) : Colour::hex(0xf5f2ea))
                        : (plain ? Colour::hex(0x5c809c) : Colour::hex(0xbfe5ff));
    const double capHeight = 7;
    const double baselineInGlyph = 10;  // capitals fill glyph rows 3..9
    for (int g = 1; g < font::kGlyphs - 1; ++g) {  // 32 (blank) and 127 have no ink
        unsigned char ch = static_cast<unsigned char>(font::kFirstChar + g);
        bool small = std::islower(ch) != 0;
        std::string text(1, static_cast<char>(small ? std::toupper(ch) : ch));
        Font f{normal ? Face::Sans : Face::SansBold, capHeight / 0.729 * (small ? 0.8 : 1.0), 1.0};
        Box ink0 = p.measure(f, text, 0, 0);
        double inkWidth = ink0.right - ink0.left;
        double room = std::max(1, font::kAdvance[g] - 1);
        double squeeze = inkWidth > room ? room / inkWidth : 1.0;
        double baseline = font::kBand * g + font::kGlyphTop + baselineInGlyph;
        cairo_save(cr);
        cairo_rectangle(cr, 0, font::kBand * g + font::kGlyphTop, font::kAdvance[g], font::kGlyphHeight);
        cairo_clip(cr);
        cairo_translate(cr, (room - inkWidth * squeeze) / 2 - ink0.left * squeeze, baseline);
        cairo_scale(cr, squeeze, 1);
        p.textPath(f, text, 0, 0);
        p.colour(ink);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    return finish(p, true);
}

}  // namespace artgen
