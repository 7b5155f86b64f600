// Where every control of the editor sits: one record per control, grouped in
// the tables the editor creates them from, in creation order. Positions are
// the control's top-left corner relative to its region. The editor builds its
// views from these records; tools/artgen prints the panels and labels of the
// background images around them.
#pragma once

#include <span>

#include "editor/EditorImages.h"

namespace layout {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr bool intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    constexpr bool contains(const Rect& o) const {
        return o.left >= left && o.right <= right && o.top >= top && o.bottom <= bottom;
    }
    constexpr bool operator==(const Rect&) const = default;
};

// The fixed part of the window and the pages shown in its exchangeable regions.
// Mod and Arp share the lower-left region, Preset and Advanced the right one;
// About replaces everything while the about screen is shown.
enum class Region : unsigned char { Main, Mod, Arp, Preset, Advanced, Fx, About };
constexpr int kRegions = 7;

// The region's rectangle in the window.
Rect regionRect(Region region);
// The resource id of the region's background (for Fx: the background of type 0).
int regionBackground(Region region);

enum class Kind : unsigned char {
    Knob,               // brennixKnob, 65 frames of its strip
    Switch,             // brennixOnOff, two frames: off above, on below
    PushButton,         // CKickButton: 1 while pressed
    OptionMenu,         // blueOptionMenu over an enumerated parameter's entries
    WaveformMenu,       // the 128 waveforms in sub-menus of 32
    SourceMenu,         // modulation sources
    DestinationMenu,    // modulation destinations
    FxDestinationMenu,  // effect modulation destinations
    FxTypeMenu,         // effect types
    PresetMenu,         // programs and preset commands
    BankMenu,           // the built-in bank's name
    MorphMenu,          // morph source A (index 0) or B (index 1)
    ButtonMenu,         // a 26 x 26 face that pops up command entries
    TextArrayButton,    // blueTextArrayButton: a click steps through its labels
    TextButton,         // blueTextButton: readouts and the status display
    RadioButton,        // blueRadioButton of a slot selector
    LevelSlider,        // blueVSlider
    ArpDisplay,         // blueArpDisplay, the step editor
    GateDisplay,        // blueGatorDisplay
    TextLabel,          // a text on the about screen
};

// The selector that re-tags a control: its tag is the tag for the first slot,
// envelope or LFO plus the selected index.
enum class Slot : unsigned char { None, Fx, FreeEnvelope, FreeLfo, Modulation };

// Names the controls that edit no parameter (tag 9999) or that the editor has
// to find among others of their kind.
enum class Role : unsigned char {
    None,
    FilterLfoRate,
    PitchLfoRate,
    FreeLfoRate,
    StatusDisplay,
    PitchWheel,
    PreviousProgram,
    NextProgram,
    BankPrevious,
    BankNext,
    SampleName,
    FreeEnvelopeSelector,  // index: envelope 0..1
    FreeLfoSelector,       // index: LFO 0..1
    ModSlotSelector,       // index: slot 0..3
    FxSlotSelector,        // index: slot 0..2
    AboutClose,
    VersionText,
};

constexpr int kNoParameter = 9999;
constexpr int kTextLabelTag = 9998;
constexpr int kAnyFxType = -1;

struct Control {
    Kind kind;
    Region region;
    int tag;
    int x, y;
    int width, height;  // for images: one frame
    int image = 0;      // resource id of its image or face; 0 for none
    Slot slot = Slot::None;
    Role role = Role::None;
    int index = 0;  // selector button, morph menu A/B
    // The parameter name of the knob, switch and button tables; the label of a
    // radio button; the first text of a readout.
    const char* text = nullptr;
    // The entries of an option or button menu or the labels of a text-array
    // button; for a waveform menu, the names its sub-menus divide among them.
    std::span<const char* const> entries = {};
    std::span<const char* const> subMenus = {};
    // In the FX section: the effect type that shows this control (kAnyFxType: all).
    int fxType = kAnyFxType;

    constexpr Rect rect() const { return {x, y, x + width, y + height}; }
    // The rectangle in the window.
    Rect windowRect() const;
    // The knob strip 0..11 of a knob.
    constexpr int strip() const { return image - img::KnobStrip0; }
};

struct Table {
    const char* title;
    std::span<const Control> controls;
};

// The knob, switch and push-button tables, then the named controls of each
// region, then the about screen's controls.
std::span<const Table> tables();

// The FX section by effect type: the panel's name for the type, the labels of
// knobs A..H ("---" for one the type ignores), how many knobs it shows (the
// first n of the eight) and which of them use knob strip 7 instead of 10.
struct FxPanel {
    const char* name;
    const char* knobLabels[8];
    int knobCount;
    unsigned char strip7Knobs;  // bit k: knob k

    constexpr int knobStrip(int knob) const { return strip7Knobs >> knob & 1 ? 7 : 10; }
};
constexpr int kFxTypes = 22;
std::span<const FxPanel> fxPanels();

// The FX section's eight effect-parameter knobs (slot 0 tags 179 .. 200), A..H.
std::span<const Control> fxKnobs();

}  // namespace layout
