// The entries of the modulation menus and how a choice becomes a value:
// - source menus list the 31 sources in their own order ("Note" after
//   "Pitchbend"); a choice is found by its text in the value-ordered list;
// - destination menus hold "None" and seven sub-menus; a choice is found by
//   its text in the 79-name destination list (the last equal name wins);
// - FX modulation destination menus list "None", then per slot its mix, pan
//   and the eight parameters of the slot's effect type, "1 Length" and so on.
// All three write (position + 0.5) x 0.010001 and show position trunc(value x 99.99).
#pragma once

#include <string>
#include <vector>

namespace VSTGUI {
class COptionMenu;
}

namespace editor {

class ModulationMenus {
public:
    static constexpr float kFactor = 99.99f;
    static constexpr float kStep = 0.010001f;  // 1 / 99.99
    static constexpr int kDestinationSubMenus = 7;

    // Source names in menu order.
    static const std::vector<const char*>& sourceMenuOrder();
    // The sub-menu titles and entries of a destination menu (after its first entry "None").
    struct SubMenu {
        const char* title;
        std::vector<const char*> entries;
    };
    static const std::vector<SubMenu>& destinationSubMenus();
    // The FX modulation destination list for the slots' effect types.
    static std::vector<std::string> fxDestinations(const int types[3]);

    // The value a chosen text writes: its position in the source list, in the
    // destination list (last equal position), or -1 when it is not there.
    static int sourcePosition(const std::string& text);
    static int destinationPosition(const std::string& text);
    static float valueOf(int position) { return (float(position) + 0.5f) * kStep; }
    // The position a value shows (trunc(value x 99.99), NaN and out-of-range values pinned).
    static int positionOf(float value);

    // The menus' contents, built from the lists above.
    static void fillSourceMenu(VSTGUI::COptionMenu* menu);
    static void fillFxDestinationMenu(VSTGUI::COptionMenu* menu, const std::vector<std::string>& entries);
};

}  // namespace editor
