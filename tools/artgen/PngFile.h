// Reading and writing the artwork's PNG files. Images are 8-bit RGBA in memory
// (not premultiplied); opaque images are written without an alpha channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

struct Pixels {
    int width = 0, height = 0;
    bool hasAlpha = false;       // as stored in the file
    std::vector<uint8_t> rgba;   // width * height * 4

    const uint8_t* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    uint8_t alpha(int x, int y) const { return at(x, y)[3]; }
};

// Decodes PNG data; false (and an empty image) for anything that is not a
// complete PNG file.
bool decodePng(const unsigned char* data, size_t size, Pixels& out);
bool readPng(const std::string& path, Pixels& out);

// Encodes with fixed settings and no time stamp, so equal pixels give equal files.
// The committed artwork uses the default, the smallest files; pictures made
// on every run (spectrograms) a quicker level.
std::vector<unsigned char> encodePng(const Pixels& image, int compressionLevel = 9);
bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace artgen
