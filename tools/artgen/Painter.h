// A cairo image with the DejaVu fonts, drawn with fixed font options so the
// same source gives the same pixels on every machine with the same packages.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "PngFile.h"

namespace artgen {

struct Colour {
    double r = 0, g = 0, b = 0, a = 1;
    static constexpr Colour hex(uint32_t rgb, double alpha = 1.0) {
        return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha};
    }
    constexpr Colour withAlpha(double alpha) const { return {r, g, b, alpha}; }
    // t = 0 gives this colour, t = 1 gives `o`.
    constexpr Colour mix(const Colour& o, double t) const {
        return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
    }
};

enum class Face { Sans, SansBold, Mono };
enum class Align { Left, Centre, Right };

// The ink of a text: the pixels it covers, rounded out to whole pixels.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Font {
    Face face = Face::SansBold;
    double size = 8;
    double squeeze = 1;  // horizontal scale
};

class Painter {
public:
    Painter(int width, int height);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void colour(const Colour& c) const { cairo_set_source_rgba(cr_, c.r, c.g, c.b, c.a); }
    void roundedRect(double x, double y, double w, double h, double radius) const;
    void fillRect(double x, double y, double w, double h, const Colour& c) const;
    // A vertical gradient over a rectangle, as the current source.
    void verticalGradient(double top, double bottom, const Colour& from, const Colour& to) const;

    // Where `text` would be drawn with its baseline at (x, baseline) and the
    // given alignment, without drawing it.
    Box measure(const Font& font, const std::string& text, double x, double baseline,
                Align align = Align::Left) const;
    Box text(const Font& font, const std::string& text, double x, double baseline, const Colour& c,
             Align align = Align::Left) const;
    // The text's outline as the current path (for glyphs scaled freely).
    void textPath(const Font& font, const std::string& text, double x, double baseline) const;

    Pixels pixels(bool alpha) const;

private:
    void select(const Font& font) const;
    double startX(const Font& font, const std::string& text, double x, Align align) const;

    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Fails with a message when a font file is missing.
bool loadFonts(std::string& error);

}  // namespace artgen
