#include "editor/ControlRegistry.h"

namespace editor {

bool ControlRegistry::add(VSTGUI::CControl* control, const layout::Control* layout, bool optionMenu) {
    if (!control || count() >= kCapacity) return false;
    control->remember();
    entries.push_back({control, layout, optionMenu});
    return true;
}

void ControlRegistry::clear() {
    // Newest first, so sub-menus go before the menus that hold them.
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) it->control->forget();
    entries.clear();
}

const RegisteredControl* ControlRegistry::find(const VSTGUI::CView* view) const {
    for (const RegisteredControl& e : entries)
        if (static_cast<const VSTGUI::CView*>(e.control) == view) return &e;
    return nullptr;
}

VSTGUI::CControl* ControlRegistry::withRole(layout::Role role, int index) const {
    for (const RegisteredControl& e : entries)
        if (e.layout && e.layout->role == role && e.layout->index == index) return e.control;
    return nullptr;
}

VSTGUI::CControl* ControlRegistry::made(layout::Kind kind, int baseTag) const {
    for (const RegisteredControl& e : entries)
        if (e.layout && e.layout->kind == kind && e.layout->tag == baseTag) return e.control;
    return nullptr;
}

}  // namespace editor
