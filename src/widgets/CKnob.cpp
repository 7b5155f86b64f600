#include "widgets/CKnob.h"

#include <cmath>

#include "widgets/CBitmap.h"

namespace VSTGUI {

CKnob::CKnob(const CRect& size, CControlListener* listener, long tag, CBitmap* background)
    : CControl(size, listener, tag, background) {}

void CKnob::draw(CDrawContext* context) {
    if (pBackground) pBackground->drawAlphaBlend(context, size);
    // The pointer sweeps 270 degrees, from lower left (min) to lower right (max).
    float share = vmax > vmin ? (value - vmin) / (vmax - vmin) : 0.0f;
    double angle = (225.0 - 270.0 * share) * M_PI / 180.0;
    double cx = size.left + size.width() / 2.0, cy = size.top + size.height() / 2.0;
    double radius = std::min(size.width(), size.height()) / 2.0 - 3.0;
    cairo_t* cr = context->getCairo();
    cairo_set_source_rgba(cr, handleColor.red / 255.0, handleColor.green / 255.0,
                          handleColor.blue / 255.0, handleColor.alpha / 255.0);
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + std::cos(angle) * radius * 0.3, cy - std::sin(angle) * radius * 0.3);
    cairo_line_to(cr, cx + std::cos(angle) * radius, cy - std::sin(angle) * radius);
    cairo_stroke(cr);
}

CMouseEventResult CKnob::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    dragFine = (buttons & kShift) != 0;
    dragStep = stepFor(dragFine ? dragRange * zoomFactor : dragRange);
    dragStartValue = value;
    dragStartY = where.v;
    dragging = true;
    beginEdit();
    return kMouseEventHandled;
}

CMouseEventResult CKnob::mouseMoved(CDrawContext* context, CPoint& where, long buttons) {
    if (!dragging) return kMouseEventNotHandled;
    bool fine = (buttons & kShift) != 0;
    if (fine != dragFine) {
        // Re-base so that the value stays where it is when the resolution changes.
        float newStep = stepFor(fine ? dragRange * zoomFactor : dragRange);
        dragStartValue += (dragStep - newStep) * float(dragStartY - where.v);
        dragStep = newStep;
        dragFine = fine;
    }
    value = dragStartValue + float(dragStartY - where.v) * dragStep;
    bounceValue();
    setDirty();
    notify(context);
    return kMouseEventHandled;
}

CMouseEventResult CKnob::mouseUp(CDrawContext* context, CPoint& where, long buttons) {
    if (!dragging) return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool CKnob::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    value += distance * wheelInc * (vmax - vmin);
    bounceValue();
    setDirty();
    beginEdit();
    notify(context);
    endEdit();
    return true;
}

}  // namespace VSTGUI
