// The small images: switch keys, page tabs, variation letters, arrows, the
// tracking LED, the menu face, the readout field and the logo button. Two-frame
// images hold the released (or off) state above the pressed (or on) state.
#include <cmath>

#include "Artwork.h"
#include "editor/EditorImages.h"

namespace artgen {
namespace {
constexpr Colour kKeyTop = Colour::hex(0x4a515b);
constexpr Colour kKeyBottom = Colour::hex(0x2c3137);
constexpr Colour kKeyEdge = Colour::hex(0x07080a);
constexpr Colour kInk = Colour::hex(0xd7dee6);  // symbols on a key
constexpr Colour kInkOnLit = Colour::hex(0x2a1a05);

// A filled triangle pointing left, right, up or down inside the box.
void triangle(const Painter& p, double x, double y, double w, double h, char dir, const Colour& c) {
    cairo_t* cr = p.cr();
    switch (dir) {
        case 'l': cairo_move_to(cr, x + w, y); cairo_line_to(cr, x + w, y + h); cairo_line_to(cr, x, y + h / 2); break;
        case 'r': cairo_move_to(cr, x, y); cairo_line_to(cr, x, y + h); cairo_line_to(cr, x + w, y + h / 2); break;
        case 'u': cairo_move_to(cr, x, y + h); cairo_line_to(cr, x + w, y + h); cairo_line_to(cr, x + w / 2, y); break;
        default: cairo_move_to(cr, x, y); cairo_line_to(cr, x + w, y); cairo_line_to(cr, x + w / 2, y + h); break;
    }
    cairo_close_path(cr);
    p.colour(c);
    cairo_fill(cr);
}

// A letter or word centred in a box.
void centredText(const Painter& p, const Font& font, const std::string& text, double x, double y, double w,
                 double h, const Colour& c) {
    Box cap = p.measure(font, "H", 0, 0);
    double baseline = std::round(y + (h - cap.top * -1.0) / 2 + -cap.top);
    p.text(font, text, x + w / 2, baseline, c, Align::Centre);
}
}  // namespace

Drawn finish(const Painter& painter, bool alpha) { return {painter.pixels(alpha), {}}; }
Drawn finish(Sheet& sheet, bool alpha) { return {sheet.painter().pixels(alpha), sheet.items()}; }

void key(const Painter& p, double x, double y, double w, double h, double radius, bool on) {
    cairo_t* cr = p.cr();
    p.roundedRect(x, y + 1, w, h, radius);
    p.colour(Colour::hex(0x000000, 0.6));
    cairo_fill(cr);
    p.roundedRect(x, y, w, h, radius);
    if (on)
        p.verticalGradient(y, y + h, kLit.mix(Colour::hex(0xffffff), 0.15), kLit.mix(Colour::hex(0x000000), 0.28));
    else
        p.verticalGradient(y, y + h, kKeyTop, kKeyBottom);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    p.colour(kKeyEdge);
    cairo_stroke(cr);
    // A light edge along the top.
    p.colour(Colour::hex(0xffffff, on ? 0.35 : 0.13));
    cairo_move_to(cr, x + radius, y + 1.5);
    cairo_line_to(cr, x + w - radius, y + 1.5);
    cairo_stroke(cr);
}

Drawn button(bool edited) {
    Painter p(26, 52);
    for (int f = 0; f < 2; ++f) {
        key(p, 5.5, 26 * f + 5.5, 15, 15, 3, f == 1);
        if (edited) {
            // The program differs from the stored one: a red mark in the corner.
            cairo_arc(p.cr(), 17.5, 26 * f + 8.5, 1.8, 0, 2 * M_PI);
            p.colour(Colour::hex(0xff3b3b));
            cairo_fill(p.cr());
        }
    }
    return finish(p, true);
}

Drawn pageButton(int id) {
    using namespace layout::img;
    const char* text = id == ToArpScreen ? "ARP" : id == ToModScreen ? "MOD" : id == ToAdvanceScreen ? "ADVANCED" : "PRESET";
    const layout::Image* image = layout::findImage(id);
    int w = image->width, h = image->frameHeight();
    Painter p(w, image->height);
    Font font{Face::SansBold, 6.4, 0.92};
    for (int f = 0; f < 2; ++f) {
        double y = h * f;
        p.roundedRect(0.5, y + 0.5, w - 1, h - 1, 3);
        if (f == 1)
            p.colour(kLit);
        else
            p.verticalGradient(y, y + h, Colour::hex(0x3a414a), Colour::hex(0x2a2f36));
        cairo_fill_preserve(p.cr());
        cairo_set_line_width(p.cr(), 1);
        p.colour(kKeyEdge);
        cairo_stroke(p.cr());
        // Text and a small arrow that says "go there".
        Box t = p.measure(font, text, 0, 0);
        double textWidth = t.right - t.left;
        double start = std::round((w - textWidth - 5) / 2);
        double baseline = y + h - 2;
        p.text(font, text, start - t.left, baseline, f == 1 ? kInkOnLit : kInk);
        triangle(p, start + textWidth + 2, y + 2.5, 3, 4, 'r', f == 1 ? kInkOnLit : kLit);
    }
    return finish(p, true);
}

Drawn variationButton(int letter) {
    const layout::Image* image = layout::findImage(layout::img::VariationA + letter);
    int w = image->width, h = image->frameHeight();
    Painter p(w, image->height);
    Font font{Face::SansBold, 8.5, 1.0};
    for (int f = 0; f < 2; ++f) {
        key(p, 0.5, h * f + 0.5, w - 1, h - 2, 2.5, f == 1);
        centredText(p, font, std::string(1, char('A' + letter)), 0, h * f, w, h - 1, f == 1 ? kInkOnLit : kInk);
    }
    return finish(p, true);
}

namespace {
// Two frames of a key with a triangle: `keyBox` and `mark` are x, y, w, h within a frame.
Drawn triangleKey(int width, int frameHeight, const double (&keyBox)[4], const double (&mark)[4], char dir) {
    Painter p(width, 2 * frameHeight);
    for (int f = 0; f < 2; ++f) {
        double y = frameHeight * f;
        key(p, keyBox[0], y + keyBox[1], keyBox[2], keyBox[3], 2, f == 1);
        triangle(p, mark[0], y + mark[1], mark[2], mark[3], dir, f == 1 ? kInkOnLit : kInk);
    }
    return finish(p, true);
}
}  // namespace

Drawn arrowButton(bool right) { return triangleKey(11, 18, {1.5, 0.5, 9, 17}, {4, 5.5, 4, 7}, right ? 'r' : 'l'); }

Drawn octaveButton(bool up) { return triangleKey(14, 12, {0.5, 0.5, 13, 10}, {4, 3.5, 6, 4}, up ? 'u' : 'd'); }

Drawn trackingSwitch() {
    // A small LED bar.
    Painter p(13, 12);
    for (int f = 0; f < 2; ++f) {
        p.roundedRect(0.5, 6 * f + 0.5, 12, 5, 2);
        if (f == 1)
            p.verticalGradient(6, 12, kLit.mix(Colour::hex(0xffffff), 0.3), kLit);
        else
            p.colour(Colour::hex(0x2a2f36));
        cairo_fill_preserve(p.cr());
        cairo_set_line_width(p.cr(), 1);
        p.colour(kKeyEdge);
        cairo_stroke(p.cr());
    }
    return finish(p, true);
}

Drawn menuFace() {
    Painter p(26, 26);
    key(p, 4.5, 4.5, 17, 17, 3, false);
    // Three lines: a menu.
    for (int i = 0; i < 3; ++i) p.fillRect(9, 9 + 3 * i, 8, 1.5, kInk);
    return finish(p, true);
}

Drawn readout() {
    // The field of menus and text-array buttons. Controls of every width and
    // height show its top-left part, so it has no right or bottom edge; the
    // backgrounds draw the recess around it.
    Painter p(192, 19);
    p.verticalGradient(0, 19, Colour::hex(0x07090b), Colour::hex(0x10141a));
    cairo_paint(p.cr());
    p.fillRect(0, 0, 192, 1, Colour::hex(0x000000, 0.7));
    p.fillRect(0, 0, 1, 19, Colour::hex(0x000000, 0.5));
    return finish(p, true);
}

Drawn aboutButton() {
    // The product's name plate; a click shows the about screen.
    Painter p(212, 90);
    cairo_t* cr = p.cr();
    for (int f = 0; f < 2; ++f) {
        double y = 45 * f;
        p.roundedRect(1.5, y + 1.5, 209, 42, 5);
        p.verticalGradient(y, y + 45, Colour::hex(f ? 0x1a1d22 : 0x262b32), Colour::hex(f ? 0x121418 : 0x181b20));
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        p.colour(Colour::hex(0x3c434d));
        cairo_stroke(cr);
        double shift = f;  // pressed: the plate sinks a pixel
        Font name{Face::SansBold, 22, 1.0};
        const double tracking = 1.6;
        cairo_save(cr);
        double pen = 14;
        for (const char* c = "BRENNIX"; *c; ++c) {
            std::string one(1, *c);
            p.textPath(name, one, pen, y + 30 + shift);
            cairo_text_extents_t e;
            cairo_text_extents(cr, one.c_str(), &e);
            pen += e.x_advance + tracking;
        }
        p.verticalGradient(y + 10, y + 32, Colour::hex(0xf4f7fa), Colour::hex(0x9aa4b0));
        cairo_fill(cr);
        cairo_restore(cr);
        Font small{Face::SansBold, 6.6, 1.0};
        p.text(small, "POLYPHONIC", 198, y + 20 + shift, Colour::hex(0x4aa3ff), Align::Right);
        p.text(small, "SYNTHESIZER", 198, y + 29 + shift, Colour::hex(0x8c96a1), Align::Right);
        p.fillRect(14, y + 35 + shift, 184, 1.5, Colour::hex(0x4aa3ff, 0.6));
    }
    return finish(p, true);
}

Drawn stepIndicator() {
    // One frame per current step: 16 cells of 25 pixels with the step number,
    // the current one lit.
    Painter p(403, 272);
    Font font{Face::SansBold, 7, 1.0};
    for (int f = 0; f < 16; ++f) {
        double y = 17 * f;
        for (int s = 0; s < 16; ++s) {
            double x = 25 * s;
            bool lit = s == f;
            p.roundedRect(x + 1.5, y + 2.5, 22, 12, 2);
            if (lit)
                p.verticalGradient(y + 2, y + 15, Colour::hex(0x5ae6dc), Colour::hex(0x22a89f));
            else
                p.colour(Colour::hex(0x15181c));
            cairo_fill_preserve(p.cr());
            cairo_set_line_width(p.cr(), 1);
            p.colour(lit ? Colour::hex(0x0b3a37) : Colour::hex(0x2a3038));
            cairo_stroke(p.cr());
            p.text(font, std::to_string(s + 1), x + 12.5, y + 11.5,
                   lit ? Colour::hex(0x06201e) : Colour::hex(0x6d7782), Align::Centre);
        }
    }
    return finish(p, true);
}

Drawn levelImage() {
    // LED segments, brightest at the top; the slider shows the part from its
    // level down.
    Painter p(15, 39);
    for (int y = 0; y + 2 <= 39; y += 3) {
        double t = y / 38.0;
        Colour c = Colour::hex(0x9cf2bf).mix(Colour::hex(0x2f9e5e), t);
        p.fillRect(2, y, 10, 2, c);
    }
    return finish(p, true);
}

}  // namespace artgen
