#include "widgets/CViewContainer.h"

#include <algorithm>

#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size, CFrame* frame, CBitmap* background) : CView(size) {
    if (frame) parentFrame.store(frame);
    if (background) setBackground(background);
}

CViewContainer::~CViewContainer() { removeAll(true); }

void CViewContainer::addView(CView* view) {
    if (!view || isChild(view)) return;
    children.push_back(view);
    view->attached(this, getFrame());
    view->setDirty();
}

void CViewContainer::removeView(CView* view, bool withForget) {
    auto it = std::find(children.begin(), children.end(), view);
    if (it == children.end()) return;
    children.erase(it);
    view->removed();
    if (withForget) view->forget();
}

void CViewContainer::removeAll(bool withForget) {
    while (!children.empty()) removeView(children.back(), withForget);
}

bool CViewContainer::isChild(const CView* view) const {
    return std::find(children.begin(), children.end(), view) != children.end();
}

CView* CViewContainer::getView(int index) const {
    return index >= 0 && index < int(children.size()) ? children[index] : nullptr;
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
    CPoint local(where.h - size.left, where.v - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->getViewSize().pointInside(local)) continue;
        if (deep && child->isContainer())
            if (CView* inner = static_cast<CViewContainer*>(child)->getViewAt(local, true)) return inner;
        return child;
    }
    return nullptr;
}

void CViewContainer::attached(CViewContainer* parent, CFrame* frame) {
    CView::attached(parent, frame);
    for (CView* child : children) child->attached(this, frame);
}

void CViewContainer::removed() {
    for (CView* child : children) child->attached(this, nullptr);
    CView::removed();
}

void CViewContainer::draw(CDrawContext* context) { drawRect(context, size); }

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& updateRect) {
    if (transparent) return;
    CRect local = updateRect;
    local.offset(-size.left, -size.top);
    if (pBackground) {
        pBackground->draw(context, local, CPoint(local.left, local.top));
    } else {
        context->setFillColor(backgroundColor);
        context->fillRect(local);
    }
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    CRect area = updateRect;
    area.bound(size);
    if (area.isEmpty()) return;
    context->saveState();
    context->translate(size.left, size.top);
    drawBackgroundRect(context, area);
    CRect local = area;
    local.offset(-size.left, -size.top);
    for (CView* child : children) {
        if (!child->checkUpdate(local)) continue;
        CRect childArea = local;
        childArea.bound(child->getViewSize());
        context->saveState();
        context->clipTo(childArea);
        child->drawRect(context, childArea);
        context->restoreState();
    }
    context->restoreState();
}

CMouseEventResult CViewContainer::mouse(CDrawContext* context, CPoint& where, long buttons) {
    CPoint local(where.h - size.left, where.v - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->getMouseEnabled() || !child->getViewSize().pointInside(local)) continue;
        context->saveState();
        context->translate(size.left, size.top);
        child->remember();  // the handler may take the view out of its container
        CMouseEventResult result = child->mouse(context, local, buttons);
        if (result == kMouseEventHandled && !child->isContainer())
            if (CFrame* frame = getFrame()) frame->beginMouseTracking(child);
        child->forget();
        context->restoreState();
        if (result != kMouseEventNotHandled) return result;
    }
    return kMouseEventNotHandled;
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                             float distance) {
    CPoint local(where.h - size.left, where.v - size.top);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = *it;
        if (!child->getMouseEnabled() || !child->getViewSize().pointInside(local)) continue;
        context->saveState();
        context->translate(size.left, size.top);
        bool used = child->onWheel(context, local, axis, distance);
        context->restoreState();
        if (used) return true;
    }
    return false;
}

bool CViewContainer::onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    CPoint local(where.h - size.left, where.v - size.top);
    CView* child = getViewAt(where, false);
    return child && child->onDrop(context, drag, local);
}

void CViewContainer::onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
    CPoint local(where.h - size.left, where.v - size.top);
    if (CView* child = getViewAt(where, false)) child->onDragMove(context, drag, local);
}

}  // namespace VSTGUI
