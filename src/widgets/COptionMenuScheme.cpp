#include "widgets/COptionMenuScheme.h"

namespace VSTGUI {
namespace {
COptionMenuScheme* installed = nullptr;
}

COptionMenuScheme::COptionMenuScheme() {
    // Dark panels with a warm accent; the alternative set is a light, high-contrast one.
    defaultSet = Colors{{28, 30, 34, 255},    {90, 96, 104, 255},  {226, 228, 232, 255},
                        {232, 140, 40, 255},  {16, 16, 18, 255},   {112, 116, 124, 255},
                        {70, 74, 80, 255},    {20, 22, 25, 255},   {240, 150, 45, 255},
                        {58, 62, 68, 255}};
    alternativeSet = Colors{{236, 236, 232, 255}, {120, 120, 120, 255}, {20, 20, 20, 255},
                            {40, 90, 170, 255},   {255, 255, 255, 255}, {150, 150, 150, 255},
                            {180, 180, 180, 255}, {245, 245, 240, 255}, {40, 110, 200, 255},
                            {190, 195, 200, 255}};
}

COptionMenuScheme* COptionMenuScheme::current() {
    static COptionMenuScheme fallback;
    return installed ? installed : &fallback;
}

void COptionMenuScheme::setCurrent(COptionMenuScheme* scheme) { installed = scheme; }

int COptionMenuScheme::getItemWidth(CDrawContext* context, const char* text) {
    context->setFont(kNormalFontSmall);
    return context->getStringWidth(text) + 36;  // check mark left, sub-menu arrow right
}

void COptionMenuScheme::drawBackground(CDrawContext* context, const CRect& rect) {
    const Colors& c = colors();
    context->setFillColor(c.background);
    context->fillRect(rect);
    context->setFrameColor(c.frame);
    context->drawRect(rect);
}

void COptionMenuScheme::drawItem(const char* text, long state, CDrawContext* context, const CRect& rect) {
    const Colors& c = colors();
    if (state & kSeparator) {
        int y = rect.top + rect.height() / 2;
        context->setFrameColor(c.separator);
        context->drawLine(CPoint(rect.left + 4, y), CPoint(rect.right - 5, y));
        return;
    }
    bool selected = (state & kSelected) && !(state & kDisabled);
    if (selected) {
        context->setFillColor(c.selectedBackground);
        context->fillRect(rect);
    }
    CColor textColor = (state & kDisabled) ? c.disabledText : selected ? c.selectedText : c.text;
    context->setFont(kNormalFontSmall);
    context->setFontColor(textColor);
    context->drawString(text, CRect(rect.left + 18, rect.top, rect.right - 14, rect.bottom), false,
                        kLeftText);
    cairo_t* cr = context->getCairo();
    cairo_set_source_rgba(cr, textColor.red / 255.0, textColor.green / 255.0, textColor.blue / 255.0, 1);
    double mid = rect.top + rect.height() / 2.0;
    if (state & kChecked) {
        cairo_set_line_width(cr, 1.6);
        cairo_move_to(cr, rect.left + 5, mid);
        cairo_line_to(cr, rect.left + 8, mid + 3);
        cairo_line_to(cr, rect.left + 13, mid - 4);
        cairo_stroke(cr);
    }
    if (state & kSubMenu) {
        cairo_move_to(cr, rect.right - 10, mid - 4);
        cairo_line_to(cr, rect.right - 6, mid);
        cairo_line_to(cr, rect.right - 10, mid + 4);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

}  // namespace VSTGUI
