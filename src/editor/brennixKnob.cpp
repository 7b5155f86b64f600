#include "editor/brennixKnob.h"

#include "editor/brennixEditorListener.h"
#include "widgets/CBitmap.h"

using namespace VSTGUI;

namespace {
constexpr long kUnbound = 9999;
}

brennixKnob::brennixKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* strip, int frames)
    : CAnimKnob(size, listener, tag, frames, strip ? strip->getHeight() / frames : size.height(), strip) {
    setDragRange(200.0f);
    setZoomFactor(50.0f);  // 200 x 50 = 10000 pixels with Shift
}

CMouseEventResult brennixKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (tag == kUnbound) return kMouseEventNotHandled;
    if (buttons & kRButton) {
        if (brennixEditorListener* editor = editorListenerOf(this))
            editor->openLearnMenu(this, framePoint(this, where));
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (buttons == (kLButton | kControl)) {
        beginEdit();
        value = defaultValue;
        bounceValue();
        setDirty();
        notify(context);
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    return CAnimKnob::mouse(context, where, buttons);
}
