// The FX section's backgrounds (BITMAP 10700 + type): one per effect type,
// with the type's short knob names under the knobs it shows. A knob the type
// ignores is labelled "---" in a dim tone; positions past the type's knob
// count stay empty.
#include "Artwork.h"
#include "editor/EditorImages.h"
#include "params/Enumerations.h"

namespace artgen {
namespace {
using layout::Kind;
using layout::Region;
using layout::Role;

constexpr const char* kUnused = "---";
constexpr int kFeedEqualKnob = 7;  // Stereo Delay's switch sits where knob H would
}  // namespace

Drawn fxBackground(int type) {
    const layout::FxPanel& fx = layout::fxPanels()[type];
    Sheet s(layout::img::fxBackground(type), 226, 187, Region::Fx, type);
    s.window();
    s.panel({0, 0, 226, 187}, Family::Effects, "effects");
    s.title(8, 14, "EFFECTS", Family::Effects);
    s.labelAt(78, 14, fx.name, Align::Left);
    s.label(s.control(173, Kind::Knob), "Mix");
    s.label(s.control(176, Kind::Knob), "Pan");
    s.label(s.control(791, Kind::Switch), "Bypass", Side::Right, -4);
    s.label(s.control(Role::FxSlotSelector, 0), "Slot", Side::Above, -1);

    // The knobs stand 45 pixels apart; their names keep a gap between them.
    s.setLabelWidth(42);
    std::span<const layout::Control> knobs = layout::fxKnobs();
    for (int k = 0; k < fx.knobCount; ++k) {
        bool unused = std::string(fx.knobLabels[k]) == kUnused;
        s.label(knobs[k], fx.knobLabels[k], Side::Below, 1, unused ? Tone::Dim : Tone::Normal);
    }
    // The switches that stand in for a knob take its place and its name, on
    // the row of the knobs' names.
    for (const layout::Control* c : s.controls()) {
        if (c->kind != Kind::Switch || c->tag == 791) continue;
        int k = (c->tag - knobs[0].tag) / 3;
        // "---" would call a working switch unused; it gets the parameter's own name.
        std::string name = k == kFeedEqualKnob && type == 2 ? "Feed Equal" : fx.knobLabels[k];
        s.label(knobs[k], name);
    }
    for (const layout::Control* c : s.controls())
        if (c->kind == Kind::GateDisplay && c->tag == knobs[4].tag)
            s.labelAt(c->x, c->y - 3, "PATTERN", Align::Left, Tone::Subtitle);
    // The effect's full name, large and faint, where no control stands.
    s.setLabelWidth(0);
    bool bottomFree = true;
    for (const layout::Control* c : s.controls()) bottomFree = bottomFree && c->y + c->height < 160;
    if (bottomFree)
        s.labelAt(216, 178, params::lists::kFxType[type], Align::Right, Tone::Faint, {Face::SansBold, 15, 1.0});
    s.wells();
    return finish(s, false);
}

}  // namespace artgen
