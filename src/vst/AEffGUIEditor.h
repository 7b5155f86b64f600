// Base class of a plug-in editor as the host sees it: a rectangle, a window
// opened inside the host's parent window, idle calls and key forwarding.
#pragma once

#include <cstdint>

#include "vst/Vst2.h"

class AudioEffect;
namespace VSTGUI {
class CFrame;
}

struct VstKeyCode {
    int32_t character;
    unsigned char virt;
    unsigned char modifier;
};

class AEffGUIEditor {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    virtual ~AEffGUIEditor();

    AEffGUIEditor(const AEffGUIEditor&) = delete;
    AEffGUIEditor& operator=(const AEffGUIEditor&) = delete;

    // Points *rect at the editor's own rectangle; returns true when it did.
    virtual bool getRect(ERect** rect);
    virtual bool open(void* parentWindow);
    // Releases the frame (and with it the window) when there is one.
    virtual void close();
    // Lets the frame read its input and redraw what is dirty.
    virtual void idle();
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }

    bool isOpen() const { return systemWindow != nullptr; }
    AudioEffect* getEffect() const { return effect; }
    VSTGUI::CFrame* getFrame() const { return frame; }

    // A gesture on parameter `index` begins or ends (only host-visible parameters reach the host).
    virtual void beginEdit(int index);
    virtual void endEdit(int index);
    // The idle pump used while a menu command runs: at most every 100 ms the
    // editor's idle (which also redraws) and the host's idle callback.
    void doIdleStuff();

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
    ERect rect{0, 0, 0, 0};
    VSTGUI::CFrame* frame = nullptr;
    uint32_t lastIdlePump = 0;
};
