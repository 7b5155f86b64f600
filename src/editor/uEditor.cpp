#include "editor/uEditor.h"

#include "host/APlugin.h"

uEditor::uEditor(APlugin* plugin) : AEffGUIEditor(plugin), plugin(plugin) {
    rect = ERect{0, 0, kHeight, kWidth};
}

bool uEditor::open(void* parentWindow) {
    plugin->detectHostQuirks();
    return AEffGUIEditor::open(parentWindow);
}

void uEditor::setParameter(int /*index*/, float /*value*/) {}
