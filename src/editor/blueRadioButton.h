// One button of a selector: a left click on a button that is not on turns it
// on, redraws and notifies (turning the others off is the editor's work). It
// shows the 26 x 26 button image, lower half when on, with its label on top.
#pragma once

#include <string>

#include "widgets/CControl.h"

class blueRadioButton : public VSTGUI::CControl {
public:
    blueRadioButton(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                    VSTGUI::CBitmap* image, const char* label);

    const std::string& getLabel() const { return label; }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;

private:
    std::string label;
};
