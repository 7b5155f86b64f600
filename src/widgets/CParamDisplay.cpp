#include "widgets/CParamDisplay.h"

#include <cstdio>

#include "widgets/CBitmap.h"

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, long style)
    : CControl(size, nullptr, 0, background), style(style) {
    if (background) transparent = false;
}

void CParamDisplay::drawBack(CDrawContext* context) {
    if (pBackground) {
        pBackground->drawAlphaBlend(context, size);
        return;
    }
    if (!transparent) {
        context->setFillColor(backColor);
        context->fillRect(size);
    }
    if (!(style & kNoFrame)) {
        context->setFrameColor(frameColor);
        context->drawRect(size);
    }
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, const CRect& area) {
    if (style & kNoTextStyle) return;
    context->setFont(font, 0, txtFace);
    context->setFontColor(fontColor);
    CRect inner = area;
    if (horiAlign == kLeftText) inner.left += 2;
    if (horiAlign == kRightText) inner.right -= 2;
    context->drawString(text, inner, false, horiAlign);
}

void CParamDisplay::draw(CDrawContext* context) {
    if (style & kNoDrawStyle) return;
    char text[256];
    if (stringConvert)
        stringConvert(value, text);
    else
        std::snprintf(text, sizeof text, "%2.2f", double(value));
    drawBack(context);
    drawText(context, text, size);
}

}  // namespace VSTGUI
