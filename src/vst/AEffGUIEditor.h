// Base class of a plug-in editor as the host sees it: a rectangle, a window
// opened inside the host's parent window, idle calls and key forwarding.
#pragma once

#include <cstdint>

#include "vst/Vst2.h"

class AudioEffect;

struct VstKeyCode {
    int32_t character;
    unsigned char virt;
    unsigned char modifier;
};

class AEffGUIEditor {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    virtual ~AEffGUIEditor() = default;

    AEffGUIEditor(const AEffGUIEditor&) = delete;
    AEffGUIEditor& operator=(const AEffGUIEditor&) = delete;

    // Points *rect at the editor's own rectangle; returns true when it did.
    virtual bool getRect(ERect** rect);
    virtual bool open(void* parentWindow);
    virtual void close();
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }

    bool isOpen() const { return systemWindow != nullptr; }
    AudioEffect* getEffect() const { return effect; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    ERect rect{0, 0, 0, 0};
};
