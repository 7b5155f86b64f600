#include "widgets/CFrame.h"

#include <algorithm>

#include "vst/AEffGUIEditor.h"
#include "widgets/MessageRouting.h"
#include "widgets/overlays/CMessageBox.h"

namespace VSTGUI {
namespace {
// Beyond this many separate areas one idle redraws their union instead.
constexpr size_t kMaxRegions = 16;

bool touches(const CRect& a, const CRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}
}  // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor)
    : CViewContainer(CRect(0, 0, size.width(), size.height())), editor(editor) {
    init();
    window = NativeWindow::open(systemWindow, size.width(), size.height(), openError);
    open = window != nullptr;
    if (open) messages::attach(this);
}

CFrame::CFrame(const CRect& size, AEffGUIEditor* editor)
    : CViewContainer(CRect(0, 0, size.width(), size.height())), editor(editor) {
    init();
    open = true;
}

void CFrame::init() {
    parentFrame.store(this);
    backBuffer = std::make_unique<COffscreenContext>(size.width(), size.height(), kBlackCColor, this);
    regions.reserve(kMaxRegions + 1);
}

CFrame::~CFrame() {
    if (window) messages::detach(this);
    releaseTracking();
    while (!modals.empty()) popModal(modals.back());
    removeAll(true);
    window.reset();  // destroys the window and closes the display connection
}

void CFrame::setDirty(bool state) {
    CView::setDirty(state);
}

void CFrame::invalidRect(const CRect& frameRect) {
    CRect r = frameRect;
    r.bound(size);
    if (!r.isEmpty()) addRegion(r);
}

void CFrame::addRegion(const CRect& r) {
    CRect merged = r;
    // Fold every region the new one touches into it, so regions never overlap.
    for (size_t i = 0; i < regions.size();) {
        if (touches(regions[i], merged)) {
            merged.unite(regions[i]);
            regions[i] = regions.back();
            regions.pop_back();
            i = 0;
        } else {
            ++i;
        }
    }
    regions.push_back(merged);
    if (regions.size() > kMaxRegions) {
        CRect all;
        for (const CRect& x : regions) all.unite(x);
        regions.assign(1, all);
    }
}

void CFrame::idle() {
    if (inIdle) return;
    inIdle = true;
    if (window) {
        events.clear();
        window->pollEvents(events);
        for (const NativeEvent& e : events) handleEvent(e);
    }
    showQueuedMessages();

    if (anyDirty.exchange(false, std::memory_order_acq_rel)) {
        if (takeDirty()) invalidRect(size);
        collectDirty(CPoint(0, 0), [this](const CRect& r) { invalidRect(r); });
        for (CView* modal : modals)
            if (modal->takeDirty()) invalidRect(modal->getViewSize());
    }
    lastUpdate.clear();
    if (!regions.empty()) {
        for (const CRect& r : regions) {
            backBuffer->saveState();
            backBuffer->clipTo(r);
            drawRect(backBuffer.get(), r);
            backBuffer->restoreState();
            lastUpdate.push_back(r);
        }
        for (const CRect& r : regions) blits.push_back(r);
        regions.clear();
    }
    if (!blits.empty()) {
        if (window && window->isAlive()) window->present(backBuffer->getSurface(), blits);
        blits.clear();
    }
    inIdle = false;
}

void CFrame::redrawAll() {
    takeDirty();
    collectDirty(CPoint(0, 0), [](const CRect&) {});
    for (CView* modal : modals) modal->takeDirty();
    regions.clear();
    drawRect(backBuffer.get(), size);
    blits.assign(1, size);
}

bool CFrame::writePng(const std::string& path) {
    redrawAll();
    return backBuffer->writePng(path);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
    CViewContainer::drawRect(context, updateRect);
    for (CView* modal : modals) {
        if (!modal->checkUpdate(updateRect)) continue;
        CRect area = updateRect;
        area.bound(modal->getViewSize());
        context->saveState();
        context->clipTo(area);
        modal->drawRect(context, area);
        context->restoreState();
    }
}

CMouseEventResult CFrame::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (buttons == -1) buttons = buttonState;
    return CViewContainer::mouse(context, where, buttons);
}

CView* CFrame::getViewAt(const CPoint& where, bool deep) const {
    return CViewContainer::getViewAt(where, deep);
}

void CFrame::beginMouseTracking(CView* view) {
    if (view == tracking) return;
    releaseTracking();
    tracking = view;
    if (tracking) tracking->remember();
}

void CFrame::releaseTracking() {
    if (!tracking) return;
    CView* v = tracking;
    tracking = nullptr;
    v->forget();
}

void CFrame::viewRemoved(CView* view) {
    if (view == focus) focus = nullptr;
}

void CFrame::setFocusView(CView* view) {
    if (view == focus) return;
    CView* old = focus;
    focus = view;
    if (old) old->looseFocus(backBuffer.get());
    if (focus) {
        focus->takeFocus(backBuffer.get());
        if (window) window->takeKeyboardFocus();
    }
}

void CFrame::pushModal(CView* view) {
    if (!view) return;
    releaseTracking();
    modals.push_back(view);
    view->remember();
    view->attached(this, this);
    invalidRect(view->getViewSize());
}

void CFrame::popModal(CView* view) {
    auto it = std::find(modals.begin(), modals.end(), view);
    if (it == modals.end()) return;
    modals.erase(it);
    if (tracking == view) releaseTracking();
    if (focus == view) focus = nullptr;
    invalidRect(view->getViewSize());
    view->attached(nullptr, nullptr);
    view->forget();
}

void CFrame::beginEdit(long index) {
    if (editor) editor->beginEdit(int(index));
}

void CFrame::endEdit(long index) {
    if (editor) editor->endEdit(int(index));
}

void CFrame::queueMessage(const std::string& text) {
    std::lock_guard<std::mutex> lock(messageMutex);
    messages.push_back(text);
}

void CFrame::showQueuedMessages() {
    if (showingMessage) return;
    std::string text;
    {
        std::lock_guard<std::mutex> lock(messageMutex);
        if (messages.empty()) return;
        text = std::move(messages.front());
        messages.pop_front();
    }
    showingMessage = true;
    CMessageBox::show(this, text, [this] { showingMessage = false; });
}

CView* CFrame::wheelTarget(const CPoint& where) const { return getViewAt(where, true); }

void CFrame::handleEvent(const NativeEvent& e) {
    if (e.type != NativeEvent::kExpose) messages::noteActivity(this);
    if (tracking && !tracking->isAttached()) releaseTracking();
    CDrawContext context(backBuffer->getSurface(), this);
    // Points for the tracked view, in its parent's coordinates.
    auto toTracked = [this, &context](CPoint p) {
        CPoint origin(0, 0);
        tracking->localToFrame(origin);
        context.translate(origin.h, origin.v);
        return p.offset(-origin.h, -origin.v);
    };
    switch (e.type) {
        case NativeEvent::kMouseDown: {
            location = e.where;
            buttonState = e.buttons;
            if (tracking) break;  // a second button during a drag
            CPoint p = e.where;
            if (CView* modal = getModalView()) {
                modal->remember();
                if (modal->mouse(&context, p, e.buttons) == kMouseEventHandled && modal->isAttached())
                    beginMouseTracking(modal);
                modal->forget();
            } else {
                mouse(&context, p, e.buttons);
            }
            break;
        }
        case NativeEvent::kMouseMove: {
            location = e.where;
            buttonState = e.buttons;
            if (tracking) {
                CPoint p = toTracked(e.where);
                tracking->mouseMoved(&context, p, e.buttons);
            } else if (CView* modal = getModalView()) {
                CPoint p = e.where;
                modal->mouseMoved(&context, p, e.buttons);
            }
            break;
        }
        case NativeEvent::kMouseUp: {
            location = e.where;
            buttonState = e.buttons;
            if (tracking) {
                CView* view = tracking;
                view->remember();
                CPoint p = toTracked(e.where);
                releaseTracking();
                view->mouseUp(&context, p, e.buttons);
                view->forget();
            } else if (CView* modal = getModalView()) {
                CPoint p = e.where;
                modal->mouseUp(&context, p, e.buttons);
            }
            break;
        }
        case NativeEvent::kWheel: {
            location = e.where;
            CMouseWheelAxis axis = e.horizontal ? kMouseWheelAxisX : kMouseWheelAxisY;
            if (CView* modal = getModalView())
                modal->onWheel(&context, e.where, axis, e.wheel);
            else if (!tracking)
                onWheel(&context, e.where, axis, e.wheel);
            break;
        }
        case NativeEvent::kKeyDown:
        case NativeEvent::kKeyUp: {
            bool down = e.type == NativeEvent::kKeyDown;
            VstKeyCode key = e.key;
            long modifiers = buttonState & ~(kShift | kControl | kAlt);
            if (key.modifier & MODIFIER_SHIFT) modifiers |= kShift;
            if (key.modifier & MODIFIER_CONTROL) modifiers |= kControl;
            if (key.modifier & MODIFIER_ALTERNATE) modifiers |= kAlt;
            if (tracking && modifiers != buttonState) {
                // A modifier changed during a drag: the tracked view sees it at once.
                buttonState = modifiers;
                CPoint p = toTracked(location);
                tracking->mouseMoved(&context, p, buttonState);
                break;
            }
            buttonState = modifiers;
            CView* target = getModalView() ? getModalView() : focus;
            long used = -1;
            if (target) used = down ? target->onKeyDown(key) : target->onKeyUp(key);
            if (used == -1 && !getModalView() && editor)
                down ? editor->onKeyDown(key) : editor->onKeyUp(key);
            break;
        }
        case NativeEvent::kExpose:
            blits.push_back(CRect(e.area).bound(size));
            break;
        case NativeEvent::kLeave:
            location = CPoint(-1, -1);
            break;
    }
}

}  // namespace VSTGUI
