// A momentary push button: 1 while the left button is held on it, 0 on release.
// Its image holds the released state in the top half, the pressed state below.
#pragma once

#include "widgets/CControl.h"

namespace VSTGUI {

class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                int heightOfOneImage = 0);

    void draw(CDrawContext* context) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseUp(CDrawContext* context, CPoint& where, long buttons) override;

private:
    int heightOfOneImage;
    bool pressed = false;
};

}  // namespace VSTGUI
