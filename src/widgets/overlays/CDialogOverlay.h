// The common part of the toolkit's modal dialogs: a centred panel with a title
// and a row of buttons, drawn above everything in the frame. Return presses the
// first button, Escape the last; the subclass draws and handles its content.
#pragma once

#include <string>
#include <vector>

#include "widgets/CView.h"

namespace VSTGUI {

class CDialogOverlay : public CView {
public:
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseUp(CDrawContext* context, CPoint& where, long buttons) override;
    long onKeyDown(VstKeyCode& key) override;
    bool onWheel(CDrawContext* context, const CPoint& where, CMouseWheelAxis axis,
                 float distance) override;

    // Frame rectangle of button `index` (for tests and the subclasses).
    CRect buttonRect(int index) const;
    const std::string& getTitle() const { return title; }
    bool isClosed() const { return closed; }

protected:
    CDialogOverlay(CFrame* frame, const std::string& title, int width, int height,
                   std::vector<std::string> buttons);
    // Opens the dialog in its frame (the frame keeps it until it closes).
    void show();
    void close();

    // The area below the title and above the buttons, in frame coordinates.
    CRect contentRect() const;
    virtual void drawContent(CDrawContext* context) = 0;
    virtual void buttonPressed(int index) = 0;
    virtual CMouseEventResult contentMouse(CDrawContext*, const CPoint&, long) {
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    virtual bool contentKey(VstKeyCode&) { return false; }
    virtual bool contentWheel(float) { return false; }
    void redraw() { invalid(); }

    CFrame* frame;
    std::string title;
    std::vector<std::string> buttons;
    int pressedButton = -1;
    bool closed = false;
};

// One line of editable text, as the dialogs use it.
struct CTextField {
    std::string text;
    size_t cursor = 0;
    size_t maxLength = 255;
    bool replaceAll = true;  // the first key typed replaces the whole text

    void set(const std::string& t) {
        text = t.substr(0, maxLength);
        cursor = text.size();
        replaceAll = true;
    }
    // True when the key edited the text or moved the cursor.
    bool key(const VstKeyCode& key);
    void draw(CDrawContext* context, const CRect& r, bool focused) const;
};

}  // namespace VSTGUI
