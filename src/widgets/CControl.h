// A view with a value between min and max, a tag naming what it edits and a
// listener told of every change the user makes.
#pragma once

#include "widgets/CView.h"

namespace VSTGUI {

class CControl;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // A click with modifiers, offered before the control acts; non-zero consumes it.
    virtual long controlModifierClicked(CDrawContext* context, CControl* control, long buttons) {
        return 0;
    }
};

class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener = nullptr, long tag = 0,
             CBitmap* background = nullptr);

    void draw(CDrawContext* context) override;

    virtual void setValue(float value);
    virtual float getValue() const { return value; }
    virtual void setMin(float v) { vmin = v; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float v) { vmax = v; }
    virtual float getMax() const { return vmax; }
    virtual void setOldValue(float v) { oldValue = v; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float v) { defaultValue = v; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(long t) { tag = t; }
    virtual long getTag() const { return tag; }
    // Framing of a gesture, passed through the frame to the host.
    virtual void beginEdit();
    virtual void endEdit();

    void setListener(CControlListener* l) { listener = l; }
    CControlListener* getListener() const { return listener; }
    // Keeps the value inside min..max (NaN becomes min).
    void bounceValue();
    // Tells the listener of the current value.
    void notify(CDrawContext* context);

    // Mouse-wheel step (value units per wheel step).
    void setWheelInc(float inc) { wheelInc = inc; }
    float getWheelInc() const { return wheelInc; }

protected:
    CControlListener* listener;
    long tag;
    float value = 0.0f;
    float vmin = 0.0f, vmax = 1.0f;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
};

}  // namespace VSTGUI
