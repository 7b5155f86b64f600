// A text readout that is also a momentary push area: a left press sets 1 and
// notifies, the release sets 0 and notifies again. It draws its text (up to
// 255 characters) in the display's font and colours.
#pragma once

#include <string>

#include "widgets/CParamDisplay.h"

class blueTextButton : public VSTGUI::CParamDisplay {
public:
    blueTextButton(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                   const char* text = "");

    void setText(const char* text);
    const std::string& getText() const { return text; }

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;
    VSTGUI::CMouseEventResult mouseUp(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                      long buttons) override;

private:
    std::string text;
    bool pressed = false;
};
