#include "editor/blueTextArrayButton.h"

#include "editor/BitmapFont.h"
#include "editor/blueOptionMenu.h"
#include "widgets/COptionMenuScheme.h"

using namespace VSTGUI;

blueTextArrayButton::blueTextArrayButton(const CRect& size, CControlListener* listener, long tag,
                                         CBitmap* readout, BitmapFonts* fonts, const char* const* labels,
                                         int count, int glyphOffset, bool centred)
    : CParamDisplay(size, readout),
      fonts(fonts),
      labels(labels),
      count(count < 1 ? 1 : count),
      glyphOffset(glyphOffset),
      centred(centred) {
    this->listener = listener;
    this->tag = tag;
}

int blueTextArrayButton::getIndex() const {
    int index = int(value * (float(count) - 1.0f + 0.99f));
    return index < 0 ? 0 : index >= count ? count - 1 : index;
}

void blueTextArrayButton::draw(CDrawContext* context) {
    if (pBackground) {
        drawReadout(context, pBackground, size);
    } else {
        const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
        context->setFillColor(c.readoutBackground);
        context->fillRect(size);
        context->setFrameColor(c.frame);
        context->drawRect(size);
    }
    if (labels) drawGlyphs(context, labels[getIndex()]);
}

void blueTextArrayButton::drawGlyphs(CDrawContext* context, const char* text) {
    if (fonts) BitmapFont::draw(context, fonts->text(), text, size, centred, glyphOffset);
}

CMouseEventResult blueTextArrayButton::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & (kLButton | kMButton | kRButton))) return kMouseEventNotHandled;
    int next = (getIndex() + 1) % count;
    value = (float(next) + 0.5f) / (float(count) - 1.0f + 0.99f);
    setDirty();
    notify(context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
