// The MIDI-learn menu a right click opens on a parameter control: the
// parameter's name and value and its controller binding (greyed), then
// "Help", "Set to Default" and the learn commands.
#include <string>

#include "editor/blueOptionMenu.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;

namespace {
// Entry indexes without the separators.
enum LearnEntry : long { kHelp = 3, kSetToDefault, kLatch, kUnlatch, kClearAll };
constexpr int kAnchor = 16;  // the menu opens at a square this wide around the click
}  // namespace

std::string uEditor::bindingLine(long tag) const {
    // 0 marks an unbound controller, so no controller can be bound to parameter 0.
    const int controller = plugin && tag > 0 ? plugin->controllerBoundTo(int(tag)) : -1;
    return controller < 0 ? "-GNot Latched" : "-GMidi CC : " + std::to_string(controller);
}

void uEditor::openLearnMenu(CControl* control, const CPoint& where) {
    if (!frame || !plugin || !control) return;
    const long tag = control->getTag();
    if (tag < 0 || tag >= prm::kCount) return;
    // The about screen's options are settings, not parameters.
    const editor::RegisteredControl* entry = registry.find(control);
    if (entry && entry->layout->region == layout::Region::About) return;
    dropLearnMenu();
    if (learnMenu) return;  // one still open
    char display[64] = {};
    plugin->getParameterDisplay(int(tag), display);
    const CRect anchor(where.h - kAnchor / 2, where.v - kAnchor / 2, where.h + kAnchor / 2, where.v + kAnchor / 2);
    learnMenu = new blueOptionMenu(anchor, this, layout::kNoParameter, nullptr, nullptr);
    for (const std::string& entry :
         {"-G" + nameOf(tag), "-G" + std::string(display), std::string("-"), bindingLine(tag), std::string("-"),
          std::string("Help"), std::string("Set to Default"), std::string("Latch to Midi"),
          std::string("Unlatch Midi"), std::string("Clear Midi")})
        learnMenu->addEntry(entry.c_str());
    learnTag = tag;
    learnWhere = where;
    frame->addView(learnMenu);
    learnMenu->popup();
}

void uEditor::learnMenuChosen() {
    if (!plugin || !learnMenu) return;
    const long tag = learnTag;
    switch (learnMenu->getCurrent(nullptr, false)) {
        case kHelp: showHelpFor(tag, learnWhere); break;
        case kSetToDefault: plugin->setParameterAutomated(int(tag), plugin->parameters().defaultValue[tag]); break;
        case kLatch: plugin->latchToMidi(int(tag)); break;
        case kUnlatch: plugin->unlatchMidi(int(tag)); break;
        case kClearAll: plugin->clearMidi(); break;
        default: break;
    }
}

// The menu view goes once its pop-up has closed (chosen or not).
void uEditor::dropLearnMenu() {
    if (!learnMenu || learnMenu->isPoppedUp() || !frame) return;
    frame->removeView(learnMenu);
    learnMenu = nullptr;
    frame->setDirty();
}
