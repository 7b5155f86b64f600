// Knob strips: 65 frames from value 0 (top) to 1 (bottom). Each frame is a
// dark knob with a white pointer inside a value arc over a 270-degree track.
// Strips whose knobs edit parameters with a neutral middle (semitones, fine
// tune, pan, fades, symmetry, modulation amounts) draw the arc from the top
// centre, where a detent mark sits; the others draw it from the lower left.
#include <cmath>

#include "Artwork.h"
#include "editor/EditorImages.h"

namespace artgen {
namespace {
// Strip users (see the control layout): 0 waveform, volume, cutoff; 1 semi,
// fine, FX mix and pan; 2 envelope fades; 3 filter and modulation amounts,
// panning; 4 levels and amounts; 5 times and speeds; 6 pulse width; 7
// symmetry, tuning, shapes and the effects' signed knobs; 9 amount controls;
// 10 plain effect knobs and the voice, arp and variation knobs. 8 and 11 are
// in the table but no control uses them.
constexpr bool kCentred[layout::img::kKnobStrips] = {false, true,  true,  true,  false, false,
                                                     false, true,  false, true,  false, false};

constexpr Colour kArc = Colour::hex(0x8fd3ff);
constexpr Colour kTrack = Colour::hex(0x08090b);
constexpr double kStart = 0.75 * M_PI;  // lower left
constexpr double kSweep = 1.5 * M_PI;

void drawKnob(const Painter& p, double size, double top, double value, bool centred) {
    cairo_t* cr = p.cr();
    double cx = size / 2, cy = top + size / 2;
    double arcWidth = size >= 50 ? 3.4 : size >= 37 ? 2.8 : 2.4;
    // The ink stays 3 pixels inside the frame, clear of what stands at its corners.
    double arcRadius = size / 2 - 3 - arcWidth / 2;
    double body = arcRadius - arcWidth / 2 - (size >= 50 ? 2.6 : 1.8);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, arcWidth);
    p.colour(kTrack);
    cairo_arc(cr, cx, cy, arcRadius, kStart, kStart + kSweep);
    cairo_stroke(cr);

    double angle = kStart + kSweep * value;
    double from = centred ? 1.5 * M_PI : kStart;
    if (std::fabs(angle - from) > 1e-6) {
        p.colour(kArc);
        cairo_arc(cr, cx, cy, arcRadius, std::min(from, angle), std::max(from, angle));
        cairo_stroke(cr);
    }
    if (centred) {
        // The detent mark across the track at the top.
        cairo_set_line_width(cr, 1);
        p.colour(Colour::hex(0xdfe8f2, 0.9));
        cairo_move_to(cr, cx, cy - arcRadius - arcWidth / 2);
        cairo_line_to(cr, cx, cy - arcRadius + arcWidth / 2);
        cairo_stroke(cr);
    }

    // Shadow, skirt and cap.
    cairo_pattern_t* shadow = cairo_pattern_create_radial(cx, cy + 1, body * 0.6, cx, cy + 1, body + 1.5);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.7);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
    cairo_set_source(cr, shadow);
    cairo_arc(cr, cx, cy + 1, body + 1.5, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    cairo_pattern_t* skirt = cairo_pattern_create_radial(cx - 0.3 * body, cy - 0.45 * body, 0, cx, cy, body * 1.25);
    cairo_pattern_add_color_stop_rgb(skirt, 0, 0.36, 0.39, 0.43);
    cairo_pattern_add_color_stop_rgb(skirt, 0.55, 0.20, 0.22, 0.25);
    cairo_pattern_add_color_stop_rgb(skirt, 1, 0.11, 0.12, 0.14);
    cairo_set_source(cr, skirt);
    cairo_arc(cr, cx, cy, body, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_line_width(cr, 1);
    p.colour(Colour::hex(0x050607));
    cairo_arc(cr, cx, cy, body - 0.5, 0, 2 * M_PI);
    cairo_stroke(cr);

    double cap = body * 0.74;
    cairo_pattern_t* face = cairo_pattern_create_linear(0, cy - cap, 0, cy + cap);
    cairo_pattern_add_color_stop_rgb(face, 0, 0.30, 0.33, 0.37);
    cairo_pattern_add_color_stop_rgb(face, 1, 0.17, 0.19, 0.21);
    cairo_set_source(cr, face);
    cairo_arc(cr, cx, cy, cap, 0, 2 * M_PI);
    cairo_fill(cr);
    p.colour(Colour::hex(0xffffff, 0.10));
    cairo_arc(cr, cx, cy, cap - 0.5, 1.15 * M_PI, 1.85 * M_PI);
    cairo_stroke(cr);

    // The pointer, with a dark edge so it reads over the lit cap.
    double dx = std::cos(angle), dy = std::sin(angle);
    double inner = body * 0.25, outer = body - 1.2;
    double width = size >= 50 ? 2.4 : size >= 37 ? 2.0 : 1.7;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, width + 1.4);
    p.colour(Colour::hex(0x000000, 0.55));
    cairo_move_to(cr, cx + dx * inner, cy + dy * inner);
    cairo_line_to(cr, cx + dx * outer, cy + dy * outer);
    cairo_stroke(cr);
    cairo_set_line_width(cr, width);
    p.colour(Colour::hex(0xf5f7fa));
    cairo_move_to(cr, cx + dx * inner, cy + dy * inner);
    cairo_line_to(cr, cx + dx * outer, cy + dy * outer);
    cairo_stroke(cr);
}
}  // namespace

Drawn knobStrip(int strip) {
    int size = layout::img::knobSize(strip);
    Painter p(size, size * layout::img::kKnobFrames);
    for (int f = 0; f < layout::img::kKnobFrames; ++f)
        drawKnob(p, size, f * size, f / double(layout::img::kKnobFrames - 1), kCentred[strip]);
    return finish(p, true);
}

}  // namespace artgen
