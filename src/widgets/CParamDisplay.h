// A text readout of a value: background image or filled rectangle with a
// frame, then the text in the display's font, colour and alignment.
#pragma once

#include <string>

#include "widgets/CControl.h"

namespace VSTGUI {

enum CParamDisplayStyle : long {
    kNoTextStyle = 1,
    kNoFrame = 2,
    kNoDrawStyle = 4,
};

class CParamDisplay : public CControl {
public:
    using StringConvert = void (*)(float value, char* text);

    CParamDisplay(const CRect& size, CBitmap* background = nullptr, long style = 0);

    void draw(CDrawContext* context) override;

    void setFont(CFont f, int fontStyle = kNormalFace) {
        font = f;
        txtFace = fontStyle;
        setDirty();
    }
    CFont getFont() const { return font; }
    void setFontColor(const CColor& c) { fontColor = c; setDirty(); }
    const CColor& getFontColor() const { return fontColor; }
    void setBackColor(const CColor& c) { backColor = c; setDirty(); }
    const CColor& getBackColor() const { return backColor; }
    void setFrameColor(const CColor& c) { frameColor = c; setDirty(); }
    void setHoriAlign(CHoriTxtAlign a) { horiAlign = a; setDirty(); }
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }
    void setStyle(long s) { style = s; setDirty(); }
    long getStyle() const { return style; }
    void setStringConvert(StringConvert convert) { stringConvert = convert; setDirty(); }

protected:
    // The frame and background part of draw.
    void drawBack(CDrawContext* context);
    // Text in the display's font and colours (single line, vertically centred).
    void drawText(CDrawContext* context, const char* text, const CRect& area);

    CFont font = kNormalFontSmall;
    int txtFace = kNormalFace;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    long style;
    StringConvert stringConvert = nullptr;
};

}  // namespace VSTGUI
