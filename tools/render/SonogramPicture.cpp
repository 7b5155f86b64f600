#include "SonogramPicture.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "ColourMap.h"
#include "PngFile.h"

namespace render {
namespace {

constexpr int kMinPlotWidth = 1500;
constexpr int kMaxPlotWidth = 12000;  // cairo draws at most 32767 pixels across
constexpr int kPixelsPerMark = 22;    // room for an upright label per mark
constexpr int kPlotHeight = 480;
constexpr int kLeft = 72, kRight = 110, kTop = 44, kTimeLabels = 30;
constexpr double kLabelSize = 11.0, kTitleSize = 15.0;
constexpr double kLabelGap = 10.0;
constexpr const char* kFont = "DejaVu Sans";

struct Surface {
    cairo_surface_t* surface;
    cairo_t* cr;
    Surface(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr(cairo_create(surface)) {}
    ~Surface() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
};

void font(cairo_t* cr, double size, bool bold = false) {
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double textWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

// Text with its left end (align 0), middle (0.5) or right end (1) at x, baseline at y.
void text(cairo_t* cr, const std::string& s, double x, double y, double align = 0.0) {
    cairo_move_to(cr, x - align * textWidth(cr, s), y);
    cairo_show_text(cr, s.c_str());
}

double markX(const PictureLayout& l, double seconds, double total) {
    return l.plotX + l.plotWidth * std::clamp(seconds / total, 0.0, 1.0);
}

std::string frequencyLabel(double hz) {
    char s[32];
    if (hz >= 1000.0)
        std::snprintf(s, sizeof s, "%g kHz", hz / 1000.0);
    else
        std::snprintf(s, sizeof s, "%g Hz", hz);
    return s;
}

std::string timeLabel(double seconds, bool minutes) {
    char s[32];
    if (minutes)
        std::snprintf(s, sizeof s, "%d:%02d", int(seconds) / 60, int(seconds) % 60);
    else
        std::snprintf(s, sizeof s, "%g s", seconds);
    return s;
}

// The smallest step that keeps time labels 80 pixels apart.
double timeStep(double seconds, int plotWidth) {
    static const double kSteps[] = {0.05, 0.1, 0.2, 0.25, 0.5, 1, 2, 5, 10, 15, 20, 30, 60, 120, 300, 600, 1200, 3600};
    for (double step : kSteps)
        if (plotWidth * step / seconds >= 80.0) return step;
    return 3600.0 * std::ceil(seconds / 3600.0 / 4.0);
}

}  // namespace

PictureLayout pictureLayout(double seconds, const std::vector<TimeMark>& marks) {
    PictureLayout l;
    l.plotX = kLeft;
    l.plotY = kTop;
    const int count = static_cast<int>(std::min<size_t>(marks.size(), kMaxPlotWidth));
    l.plotWidth = std::clamp(kPixelsPerMark * count, kMinPlotWidth, kMaxPlotWidth);
    l.markEvery = std::max(1, (kPixelsPerMark * count + l.plotWidth - 1) / l.plotWidth);
    l.plotHeight = kPlotHeight;
    l.width = l.plotX + l.plotWidth + kRight;
    l.labelTop = l.plotY + l.plotHeight + kTimeLabels;
    const double total = std::max(seconds, 1e-9);

    // Side by side if every label fits before the next mark (and the picture's edge).
    Surface scratch(1, 1);
    font(scratch.cr, kLabelSize);
    double widest = 0.0;
    const size_t every = static_cast<size_t>(l.markEvery);
    for (size_t i = 0; i < marks.size(); i += every) {
        const double width = textWidth(scratch.cr, marks[i].label);
        widest = std::max(widest, width);
        const double x = markX(l, marks[i].seconds, total);
        const double next = i + every < marks.size() ? markX(l, marks[i + every].seconds, total) : l.width - 4.0;
        if (x + width + kLabelGap > next) l.uprightLabels = true;
    }
    const int labels = marks.empty() ? 0 : l.uprightLabels ? static_cast<int>(std::ceil(widest)) + 12 : 24;
    l.height = l.labelTop + labels + 8;
    return l;
}

bool writeSpectrogramPicture(const Spectrogram& sg, const PictureLayout& l, const std::vector<TimeMark>& marks,
                             const std::string& title, const std::string& path, std::string& error) {
    Surface picture(l.width, l.height);
    cairo_t* cr = picture.cr;
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.09);
    cairo_paint(cr);

    // The grid, one pixel per cell, highest frequency on top.
    const int columns = std::min(sg.columns(), l.plotWidth), rows = std::min(sg.rows(), l.plotHeight);
    Surface grid(columns, rows);
    cairo_surface_flush(grid.surface);
    unsigned char* data = cairo_image_surface_get_data(grid.surface);
    const int stride = cairo_image_surface_get_stride(grid.surface);
    for (int y = 0; y < rows; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < columns; ++x) {
            const double t = (sg.level(x, rows - 1 - y) - kPictureFloorDb) / -kPictureFloorDb;
            const std::array<uint8_t, 3> c = colourAt(t);
            line[x] = 0xFF000000u | uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
        }
    }
    cairo_surface_mark_dirty(grid.surface);
    cairo_set_source_surface(cr, grid.surface, l.plotX, l.plotY);
    cairo_paint(cr);

    const double total = std::max(sg.seconds(), 1e-9);
    const double bottom = l.plotY + l.plotHeight;
    font(cr, kLabelSize);
    cairo_set_line_width(cr, 1.0);

    // Frequency axis: 1-2-5 steps, grid lines across the plot.
    for (double decade = 10.0; decade <= 100000.0; decade *= 10.0)
        for (double m : {1.0, 2.0, 5.0}) {
            const double hz = decade * m;
            if (hz < sg.lowHz() * 0.999 || hz > sg.highHz() * 1.001) continue;
            const double y = std::round(bottom - sg.rowOf(hz) * l.plotHeight / sg.rows()) + 0.5;
            cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
            cairo_move_to(cr, l.plotX, y);
            cairo_line_to(cr, l.plotX + l.plotWidth, y);
            cairo_stroke(cr);
            cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
            text(cr, frequencyLabel(hz), l.plotX - 6, y + 4, 1.0);
        }

    // Time axis.
    const double step = timeStep(total, l.plotWidth);
    const bool minutes = total >= 120.0;
    for (double t = 0.0; t <= total + 1e-9; t += step) {
        const double x = std::round(markX(l, t, total)) + 0.5;
        cairo_set_source_rgba(cr, 1, 1, 1, 0.16);
        cairo_move_to(cr, x, l.plotY);
        cairo_line_to(cr, x, bottom + 4);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        text(cr, timeLabel(t, minutes), x, bottom + 18, t == 0.0 ? 0.0 : 0.5);
    }

    // Marks: a line through the plot and the label below the time axis.
    for (size_t i = 0; i < marks.size(); i += static_cast<size_t>(l.markEvery)) {
        const TimeMark& m = marks[i];
        const double x = std::round(markX(l, m.seconds, total)) + 0.5;
        cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
        cairo_move_to(cr, x, l.plotY);
        cairo_line_to(cr, x, bottom);
        cairo_move_to(cr, x, l.labelTop - 6);  // and a tick above the label
        cairo_line_to(cr, x, l.labelTop + 2);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
        if (l.uprightLabels) {
            // Reading downwards, beside the line.
            cairo_save(cr);
            cairo_translate(cr, x + 4, l.labelTop + 2);
            cairo_rotate(cr, 3.14159265358979323846 / 2.0);
            text(cr, m.label, 0.0, 0.0);
            cairo_restore(cr);
        } else {
            text(cr, m.label, x + 3, l.labelTop + 14);
        }
    }

    cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
    cairo_rectangle(cr, l.plotX - 0.5, l.plotY - 0.5, l.plotWidth + 1, l.plotHeight + 1);
    cairo_stroke(cr);

    // Colour bar in dBFS.
    const int barX = l.plotX + l.plotWidth + 22, barWidth = 14;
    for (int y = 0; y < l.plotHeight; ++y) {
        const std::array<uint8_t, 3> c = colourAt(1.0 - double(y) / (l.plotHeight - 1));
        cairo_set_source_rgb(cr, c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
        cairo_rectangle(cr, barX, l.plotY + y, barWidth, 1);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    for (int db = 0; db >= kPictureFloorDb; db -= 20) {
        const double y = l.plotY + (db / kPictureFloorDb) * (l.plotHeight - 1);
        char s[16];
        std::snprintf(s, sizeof s, "%d", db);
        text(cr, s, barX + barWidth + 6, y + 4);
    }
    text(cr, "dBFS", barX, l.plotY - 8);

    font(cr, kTitleSize, true);
    cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
    text(cr, title, l.plotX, l.plotY - 16);

    // To 8-bit RGB for the PNG writer (cairo keeps native-endian 0xAARRGGBB).
    cairo_surface_flush(picture.surface);
    const unsigned char* pixels = cairo_image_surface_get_data(picture.surface);
    const int pictureStride = cairo_image_surface_get_stride(picture.surface);
    artgen::Pixels image;
    image.width = l.width;
    image.height = l.height;
    image.rgba.resize(static_cast<size_t>(l.width) * l.height * 4);
    for (int y = 0; y < l.height; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * pictureStride);
        for (int x = 0; x < l.width; ++x) {
            uint8_t* out = &image.rgba[(static_cast<size_t>(y) * l.width + x) * 4];
            out[0] = uint8_t(line[x] >> 16);
            out[1] = uint8_t(line[x] >> 8);
            out[2] = uint8_t(line[x]);
            out[3] = 255;
        }
    }
    constexpr int kQuickCompression = 3;  // a tenth of level 9's time, for a slightly larger file
    if (!artgen::writeFile(path, artgen::encodePng(image, kQuickCompression))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace render
