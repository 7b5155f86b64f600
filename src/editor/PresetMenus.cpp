// The program menus of the Preset page: the preset menu (the 128 programs in
// four sub-menus of 32, then the preset commands) and the morph source menus A
// and B (the same sub-menus, then "Set to stored Morph A" / "... B").
#include <string>

#include "editor/blueOptionMenu.h"
#include "editor/brennixHelpScreen.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/ParamIds.h"

using namespace VSTGUI;
using layout::Kind;

namespace {
constexpr int kProgramCount = 128;
constexpr int kPerSubMenu = 32;
constexpr int kSubMenus = kProgramCount / kPerSubMenu;
// The morph source parameters read a program as trunc(value x 127.99).
constexpr float kMorphStep = 0.007813111f;
constexpr const char* kProgramSubMenus[kSubMenus] = {"Preset 1-32", "Preset 33-64", "Preset 65-96",
                                                     "Preset 97-128"};
constexpr const char* kPresetCommands[] = {"Rename Preset", "Copy Preset",      "Paste Preset",
                                           "Default Preset", "Load Preset",     "Save Preset",
                                           "Store as Morph A", "Store as Morph B", "Help"};
constexpr const char* kStoredMorph[2] = {"Set to stored Morph A", "Set to stored Morph B"};

// A menu entry for a program name. Menus read a leading "-" as a separator or
// a disabled entry, so such a name is shown after a blank.
std::string entryFor(const std::string& name) { return !name.empty() && name[0] == '-' ? " " + name : name; }
}  // namespace

void uEditor::fillProgramMenus() {
    for (const editor::RegisteredControl& e : registry.all()) {
        const Kind kind = e.layout->kind;
        if (kind != Kind::PresetMenu && kind != Kind::MorphMenu) continue;
        auto* menu = static_cast<COptionMenu*>(e.control);
        if (menu->getNbEntries() > 0) continue;
        const std::vector<const char*> empty(kPerSubMenu, "");
        for (const char* title : kProgramSubMenus) createSubMenu(menu, title, empty);
        if (kind == Kind::PresetMenu) {
            menu->addSeparator();
            for (const char* command : kPresetCommands) menu->addEntry(command);
        } else {
            menu->addEntry(kStoredMorph[e.layout->index == 0 ? 0 : 1]);
        }
    }
}

void uEditor::refreshProgramNames() {
    if (!frame || !plugin) return;
    fillProgramMenus();
    const int current = plugin->getProgram();
    std::string names[kProgramCount];
    for (int p = 0; p < kProgramCount; ++p) names[p] = entryFor(programName(p));
    for (const SubMenu& s : subMenus) {
        const editor::RegisteredControl* owner = registry.find(s.owner);
        if (!owner || (owner->layout->kind != Kind::PresetMenu && owner->layout->kind != Kind::MorphMenu))
            continue;
        // Only the preset menu marks the current program.
        const bool marked = owner->layout->kind == Kind::PresetMenu;
        for (int k = 0; k < kPerSubMenu; ++k) {
            const int p = s.index * kPerSubMenu + k;
            std::string text = names[p];
            if (marked && p == current) text += " <<<";
            s.menu->setEntry(k, text.c_str());
        }
    }
    if (auto* preset = static_cast<blueOptionMenu*>(registry.made(Kind::PresetMenu, layout::kNoParameter))) {
        preset->setTitle(programName(current).c_str());
        preset->setDirty();
    }
}

// The program is the entry's position: two programs may share a name, and
// the current one's entry carries its mark.
void uEditor::presetSubMenuChosen(COptionMenu* subMenu, long entry) {
    int index = -1;
    if (!plugin || !ownerOf(subMenu, &index) || entry < 0 || entry >= kPerSubMenu) return;
    const int program = index * kPerSubMenu + int(entry);
    if (helpScreen && helpScreen->isShown()) hideHelp();
    // Choosing the current program changes nothing (its edits stay, notes ring on).
    if (program != plugin->getProgram()) plugin->setProgram(program);
    if (auto* preset = static_cast<blueOptionMenu*>(registry.made(Kind::PresetMenu, layout::kNoParameter)))
        preset->setTitle(programName(plugin->getProgram()).c_str());
}

void uEditor::morphMenuChosen(int source, COptionMenu* chosenIn, long entry) {
    if (!plugin || (source != 0 && source != 1)) return;
    int index = -1;
    if (ownerOf(chosenIn, &index)) {
        if (entry < 0 || entry >= kPerSubMenu) return;
        const float program = float(index * kPerSubMenu + int(entry));
        plugin->setParameter(source == 0 ? prm::CrossPrA : prm::CrossPrB, (program + 0.5f) * kMorphStep);
    } else if (entry == kSubMenus) {
        plugin->setToStoredMorph(source);
    }
}
