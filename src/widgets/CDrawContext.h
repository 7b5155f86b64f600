// A drawing target with fill, frame and font colours: the frame's back buffer
// or an off-screen image. Coordinates are those of the view being drawn; a
// container moves the origin to its own corner while its children draw.
#pragma once

#include <cairo.h>

#include <string>

#include "widgets/CGeometry.h"

namespace VSTGUI {

class CFrame;

enum CFont {
    kSystemFont,
    kNormalFontVeryBig,
    kNormalFontBig,
    kNormalFont,
    kNormalFontSmall,
    kNormalFontSmaller,
    kNormalFontVerySmall,
};
enum CTxtFace { kNormalFace = 0, kBoldFace = 1, kItalicFace = 2 };
enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };

class CDrawContext {
public:
    // Draws onto `target` (not owned) for `frame` (may be null).
    CDrawContext(cairo_surface_t* target, CFrame* frame = nullptr);
    virtual ~CDrawContext();
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void setFillColor(const CColor& c) { fillColor = c; }
    const CColor& getFillColor() const { return fillColor; }
    void setFrameColor(const CColor& c) { frameColor = c; }
    const CColor& getFrameColor() const { return frameColor; }
    void setFontColor(const CColor& c) { fontColor = c; }
    const CColor& getFontColor() const { return fontColor; }
    void setLineWidth(int width) { lineWidth = width < 1 ? 1 : width; }

    // Font by size class; `size` in pixels overrides the class's size when above 0.
    void setFont(CFont font, int size = 0, int style = kNormalFace);
    int getFontSize() const { return fontSize; }
    bool isBold() const { return (fontStyle & kBoldFace) != 0; }

    void fillRect(const CRect& r);
    void drawRect(const CRect& r);  // a one-line frame just inside `r`
    void moveTo(const CPoint& p) { pen = p; }
    void lineTo(const CPoint& p);
    void drawLine(const CPoint& from, const CPoint& to) {
        moveTo(from);
        lineTo(to);
    }

    // One line of text, vertically centred in `r`, clipped to it; an opaque
    // background is filled with the fill colour first.
    void drawString(const char* text, const CRect& r, bool opaque = false,
                    CHoriTxtAlign align = kCenterText);
    int getStringWidth(const char* text);

    // Limits drawing to `r` (in current coordinates) until the matching restore.
    void saveState();
    void restoreState();
    void clipTo(const CRect& r);
    // Moves the origin by (dx, dy) until the matching restore.
    void translate(int dx, int dy);
    CPoint getOffset() const { return offset; }

    cairo_t* getCairo() const { return cr; }
    cairo_surface_t* getSurface() const { return surface; }
    CFrame* getFrame() const { return frame; }

    // Mouse state as last reported to the frame (buttons as in CView::mouse).
    long getMouseButtons() const;
    void getMouseLocation(CPoint& where) const;

protected:
    void applyColor(const CColor& c);
    void applyFont();

    cairo_surface_t* surface;
    cairo_t* cr;
    CFrame* frame;
    CColor fillColor = kWhiteCColor, frameColor = kBlackCColor, fontColor = kWhiteCColor;
    int lineWidth = 1;
    int fontSize = 12;
    int fontStyle = kNormalFace;
    CPoint pen;
    CPoint offset;
    CPoint savedOffsets[32];
    int depth = 0;
};

// A drawing context with an image of its own, for tests, PNG export and the
// frame's back buffer.
class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(int width, int height, const CColor& background = kBlackCColor,
                      CFrame* frame = nullptr);
    ~COffscreenContext() override;

    int getWidth() const { return width; }
    int getHeight() const { return height; }
    // The colour of one pixel (alpha undone); black outside the image.
    CColor getPixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    // Copies the part of this image at `source` into `dest` of another context.
    void copyTo(CDrawContext* dest, const CRect& destRect, const CPoint& source = CPoint()) const;

private:
    int width, height;
};

}  // namespace VSTGUI
