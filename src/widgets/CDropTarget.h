// The frame's drop target. The frame forwards enter, move, leave and drop to
// the view under the pointer; no view of this editor accepts a drop, so the
// window is not registered with any drag-and-drop protocol.
#pragma once

#include "widgets/CDragContainer.h"
#include "widgets/CFrame.h"

namespace VSTGUI {

class CDropTarget {
public:
    explicit CDropTarget(CFrame* frame) : frame(frame) {}
    // Registration with the window system: nothing to do (see above).
    bool registerFor(CFrame*) { return true; }
    void revoke() {}

    void dragEnter(CDragContainer* drag, const CPoint& where) {
        CDrawContext context(frame->getBackBuffer()->getSurface(), frame);
        if (CView* view = frame->getViewAt(where, true)) view->onDragEnter(&context, drag, where);
    }
    void dragMove(CDragContainer* drag, const CPoint& where) {
        CDrawContext context(frame->getBackBuffer()->getSurface(), frame);
        frame->onDragMove(&context, drag, where);
    }
    void dragLeave(CDragContainer* drag, const CPoint& where) {
        CDrawContext context(frame->getBackBuffer()->getSurface(), frame);
        if (CView* view = frame->getViewAt(where, true)) view->onDragLeave(&context, drag, where);
    }
    bool drop(CDragContainer* drag, const CPoint& where) {
        CDrawContext context(frame->getBackBuffer()->getSurface(), frame);
        return frame->onDrop(&context, drag, where);
    }

private:
    CFrame* frame;
};

}  // namespace VSTGUI
