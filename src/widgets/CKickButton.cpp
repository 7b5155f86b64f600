#include "widgets/CKickButton.h"

#include "widgets/CBitmap.h"

namespace VSTGUI {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         int heightOfOneImage)
    : CControl(size, listener, tag, background), heightOfOneImage(heightOfOneImage) {}

void CKickButton::draw(CDrawContext* context) {
    if (!pBackground) return;
    int frame = heightOfOneImage > 0 ? heightOfOneImage : pBackground->getHeight() / 2;
    pBackground->drawAlphaBlend(context, size, CPoint(0, value > 0.5f ? frame : 0));
}

CMouseEventResult CKickButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    pressed = true;
    beginEdit();
    value = vmax;
    setDirty();
    notify(context);
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::mouseUp(CDrawContext* context, CPoint& where, long buttons) {
    if (!pressed) return kMouseEventNotHandled;
    pressed = false;
    value = vmin;
    setDirty();
    notify(context);
    endEdit();
    return kMouseEventHandled;
}

}  // namespace VSTGUI
