// The editor's knob: a 65-frame strip, a vertical drag of 200 pixels over the
// whole range (10000 with Shift, switchable at any moment without a jump),
// Control-click for the default value and the MIDI-learn menu on the right button.
#pragma once

#include "widgets/CAnimKnob.h"

class brennixKnob : public VSTGUI::CAnimKnob {
public:
    static constexpr int kFrames = 65;

    brennixKnob(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                VSTGUI::CBitmap* strip, int frames = kFrames);

    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;
};
