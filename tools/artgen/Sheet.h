// A background image being drawn: its painter, the layout region whose
// controls sit on it, and a record of the panels and labels it prints (the
// artwork map the tests check against the control layout).
#pragma once

#include <string>
#include <vector>

#include "Painter.h"
#include "editor/ControlLayout.h"

namespace artgen {

// Each section family has one accent colour.
enum class Family { Oscillator, Filter, Modulation, Amplifier, Effects, Arpeggiator, Global };
Colour accent(Family family);

namespace palette {
constexpr Colour kWindowTop = Colour::hex(0x121419);
constexpr Colour kWindowBottom = Colour::hex(0x0b0c0f);
constexpr Colour kPanelTop = Colour::hex(0x252a31);
constexpr Colour kPanelBottom = Colour::hex(0x1c1f25);
constexpr Colour kPanelBorder = Colour::hex(0x363d47);
constexpr Colour kLabel = Colour::hex(0xc9d1da);
constexpr Colour kDimLabel = Colour::hex(0x59616b);
constexpr Colour kFaint = Colour::hex(0x2e343c);
constexpr Colour kSubtitle = Colour::hex(0x8c96a1);
constexpr Colour kWell = Colour::hex(0x0c0e11);
constexpr Colour kWellShadow = Colour::hex(0x050607);
constexpr Colour kWellLight = Colour::hex(0x3a414b);
constexpr Colour kDivider = Colour::hex(0x0f1114);
}  // namespace palette

// Labels: small and bold; section titles letter-spaced capitals in the accent colour.
constexpr Font kLabelFont{Face::SansBold, 8.0, 0.95};
constexpr Font kTitleFont{Face::SansBold, 9.0, 1.0};

struct MapItem {
    int image;
    std::string kind;  // "panel", "title" or "label"
    layout::Rect rect;
    std::string text;
};

enum class Side { Below, Above, Left, Right, AboveLeft };
enum class Tone { Normal, Dim, Subtitle, Faint };

class Sheet {
public:
    // `region` is the layout region whose controls the image carries; for an
    // FX background `fxType` selects the controls that type shows.
    Sheet(int imageId, int width, int height, layout::Region region, int fxType = layout::kAnyFxType);

    Painter& painter() { return painter_; }
    int image() const { return image_; }
    const std::vector<MapItem>& items() const { return items_; }

    // The whole image in the window colour.
    void window();
    // A section panel; a panel may be the union of several rectangles (an L
    // shape), given as the corner points of its outline, clockwise.
    void panel(const layout::Rect& r, Family family, const std::string& name);
    void panel(const std::vector<std::pair<int, int>>& outline, const std::vector<layout::Rect>& parts,
               Family family, const std::string& name);
    // A section title with its baseline at (x, baseline); a vertical one reads
    // upwards with its baseline at x and its start at y.
    void title(int x, int baseline, const std::string& text, Family family);
    void verticalTitle(int x, int y, const std::string& text, Family family);
    // The wells of all menus, readouts and displays of the image's region.
    void wells();
    // A label beside a control, centred on that side.
    void label(const layout::Control& c, const std::string& text, Side side = Side::Below, int gap = 1,
               Tone tone = Tone::Normal);
    // Labels wider than this are narrowed to fit (0: no limit).
    void setLabelWidth(int width) { labelWidth_ = width; }
    // A label at a point (x is the left edge, centre or right edge by `align`).
    void labelAt(double x, double baseline, const std::string& text, Align align = Align::Centre,
                 Tone tone = Tone::Normal, const Font& font = kLabelFont);
    // The names under an envelope's five knobs.
    void envelopeLabels(int attack, int decay, int sustain, int fade, int release);
    // The recess a menu, readout or display sits in.
    void well(const layout::Control& c);
    void well(const layout::Rect& r);
    // A thin groove dividing a panel.
    void divider(int x0, int y0, int x1, int y1);

    // The controls of this image's region (and FX type).
    std::vector<const layout::Control*> controls() const;
    const layout::Control& control(int tag, layout::Kind kind) const;
    const layout::Control& control(layout::Role role, int index = 0) const;

private:
    void record(const char* kind, const Box& box, const std::string& text);
    void panelFace(Family family, const layout::Rect& bounds);

    int image_;
    layout::Region region_;
    int fxType_;
    Painter painter_;
    std::vector<MapItem> items_;
    int labelWidth_ = 0;
};

}  // namespace artgen
