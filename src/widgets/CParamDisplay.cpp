#include "widgets/CParamDisplay.h"

#include <cstdio>

#include "widgets/CBitmap.h"

namespace VSTGUI {
namespace {
constexpr int kSmallestTextSize = 8;
}

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
    // A text too wide for the display is set smaller, down to a size still
    // readable; if it cannot fit even then, its beginning shows.
    CHoriTxtAlign align = horiAlign;
    for (int size = context->getFontSize() - 1; size >= kSmallestTextSize; --size) {
        if (context->getStringWidth(text) <= inner.width()) break;
        context->setFont(font, size, txtFace);
    }
    if (context->getStringWidth(text) > inner.width()) {
        align = kLeftText;
        inner.left = area.left + 2;
    }
    context->drawString(text, inner, false, align);
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
