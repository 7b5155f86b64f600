// The images the generator draws, each by one function, and the list that
// names their files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Painter.h"
#include "Sheet.h"

namespace artgen {

// What drawing an image gives: its pixels and, for backgrounds, the panels
// and labels it printed.
struct Drawn {
    Pixels pixels;
    std::vector<MapItem> map;
};

struct ImagePlan {
    int id;
    std::string file;  // below resources/images
    std::function<Drawn()> draw;
};

// Every image of the editor's bitmap table, in table order.
std::vector<ImagePlan> artwork();

// The knob strips.
Drawn knobStrip(int strip);
// Buttons and small controls.
Drawn button(bool edited);
Drawn pageButton(int id);
Drawn variationButton(int letter);
Drawn arrowButton(bool right);
Drawn octaveButton(bool up);
Drawn trackingSwitch();
Drawn menuFace();
Drawn readout();
Drawn aboutButton();
Drawn stepIndicator();
Drawn levelImage();
// The bitmap fonts: `normal` selects the "Normal Font" scheme, `plain` the dimmer pair member.
Drawn bitmapFont(bool normal, bool plain);
// Backgrounds.
Drawn mainBackground();
Drawn modPage();
Drawn arpPage();
Drawn presetPage();
Drawn advancedPage();
Drawn fxBackground(int type);
Drawn helpBackground();
Drawn aboutScreen();

// The finished pixels of a sheet.
Drawn finish(Sheet& sheet, bool alpha);
Drawn finish(const Painter& painter, bool alpha);

// A key: a small rounded button face, lit when `on`.
void key(const Painter& p, double x, double y, double w, double h, double radius, bool on);
// The amber of everything that is switched on.
constexpr Colour kLit = Colour::hex(0xf0a02c);

}  // namespace artgen
