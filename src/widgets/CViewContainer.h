// An ordered list of child views over an optional background. Children are
// placed in the container's own coordinates; later children lie on top.
#pragma once

#include <vector>

#include "widgets/CView.h"

namespace VSTGUI {

class CViewContainer : public CView {
public:
    CViewContainer(const CRect& size, CFrame* frame = nullptr, CBitmap* background = nullptr);
    ~CViewContainer() override;

    // The container takes over the caller's reference.
    virtual void addView(CView* view);
    // With `withForget` false the caller gets the reference back (the view lives on).
    virtual void removeView(CView* view, bool withForget = true);
    virtual void removeAll(bool withForget = true);
    // The topmost view under `where` (in this container's parent's coordinates);
    // with `deep`, descends into containers. Null when there is none.
    virtual CView* getViewAt(const CPoint& where, bool deep = false) const;

    bool isChild(const CView* view) const;
    int getNbViews() const { return int(children.size()); }
    CView* getView(int index) const;
    const std::vector<CView*>& getChildren() const { return children; }

    void setBackgroundColor(const CColor& c) { backgroundColor = c; }
    const CColor& getBackgroundColor() const { return backgroundColor; }
    // Kept for the editor's sake: every frame draws through its own back buffer.
    void setOffscreen(bool state) { offscreen = state; }
    bool getOffscreen() const { return offscreen; }

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                 float distance) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override {
        return onWheel(context, where, kMouseWheelAxisY, distance);
    }
    bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    bool isContainer() const override { return true; }
    void attached(CViewContainer* parent, CFrame* frame) override;
    void removed() override;

    // Collects the frame rectangles of dirty views (this container's origin at `origin`).
    template <typename Sink>
    void collectDirty(const CPoint& origin, Sink&& sink);

protected:
    void drawBackgroundRect(CDrawContext* context, const CRect& updateRect);

    std::vector<CView*> children;
    CColor backgroundColor = kBlackCColor;
    bool offscreen = false;
};

template <typename Sink>
void CViewContainer::collectDirty(const CPoint& origin, Sink&& sink) {
    for (CView* child : children) {
        const CRect& r = child->getViewSize();
        if (child->takeDirty()) sink(CRect(r).offset(origin.h, origin.v));
        if (child->isContainer())
            static_cast<CViewContainer*>(child)->collectDirty(CPoint(origin.h + r.left, origin.v + r.top),
                                                              sink);
    }
}

}  // namespace VSTGUI
