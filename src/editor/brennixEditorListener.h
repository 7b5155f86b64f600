// What the editor's own controls ask of the editor beyond valueChanged: the
// MIDI-learn menu of a control (right click), the help screen for a tag, and
// hiding the help before an edit. Points are in frame coordinates.
#pragma once

#include "widgets/CControl.h"

class brennixEditorListener : public VSTGUI::CControlListener {
public:
    virtual void openLearnMenu(VSTGUI::CControl* control, const VSTGUI::CPoint& where) {}
    virtual void showHelpFor(long tag, const VSTGUI::CPoint& where) {}
    virtual void hideHelp() {}
};

// The listener of `control` as an editor listener, or null.
inline brennixEditorListener* editorListenerOf(VSTGUI::CControl* control) {
    return dynamic_cast<brennixEditorListener*>(control->getListener());
}

// `where` (in the control's parent's coordinates) in frame coordinates.
inline VSTGUI::CPoint framePoint(const VSTGUI::CView* view, VSTGUI::CPoint where) {
    return view->localToFrame(where);
}
