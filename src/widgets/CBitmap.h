// An image from the plug-in's resources. A "PNG" resource is decoded with
// libpng into 32 bits with alpha; otherwise the "BITMAP" resource of that id is
// loaded as it is, without alpha. Data that cannot be decoded is refused: the
// bitmap then reports !isLoaded() with the reason and shows a plain grey
// placeholder of the image's declared size (or 32 x 32), so nothing crashes.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <string>

#include "widgets/CGeometry.h"
#include "widgets/CReferenceCounter.h"

namespace VSTGUI {

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int resourceId);
    // PNG bytes (tests and generated images); `withAlpha` false loads them as a BITMAP would.
    CBitmap(const unsigned char* data, size_t size, bool withAlpha = true,
            const std::string& what = "image");
    // A blank, fully transparent image.
    CBitmap(int width, int height);
    ~CBitmap() override;

    bool isLoaded() const { return loaded; }
    const std::string& getError() const { return error; }
    int getResourceId() const { return resourceId; }
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    bool hasAlpha() const { return alpha; }

    void setTransparentColor(const CColor& c);
    const CColor& getTransparentColor() const { return transparentColor; }

    // Draws the part of the image that starts at `offset` into `dest`:
    // opaque (alpha ignored), with the transparent colour left out, or blended.
    void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint());
    void drawTransparent(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint());
    void drawAlphaBlend(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(),
                        unsigned char globalAlpha = 255);

    // The pixel (premultiplied 0xAARRGGBB) for tests and tools; 0 outside.
    uint32_t getPixel(int x, int y) const;
    cairo_surface_t* getSurface() const { return surface; }

private:
    void load(const unsigned char* data, size_t size, bool withAlpha, const std::string& what);
    void makePlaceholder(int w, int h);
    void paint(CDrawContext* context, cairo_surface_t* source, const CRect& dest,
               const CPoint& offset, double globalAlpha, bool replace);

    int resourceId = 0;
    int width = 0, height = 0;
    bool alpha = false;
    bool loaded = false;
    std::string error;
    cairo_surface_t* surface = nullptr;
    cairo_surface_t* opaqueView = nullptr;   // the same pixels read without alpha
    cairo_surface_t* keyedCopy = nullptr;    // the transparent colour cut out
    CColor transparentColor{255, 0, 255, 255};
};

}  // namespace VSTGUI
