#include "widgets/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace VSTGUI {
namespace {

struct MemoryReader {
    const unsigned char* data;
    size_t size;
    size_t position = 0;
};

struct ErrorState {
    std::string message;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->position) png_error(png, "the data ends too early");
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
    if (state) state->message = message ? message : "unknown error";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

uint32_t premultiplied(const png_byte* rgba) {
    uint32_t a = rgba[3];
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale(rgba[0]) << 16) | (scale(rgba[1]) << 8) | scale(rgba[2]);
}

}  // namespace

bool readPngSize(const unsigned char* data, size_t size, int& width, int& height) {
    // Signature (8), chunk length (4), "IHDR" (4), width (4), height (4).
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!data || size < 24 || std::memcmp(data, kSignature, 8) != 0 ||
        std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    auto be32 = [](const unsigned char* p) {
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    };
    uint32_t w = be32(data + 16), h = be32(data + 20);
    if (w == 0 || h == 0 || w > uint32_t(kMaxImageSide) || h > uint32_t(kMaxImageSide)) return false;
    width = int(w);
    height = int(h);
    return true;
}

bool decodePng(const unsigned char* data, size_t size, DecodedImage& image, std::string& error) {
    image = DecodedImage{};
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        error = "not PNG data";
        return false;
    }
    ErrorState state;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    if (!png) {
        error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        error = "out of memory";
        return false;
    }
    MemoryReader reader{data, size};
    // Rows live outside the jump target so that a failure mid-image frees them.
    std::vector<png_byte> rows;
    std::vector<png_bytep> rowPointers;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        error = state.message.empty() ? "damaged image" : state.message;
        image = DecodedImage{};
        return false;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int depth = png_get_bit_depth(png, info);
    int type = png_get_color_type(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4) png_error(png, "unsupported pixel layout");

    rows.resize(size_t(width) * height * 4);
    rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rowPointers[y] = rows.data() + size_t(y) * width * 4;
    png_read_image(png, rowPointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    image.width = int(width);
    image.height = int(height);
    image.pixels.resize(size_t(width) * height);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = premultiplied(&rows[i * 4]);
    return true;
}

}  // namespace VSTGUI
