// The level indicator beside the pitch LFO: no mouse handling; a rectangle in
// the scheme's background colour, then the level image drawn from its row
// f = 37 - value downwards, f pixels below the top (value 0..37).
#pragma once

#include "widgets/CControl.h"

class blueVSlider : public VSTGUI::CControl {
public:
    static constexpr float kRange = 37.0f;

    blueVSlider(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                VSTGUI::CBitmap* level);

    // The first image row shown.
    int getRow() const;
    void draw(VSTGUI::CDrawContext* context) override;
};
