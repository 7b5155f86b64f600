// The host's side of the editor tests on a real X server (Xvfb under ./test.sh
// and CI): a mapped top-level window on a display connection of the test's
// own, real pointer and key input through XTest, and screenshots read back
// from the server.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

#include "widgets/CGeometry.h"

// Xlib's own types, without its macros (None, Bool, ...), which clash with the toolkit's headers.
typedef struct _XDisplay Display;
typedef unsigned long XID;

namespace x11_testing {

struct HostWindow {
    Display* display = nullptr;
    XID window = 0;

    explicit HostWindow(int w = 1000, int h = 600);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    void* parent() const { return reinterpret_cast<void*>(window); }
    void destroy();
    void sync();
    // The number of child windows (the editor's) inside the host window.
    unsigned childCount();
    // Where the first child window lies on the screen.
    VSTGUI::CPoint childOrigin();
    unsigned long pixel(int x, int y);
    // The host window's pixels (x, y, w, h) as an image; the caller destroys it.
    cairo_surface_t* screenshot(int x, int y, int w, int h);

    // Real input at window point (x, y).
    void moveTo(int x, int y);
    void moveAway();  // off the window, to the screen's far corner
    void button(int number, bool down);
    void key(unsigned long keysym, bool down);
};

// Calls `idle` (with the display synchronised) until `done` holds or about a
// second has passed.
void pump(HostWindow& host, const std::function<void()>& idle,
          const std::function<bool()>& done = [] { return false; });

// Skips the test without a display, fails it under CI (which must provide one).
bool needDisplay(const HostWindow& host);

// The share of pixels of `a` and `b` (same size) whose channels differ by more
// than `tolerance`; 1 when the sizes differ.
double differingShare(cairo_surface_t* a, cairo_surface_t* b, int tolerance);

}  // namespace x11_testing
