// The top container, bound to a native child window inside the host's window
// (or to no window at all, for off-screen work). It owns the back buffer all
// drawing goes through, reads the window's input only inside idle, redraws
// only what is dirty and shows only that. Modal views (menus, message boxes,
// dialogs) lie above everything and take all input while they are open.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "widgets/CViewContainer.h"
#include "widgets/NativeWindow.h"

class AEffGUIEditor;

namespace VSTGUI {

class COffscreenContext;

class CFrame : public CViewContainer {
public:
    // On the host's window `systemWindow`; check isOpen() (a missing display or
    // parent window leaves the frame closed, with the reason in getOpenError()).
    CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor);
    // Without a window: everything draws into the back buffer only.
    CFrame(const CRect& size, AEffGUIEditor* editor);
    ~CFrame() override;

    bool isOpen() const { return open; }
    const std::string& getOpenError() const { return openError; }
    bool hasNativeWindow() const { return window != nullptr; }
    NativeWindow* getNativeWindow() const { return window.get(); }
    AEffGUIEditor* getEditor() const { return editor; }

    // Reads the window's input, shows queued messages, redraws what is dirty
    // and shows it. Never blocks.
    void idle();
    // One input event in frame coordinates (what idle does with each native event).
    void handleEvent(const NativeEvent& event);

    // Redraws everything into the back buffer now (off-screen use, tests).
    void redrawAll();
    COffscreenContext* getBackBuffer() const { return backBuffer.get(); }
    bool writePng(const std::string& path);
    // What the last idle redrew, in frame coordinates (for tests and benchmarks).
    const std::vector<CRect>& getLastUpdate() const { return lastUpdate; }

    // Called by views: something is dirty (any thread), an area must be redrawn (UI thread).
    void noteDirty() { anyDirty.store(true, std::memory_order_release); }
    void invalidRect(const CRect& frameRect);

    // Drag tracking: `view` gets the moves and the release of the current press.
    void beginMouseTracking(CView* view);
    CView* getMouseTrackingView() const { return tracking; }
    void viewRemoved(CView* view);

    void getCurrentLocation(CPoint& where) const { where = location; }
    long getMouseButtons() const { return buttonState; }
    CView* getViewAt(const CPoint& where, bool deep = false) const override;

    void setFocusView(CView* view);
    CView* getFocusView() const { return focus; }

    // Modal views, in frame coordinates; the frame keeps a reference while open.
    void pushModal(CView* view);
    void popModal(CView* view);
    CView* getModalView() const { return modals.empty() ? nullptr : modals.back(); }
    int getModalCount() const { return int(modals.size()); }

    // Begin and end of a gesture on a parameter, for the host.
    void beginEdit(long index);
    void endEdit(long index);

    // A message for the user, shown in a message box at the next chance.
    void queueMessage(const std::string& text);

    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    void setDirty(bool state = true) override;

private:
    void init();
    void addRegion(const CRect& r);
    void showQueuedMessages();

    friend class CMessageBox;
    void releaseTracking();
    CView* wheelTarget(const CPoint& where) const;

    AEffGUIEditor* editor;
    std::unique_ptr<NativeWindow> window;
    std::unique_ptr<COffscreenContext> backBuffer;
    bool open = false;
    std::string openError;
    bool inIdle = false;

    std::atomic<bool> anyDirty{true};
    std::vector<CRect> regions;  // areas to redraw at the next idle
    std::vector<CRect> blits;    // areas to show again without redrawing
    std::vector<CRect> lastUpdate;
    std::vector<NativeEvent> events;

    CPoint location{-1, -1};
    long buttonState = 0;
    CView* tracking = nullptr;
    CView* focus = nullptr;
    std::vector<CView*> modals;
    std::mutex messageMutex;
    std::deque<std::string> messages;
    bool showingMessage = false;
};

}  // namespace VSTGUI
