#include "Sheet.h"

#include <cmath>
#include <stdexcept>

namespace artgen {
using layout::Control;
using layout::Rect;

Colour accent(Family family) {
    switch (family) {
        case Family::Oscillator: return Colour::hex(0x4aa3ff);
        case Family::Filter: return Colour::hex(0xff8a3d);
        case Family::Modulation: return Colour::hex(0x58d08a);
        case Family::Amplifier: return Colour::hex(0xff5c74);
        case Family::Effects: return Colour::hex(0xa98cff);
        case Family::Arpeggiator: return Colour::hex(0x34d2c8);
        case Family::Global: return Colour::hex(0xf2c14e);
    }
    return {};
}

Sheet::Sheet(int imageId, int width, int height, layout::Region region, int fxType)
    : image_(imageId), region_(region), fxType_(fxType), painter_(width, height) {}

void Sheet::record(const char* kind, const Box& box, const std::string& text) {
    items_.push_back({image_, kind, {box.left, box.top, box.right, box.bottom}, text});
}

void Sheet::window() {
    painter_.verticalGradient(0, painter_.height(), palette::kWindowTop, palette::kWindowBottom);
    cairo_paint(painter_.cr());
}

void Sheet::panelFace(Family family, const Rect& bounds) {
    cairo_t* cr = painter_.cr();
    // The path is set; fill it, then draw the accent strip and the border inside it.
    cairo_save(cr);
    cairo_clip_preserve(cr);
    painter_.verticalGradient(bounds.top, bounds.bottom, palette::kPanelTop, palette::kPanelBottom);
    cairo_fill_preserve(cr);
    cairo_path_t* outline = cairo_copy_path(cr);
    cairo_new_path(cr);
    painter_.fillRect(bounds.left, bounds.top, bounds.width(), 3, accent(family).withAlpha(0.85));
    painter_.fillRect(bounds.left, bounds.top + 3, bounds.width(), 1, Colour::hex(0xffffff, 0.05));
    cairo_append_path(cr, outline);
    cairo_path_destroy(outline);
    cairo_set_line_width(cr, 2);
    painter_.colour(palette::kPanelBorder);
    cairo_stroke(cr);  // half of the 2-pixel line falls inside the clip
    cairo_restore(cr);
}

void Sheet::panel(const Rect& r, Family family, const std::string& name) {
    cairo_t* cr = painter_.cr();
    // A soft shadow under the panel's lower edge.
    painter_.roundedRect(r.left, r.top + 1, r.width(), r.height(), 5);
    painter_.colour(Colour::hex(0x000000, 0.55));
    cairo_fill(cr);
    painter_.roundedRect(r.left, r.top, r.width(), r.height(), 5);
    panelFace(family, r);
    record("panel", {r.left, r.top, r.right, r.bottom}, name);
}

void Sheet::panel(const std::vector<std::pair<int, int>>& outline, const std::vector<Rect>& parts, Family family,
                  const std::string& name) {
    cairo_t* cr = painter_.cr();
    const double radius = 5;
    auto path = [&](double dy) {
        size_t n = outline.size();
        cairo_new_path(cr);
        for (size_t i = 0; i < n; ++i) {
            auto [px, py] = outline[i];
            auto [ax, ay] = outline[(i + n - 1) % n];
            auto [bx, by] = outline[(i + 1) % n];
            double inX = px - ax, inY = py - ay, outX = bx - px, outY = by - py;
            double inLen = std::hypot(inX, inY), outLen = std::hypot(outX, outY);
            double x0 = px - inX / inLen * radius, y0 = py - inY / inLen * radius;
            double x1 = px + outX / outLen * radius, y1 = py + outY / outLen * radius;
            if (i == 0)
                cairo_move_to(cr, x0, y0 + dy);
            else
                cairo_line_to(cr, x0, y0 + dy);
            // A quarter circle drawn as a cubic through the corner point.
            const double k = 0.5523;
            cairo_curve_to(cr, x0 + (px - x0) * k, y0 + (py - y0) * k + dy, x1 + (px - x1) * k,
                           y1 + (py - y1) * k + dy, x1, y1 + dy);
        }
        cairo_close_path(cr);
    };
    Rect bounds = parts.front();
    for (const Rect& p : parts)
        bounds = {std::min(bounds.left, p.left), std::min(bounds.top, p.top), std::max(bounds.right, p.right),
                  std::max(bounds.bottom, p.bottom)};
    path(1);
    painter_.colour(Colour::hex(0x000000, 0.55));
    cairo_fill(cr);
    path(0);
    panelFace(family, bounds);
    for (const Rect& p : parts) record("panel", {p.left, p.top, p.right, p.bottom}, name);
}

void Sheet::title(int x, int baseline, const std::string& text, Family family) {
    // Letter-spaced capitals.
    const double tracking = 0.8;
    double pen = x;
    Box all{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (char ch : text) {
        std::string one(1, ch);
        Box b = painter_.text(kTitleFont, one, pen, baseline, accent(family));
        if (ch != ' ') {
            all.left = std::min(all.left, b.left);
            all.top = std::min(all.top, b.top);
            all.right = std::max(all.right, b.right);
            all.bottom = std::max(all.bottom, b.bottom);
        }
        cairo_text_extents_t e;
        cairo_text_extents(painter_.cr(), one.c_str(), &e);
        pen += e.x_advance + tracking;
    }
    record("title", all, text);
}

void Sheet::verticalTitle(int x, int y, const std::string& text, Family family) {
    cairo_t* cr = painter_.cr();
    Box b = painter_.measure(kTitleFont, text, 0, 0);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -M_PI / 2);
    painter_.text(kTitleFont, text, 0, 0, accent(family));
    cairo_restore(cr);
    // Rotating (left, top, right, bottom) by -90 degrees about (x, y).
    record("title", {x + b.top, y - b.right, x + b.bottom, y - b.left}, text);
}

void Sheet::wells() {
    using layout::Kind;
    for (const Control* c : controls()) {
        switch (c->kind) {
            case Kind::OptionMenu: case Kind::WaveformMenu: case Kind::SourceMenu: case Kind::DestinationMenu:
            case Kind::FxDestinationMenu: case Kind::FxTypeMenu: case Kind::PresetMenu: case Kind::BankMenu:
            case Kind::MorphMenu: case Kind::TextArrayButton: case Kind::TextButton: case Kind::LevelSlider:
            case Kind::GateDisplay: case Kind::ArpDisplay: well(*c); break;
            default: break;
        }
    }
}

namespace {
Colour toneColour(Tone tone) {
    switch (tone) {
        case Tone::Dim: return palette::kDimLabel;
        case Tone::Subtitle: return palette::kSubtitle;
        case Tone::Faint: return palette::kFaint;
        case Tone::Normal: break;
    }
    return palette::kLabel;
}
}  // namespace

void Sheet::labelAt(double x, double baseline, const std::string& text, Align align, Tone tone, const Font& font) {
    Font f = font;
    Box natural = painter_.measure(f, text, 0, 0);
    if (labelWidth_ > 0 && natural.right - natural.left > labelWidth_)
        f.squeeze *= double(labelWidth_) / (natural.right - natural.left);
    Box b = painter_.text(f, text, x, std::round(baseline), toneColour(tone), align);
    record("label", b, text);
}

void Sheet::label(const Control& c, const std::string& text, Side side, int gap, Tone tone) {
    // Labels of one row share a baseline: place by the capital height, not by each text's own ink.
    Box cap = painter_.measure(kLabelFont, "H", 0, 0);
    double capHeight = -cap.top;
    double cx = c.x + c.width / 2.0, cy = c.y + c.height / 2.0;
    switch (side) {
        case Side::Below: return labelAt(cx, c.y + c.height + gap + capHeight, text, Align::Centre, tone);
        case Side::Above: return labelAt(cx, c.y - gap, text, Align::Centre, tone);
        case Side::AboveLeft: return labelAt(c.x + 1, c.y - gap, text, Align::Left, tone);
        case Side::Left: return labelAt(c.x - gap, cy + capHeight / 2, text, Align::Right, tone);
        case Side::Right: return labelAt(c.x + c.width + gap, cy + capHeight / 2, text, Align::Left, tone);
    }
}

void Sheet::envelopeLabels(int attack, int decay, int sustain, int fade, int release) {
    const char* names[] = {"Attack", "Decay", "Sustain", "Fade", "Release"};
    int tags[] = {attack, decay, sustain, fade, release};
    for (int i = 0; i < 5; ++i) label(control(tags[i], layout::Kind::Knob), names[i]);
}

void Sheet::well(const Rect& r) {
    painter_.fillRect(r.left - 1, r.top - 1, r.width() + 2, r.height() + 2, palette::kWellLight);
    painter_.fillRect(r.left - 1, r.top - 1, r.width() + 1, r.height() + 1, palette::kWellShadow);
    painter_.fillRect(r.left, r.top, r.width(), r.height(), palette::kWell);
}

void Sheet::well(const Control& c) { well(c.rect()); }

void Sheet::divider(int x0, int y0, int x1, int y1) {
    // A dark line with a faint light edge beside it.
    cairo_t* cr = painter_.cr();
    cairo_set_line_width(cr, 1);
    bool vertical = x0 == x1;
    painter_.colour(palette::kDivider);
    cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_stroke(cr);
    painter_.colour(Colour::hex(0xffffff, 0.06));
    cairo_move_to(cr, x0 + (vertical ? 1.5 : 0.5), y0 + (vertical ? 0.5 : 1.5));
    cairo_line_to(cr, x1 + (vertical ? 1.5 : 0.5), y1 + (vertical ? 0.5 : 1.5));
    cairo_stroke(cr);
}

std::vector<const Control*> Sheet::controls() const {
    std::vector<const Control*> out;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == region_ && (c.fxType == layout::kAnyFxType || c.fxType == fxType_)) out.push_back(&c);
    return out;
}

const Control& Sheet::control(int tag, layout::Kind kind) const {
    for (const Control* c : controls())
        if (c->tag == tag && c->kind == kind) return *c;
    throw std::runtime_error("no control with tag " + std::to_string(tag) + " on image " + std::to_string(image_));
}

const Control& Sheet::control(layout::Role role, int index) const {
    for (const Control* c : controls())
        if (c->role == role && c->index == index) return *c;
    throw std::runtime_error("no such control on image " + std::to_string(image_));
}

}  // namespace artgen
