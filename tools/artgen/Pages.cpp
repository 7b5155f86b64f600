// The page backgrounds: the Mod and Arp pages of the lower-left region and
// the Preset and Advanced pages of the right region (BITMAP 10001 .. 10004).
#include "Artwork.h"
#include "editor/EditorImages.h"

namespace artgen {
namespace {
using layout::Kind;
using layout::Region;
using layout::Role;

// The rows of a modulation block: amount 1 with destination 1, the amount
// control with its source, amount 2 with destination 2.
void modulationRows(Sheet& s, int amount1, int dest1, int control, int source, int amount2, int dest2) {
    s.label(s.control(amount1, Kind::Knob), "Amount 1");
    s.label(s.control(dest1, Kind::DestinationMenu), "Dest 1", Side::Above, 3);
    s.label(s.control(control, Kind::Knob), "Mod Amt");
    s.label(s.control(source, Kind::SourceMenu), "Mod Source", Side::Above, 3);
    s.label(s.control(amount2, Kind::Knob), "Amount 2");
    s.label(s.control(dest2, Kind::DestinationMenu), "Dest 2", Side::Above, 3);
}
}  // namespace

Drawn modPage() {
    Sheet s(layout::img::ModPage, 522, 248, Region::Mod);
    s.window();
    s.panel({2, 1, 247, 246}, Family::Modulation, "free envelopes");
    s.title(8, 22, "ENVELOPE", Family::Modulation);
    s.envelopeLabels(111, 113, 115, 117, 119);
    modulationRows(s, 127, 130, 129, 132, 128, 131);
    s.label(s.control(123, Kind::Knob), "Key > Time");
    s.label(s.control(125, Kind::Knob), "Vel > Time");

    s.panel({249, 1, 401, 246}, Family::Modulation, "free lfos");
    s.title(255, 22, "LFO", Family::Modulation);
    s.label(s.control(140, Kind::Knob), "Speed");
    s.label(s.control(138, Kind::Switch), "Sync", Side::Below, -3);
    s.label(s.control(134, Kind::OptionMenu), "Wave", Side::Below, 3);
    s.label(s.control(136, Kind::OptionMenu), "Mode", Side::Below, 3);
    modulationRows(s, 142, 145, 144, 147, 143, 146);

    s.panel({403, 1, 520, 246}, Family::Modulation, "modulation slots");
    s.title(409, 17, "MATRIX", Family::Modulation);
    s.label(s.control(149, Kind::SourceMenu), "Source", Side::Below, 3);
    s.label(s.control(161, Kind::Knob), "Amount");
    s.label(s.control(157, Kind::DestinationMenu), "Destination", Side::Above, 3);
    s.label(s.control(153, Kind::Knob), "Mod Amt");
    s.label(s.control(165, Kind::SourceMenu), "Mod Source", Side::Above, 3);
    s.wells();
    return finish(s, false);
}

Drawn arpPage() {
    Sheet s(layout::img::ArpPage, 522, 248, Region::Arp);
    s.window();
    s.panel({2, 1, 520, 246}, Family::Arpeggiator, "arpeggiator");
    s.title(8, 31, "ARP", Family::Arpeggiator);
    s.label(s.control(210, Kind::OptionMenu), "Steps", Side::Above, 3);
    s.label(s.control(217, Kind::OptionMenu), "Speed", Side::Above, 3);
    s.label(s.control(211, Kind::OptionMenu), "Mode", Side::Above, 3);
    s.label(s.control(212, Kind::OptionMenu), "Octaves", Side::Above, 3);
    s.label(s.control(219, Kind::TextArrayButton), "Tie Mode", Side::Above, 3);
    // The step grid's rows, level with the display's cells.
    const char* rows[] = {"Step", "Tie", "Slide", "Tune", "Vel", "Free"};
    const auto& grid = s.control(layout::kNoParameter, Kind::ArpDisplay);
    for (int r = 0; r < 6; ++r) s.labelAt(grid.x - 5, grid.y + 17 + 20 * r + 13.5, rows[r], Align::Right);
    s.label(s.control(218, Kind::Switch), "Sync", Side::Above, -3);
    s.label(s.control(319, Kind::Switch), "Latch", Side::Above, -3);
    s.label(s.control(914, Kind::ButtonMenu), "File", Side::Above, -3);
    s.label(s.control(213, Kind::Knob), "Length");
    s.label(s.control(214, Kind::Knob), "Swing");
    s.label(s.control(215, Kind::Knob), "Slide");
    s.label(s.control(216, Kind::Knob), "Vel / Key");
    s.wells();
    // The display draws its marks over the background: give its cells rows
    // and columns, with every fourth step a little stronger.
    Painter& p = s.painter();
    for (int r = 0; r < 6; ++r)
        if (r % 2 == 1) p.fillRect(grid.x, grid.y + 17 + 20 * r, 400, 20, Colour::hex(0xffffff, 0.025));
    for (int step = 1; step < 16; ++step)
        p.fillRect(grid.x + 25 * step, grid.y + 17, 1, 120, Colour::hex(0xffffff, step % 4 ? 0.04 : 0.10));
    return finish(s, false);
}

Drawn presetPage() {
    Sheet s(layout::img::PresetPage, 247, 202, Region::Preset);
    s.window();
    s.panel({2, 2, 245, 200}, Family::Global, "presets");
    s.title(8, 19, "PRESET", Family::Global);
    s.label(s.control(layout::kNoParameter, Kind::BankMenu), "Bank", Side::AboveLeft, 3);
    s.label(s.control(907, Kind::PushButton), "Edit", Side::Below, -3);
    s.label(s.control(908, Kind::PushButton), "Orig", Side::Below, -3);
    s.label(s.control(916, Kind::ButtonMenu), "File", Side::Below, -3);
    s.label(s.control(915, Kind::ButtonMenu), "ECS", Side::Below, -3);
    const auto& d = s.control(913, Kind::PushButton);
    s.labelAt(d.x + d.width + 3, d.y + 11, "Variation", Align::Left);
    s.labelAt(11, 162, "MORPH", Align::Left, Tone::Subtitle);
    s.wells();
    return finish(s, false);
}

Drawn advancedPage() {
    Sheet s(layout::img::AdvancedPage, 247, 202, Region::Advanced);
    s.window();
    s.panel({2, 2, 245, 200}, Family::Global, "advanced");
    s.title(8, 15, "ADVANCED", Family::Global);
    s.label(s.control(9, Kind::Knob), "Analog");
    s.label(s.control(786, Kind::Knob), "Tuning");
    s.label(s.control(324, Kind::OptionMenu), "Oversampling", Side::Above, 3);
    s.label(s.control(792, Kind::Switch), "Filter", Side::Below, -3);
    s.labelAt(13, 88, "SHAPES", Align::Left, Tone::Subtitle);
    s.label(s.control(788, Kind::Knob), "Attack");
    s.label(s.control(789, Kind::Knob), "Dec / Rel");
    s.label(s.control(787, Kind::Knob), "Velocity");
    s.labelAt(236, 190, "Brennix", Align::Right, Tone::Faint, {Face::SansBold, 15, 1.0});
    s.wells();
    return finish(s, false);
}

}  // namespace artgen
