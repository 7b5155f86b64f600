// PNG data in memory to 32-bit pixels, with libpng. Never throws and never
// trusts the data: damaged, cut-short or oversized images are refused with a reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VSTGUI {

struct DecodedImage {
    int width = 0, height = 0;
    // Premultiplied 0xAARRGGBB, row after row (cairo's ARGB32 layout).
    std::vector<uint32_t> pixels;
};

// The largest width or height accepted; larger claims are treated as damage.
constexpr int kMaxImageSide = 8192;

bool decodePng(const unsigned char* data, size_t size, DecodedImage& image, std::string& error);

// Width and height from the header alone; false when even that is unreadable.
bool readPngSize(const unsigned char* data, size_t size, int& width, int& height);

}  // namespace VSTGUI
