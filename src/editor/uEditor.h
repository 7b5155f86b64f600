// The plug-in's editor. For now it reports its 1000 x 600 rectangle and keeps
// the host's parent window; the pages and controls are built on top of it.
#pragma once

#include "platform/Relaxed.h"
#include "vst/AEffGUIEditor.h"

class APlugin;

class uEditor : public AEffGUIEditor {
public:
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 600;

    explicit uEditor(APlugin* plugin);

    bool open(void* parentWindow) override;

    // Moves the control bound to `index` (called after every parameter change).
    void setParameter(int index, float value);
    // Marks the parameter being edited (-1: none).
    void setEditedParameter(int index) { editedParameter = index; }
    int getEditedParameter() const { return editedParameter; }
    // Redraws every control after a program change or a bulk edit.
    void refreshAll() {}
    // Shows the current program's name after a rename.
    void updateProgramName() {}
    // Shows the pitch wheel's position (frame 0..37); called from the audio thread.
    void setPitchWheel(int frame) { pitchWheelFrame = frame; }

private:
    APlugin* plugin;
    int editedParameter = -1;
    Relaxed<int> pitchWheelFrame{18};
};
