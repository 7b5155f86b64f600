#include "editor/brennixOnOff.h"

#include "editor/brennixEditorListener.h"

using namespace VSTGUI;

brennixOnOff::brennixOnOff(const CRect& size, CControlListener* listener, long tag, CBitmap* image)
    : COnOffButton(size, listener, tag, image) {}

CMouseEventResult brennixOnOff::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (tag == 9999) return kMouseEventNotHandled;
    if (buttons & kRButton) {
        if (brennixEditorListener* editor = editorListenerOf(this))
            editor->openLearnMenu(this, framePoint(this, where));
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    if ((buttons & (kShift | kControl | kAlt)) && listener &&
        listener->controlModifierClicked(context, this, buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    toggle(context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
