// A rotary knob edited by a vertical drag: 200 pixels cover the whole range,
// ten times finer while Shift is held; the wheel moves it by its wheel step.
// CKnob draws a pointer line over its background; CAnimKnob (its own file)
// shows one frame of a vertical strip instead.
#pragma once

#include "widgets/CControl.h"

namespace VSTGUI {

class CKnob : public CControl {
public:
    CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseMoved(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseUp(CDrawContext* context, CPoint& where, long buttons) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;

    void setColorHandle(const CColor& c) { handleColor = c; }
    // Pixels for the whole range, and the fine-mode factor.
    void setDragRange(float pixels) { dragRange = pixels; }
    void setZoomFactor(float factor) { zoomFactor = factor; }

protected:
    // The per-pixel step of a drag: the range over `pixels`.
    float stepFor(float pixels) const { return (vmax - vmin) / pixels; }

    // Drag state: start value and height, the current step and Shift state.
    float dragStartValue = 0;
    int dragStartY = 0;
    float dragStep = 0;
    bool dragFine = false;
    bool dragging = false;

private:
    CColor handleColor{230, 230, 230, 255};
    float dragRange = 200.0f;
    float zoomFactor = 10.0f;
};

}  // namespace VSTGUI
