#include "widgets/CAnimKnob.h"

#include "widgets/CBitmap.h"

namespace VSTGUI {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, long tag, int subPixmaps,
                     int heightOfOneImage, CBitmap* strip, const CPoint& offset)
    : CKnob(size, listener, tag, strip),
      subPixmaps(subPixmaps < 1 ? 1 : subPixmaps),
      heightOfOneImage(heightOfOneImage),
      offset(offset) {}

int CAnimKnob::getFrameIndex() const {
    float share = vmax > vmin ? (value - vmin) / (vmax - vmin) : 0.0f;
    if (!(share > 0.0f)) return 0;
    if (share > 1.0f) share = 1.0f;
    return int(share * float(subPixmaps - 1));
}

void CAnimKnob::draw(CDrawContext* context) {
    if (!pBackground) return;
    CPoint from(offset.h, offset.v + getFrameIndex() * heightOfOneImage);
    pBackground->drawAlphaBlend(context, size, from);
}

}  // namespace VSTGUI
