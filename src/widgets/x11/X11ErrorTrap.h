// Catches X protocol errors on our own display connection while it is in
// place, so that a window the host already destroyed (BadWindow, BadDrawable)
// never reaches Xlib's default handler, which would end the host process.
// Errors on other connections go to the handler that was installed before.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI::x11 {

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // The last error caught on this display since the trap was set (0: none);
    // `sync` first waits for the server to answer every request sent so far.
    int error(bool sync = true);

private:
    Display* display;
    Display* outerDisplay;
    int outerError;
    XErrorHandler outerHandler;   // what was installed before (ours when nested)
    XErrorHandler outerPrevious;  // where errors of other connections went before
};

}  // namespace VSTGUI::x11
