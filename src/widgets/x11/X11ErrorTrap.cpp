#include "widgets/x11/X11ErrorTrap.h"

namespace VSTGUI::x11 {
namespace {
// Only the user-interface thread talks to our connections, one trap at a time in nesting order.
Display* trappedDisplay = nullptr;
int trappedError = 0;
XErrorHandler previousHandler = nullptr;

int onError(Display* display, XErrorEvent* event) {
    if (display == trappedDisplay) {
        trappedError = event->error_code;
        return 0;
    }
    return previousHandler ? previousHandler(display, event) : 0;
}
}  // namespace

ErrorTrap::ErrorTrap(Display* d)
    : display(d), outerDisplay(trappedDisplay), outerError(trappedError), outerPrevious(previousHandler) {
    outerHandler = XSetErrorHandler(onError);
    if (outerHandler != onError) previousHandler = outerHandler;
    trappedDisplay = d;
    trappedError = 0;
}

ErrorTrap::~ErrorTrap() {
    XSetErrorHandler(outerHandler);
    trappedDisplay = outerDisplay;
    trappedError = outerError;
    previousHandler = outerPrevious;
}

int ErrorTrap::error(bool sync) {
    if (sync) XSync(display, False);
    return trappedError;
}

}  // namespace VSTGUI::x11
