#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace x11_testing {

HostWindow::HostWindow(int w, int h) {
    // A busy server may refuse a connection for a moment.
    for (int i = 0; i < 40 && !display && std::getenv("DISPLAY"); ++i) {
        display = XOpenDisplay(nullptr);
        if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!display) return;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, unsigned(w), unsigned(h), 0, 0,
                                 0x202020);
    XMapWindow(display, window);
    XSync(display, False);
}

HostWindow::~HostWindow() {
    if (!display) return;
    if (window) XDestroyWindow(display, window);
    XCloseDisplay(display);
}

void HostWindow::destroy() {
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
}

void HostWindow::sync() { XSync(display, False); }

unsigned HostWindow::childCount() {
    Window root, parentWindow, *children = nullptr;
    unsigned n = 0;
    XQueryTree(display, window, &root, &parentWindow, &children, &n);
    if (children) XFree(children);
    return n;
}

VSTGUI::CPoint HostWindow::childOrigin() {
    Window root, parentWindow, *children = nullptr;
    unsigned n = 0;
    XQueryTree(display, window, &root, &parentWindow, &children, &n);
    VSTGUI::CPoint origin;
    if (n > 0) {
        Window dummy;
        int x, y;
        XTranslateCoordinates(display, children[0], DefaultRootWindow(display), 0, 0, &x, &y, &dummy);
        origin = VSTGUI::CPoint(x, y);
    }
    if (children) XFree(children);
    return origin;
}

unsigned long HostWindow::pixel(int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    unsigned long p = image ? XGetPixel(image, 0, 0) : 0;
    if (image) XDestroyImage(image);
    return p & 0xffffff;
}

cairo_surface_t* HostWindow::screenshot(int x, int y, int w, int h) {
    cairo_surface_t* shot = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    XImage* image = XGetImage(display, window, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!image) return shot;
    unsigned char* data = cairo_image_surface_get_data(shot);
    int stride = cairo_image_surface_get_stride(shot);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            reinterpret_cast<uint32_t*>(data + row * stride)[col] = uint32_t(XGetPixel(image, col, row) & 0xffffff);
    cairo_surface_mark_dirty(shot);
    XDestroyImage(image);
    return shot;
}

void HostWindow::moveTo(int x, int y) {
    VSTGUI::CPoint origin = childOrigin();
    XTestFakeMotionEvent(display, DefaultScreen(display), origin.h + x, origin.v + y, 0);
    XSync(display, False);
}

void HostWindow::moveAway() {
    Screen* screen = DefaultScreenOfDisplay(display);
    XTestFakeMotionEvent(display, DefaultScreen(display), WidthOfScreen(screen) - 1, HeightOfScreen(screen) - 1, 0);
    XSync(display, False);
}

void HostWindow::button(int number, bool down) {
    XTestFakeButtonEvent(display, unsigned(number), down ? True : False, 0);
    XSync(display, False);
}

void HostWindow::key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, 0);
    XSync(display, False);
}

void pump(HostWindow& host, const std::function<void()>& idle, const std::function<bool()>& done) {
    for (int i = 0; i < 100; ++i) {
        host.sync();
        idle();
        if (done()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool needDisplay(const HostWindow& host) {
    if (std::getenv("DISPLAY") && host.display) return true;
    if (std::getenv("CI")) ADD_FAILURE() << "no X display under CI: .ci/run must start Xvfb (./test.sh does)";
    return false;
}

double differingShare(cairo_surface_t* a, cairo_surface_t* b, int tolerance) {
    int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
    if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b) || w * h == 0) return 1.0;
    cairo_surface_flush(a);
    cairo_surface_flush(b);
    const unsigned char* pa = cairo_image_surface_get_data(a);
    const unsigned char* pb = cairo_image_surface_get_data(b);
    int sa = cairo_image_surface_get_stride(a), sb = cairo_image_surface_get_stride(b);
    long differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t ca = reinterpret_cast<const uint32_t*>(pa + y * sa)[x];
            uint32_t cb = reinterpret_cast<const uint32_t*>(pb + y * sb)[x];
            for (int shift : {0, 8, 16})
                if (std::abs(int((ca >> shift) & 255) - int((cb >> shift) & 255)) > tolerance) {
                    ++differing;
                    break;
                }
        }
    return double(differing) / (double(w) * h);
}

}  // namespace x11_testing
