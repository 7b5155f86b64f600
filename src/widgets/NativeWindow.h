// The window system as the frame sees it: a child window inside the host's
// parent window, its input as plain events and a way to show finished pixels.
// The X11 realisation lives in widgets/x11/; nothing else touches the window system.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>
#include <vector>

#include "vst/AEffGUIEditor.h"
#include "vst/VstKeys.h"
#include "widgets/CGeometry.h"

namespace VSTGUI {

struct NativeEvent {
    enum Type { kMouseDown, kMouseMove, kMouseUp, kWheel, kKeyDown, kKeyUp, kExpose, kLeave };
    Type type = kMouseMove;
    CPoint where;      // frame coordinates
    long buttons = 0;  // CButton flags: buttons held (the changing one included) and modifiers
    float wheel = 0;   // wheel steps, positive away from the user
    bool horizontal = false;
    VstKeyCode key{0, 0, 0};
    CRect area;        // kExpose: the part of the window to show again
};

class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // A child window of `width` x `height` in the parent window `parent`, on a
    // display connection of its own; null with `error` set when that fails.
    static std::unique_ptr<NativeWindow> open(void* parent, int width, int height, std::string& error);

    // False once the window has gone (the host destroyed its parent).
    virtual bool isAlive() = 0;
    // Appends whatever input is waiting, never blocking.
    virtual void pollEvents(std::vector<NativeEvent>& events) = 0;
    // Shows the parts `rects` of `image` (the frame's back buffer).
    virtual void present(cairo_surface_t* image, const std::vector<CRect>& rects) = 0;
    // Asks for the keyboard while a text field is being edited.
    virtual void takeKeyboardFocus() = 0;
    // The native window's id (for tests and the host).
    virtual unsigned long windowId() const = 0;
};

}  // namespace VSTGUI
