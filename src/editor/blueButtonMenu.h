// A menu behind a 26 x 26 button face (the file, ECS and arp file menus): it
// shows only its face, never the current entry, and pops up like any option
// menu; the right button opens the MIDI-learn menu of its command tag.
#pragma once

#include "editor/blueOptionMenu.h"

class blueButtonMenu : public blueOptionMenu {
public:
    blueButtonMenu(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                   VSTGUI::CBitmap* face);

    void draw(VSTGUI::CDrawContext* context) override;
};
