#include "widgets/CBitmap.h"

#include <cstdio>
#include <cstring>

#include "platform/Resources.h"
#include "widgets/CDrawContext.h"
#include "widgets/PngDecoder.h"

namespace VSTGUI {

CBitmap::CBitmap(int id) : resourceId(id) {
    if (platform::Resource png = platform::findResource("PNG", id)) {
        load(png.data, png.size, true, "PNG " + std::to_string(id));
    } else if (platform::Resource bmp = platform::findResource("BITMAP", id)) {
        load(bmp.data, bmp.size, false, "BITMAP " + std::to_string(id));
    } else {
        error = "no image resource " + std::to_string(id);
        std::fprintf(stderr, "Brennix: %s; using a plain placeholder\n", error.c_str());
        makePlaceholder(32, 32);
    }
}

CBitmap::CBitmap(const unsigned char* data, size_t size, bool withAlpha, const std::string& what) {
    load(data, size, withAlpha, what);
}

CBitmap::CBitmap(int w, int h) {
    width = w < 1 ? 1 : w;
    height = h < 1 ? 1 : h;
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    alpha = true;
    loaded = true;
}

CBitmap::~CBitmap() {
    if (keyedCopy) cairo_surface_destroy(keyedCopy);
    if (opaqueView) cairo_surface_destroy(opaqueView);
    if (surface) cairo_surface_destroy(surface);
}

void CBitmap::load(const unsigned char* data, size_t size, bool withAlpha, const std::string& what) {
    DecodedImage image;
    if (!decodePng(data, size, image, error)) {
        error = what + ": " + error;
        std::fprintf(stderr, "Brennix: %s; using a plain placeholder\n", error.c_str());
        int w = 32, h = 32;
        readPngSize(data, size, w, h);
        makePlaceholder(w, h);
        return;
    }
    width = image.width;
    height = image.height;
    alpha = withAlpha;
    surface = cairo_image_surface_create(withAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, width,
                                         height);
    unsigned char* pixels = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(pixels + y * stride);
        const uint32_t* source = &image.pixels[size_t(y) * width];
        if (withAlpha)
            std::memcpy(row, source, size_t(width) * 4);
        else  // a BITMAP holds no alpha: the colour as stored, fully opaque
            for (int x = 0; x < width; ++x) {
                uint32_t p = source[x], a = p >> 24;
                auto undo = [a](uint32_t c) { return a ? (c * 255 + a / 2) / a : 0; };
                row[x] = 0xff000000u | (undo((p >> 16) & 0xff) << 16) | (undo((p >> 8) & 0xff) << 8) |
                         undo(p & 0xff);
            }
    }
    cairo_surface_mark_dirty(surface);
    loaded = true;
}

void CBitmap::makePlaceholder(int w, int h) {
    width = w;
    height = h;
    alpha = false;
    loaded = false;
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.38, 0.38, 0.40);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.22, 0.22, 0.24);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
    cairo_stroke(cr);
    cairo_destroy(cr);
}

void CBitmap::setTransparentColor(const CColor& c) {
    if (c == transparentColor) return;
    transparentColor = c;
    if (keyedCopy) cairo_surface_destroy(keyedCopy);
    keyedCopy = nullptr;
}

void CBitmap::paint(CDrawContext* context, cairo_surface_t* source, const CRect& dest,
                    const CPoint& offset, double globalAlpha, bool replace) {
    if (!context || !source || dest.isEmpty()) return;
    cairo_t* cr = context->getCairo();
    cairo_save(cr);
    if (replace) cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, source, dest.left - offset.h, dest.top - offset.v);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    // Only the image itself: what lies outside it stays as it was.
    CRect area = dest;
    area.bound(CRect(dest.left - offset.h, dest.top - offset.v, dest.left - offset.h + width,
                     dest.top - offset.v + height));
    cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
    cairo_clip(cr);
    if (globalAlpha >= 1.0)
        cairo_paint(cr);
    else
        cairo_paint_with_alpha(cr, globalAlpha);
    cairo_restore(cr);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset) {
    if (alpha && !opaqueView) {
        opaqueView = cairo_image_surface_create_for_data(
            cairo_image_surface_get_data(surface), CAIRO_FORMAT_RGB24, width, height,
            cairo_image_surface_get_stride(surface));
        // The view borrows the pixels; keep them alive as long as it lives.
        static cairo_user_data_key_t ownerKey;
        cairo_surface_reference(surface);
        cairo_surface_set_user_data(opaqueView, &ownerKey, surface,
                                    [](void* s) { cairo_surface_destroy(static_cast<cairo_surface_t*>(s)); });
    }
    paint(context, alpha ? opaqueView : surface, dest, offset, 1.0, true);
}

void CBitmap::drawTransparent(CDrawContext* context, const CRect& dest, const CPoint& offset) {
    if (!keyedCopy) {
        keyedCopy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_surface_flush(surface);
        const unsigned char* from = cairo_image_surface_get_data(surface);
        unsigned char* to = cairo_image_surface_get_data(keyedCopy);
        int fromStride = cairo_image_surface_get_stride(surface);
        int toStride = cairo_image_surface_get_stride(keyedCopy);
        uint32_t key = (uint32_t(transparentColor.red) << 16) | (uint32_t(transparentColor.green) << 8) |
                       transparentColor.blue;
        for (int y = 0; y < height; ++y) {
            auto* src = reinterpret_cast<const uint32_t*>(from + y * fromStride);
            auto* dst = reinterpret_cast<uint32_t*>(to + y * toStride);
            for (int x = 0; x < width; ++x) {
                uint32_t rgb = src[x] & 0xffffffu;
                dst[x] = rgb == key ? 0u : (0xff000000u | rgb);
            }
        }
        cairo_surface_mark_dirty(keyedCopy);
    }
    paint(context, keyedCopy, dest, offset, 1.0, false);
}

void CBitmap::drawAlphaBlend(CDrawContext* context, const CRect& dest, const CPoint& offset,
                             unsigned char globalAlpha) {
    paint(context, surface, dest, offset, globalAlpha / 255.0, false);
}

uint32_t CBitmap::getPixel(int x, int y) const {
    if (!surface || x < 0 || y < 0 || x >= width || y >= height) return 0;
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(surface) + x * 4);
    return alpha ? p : (p | 0xff000000u);
}

}  // namespace VSTGUI
