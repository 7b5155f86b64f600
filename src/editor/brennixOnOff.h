// The editor's switch: a left click toggles it (after a modifier click was
// offered to the listener, which may take it), redraws and notifies, framed by
// begin and end edit; the right button opens the MIDI-learn menu.
#pragma once

#include "widgets/COnOffButton.h"

class brennixOnOff : public VSTGUI::COnOffButton {
public:
    brennixOnOff(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                 VSTGUI::CBitmap* image);

    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;
};
