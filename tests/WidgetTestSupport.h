// Helpers for the toolkit and control tests: images made here (PNG bytes
// through the real decoder), a frame without a window fed with synthetic
// events, and a listener that records what it is told.
#pragma once

#include <string>
#include <vector>

#include "editor/brennixEditorListener.h"
#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"

namespace widget_testing {

// PNG bytes of a w x h image whose pixel (x, y) is colour(x, y) (0xAARRGGBB, not premultiplied).
template <typename F>
std::vector<unsigned char> pngBytes(int w, int h, F colour);

std::vector<unsigned char> encodePng(cairo_surface_t* surface);

// A strip of `frames` frames of `side` x `side`; frame i is filled with frameColour(i).
VSTGUI::CBitmap* numberedStrip(int side, int frames);
VSTGUI::CColor frameColour(int i);
// A two-frame button image: top half red, bottom half green.
VSTGUI::CBitmap* twoStateImage(int w, int h);
// A bitmap font whose glyph for character c is a solid block of colour glyphColour(c).
VSTGUI::CBitmap* codedFont();
VSTGUI::CColor glyphColour(unsigned char c);
// A plain opaque image of one colour.
VSTGUI::CBitmap* solidImage(int w, int h, VSTGUI::CColor c);

struct Recorder : brennixEditorListener {
    struct Change {
        VSTGUI::CControl* control;
        float value;
    };
    std::vector<Change> changes;
    std::vector<std::pair<VSTGUI::CControl*, VSTGUI::CPoint>> learnMenus;
    std::vector<std::pair<long, VSTGUI::CPoint>> helpRequests;
    int hides = 0;
    long consumeModifiers = 0;
    int modifierOffers = 0;

    void valueChanged(VSTGUI::CDrawContext*, VSTGUI::CControl* c) override {
        changes.push_back({c, c->getValue()});
    }
    long controlModifierClicked(VSTGUI::CDrawContext*, VSTGUI::CControl*, long) override {
        ++modifierOffers;
        return consumeModifiers;
    }
    void openLearnMenu(VSTGUI::CControl* c, const VSTGUI::CPoint& where) override {
        learnMenus.push_back({c, where});
    }
    void showHelpFor(long tag, const VSTGUI::CPoint& where) override { helpRequests.push_back({tag, where}); }
    void hideHelp() override { ++hides; }
};

// Synthetic input for a frame (frame coordinates; `buttons` as CView::mouse gets them).
void press(VSTGUI::CFrame& frame, int x, int y, long buttons = VSTGUI::kLButton);
void move(VSTGUI::CFrame& frame, int x, int y, long buttons = VSTGUI::kLButton);
void release(VSTGUI::CFrame& frame, int x, int y, long buttons = 0);
void click(VSTGUI::CFrame& frame, int x, int y, long buttons = VSTGUI::kLButton);
void key(VSTGUI::CFrame& frame, unsigned char virt, int character = 0, unsigned char modifier = 0);
void typeText(VSTGUI::CFrame& frame, const std::string& text);

// The colour of frame pixel (x, y) after a full redraw.
VSTGUI::CColor pixelAt(VSTGUI::CFrame& frame, int x, int y);
// Where PNG renderings of the tests go (build/tests/renders).
std::string renderPath(const std::string& name);

template <typename F>
std::vector<unsigned char> pngBytes(int w, int h, F colour) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = colour(x, y), a = c >> 24;
            auto pm = [a](uint32_t v) { return (v * a + 127) / 255; };
            *reinterpret_cast<uint32_t*>(data + y * stride + x * 4) =
                (a << 24) | (pm((c >> 16) & 255) << 16) | (pm((c >> 8) & 255) << 8) | pm(c & 255);
        }
    cairo_surface_mark_dirty(s);
    std::vector<unsigned char> bytes = encodePng(s);
    cairo_surface_destroy(s);
    return bytes;
}

}  // namespace widget_testing
