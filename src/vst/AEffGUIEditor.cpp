#include "vst/AEffGUIEditor.h"

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : effect(effect) {}

bool AEffGUIEditor::getRect(ERect** r) {
    if (!r) return false;
    *r = &rect;
    return true;
}

bool AEffGUIEditor::open(void* parentWindow) {
    systemWindow = parentWindow;
    return true;
}

void AEffGUIEditor::close() { systemWindow = nullptr; }
