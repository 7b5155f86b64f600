#include "ColourMap.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEntries = 256;

// OKLab to linear sRGB (Björn Ottosson's published matrices).
std::array<double, 3> linearRgb(double L, double a, double b) {
    const double l = std::pow(L + 0.3963377774 * a + 0.2158037573 * b, 3.0);
    const double m = std::pow(L - 0.1055613458 * a - 0.0638541728 * b, 3.0);
    const double s = std::pow(L - 0.0894841775 * a - 1.2914855480 * b, 3.0);
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

bool inGamut(const std::array<double, 3>& rgb) {
    for (double c : rgb)
        if (c < 0.0 || c > 1.0) return false;
    return true;
}

uint8_t encode(double linear) {
    const double c = std::clamp(linear, 0.0, 1.0);
    const double s = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(s * 255.0));
}

std::array<uint8_t, 3> design(double t) {
    const double lightness = 0.12 + 0.85 * t;              // even steps of perceived lightness
    const double hue = (290.0 + 160.0 * t) * kPi / 180.0;  // violet, through red and orange, to yellow
    double chroma = 0.2 * std::pow(std::sin(0.95 * kPi * t), 0.7);  // black below, pale yellow on top
    // Narrow the chroma until sRGB can show the colour, keeping the lightness.
    std::array<double, 3> rgb = linearRgb(lightness, chroma * std::cos(hue), chroma * std::sin(hue));
    for (int i = 0; i < 40 && !inGamut(rgb); ++i) {
        chroma *= 0.92;
        rgb = linearRgb(lightness, chroma * std::cos(hue), chroma * std::sin(hue));
    }
    return {encode(rgb[0]), encode(rgb[1]), encode(rgb[2])};
}

}  // namespace

std::array<uint8_t, 3> colourAt(double t) {
    static const std::vector<std::array<uint8_t, 3>> table = [] {
        std::vector<std::array<uint8_t, 3>> entries(kEntries);
        for (int i = 0; i < kEntries; ++i) entries[static_cast<size_t>(i)] = design(double(i) / (kEntries - 1));
        return entries;
    }();
    if (!(t >= 0.0)) t = 0.0;
    return table[static_cast<size_t>(std::lround(std::min(t, 1.0) * (kEntries - 1)))];
}

}  // namespace render
