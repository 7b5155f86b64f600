// Every control the open editor made, in creation order, with what it was
// made from: its layout record (region, base tag, slot group, role) and
// whether it is an option menu, whose value is an entry index rather than the
// parameter's value. The registry keeps one reference to each control, so a
// control taken off a page lives on until the editor closes.
#pragma once

#include <vector>

#include "editor/ControlLayout.h"

namespace VSTGUI {
class CControl;
class CView;
}

namespace editor {

struct RegisteredControl {
    VSTGUI::CControl* control;
    const layout::Control* layout;
    bool optionMenu;
};

class ControlRegistry {
public:
    static constexpr int kCapacity = 1000;

    ControlRegistry() { entries.reserve(kCapacity); }
    ~ControlRegistry() { clear(); }
    ControlRegistry(const ControlRegistry&) = delete;
    ControlRegistry& operator=(const ControlRegistry&) = delete;

    // Keeps a reference; false (and nothing kept) when the registry is full.
    bool add(VSTGUI::CControl* control, const layout::Control* layout, bool optionMenu);
    // Releases every control.
    void clear();

    int count() const { return int(entries.size()); }
    const std::vector<RegisteredControl>& all() const { return entries; }
    // The entry of a registered control, null for any other view.
    const RegisteredControl* find(const VSTGUI::CView* view) const;
    // The first control with this role (and selector index), or null.
    VSTGUI::CControl* withRole(layout::Role role, int index = 0) const;
    // The first control made from a record of this kind and base tag, or null.
    VSTGUI::CControl* made(layout::Kind kind, int baseTag) const;

    // Calls f(entry) for every control whose current tag is `tag`.
    template <typename F>
    void forTag(long tag, F&& f) const;

private:
    std::vector<RegisteredControl> entries;
};

}  // namespace editor

#include "widgets/CControl.h"

template <typename F>
void editor::ControlRegistry::forTag(long tag, F&& f) const {
    for (const RegisteredControl& e : entries)
        if (e.control->getTag() == tag) f(e);
}
