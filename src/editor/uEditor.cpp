#include "editor/uEditor.h"

#include <cstdio>

#include "host/APlugin.h"
#include "widgets/CFrame.h"

uEditor::uEditor(APlugin* plugin) : AEffGUIEditor(plugin), plugin(plugin) {
    rect = ERect{0, 0, kHeight, kWidth};
}

bool uEditor::open(void* parentWindow) {
    plugin->detectHostQuirks();
    if (frame) close();
    auto* f = new VSTGUI::CFrame(VSTGUI::CRect(0, 0, kWidth, kHeight), parentWindow, this);
    if (!f->isOpen()) {
        // No display or no usable parent window: no editor, the plug-in plays on.
        std::fprintf(stderr, "Brennix: the editor cannot open: %s\n", f->getOpenError().c_str());
        f->forget();
        return false;
    }
    frame = f;
    return AEffGUIEditor::open(parentWindow);
}

void uEditor::setParameter(int /*index*/, float /*value*/) {}
