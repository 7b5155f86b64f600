// The help screen's background (PNG 10300) and the about screen (BITMAP 10005).
#include <cmath>

#include "Artwork.h"
#include "editor/EditorImages.h"

namespace artgen {
namespace {
using layout::Kind;
using layout::Region;

// The help screen reacts to clicks in its top 20 pixels: the left and right
// corner squares turn the page, the rest hides it.
constexpr int kBand = 20;

void arrow(Painter& p, double cx, double cy, bool right) {
    cairo_t* cr = p.cr();
    double d = right ? 1 : -1;
    cairo_move_to(cr, cx - 3 * d, cy - 5);
    cairo_line_to(cr, cx + 4 * d, cy);
    cairo_line_to(cr, cx - 3 * d, cy + 5);
    cairo_close_path(cr);
    p.colour(Colour::hex(0xdfe6ee));
    cairo_fill(cr);
}
}  // namespace

Drawn helpBackground() {
    Painter p(440, 440);
    cairo_t* cr = p.cr();
    p.roundedRect(0, 0, 440, 440, 6);
    p.verticalGradient(0, 440, Colour::hex(0x1d2128), Colour::hex(0x16191e));
    cairo_fill(cr);
    // The title band, its two page keys and the accent line under it.
    p.fillRect(0, 0, 440, kBand, Colour::hex(0x0f1115));
    p.roundedRect(1.5, 1.5, 17, 17, 3);
    p.colour(Colour::hex(0x2f353d));
    cairo_fill(cr);
    p.roundedRect(421.5, 1.5, 17, 17, 3);
    cairo_fill(cr);
    arrow(p, 10, 10, false);
    arrow(p, 430, 10, true);
    p.fillRect(0, kBand - 1, 440, 1, Colour::hex(0x4aa3ff, 0.8));
    p.roundedRect(0.5, 0.5, 439, 439, 6);
    cairo_set_line_width(cr, 1);
    p.colour(Colour::hex(0x4a525d));
    cairo_stroke(cr);
    return finish(p, true);
}

Drawn aboutScreen() {
    Sheet s(layout::img::AboutScreen, 1000, 600, Region::About);
    Painter& p = s.painter();
    cairo_t* cr = p.cr();
    s.window();
    // A wide glow behind the name.
    cairo_pattern_t* glow = cairo_pattern_create_radial(500, 250, 20, 500, 250, 520);
    cairo_pattern_add_color_stop_rgba(glow, 0, 0.29, 0.64, 1.0, 0.16);
    cairo_pattern_add_color_stop_rgba(glow, 1, 0.29, 0.64, 1.0, 0);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);

    s.panel({120, 70, 880, 590}, Family::Oscillator, "about");
    // The version text goes into this well.
    for (const layout::Control* c : s.controls())
        if (c->kind == Kind::TextLabel) s.well(*c);

    Font name{Face::SansBold, 72, 1.0};
    const std::string word = "BRENNIX";
    const double tracking = 6;
    double width = -tracking;
    for (char ch : word) {
        Box b = p.measure(name, std::string(1, ch), 0, 0);
        cairo_text_extents_t e;
        cairo_text_extents(cr, std::string(1, ch).c_str(), &e);
        width += (ch == word.back() ? b.right : e.x_advance) + tracking;
    }
    double pen = std::round(500 - width / 2);
    cairo_save(cr);
    for (char ch : word) {
        std::string one(1, ch);
        p.textPath(name, one, pen, 265);
        cairo_text_extents_t e;
        cairo_text_extents(cr, one.c_str(), &e);
        pen += e.x_advance + tracking;
    }
    p.verticalGradient(200, 268, Colour::hex(0xf6f8fb), Colour::hex(0x8d97a3));
    cairo_fill(cr);
    cairo_restore(cr);
    p.fillRect(280, 280, 440, 2, Colour::hex(0x4aa3ff, 0.8));
    Font subtitle{Face::SansBold, 15, 1.0};
    p.text(subtitle, "POLYPHONIC SYNTHESIZER", 500, 310, Colour::hex(0x8fd3ff), Align::Centre);
    Font body{Face::Sans, 12, 1.0};
    const char* lines[] = {"Three oscillators over 128 waveforms, a 14-type filter, envelopes and LFOs,",
                           "a modulation matrix, a 16-step arpeggiator and three effect slots.",
                           "A VST 2.4 instrument by Ardeko."};
    for (int i = 0; i < 3; ++i) p.text(body, lines[i], 500, 350 + 20 * i, palette::kLabel, Align::Centre);
    p.text(body, "Click anywhere to return to the synthesizer.", 500, 470, palette::kSubtitle, Align::Centre);

    // The two options beside their switches.
    s.labelAt(493, 522, "OPTIONS", Align::Left, Tone::Subtitle);
    for (const layout::Control* c : s.controls()) {
        if (c->kind != Kind::Switch) continue;
        bool key = c->tag == 797;
        s.label(*c, key ? "Key: the up and down arrow keys step through the programs"
                        : "Normal Font: plain colours in the menus",
                Side::Right, -3);
    }
    return finish(s, false);
}

}  // namespace artgen
