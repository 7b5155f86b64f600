#include "widgets/CView.h"

#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"
#include "widgets/CViewContainer.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size) {}

CView::~CView() {
    if (pBackground) pBackground->forget();
}

void CView::draw(CDrawContext* context) {
    if (pBackground && !transparent) pBackground->draw(context, size);
}

void CView::drawRect(CDrawContext* context, const CRect&) { draw(context); }

CMouseEventResult CView::mouse(CDrawContext*, CPoint&, long) { return kMouseEventNotHandled; }
CMouseEventResult CView::mouseMoved(CDrawContext*, CPoint&, long) { return kMouseEventNotHandled; }
CMouseEventResult CView::mouseUp(CDrawContext*, CPoint&, long) { return kMouseEventNotHandled; }

void CView::setBackground(CBitmap* background) {
    if (background == pBackground) return;
    if (background) background->remember();
    if (pBackground) pBackground->forget();
    pBackground = background;
    setDirty();
}

void CView::setDirty(bool state) {
    dirty.store(state, std::memory_order_release);
    if (state)
        if (CFrame* frame = getFrame()) frame->noteDirty();
}

void CView::setViewSize(const CRect& newSize, bool invalidate) {
    if (invalidate)
        if (CFrame* frame = getFrame()) {
            CRect old = size;
            frame->invalidRect(localToFrame(old));
        }
    size = newSize;
    if (invalidate) setDirty();
}

void CView::attached(CViewContainer* parent, CFrame* frame) {
    parentView = parent;
    parentFrame.store(frame, std::memory_order_release);
}

void CView::removed() {
    if (CFrame* frame = getFrame()) {
        CRect area = size;
        frame->invalidRect(localToFrame(area));
        frame->viewRemoved(this);
    }
    parentView = nullptr;
    parentFrame.store(nullptr, std::memory_order_release);
}

CPoint& CView::localToFrame(CPoint& p) const {
    for (const CViewContainer* c = parentView; c; c = c->getParentView()) {
        const CRect& r = c->getViewSize();
        p.offset(r.left, r.top);
    }
    return p;
}

CPoint& CView::frameToLocal(CPoint& p) const {
    for (const CViewContainer* c = parentView; c; c = c->getParentView()) {
        const CRect& r = c->getViewSize();
        p.offset(-r.left, -r.top);
    }
    return p;
}

CRect& CView::localToFrame(CRect& r) const {
    CPoint origin(0, 0);
    localToFrame(origin);
    return r.offset(origin.h, origin.v);
}

}  // namespace VSTGUI
