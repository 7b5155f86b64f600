// The frame's window on X11: a child of the host's window on a display
// connection of our own, fed to the frame as plain events and shown with
// XPutImage from the back buffer. Every call on the connection runs inside an
// error trap, so a parent window that vanished never takes the host down.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "vst/VstKeys.h"
#include "widgets/CView.h"
#include "widgets/NativeWindow.h"
#include "widgets/x11/X11ErrorTrap.h"

namespace VSTGUI {
namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | StructureNotifyMask | LeaveWindowMask |
                            EnterWindowMask;

long buttonsOf(unsigned int state) {
    long b = 0;
    if (state & Button1Mask) b |= kLButton;
    if (state & Button2Mask) b |= kMButton;
    if (state & Button3Mask) b |= kRButton;
    if (state & ShiftMask) b |= kShift;
    if (state & ControlMask) b |= kControl;
    if (state & Mod1Mask) b |= kAlt;
    return b;
}

long buttonFlag(unsigned int button) {
    switch (button) {
        case Button1: return kLButton;
        case Button2: return kMButton;
        case Button3: return kRButton;
        default: return 0;
    }
}

unsigned char virtualKey(KeySym sym) {
    switch (sym) {
        case XK_BackSpace: return VKEY_BACK;
        case XK_Tab: return VKEY_TAB;
        case XK_Return: return VKEY_RETURN;
        case XK_KP_Enter: return VKEY_ENTER;
        case XK_Escape: return VKEY_ESCAPE;
        case XK_space: return VKEY_SPACE;
        case XK_Left: return VKEY_LEFT;
        case XK_Up: return VKEY_UP;
        case XK_Right: return VKEY_RIGHT;
        case XK_Down: return VKEY_DOWN;
        case XK_Home: return VKEY_HOME;
        case XK_End: return VKEY_END;
        case XK_Page_Up: return VKEY_PAGEUP;
        case XK_Page_Down: return VKEY_PAGEDOWN;
        case XK_Insert: return VKEY_INSERT;
        case XK_Delete: return VKEY_DELETE;
        case XK_Shift_L:
        case XK_Shift_R: return VKEY_SHIFT;
        case XK_Control_L:
        case XK_Control_R: return VKEY_CONTROL;
        case XK_Alt_L:
        case XK_Alt_R: return VKEY_ALT;
        default:
            if (sym >= XK_F1 && sym <= XK_F12) return static_cast<unsigned char>(VKEY_F1 + (sym - XK_F1));
            return 0;
    }
}

class X11Window : public NativeWindow {
public:
    X11Window(Display* display, Window window, GC gc, Colormap colormap, XImage* image)
        : display(display), window(window), gc(gc), colormap(colormap), image(image) {}

    ~X11Window() override {
        {
            x11::ErrorTrap trap(display);
            image->data = nullptr;  // the pixels belong to the back buffer
            XDestroyImage(image);
            XFreeGC(display, gc);
            XWindowAttributes attributes;
            if (alive && XGetWindowAttributes(display, window, &attributes)) XDestroyWindow(display, window);
            XFreeColormap(display, colormap);
            trap.error(true);
        }
        XCloseDisplay(display);
    }

    bool isAlive() override { return alive; }
    unsigned long windowId() const override { return window; }

    void takeKeyboardFocus() override {
        if (!alive) return;
        x11::ErrorTrap trap(display);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XFlush(display);
    }

    void pollEvents(std::vector<NativeEvent>& events) override {
        x11::ErrorTrap trap(display);
        while (XPending(display) > 0) {
            XEvent ev;
            XNextEvent(display, &ev);
            translate(ev, events);
        }
        if (alive && trap.error(false) == BadWindow) checkWindow();
    }

    void present(cairo_surface_t* surface, const std::vector<CRect>& rects) override {
        if (!alive) return;
        x11::ErrorTrap trap(display);
        cairo_surface_flush(surface);
        image->data = reinterpret_cast<char*>(cairo_image_surface_get_data(surface));
        int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
        for (CRect r : rects) {
            r.bound(CRect(0, 0, std::min(w, image->width), std::min(h, image->height)));
            if (!r.isEmpty())
                XPutImage(display, window, gc, image, r.left, r.top, r.left, r.top, unsigned(r.width()),
                          unsigned(r.height()));
        }
        image->data = nullptr;
        XFlush(display);
        if (trap.error(false)) checkWindow();
    }

private:
    void checkWindow() {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, window, &attributes)) alive = false;
    }

    void translate(XEvent& ev, std::vector<NativeEvent>& events) {
        NativeEvent e;
        switch (ev.type) {
            case DestroyNotify:
                if (ev.xdestroywindow.window == window) alive = false;
                return;
            case Expose:
                e.type = NativeEvent::kExpose;
                e.area = CRect(ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width,
                               ev.xexpose.y + ev.xexpose.height);
                break;
            case ButtonPress:
            case ButtonRelease: {
                e.where = CPoint(ev.xbutton.x, ev.xbutton.y);
                unsigned int b = ev.xbutton.button;
                if (b >= 4 && b <= 7) {
                    if (ev.type == ButtonRelease) return;
                    e.type = NativeEvent::kWheel;
                    e.wheel = (b == 4 || b == 6) ? 1.0f : -1.0f;
                    e.horizontal = b >= 6;
                    e.buttons = buttonsOf(ev.xbutton.state);
                    break;
                }
                bool press = ev.type == ButtonPress;
                e.type = press ? NativeEvent::kMouseDown : NativeEvent::kMouseUp;
                // The state is that before the event: add the pressed button, drop the released one.
                e.buttons = buttonsOf(ev.xbutton.state);
                e.buttons = press ? (e.buttons | buttonFlag(b)) : (e.buttons & ~buttonFlag(b));
                if (press) {
                    // A press reports its own button alone among the buttons, as the controls expect.
                    e.buttons = (e.buttons & (kShift | kControl | kAlt)) | buttonFlag(b);
                }
                break;
            }
            case MotionNotify:
                // Only the latest position matters.
                while (XEventsQueued(display, QueuedAlready) > 0) {
                    XEvent next;
                    XPeekEvent(display, &next);
                    if (next.type != MotionNotify || next.xmotion.window != window) break;
                    XNextEvent(display, &ev);
                }
                e.type = NativeEvent::kMouseMove;
                e.where = CPoint(ev.xmotion.x, ev.xmotion.y);
                e.buttons = buttonsOf(ev.xmotion.state);
                break;
            case EnterNotify:
                e.type = NativeEvent::kMouseMove;
                e.where = CPoint(ev.xcrossing.x, ev.xcrossing.y);
                e.buttons = buttonsOf(ev.xcrossing.state);
                break;
            case LeaveNotify:
                e.type = NativeEvent::kLeave;
                e.where = CPoint(ev.xcrossing.x, ev.xcrossing.y);
                break;
            case KeyPress:
            case KeyRelease: {
                char text[8] = {0};
                KeySym sym = NoSymbol;
                int n = XLookupString(&ev.xkey, text, sizeof text - 1, &sym, nullptr);
                e.type = ev.type == KeyPress ? NativeEvent::kKeyDown : NativeEvent::kKeyUp;
                e.key.virt = virtualKey(sym);
                e.key.character = n == 1 && static_cast<unsigned char>(text[0]) >= 32 &&
                                          static_cast<unsigned char>(text[0]) < 127
                                      ? text[0]
                                      : 0;
                // Modifiers as they are after this key, so that Shift itself counts at once.
                unsigned int state = ev.xkey.state;
                unsigned int own = e.key.virt == VKEY_SHIFT     ? ShiftMask
                                   : e.key.virt == VKEY_CONTROL ? ControlMask
                                   : e.key.virt == VKEY_ALT     ? Mod1Mask
                                                                : 0;
                state = ev.type == KeyPress ? (state | own) : (state & ~own);
                e.key.modifier = static_cast<unsigned char>(
                    ((state & ShiftMask) ? MODIFIER_SHIFT : 0) | ((state & ControlMask) ? MODIFIER_CONTROL : 0) |
                    ((state & Mod1Mask) ? MODIFIER_ALTERNATE : 0));
                e.buttons = buttonsOf(state);
                if (!e.key.virt && !e.key.character) return;
                break;
            }
            default: return;
        }
        events.push_back(e);
    }

    Display* display;
    Window window;
    GC gc;
    Colormap colormap;
    XImage* image;
    bool alive = true;
};

}  // namespace

std::unique_ptr<NativeWindow> NativeWindow::open(void* parent, int width, int height, std::string& error) {
    Window parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    if (!parentWindow) {
        error = "no parent window";
        return nullptr;
    }
    // A server under load may refuse a connection for a moment: a few quick tries.
    Display* display = nullptr;
    for (int attempt = 0; attempt < 3 && !display && std::getenv("DISPLAY"); ++attempt) {
        display = XOpenDisplay(nullptr);
        if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!display) {
        error = "cannot open the X display (is DISPLAY set?)";
        return nullptr;
    }
    Window window = 0;
    GC gc = nullptr;
    Colormap colormap = 0;
    XImage* image = nullptr;
    {
        x11::ErrorTrap trap(display);
        XWindowAttributes parentAttributes;
        XVisualInfo visual;
        if (!XGetWindowAttributes(display, parentWindow, &parentAttributes) || trap.error()) {
            error = "the parent window does not exist";
        } else if (!XMatchVisualInfo(display, XScreenNumberOfScreen(parentAttributes.screen), 24, TrueColor,
                                     &visual) ||
                   visual.red_mask != 0xff0000 || visual.green_mask != 0xff00 || visual.blue_mask != 0xff) {
            error = "no 24-bit true-colour visual";
        } else {
            Window root = RootWindowOfScreen(parentAttributes.screen);
            colormap = XCreateColormap(display, root, visual.visual, AllocNone);
            XSetWindowAttributes attributes{};
            attributes.background_pixel = 0;
            attributes.border_pixel = 0;
            attributes.colormap = colormap;
            attributes.event_mask = kEventMask;
            attributes.bit_gravity = NorthWestGravity;
            window = XCreateWindow(display, parentWindow, 0, 0, unsigned(width), unsigned(height), 0, 24,
                                   InputOutput, visual.visual,
                                   CWBackPixel | CWBorderPixel | CWColormap | CWEventMask | CWBitGravity,
                                   &attributes);
            XMapWindow(display, window);
            // A held key repeats as presses alone, so a press can be told from a repeat.
            XkbSetDetectableAutoRepeat(display, True, nullptr);
            gc = XCreateGC(display, window, 0, nullptr);
            image = XCreateImage(display, visual.visual, 24, ZPixmap, 0, nullptr, unsigned(width),
                                 unsigned(height), 32, width * 4);
            if (image) {
                // The back buffer holds 0xAARRGGBB words in this machine's byte order.
                image->byte_order = LSBFirst;
                image->bitmap_bit_order = LSBFirst;
            }
            if (trap.error() || !image) {
                error = "cannot create the editor window inside the parent window";
                if (image) XDestroyImage(image);
                image = nullptr;
                if (gc) XFreeGC(display, gc);
                XDestroyWindow(display, window);
                XFreeColormap(display, colormap);
                trap.error();
            }
        }
        if (!image) {
            trap.error();
        }
    }
    if (!image) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11Window>(display, window, gc, colormap, image);
}

}  // namespace VSTGUI
