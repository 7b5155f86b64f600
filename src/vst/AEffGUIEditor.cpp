#include "vst/AEffGUIEditor.h"

#include <chrono>
#include <thread>

#include "platform/Clock.h"
#include "vst/AudioEffectX.h"
#include "widgets/CFrame.h"

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

AEffGUIEditor::~AEffGUIEditor() { AEffGUIEditor::close(); }

void AEffGUIEditor::close() {
    if (frame) {
        VSTGUI::CFrame* f = frame;
        frame = nullptr;
        f->forget();
    }
    systemWindow = nullptr;
}

void AEffGUIEditor::idle() {
    if (frame) frame->idle();
}

void AEffGUIEditor::beginEdit(int index) {
    auto* fx = dynamic_cast<AudioEffectX*>(effect);
    if (fx && index >= 0 && index < fx->getAeffect()->numParams) fx->beginEdit(index);
}

void AEffGUIEditor::endEdit(int index) {
    auto* fx = dynamic_cast<AudioEffectX*>(effect);
    if (fx && index >= 0 && index < fx->getAeffect()->numParams) fx->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
    uint32_t now = platform::tickCount();
    if (now < lastIdlePump) {  // the clock ran backwards
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lastIdlePump = now;
    }
    if (now - lastIdlePump < 100) return;
    lastIdlePump = now;
    idle();
    if (effect) effect->masterIdle();
}
