// A knob shown as one frame of a vertical strip of `subPixmaps` frames.
#pragma once

#include "widgets/CKnob.h"

namespace VSTGUI {

class CAnimKnob : public CKnob {
public:
    CAnimKnob(const CRect& size, CControlListener* listener, long tag, int subPixmaps,
              int heightOfOneImage, CBitmap* strip, const CPoint& offset = CPoint());

    void draw(CDrawContext* context) override;
    // The strip frame shown for the current value.
    int getFrameIndex() const;
    int getFrameCount() const { return subPixmaps; }

protected:
    int subPixmaps;
    int heightOfOneImage;
    CPoint offset;
};

}  // namespace VSTGUI
