#include "widgets/COnOffButton.h"

#include "widgets/CBitmap.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CControl(size, listener, tag, background) {}

void COnOffButton::draw(CDrawContext* context) {
    if (!pBackground) return;
    int half = pBackground->getHeight() / 2;
    pBackground->drawAlphaBlend(context, size, CPoint(0, value > 0.5f ? half : 0));
}

void COnOffButton::toggle(CDrawContext* context) {
    beginEdit();
    value = value > 0.5f ? vmin : vmax;
    setDirty();
    notify(context);
    endEdit();
}

CMouseEventResult COnOffButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    toggle(context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace VSTGUI
