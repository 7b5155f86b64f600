#include "editor/blueButtonMenu.h"

#include "widgets/CBitmap.h"

using namespace VSTGUI;

blueButtonMenu::blueButtonMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* face)
    : blueOptionMenu(size, listener, tag, face, nullptr) {}

void blueButtonMenu::draw(CDrawContext* context) {
    if (pBackground) pBackground->drawAlphaBlend(context, size);
}
