// A button that steps through N labels: any click advances to the next label
// (wrapping), sets value (index + 0.5) / (N - 1 + 0.99) and notifies. It shows
// the readout image (or a framed rectangle in the scheme's colour) and the
// label in the bitmap font, centred or 2 pixels from the left.
#pragma once

#include "widgets/CParamDisplay.h"

class BitmapFonts;

class blueTextArrayButton : public VSTGUI::CParamDisplay {
public:
    blueTextArrayButton(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                        VSTGUI::CBitmap* readout, BitmapFonts* fonts, const char* const* labels,
                        int count, int glyphOffset = 0, bool centred = true);

    int getIndex() const;
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;

protected:
    virtual void drawGlyphs(VSTGUI::CDrawContext* context, const char* text);

private:
    BitmapFonts* fonts;
    const char* const* labels;
    int count;
    int glyphOffset;
    bool centred;
};
