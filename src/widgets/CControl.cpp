#include "widgets/CControl.h"

#include <cmath>

#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"

namespace VSTGUI {

CControl::CControl(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
    if (background) setBackground(background);
}

void CControl::draw(CDrawContext* context) {
    if (pBackground) pBackground->drawAlphaBlend(context, size);
}

void CControl::setValue(float v) {
    if (v == value) return;
    value = v;
    setDirty();
}

void CControl::bounceValue() {
    if (std::isnan(value) || value < vmin)
        value = vmin;
    else if (value > vmax)
        value = vmax;
}

void CControl::notify(CDrawContext* context) {
    if (listener) listener->valueChanged(context, this);
}

void CControl::beginEdit() {
    if (CFrame* frame = getFrame()) frame->beginEdit(tag);
}

void CControl::endEdit() {
    if (CFrame* frame = getFrame()) frame->endEdit(tag);
}

}  // namespace VSTGUI
