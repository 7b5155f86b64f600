#include "editor/blueGatorDisplay.h"

#include <cmath>

#include "widgets/COptionMenuScheme.h"

using namespace VSTGUI;

blueGatorDisplay::blueGatorDisplay(const CRect& size, CControlListener* listener, long tag)
    : CControl(size, listener, tag) {}

unsigned blueGatorDisplay::getBits() const {
    float v = std::isnan(value) ? 0.0f : value < 0 ? 0.0f : value > 1 ? 1.0f : value;
    return unsigned(v * 65535.8984375f) & 0xffffu;
}

CRect blueGatorDisplay::cellRect(int i) const {
    // Cell i covers x = left + 1 + 10 i .. left + 8 + 10 i and y = top + 1 .. top + 12.
    return CRect(size.left + 1 + 10 * i, size.top + 1, size.left + 9 + 10 * i, size.top + 13);
}

void blueGatorDisplay::draw(CDrawContext* context) {
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    unsigned bits = getBits();
    for (int i = 0; i < 16; ++i) {
        context->setFillColor((bits >> i) & 1u ? c.active : c.inactive);
        context->fillRect(cellRect(i));
    }
}

CMouseEventResult blueGatorDisplay::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    int cell = (where.h - size.left) / 10;
    if (cell < 0 || cell > 15) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    unsigned bits = getBits() ^ (1u << cell);
    value = (float(bits) + 0.5f) / 65536.0f;
    setDirty();
    notify(context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
