#include "Painter.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace artgen {
namespace {
// Debian's fonts-dejavu-core.
constexpr const char* kFontDir = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kFontFiles[] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono-Bold.ttf"};

FT_Library library = nullptr;
cairo_font_face_t* faces[3] = {};
}  // namespace

bool loadFonts(std::string& error) {
    if (!library && FT_Init_FreeType(&library) != 0) {
        error = "cannot start FreeType";
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (faces[i]) continue;
        std::string path = std::string(kFontDir) + kFontFiles[i];
        FT_Face face;
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            error = "cannot read " + path + " (install fonts-dejavu-core)";
            return false;
        }
        faces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
    }
    return true;
}

Painter::Painter(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Painter::~Painter() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Painter::roundedRect(double x, double y, double w, double h, double radius) const {
    double r = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Painter::fillRect(double x, double y, double w, double h, const Colour& c) const {
    colour(c);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Painter::verticalGradient(double top, double bottom, const Colour& from, const Colour& to) const {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgba(p, 0, from.r, from.g, from.b, from.a);
    cairo_pattern_add_color_stop_rgba(p, 1, to.r, to.g, to.b, to.a);
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
}

void Painter::select(const Font& font) const {
    cairo_set_font_face(cr_, faces[static_cast<int>(font.face)]);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, font.size * font.squeeze, font.size);
    cairo_set_font_matrix(cr_, &m);
}

double Painter::startX(const Font& font, const std::string& text, double x, Align align) const {
    if (align == Align::Left) return x;
    cairo_text_extents_t e;
    cairo_text_extents(cr_, text.c_str(), &e);
    // Centre the ink, not the advance, so labels sit visibly in the middle.
    double inkMiddle = e.x_bearing + e.width / 2;
    return align == Align::Centre ? x - inkMiddle : x - (e.x_bearing + e.width);
}

Box Painter::measure(const Font& font, const std::string& text, double x, double baseline, Align align) const {
    select(font);
    double start = startX(font, text, x, align);
    cairo_text_extents_t e;
    cairo_text_extents(cr_, text.c_str(), &e);
    return {static_cast<int>(std::floor(start + e.x_bearing)), static_cast<int>(std::floor(baseline + e.y_bearing)),
            static_cast<int>(std::ceil(start + e.x_bearing + e.width)),
            static_cast<int>(std::ceil(baseline + e.y_bearing + e.height))};
}

Box Painter::text(const Font& font, const std::string& text, double x, double baseline, const Colour& c,
                  Align align) const {
    Box box = measure(font, text, x, baseline, align);
    colour(c);
    cairo_move_to(cr_, startX(font, text, x, align), baseline);
    cairo_show_text(cr_, text.c_str());
    return box;
}

void Painter::textPath(const Font& font, const std::string& text, double x, double baseline) const {
    select(font);
    cairo_move_to(cr_, x, baseline);
    cairo_text_path(cr_, text.c_str());
}

Pixels Painter::pixels(bool alpha) const {
    cairo_surface_flush(surface_);
    Pixels out;
    out.width = width_;
    out.height = height_;
    out.hasAlpha = alpha;
    out.rgba.resize(static_cast<size_t>(width_) * height_ * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            uint32_t p = row[x];
            unsigned a = p >> 24;
            unsigned rgb[3] = {(p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff};
            uint8_t* o = &out.rgba[(static_cast<size_t>(y) * width_ + x) * 4];
            for (int k = 0; k < 3; ++k) {
                // Cairo stores premultiplied colour; files hold it straight.
                unsigned v = alpha ? (a ? (rgb[k] * 255 + a / 2) / a : 0) : rgb[k];
                o[k] = static_cast<uint8_t>(std::min(v, 255u));
            }
            o[3] = alpha ? static_cast<uint8_t>(a) : 255;
        }
    }
    return out;
}

}  // namespace artgen
