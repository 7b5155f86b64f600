#include "editor/blueRadioButton.h"

#include "widgets/CBitmap.h"
#include "widgets/COptionMenuScheme.h"

using namespace VSTGUI;

blueRadioButton::blueRadioButton(const CRect& size, CControlListener* listener, long tag, CBitmap* image,
                                 const char* text)
    : CControl(size, listener, tag, image), label(text ? std::string(text).substr(0, 255) : "") {}

void blueRadioButton::draw(CDrawContext* context) {
    bool on = value > 0.5f;
    if (pBackground) pBackground->drawAlphaBlend(context, size, CPoint(0, on ? pBackground->getHeight() / 2 : 0));
    if (label.empty()) return;
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    context->setFont(kNormalFontSmall, 0, kBoldFace);
    // The "on" face is lit: a dark label stands out on it.
    context->setFontColor(on ? c.selectedText : c.text);
    context->drawString(label.c_str(), size, false, kCenterText);
}

CMouseEventResult blueRadioButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    if (value > 0.5f) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    value = 1.0f;
    setDirty();
    notify(context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
