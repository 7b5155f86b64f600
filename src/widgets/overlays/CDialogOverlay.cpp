#include "widgets/overlays/CDialogOverlay.h"

#include "widgets/CFrame.h"
#include "widgets/COptionMenuScheme.h"

namespace VSTGUI {
namespace {
constexpr int kTitleHeight = 24;
constexpr int kButtonHeight = 22;
constexpr int kButtonWidth = 72;
constexpr int kMargin = 10;
}  // namespace

CDialogOverlay::CDialogOverlay(CFrame* frame, const std::string& title, int width, int height,
                               std::vector<std::string> buttons)
    : CView(CRect()), frame(frame), title(title), buttons(std::move(buttons)) {
    const CRect& f = frame->getViewSize();
    width = std::min(width, f.width());
    height = std::min(height, f.height());
    int left = (f.width() - width) / 2, top = (f.height() - height) / 2;
    size = CRect(left, top, left + width, top + height);
}

void CDialogOverlay::show() {
    frame->pushModal(this);
    frame->setFocusView(this);
    forget();  // the frame holds it now
}

void CDialogOverlay::close() {
    if (closed) return;
    closed = true;
    frame->popModal(this);
}

CRect CDialogOverlay::contentRect() const {
    return CRect(size.left + kMargin, size.top + kTitleHeight + 6, size.right - kMargin,
                 size.bottom - kButtonHeight - 2 * kMargin);
}

CRect CDialogOverlay::buttonRect(int index) const {
    int count = int(buttons.size());
    int right = size.right - kMargin - (count - 1 - index) * (kButtonWidth + 8);
    return CRect(right - kButtonWidth, size.bottom - kMargin - kButtonHeight, right,
                 size.bottom - kMargin);
}

void CDialogOverlay::drawRect(CDrawContext* context, const CRect&) {
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    context->setFillColor(c.background);
    context->fillRect(size);
    context->setFillColor(c.readoutBackground);
    context->fillRect(CRect(size.left, size.top, size.right, size.top + kTitleHeight));
    context->setFrameColor(c.frame);
    context->drawRect(size);
    context->setFont(kNormalFont, 0, kBoldFace);
    context->setFontColor(c.text);
    context->drawString(title.c_str(), CRect(size.left + kMargin, size.top, size.right - kMargin,
                                             size.top + kTitleHeight),
                        false, kLeftText);
    context->saveState();
    context->clipTo(contentRect());
    drawContent(context);
    context->restoreState();
    for (int i = 0; i < int(buttons.size()); ++i) {
        CRect r = buttonRect(i);
        bool pressed = i == pressedButton;
        context->setFillColor(pressed ? c.selectedBackground : c.readoutBackground);
        context->fillRect(r);
        context->setFrameColor(i == 0 ? c.active : c.frame);
        context->drawRect(r);
        context->setFont(kNormalFontSmall, 0, kBoldFace);
        context->setFontColor(pressed ? c.selectedText : c.text);
        context->drawString(buttons[i].c_str(), r, false, kCenterText);
    }
}

CMouseEventResult CDialogOverlay::mouse(CDrawContext* context, CPoint& where, long buttonsHeld) {
    if (!(buttonsHeld & kLButton)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    for (int i = 0; i < int(buttons.size()); ++i)
        if (buttonRect(i).pointInside(where)) {
            pressedButton = i;
            redraw();
            return kMouseEventHandled;
        }
    if (contentRect().pointInside(where)) return contentMouse(context, where, buttonsHeld);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;  // outside: modal, nothing happens
}

CMouseEventResult CDialogOverlay::mouseUp(CDrawContext*, CPoint& where, long) {
    int pressed = pressedButton;
    pressedButton = -1;
    redraw();
    if (pressed >= 0 && buttonRect(pressed).pointInside(where)) {
        remember();
        buttonPressed(pressed);
        forget();
    }
    return kMouseEventHandled;
}

long CDialogOverlay::onKeyDown(VstKeyCode& key) {
    remember();
    if (!contentKey(key)) {
        if (key.virt == VKEY_RETURN || key.virt == VKEY_ENTER)
            buttonPressed(0);
        else if (key.virt == VKEY_ESCAPE)
            buttonPressed(int(buttons.size()) - 1);
    }
    forget();
    return 1;
}

bool CDialogOverlay::onWheel(CDrawContext*, const CPoint&, CMouseWheelAxis axis, float distance) {
    if (axis == kMouseWheelAxisY && contentWheel(distance)) redraw();
    return true;
}

bool CTextField::key(const VstKeyCode& k) {
    if ((k.virt == 0 || k.virt == VKEY_SPACE) && k.character >= 32 && k.character < 127) {
        if (replaceAll) {
            text.clear();
            cursor = 0;
        }
        replaceAll = false;
        if (text.size() < maxLength) text.insert(cursor++, 1, char(k.character));
        return true;
    }
    switch (k.virt) {
        case VKEY_BACK:
            if (replaceAll) {
                text.clear();
                cursor = 0;
            } else if (cursor > 0) {
                text.erase(--cursor, 1);
            }
            break;
        case VKEY_DELETE:
            if (replaceAll) {
                text.clear();
                cursor = 0;
            } else if (cursor < text.size()) {
                text.erase(cursor, 1);
            }
            break;
        case VKEY_LEFT:
            if (cursor > 0) --cursor;
            break;
        case VKEY_RIGHT:
            if (cursor < text.size()) ++cursor;
            break;
        case VKEY_HOME: cursor = 0; break;
        case VKEY_END: cursor = text.size(); break;
        default: return false;
    }
    replaceAll = false;
    return true;
}

void CTextField::draw(CDrawContext* context, const CRect& r, bool focused) const {
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    context->setFillColor(c.readoutBackground);
    context->fillRect(r);
    context->setFrameColor(focused ? c.active : c.frame);
    context->drawRect(r);
    context->setFont(kNormalFontSmall);
    CRect inner(r.left + 4, r.top, r.right - 4, r.bottom);
    if (replaceAll && focused && !text.empty()) {
        int w = context->getStringWidth(text.c_str());
        context->setFillColor(c.selectedBackground);
        context->fillRect(CRect(inner.left, r.top + 3, std::min(inner.left + w, inner.right), r.bottom - 3));
        context->setFontColor(c.selectedText);
    } else {
        context->setFontColor(c.text);
    }
    context->drawString(text.c_str(), inner, false, kLeftText);
    if (focused && !replaceAll) {
        int x = inner.left + context->getStringWidth(text.substr(0, cursor).c_str());
        context->setFrameColor(c.text);
        context->drawLine(CPoint(x, r.top + 4), CPoint(x, r.bottom - 5));
    }
}

}  // namespace VSTGUI
