#include "widgets/overlays/CMenuOverlay.h"

#include <algorithm>
#include <cstdlib>

#include "widgets/CFrame.h"
#include "widgets/COptionMenu.h"
#include "widgets/COptionMenuScheme.h"

namespace VSTGUI {
namespace {
constexpr int kSeparatorHeight = 7;
constexpr int kPadding = 3;
constexpr int kMinWidth = 60;
}  // namespace

CMenuOverlay* CMenuOverlay::open(CFrame* frame, COptionMenu* menu, const CRect& anchor) {
    auto* overlay = new CMenuOverlay(frame, menu);
    overlay->openPane(menu, anchor, false);
    frame->getCurrentLocation(overlay->openedAt);
    frame->pushModal(overlay);
    overlay->forget();  // the frame holds it while it is open
    return overlay;
}

CMenuOverlay::CMenuOverlay(CFrame* frame, COptionMenu* root) : CView(CRect()), frame(frame), root(root) {
    root->remember();
}

CMenuOverlay::~CMenuOverlay() { root->forget(); }

void CMenuOverlay::openPane(COptionMenu* menu, const CRect& anchor, bool beside) {
    COptionMenuScheme* scheme = root->getScheme();
    CDrawContext measure(frame->getBackBuffer()->getSurface(), frame);
    const CRect bounds = frame->getViewSize();
    int itemHeight = scheme->getItemHeight();
    int maxColumnHeight = bounds.height() - 2 * kPadding;

    // Lay out top to bottom, starting a new column when the frame's height is used up.
    Pane pane{menu, CRect(), {}, -1};
    std::vector<int> columnOf;
    int column = 0, y = 0, tallest = 0;
    std::vector<int> columnWidths(1, kMinWidth);
    for (long i = 0; i < menu->getNbEntries(); ++i) {
        int h = menu->isSeparator(i) ? kSeparatorHeight : itemHeight;
        if (y + h > maxColumnHeight && y > 0) {
            ++column;
            columnWidths.push_back(kMinWidth);
            y = 0;
        }
        pane.items.push_back(CRect(0, y, 0, y + h));
        columnOf.push_back(column);
        y += h;
        tallest = std::max(tallest, y);
        columnWidths[column] = std::max(columnWidths[column],
                                        scheme->getItemWidth(&measure, menu->getListedText(i).c_str()));
    }
    std::vector<int> columnLeft(columnWidths.size(), 0);
    int width = 0;
    for (size_t c = 0; c < columnWidths.size(); ++c) {
        columnLeft[c] = width;
        width += columnWidths[c];
    }
    int paneWidth = width + 2 * kPadding, paneHeight = tallest + 2 * kPadding;

    // Below the anchor (beside it for sub-menus), moved back inside the frame.
    int left = beside ? anchor.right : anchor.left;
    int top = beside ? anchor.top - kPadding : anchor.bottom;
    if (beside && left + paneWidth > bounds.right) left = anchor.left - paneWidth;
    if (!beside && top + paneHeight > bounds.bottom) top = anchor.top - paneHeight;
    left = std::max(bounds.left, std::min(left, bounds.right - paneWidth));
    top = std::max(bounds.top, std::min(top, bounds.bottom - paneHeight));
    pane.rect = CRect(left, top, left + paneWidth, top + paneHeight);
    for (size_t i = 0; i < pane.items.size(); ++i) {
        CRect& r = pane.items[i];
        int c = columnOf[i];
        r = CRect(left + kPadding + columnLeft[c], top + kPadding + r.top,
                  left + kPadding + columnLeft[c] + columnWidths[c], top + kPadding + r.bottom);
    }
    panes.push_back(std::move(pane));
    frame->invalidRect(panes.back().rect);
    updateSize();
}

void CMenuOverlay::updateSize() {
    CRect all;
    for (const Pane& p : panes) all.unite(p.rect);
    size = all;
}

void CMenuOverlay::closePanesAfter(int pane) {
    while (int(panes.size()) > pane + 1) {
        frame->invalidRect(panes.back().rect);
        panes.pop_back();
    }
    updateSize();
}

bool CMenuOverlay::checkUpdate(const CRect& updateRect) const {
    for (const Pane& p : panes)
        if (p.rect.rectOverlap(updateRect)) return true;
    return false;
}

void CMenuOverlay::drawRect(CDrawContext* context, const CRect& updateRect) {
    COptionMenuScheme* scheme = root->getScheme();
    for (const Pane& p : panes) {
        if (!p.rect.rectOverlap(updateRect)) continue;
        scheme->drawBackground(context, p.rect);
        for (long i = 0; i < long(p.items.size()); ++i) {
            if (!p.items[i].rectOverlap(updateRect)) continue;
            long state = 0;
            if (p.menu->isSeparator(i)) state |= COptionMenuScheme::kSeparator;
            if (p.menu->isDisabled(i)) state |= COptionMenuScheme::kDisabled;
            if (p.menu->getSubMenu(i)) state |= COptionMenuScheme::kSubMenu;
            if (p.menu->isCheckEntry(i)) state |= COptionMenuScheme::kChecked;
            if (i == p.hot) state |= COptionMenuScheme::kSelected;
            scheme->drawItem(p.menu->getListedText(i).c_str(), state, context, p.items[i]);
        }
    }
}

CRect CMenuOverlay::itemRect(int pane, long index) const {
    if (pane < 0 || pane >= int(panes.size()) || index < 0 || index >= long(panes[pane].items.size()))
        return CRect();
    return panes[pane].items[index];
}

bool CMenuOverlay::hitItem(const CPoint& where, int& pane, long& index) const {
    for (int p = int(panes.size()) - 1; p >= 0; --p) {
        if (!panes[p].rect.pointInside(where)) continue;
        pane = p;
        index = -1;
        for (long i = 0; i < long(panes[p].items.size()); ++i)
            if (panes[p].items[i].pointInside(where)) index = i;
        return true;
    }
    return false;
}

bool CMenuOverlay::selectable(const Pane& p, long index) const {
    return index >= 0 && index < p.menu->getNbEntries() && !p.menu->isSeparator(index) &&
           !p.menu->isDisabled(index);
}

void CMenuOverlay::setHot(int pane, long index) {
    Pane& p = panes[pane];
    if (p.hot == index) return;
    if (p.hot >= 0) frame->invalidRect(p.items[p.hot]);
    p.hot = index;
    if (index >= 0) frame->invalidRect(p.items[index]);
}

void CMenuOverlay::finish(COptionMenu* chosenIn, long index, CDrawContext* context) {
    if (closing) return;
    closing = true;
    remember();
    frame->popModal(this);
    root->menuClosed(chosenIn, index, context);
    forget();
}

CMouseEventResult CMenuOverlay::mouse(CDrawContext* context, CPoint& where, long buttons) {
    armed = true;
    int pane;
    long index;
    if (!hitItem(where, pane, index)) finish(nullptr, -1, context);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CMenuOverlay::mouseMoved(CDrawContext* context, CPoint& where, long buttons) {
    if (std::abs(where.h - openedAt.h) > 3 || std::abs(where.v - openedAt.v) > 3) armed = true;
    int pane;
    long index;
    if (!hitItem(where, pane, index)) return kMouseEventHandled;
    if (index < 0 || panes[pane].menu->isSeparator(index)) return kMouseEventHandled;
    if (panes[pane].hot != index) closePanesAfter(pane);
    setHot(pane, index);
    if (COptionMenu* sub = panes[pane].menu->getSubMenu(index))
        if (int(panes.size()) == pane + 1 && !panes[pane].menu->isDisabled(index))
            openPane(sub, panes[pane].items[index], true);
    return kMouseEventHandled;
}

CMouseEventResult CMenuOverlay::mouseUp(CDrawContext* context, CPoint& where, long buttons) {
    if (!armed) {
        armed = true;
        return kMouseEventHandled;
    }
    int pane;
    long index;
    if (hitItem(where, pane, index) && selectable(panes[pane], index) &&
        !panes[pane].menu->getSubMenu(index))
        finish(panes[pane].menu, index, context);
    return kMouseEventHandled;
}

void CMenuOverlay::moveHot(int direction) {
    Pane& p = panes.back();
    long n = p.menu->getNbEntries();
    if (n == 0) return;
    long i = p.hot;
    for (long step = 0; step < n; ++step) {
        i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
        if (!p.menu->isSeparator(i)) break;
    }
    setHot(int(panes.size()) - 1, i);
}

long CMenuOverlay::onKeyDown(VstKeyCode& key) {
    armed = true;
    int last = int(panes.size()) - 1;
    Pane& p = panes.back();
    CDrawContext context(frame->getBackBuffer()->getSurface(), frame);
    switch (key.virt) {
        case VKEY_UP: moveHot(-1); return 1;
        case VKEY_DOWN: moveHot(+1); return 1;
        case VKEY_LEFT:
            if (last > 0) closePanesAfter(last - 1);
            return 1;
        case VKEY_ESCAPE:
            if (last > 0)
                closePanesAfter(last - 1);
            else
                finish(nullptr, -1, &context);
            return 1;
        case VKEY_RIGHT:
        case VKEY_RETURN:
        case VKEY_ENTER:
        case VKEY_SPACE: {
            if (p.hot < 0 || p.menu->isDisabled(p.hot)) return 1;
            if (COptionMenu* sub = p.menu->getSubMenu(p.hot)) {
                openPane(sub, p.items[p.hot], true);
                moveHot(+1);
            } else if (key.virt != VKEY_RIGHT) {
                finish(p.menu, p.hot, &context);
            }
            return 1;
        }
        default: return 1;  // a menu swallows every key while it is open
    }
}

}  // namespace VSTGUI
