#include "editor/blueOptionMenu.h"

#include <algorithm>

#include "editor/BitmapFont.h"
#include "editor/brennixEditorListener.h"
#include "widgets/CBitmap.h"

using namespace VSTGUI;

void drawReadout(CDrawContext* context, CBitmap* readout, const CRect& area) {
    if (!readout) return;
    constexpr int kEdge = 4;
    int w = std::min(area.width(), readout->getWidth()), h = std::min(area.height(), readout->getHeight());
    int leftPart = std::max(0, w - kEdge), topPart = std::max(0, h - kEdge);
    int rightPart = w - leftPart, bottomPart = h - topPart;
    int srcRight = readout->getWidth() - rightPart, srcBottom = readout->getHeight() - bottomPart;
    auto piece = [&](int dx, int dy, int pw, int ph, int sx, int sy) {
        if (pw > 0 && ph > 0)
            readout->drawAlphaBlend(context, CRect(area.left + dx, area.top + dy, area.left + dx + pw,
                                                   area.top + dy + ph),
                                    CPoint(sx, sy));
    };
    piece(0, 0, leftPart, topPart, 0, 0);
    piece(leftPart, 0, rightPart, topPart, srcRight, 0);
    piece(0, topPart, leftPart, bottomPart, 0, srcBottom);
    piece(leftPart, topPart, rightPart, bottomPart, srcRight, srcBottom);
}

blueOptionMenu::blueOptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* readout,
                               BitmapFonts* fonts)
    : COptionMenu(size, listener, tag, readout), fonts(fonts) {}

void blueOptionMenu::setTitle(const char* text) {
    title = text ? std::string(text).substr(0, 127) : std::string();
    setDirty();
}

std::string blueOptionMenu::faceText() const {
    if (!title.empty()) return title;
    return getEntryText(getCurrent());
}

void blueOptionMenu::draw(CDrawContext* context) {
    drawReadout(context, pBackground, size);
    drawGlyphs(context, faceText().c_str());
}

void blueOptionMenu::drawGlyphs(CDrawContext* context, const char* text) {
    if (fonts) BitmapFont::draw(context, fonts->text(), text, size, true);
}

CMouseEventResult blueOptionMenu::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if ((buttons & kRButton) && tag != 9999) {
        if (brennixEditorListener* editor = editorListenerOf(this))
            editor->openLearnMenu(this, framePoint(this, where));
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (!(buttons & (kLButton | kRButton))) return kMouseEventNotHandled;
    if ((buttons & (kShift | kControl | kAlt)) && listener &&
        listener->controlModifierClicked(context, this, buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
