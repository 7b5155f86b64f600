#include "editor/blueVSlider.h"

#include <cmath>

#include "widgets/CBitmap.h"
#include "widgets/COptionMenuScheme.h"

using namespace VSTGUI;

blueVSlider::blueVSlider(const CRect& size, CControlListener* listener, long tag, CBitmap* level)
    : CControl(size, listener, tag, level) {
    vmax = kRange;
    value = kRange / 2;
    setMouseEnabled(false);
}

int blueVSlider::getRow() const {
    float f = kRange - value;
    if (std::isnan(f) || f < 0) f = 0;
    if (f > kRange) f = kRange;
    return int(f);
}

void blueVSlider::draw(CDrawContext* context) {
    context->setFillColor(COptionMenuScheme::current()->colors().readoutBackground);
    context->fillRect(size);
    if (!pBackground) return;
    int f = getRow();
    pBackground->drawAlphaBlend(context, CRect(size.left, size.top + f, size.right, size.bottom), CPoint(0, f));
}
