// The editor's option menu: the readout image with the current entry (or the
// title, where one is set) in the bitmap font, centred. A left click (any
// click when the tag is 9999: sub-menus and the preset, morph and bank menus)
// pops the menu up after a modifier click was offered to the listener; the
// right button on a parameter menu opens the MIDI-learn menu.
#pragma once

#include <string>

#include "widgets/COptionMenu.h"

class BitmapFonts;

class blueOptionMenu : public VSTGUI::COptionMenu {
public:
    blueOptionMenu(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                   VSTGUI::CBitmap* readout, BitmapFonts* fonts);

    void setTitle(const char* text);
    const std::string& getTitle() const { return title; }
    // The text the face shows.
    std::string faceText() const;

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;

protected:
    virtual void drawGlyphs(VSTGUI::CDrawContext* context, const char* text);

private:
    BitmapFonts* fonts;
    std::string title;
};

// Draws `readout` over `area` keeping its 4-pixel edges, so a readout wider or
// taller than the control still shows a closed frame.
void drawReadout(VSTGUI::CDrawContext* context, VSTGUI::CBitmap* readout, const VSTGUI::CRect& area);
