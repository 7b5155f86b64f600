#include "editor/blueTextButton.h"

using namespace VSTGUI;

blueTextButton::blueTextButton(const CRect& size, CControlListener* listener, long tag, const char* t)
    : CParamDisplay(size, nullptr, kNoFrame) {
    this->listener = listener;
    this->tag = tag;
    transparent = true;
    setText(t);
}

void blueTextButton::setText(const char* t) {
    std::string next = t ? std::string(t).substr(0, 255) : std::string();
    if (next == text) return;
    text = next;
    setDirty();
}

void blueTextButton::draw(CDrawContext* context) {
    drawBack(context);
    drawText(context, text.c_str(), size);
}

CMouseEventResult blueTextButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    pressed = true;
    value = 1.0f;
    notify(context);
    return kMouseEventHandled;
}

CMouseEventResult blueTextButton::mouseUp(CDrawContext* context, CPoint& where, long buttons) {
    if (!pressed) return kMouseEventNotHandled;
    pressed = false;
    value = 0.0f;
    notify(context);
    return kMouseEventHandled;
}
