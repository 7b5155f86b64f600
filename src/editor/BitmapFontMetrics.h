// The bitmap fonts of the menus, readouts and the arp display: 96 glyphs for
// the characters 32..127, one per 16-pixel band of a 16 x 1536 image. A glyph
// is cut from its band 2 pixels below the band's top, 14 pixels high and as
// wide as its advance.
#pragma once

namespace layout::font {

constexpr int kGlyphs = 96;
constexpr int kFirstChar = 32;
constexpr int kBand = 16;
constexpr int kGlyphTop = 2;
constexpr int kGlyphHeight = 14;

constexpr unsigned char kAdvance[kGlyphs] = {
    4, 3, 5, 7, 8, 8, 5, 2, 4, 5, 6, 6, 3, 6, 3, 8, 7, 4, 8, 7, 7, 7, 7, 7, 8, 7, 3, 3,
    4, 6, 4, 6, 4, 8, 8, 8, 8, 7, 7, 8, 8, 4, 8, 8, 6, 8, 8, 8, 8, 8, 8, 8, 6, 8, 8, 8,
    7, 7, 7, 5, 5, 5, 5, 6, 5, 8, 8, 8, 8, 7, 7, 8, 8, 4, 8, 8, 6, 8, 8, 8, 8, 8, 8, 8,
    6, 8, 8, 8, 7, 7, 7, 4, 4, 4, 4, 4};

// The glyph drawn for a character: characters below 32 use glyph 0 (the blank).
constexpr int glyphIndex(unsigned char c) { return c < kFirstChar || c >= kFirstChar + kGlyphs ? 0 : c - kFirstChar; }

}  // namespace layout::font
