// The gate pattern of the "Gator" effect: 16 on/off cells packed into one
// value, bits = integer part of (value x 65535.8984375). A left click toggles
// the cell under it and sets value (bits + 0.5) / 65536.
#pragma once

#include "widgets/CControl.h"

class blueGatorDisplay : public VSTGUI::CControl {
public:
    blueGatorDisplay(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag);

    unsigned getBits() const;
    // Cell i's rectangle (in the parent's coordinates).
    VSTGUI::CRect cellRect(int i) const;

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;
};
