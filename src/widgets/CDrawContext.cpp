#include "widgets/CDrawContext.h"

#include "widgets/CFrame.h"

namespace VSTGUI {
namespace {
constexpr const char* kFontFamily = "DejaVu Sans";

int sizeOf(CFont font) {
    switch (font) {
        case kNormalFontVeryBig: return 18;
        case kNormalFontBig: return 14;
        case kNormalFontSmall: return 11;
        case kNormalFontSmaller: return 10;
        case kNormalFontVerySmall: return 9;
        case kSystemFont:
        case kNormalFont:
        default: return 12;
    }
}
}  // namespace

CDrawContext::CDrawContext(cairo_surface_t* target, CFrame* frame)
    : surface(target), cr(cairo_create(target)), frame(frame) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    applyFont();
}

CDrawContext::~CDrawContext() { cairo_destroy(cr); }

void CDrawContext::setFont(CFont font, int size, int style) {
    fontSize = size > 0 ? size : sizeOf(font);
    fontStyle = style;
    applyFont();
}

void CDrawContext::applyFont() {
    cairo_select_font_face(cr, kFontFamily,
                           (fontStyle & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           (fontStyle & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, fontSize);
}

void CDrawContext::applyColor(const CColor& c) {
    cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

void CDrawContext::fillRect(const CRect& r) {
    if (r.isEmpty()) return;
    applyColor(fillColor);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
}

void CDrawContext::drawRect(const CRect& r) {
    if (r.isEmpty()) return;
    applyColor(frameColor);
    cairo_set_line_width(cr, lineWidth);
    double half = lineWidth / 2.0;
    cairo_rectangle(cr, r.left + half, r.top + half, r.width() - lineWidth, r.height() - lineWidth);
    cairo_stroke(cr);
}

void CDrawContext::lineTo(const CPoint& p) {
    applyColor(frameColor);
    cairo_set_line_width(cr, lineWidth);
    // Pixel centres, so that one-pixel lines stay crisp.
    double half = lineWidth % 2 ? 0.5 : 0.0;
    cairo_move_to(cr, pen.h + half, pen.v + half);
    cairo_line_to(cr, p.h + half, p.v + half);
    cairo_stroke(cr);
    pen = p;
}

int CDrawContext::getStringWidth(const char* text) {
    if (!text || !*text) return 0;
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    return int(extents.x_advance + 0.5);
}

void CDrawContext::drawString(const char* text, const CRect& r, bool opaque, CHoriTxtAlign align) {
    if (r.isEmpty()) return;
    if (opaque) fillRect(r);
    if (!text || !*text) return;
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_clip(cr);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    double width = getStringWidth(text);
    double x = r.left;
    if (align == kCenterText)
        x = r.left + (r.width() - width) / 2.0;
    else if (align == kRightText)
        x = r.right - width;
    double baseline = r.top + (r.height() + font.ascent - font.descent) / 2.0;
    applyColor(fontColor);
    cairo_move_to(cr, int(x + 0.5), int(baseline + 0.5));
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

void CDrawContext::saveState() {
    cairo_save(cr);
    if (depth < 32) savedOffsets[depth] = offset;
    ++depth;
}

void CDrawContext::restoreState() {
    if (depth == 0) return;
    --depth;
    if (depth < 32) offset = savedOffsets[depth];
    cairo_restore(cr);
}

void CDrawContext::clipTo(const CRect& r) {
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_clip(cr);
}

void CDrawContext::translate(int dx, int dy) {
    cairo_translate(cr, dx, dy);
    offset.offset(dx, dy);
}

long CDrawContext::getMouseButtons() const { return frame ? frame->getMouseButtons() : 0; }

void CDrawContext::getMouseLocation(CPoint& where) const {
    if (frame) frame->getCurrentLocation(where);
    where.offset(-offset.h, -offset.v);
}

COffscreenContext::COffscreenContext(int width, int height, const CColor& background, CFrame* frame)
    : CDrawContext(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width < 1 ? 1 : width,
                                              height < 1 ? 1 : height),
                   frame),
      width(width < 1 ? 1 : width),
      height(height < 1 ? 1 : height) {
    setFillColor(background);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    fillRect(CRect(0, 0, this->width, this->height));
    cairo_restore(cr);
    setFillColor(kWhiteCColor);
}

// The cairo context holds its own reference; the image goes with it in the base destructor.
COffscreenContext::~COffscreenContext() { cairo_surface_destroy(surface); }

CColor COffscreenContext::getPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return kBlackCColor;
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    uint8_t a = p >> 24;
    auto undo = [a](uint32_t c) { return uint8_t(a ? (c * 255 + a / 2) / a : 0); };
    return CColor{undo((p >> 16) & 0xff), undo((p >> 8) & 0xff), undo(p & 0xff), a};
}

bool COffscreenContext::writePng(const std::string& path) const {
    cairo_surface_flush(surface);
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void COffscreenContext::copyTo(CDrawContext* dest, const CRect& destRect, const CPoint& source) const {
    if (!dest || destRect.isEmpty()) return;
    cairo_t* d = dest->getCairo();
    cairo_save(d);
    cairo_set_operator(d, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(d, surface, destRect.left - source.h, destRect.top - source.v);
    cairo_rectangle(d, destRect.left, destRect.top, destRect.width(), destRect.height());
    cairo_fill(d);
    cairo_restore(d);
}

}  // namespace VSTGUI
