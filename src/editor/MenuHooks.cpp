// Where the editor hands over to the menus, the about screen, the online
// manual and the vocoder sample: the controls exist and report here; what
// their entries do is built with the menus themselves.
#include "editor/uEditor.h"

using namespace VSTGUI;

// kind 0: file menu, 1: preset menu (top level), 2: ECS menu, 3: arp file menu.
void uEditor::runFileMenuCommand(int /*kind*/, long /*index*/) {}

void uEditor::presetSubMenuChosen(COptionMenu* /*subMenu*/, long /*entry*/) {}

// source 0: morph menu A, 1: B; `chosenIn` is the menu or one of its sub-menus.
void uEditor::morphMenuChosen(int /*source*/, COptionMenu* /*chosenIn*/, long /*entry*/) {}

// The preset menus list the program names; the faces are kept by the update path.
void uEditor::refreshProgramNames() {}

void uEditor::openLearnMenu(CControl* /*control*/, const CPoint& /*where*/) {}

void uEditor::showAboutScreen() {}

void uEditor::closeAboutScreen() {}

void uEditor::openOnlineManual() {}

void uEditor::chooseVocoderSample() {}

std::string uEditor::vocoderSampleName() const { return "None"; }

