// The base of everything shown in a frame: a rectangle in its parent's
// coordinates, flags for mouse and transparency, an optional background and a
// dirty flag. The dirty flag may be set from any thread (the frame's idle
// collects it); everything else belongs to the user-interface thread.
#pragma once

#include <atomic>

#include "vst/AEffGUIEditor.h"
#include "vst/VstKeys.h"
#include "widgets/CDrawContext.h"
#include "widgets/CGeometry.h"
#include "widgets/CReferenceCounter.h"

namespace VSTGUI {

class CBitmap;
class CDragContainer;
class CFrame;
class CViewContainer;

// Mouse button and modifier flags as passed to `mouse`.
enum CButton : long {
    kLButton = 1,
    kMButton = 2,
    kRButton = 4,
    kShift = 8,
    kControl = 16,
    kAlt = 32,
};

// A press that returns kMouseEventHandled gets the moves and the release that
// follow it, wherever the pointer goes, until the button is released.
enum CMouseEventResult {
    kMouseEventNotHandled = 0,
    kMouseEventHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

enum CMouseWheelAxis { kMouseWheelAxisX, kMouseWheelAxisY };

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    // Draws the part of the view inside `updateRect` (the view's own coordinates
    // are those of its parent, like `updateRect`); the default draws it all.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }

    virtual CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons);
    virtual CMouseEventResult mouseMoved(CDrawContext* context, CPoint& where, long buttons);
    virtual CMouseEventResult mouseUp(CDrawContext* context, CPoint& where, long buttons);

    virtual void setBackground(CBitmap* background);
    virtual CBitmap* getBackground() const { return pBackground; }

    // 1 when the key was used, -1 when not.
    virtual long onKeyDown(VstKeyCode& key) { return -1; }
    virtual long onKeyUp(VstKeyCode& key) { return -1; }
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance) { return false; }
    virtual bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                         float distance) {
        return axis == kMouseWheelAxisY && onWheel(context, where, distance);
    }

    virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) {
        return false;
    }
    virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}
    virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}
    virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) {}

    virtual void looseFocus(CDrawContext* context = nullptr) {}
    virtual void takeFocus(CDrawContext* context = nullptr) {}

    virtual bool isDirty() const { return dirty.load(std::memory_order_relaxed); }
    // Marks the view for redrawing at the frame's next idle; safe from any thread.
    virtual void setDirty(bool state = true);
    void invalid() { setDirty(true); }

    virtual bool isContainer() const { return false; }

    void setMouseEnabled(bool enabled) { mouseEnabled = enabled; }
    bool getMouseEnabled() const { return mouseEnabled; }
    void setTransparency(bool state) { transparent = state; }
    bool getTransparency() const { return transparent; }

    void getViewSize(CRect& r) const { r = size; }
    const CRect& getViewSize() const { return size; }
    // Moves or resizes the view; the area it left is redrawn too.
    virtual void setViewSize(const CRect& newSize, bool invalidate = true);
    int getWidth() const { return size.width(); }
    int getHeight() const { return size.height(); }

    CFrame* getFrame() const { return parentFrame.load(std::memory_order_acquire); }
    CViewContainer* getParentView() const { return parentView; }
    // Called by a container when the view is added to it or taken out.
    virtual void attached(CViewContainer* parent, CFrame* frame);
    virtual void removed();
    bool isAttached() const { return getFrame() != nullptr; }

    // Converts between the parent's coordinates and the frame's.
    CPoint& localToFrame(CPoint& p) const;
    CPoint& frameToLocal(CPoint& p) const;
    CRect& localToFrame(CRect& r) const;

    // Takes the dirty flag, for the frame's idle: true when it was set.
    bool takeDirty() { return dirty.exchange(false, std::memory_order_acq_rel); }

protected:
    CRect size;
    bool mouseEnabled = true;
    bool transparent = false;
    CBitmap* pBackground = nullptr;
    CViewContainer* parentView = nullptr;
    std::atomic<CFrame*> parentFrame{nullptr};
    std::atomic<bool> dirty{false};
};

}  // namespace VSTGUI
