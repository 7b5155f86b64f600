// A two-state switch: a left click toggles between 0 and 1. Its image holds
// the off state in the top half and the on state in the bottom half.
#pragma once

#include "widgets/CControl.h"

namespace VSTGUI {

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, CControlListener* listener, long tag, CBitmap* background);

    void draw(CDrawContext* context) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;

protected:
    // Toggles the value, redraws and notifies, framed by begin and end edit.
    void toggle(CDrawContext* context);
};

}  // namespace VSTGUI
