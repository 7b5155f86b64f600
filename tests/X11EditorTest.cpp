// The editor on a real X server (Xvfb under ./test.sh and CI): a host-like
// parent window on a connection of the test's own, the frame inside it, real
// pointer input through XTest, screenshots read back from the server, and the
// editor opened and closed through the plug-in's dispatcher as hosts do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <thread>

#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "X11TestSupport.h"
#include "editor/brennixKnob.h"
#include "platform/MessageBox.h"
#include "widgets/overlays/CMessageBox.h"

// Xlib's macros (None, Bool, ...) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

using namespace VSTGUI;
using namespace widget_testing;

namespace {

int openFileCount() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n;
}

using x11_testing::HostWindow;

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11_testing::needDisplay(host)) GTEST_SKIP() << "no X display: ./test.sh and .ci/run start Xvfb for these tests";
    }
    // Runs the frame's idle until `done` holds (or a second has passed).
    void pump(const std::function<void()>& idle, const std::function<bool()>& done = [] { return false; }) {
        x11_testing::pump(host, idle, done);
    }
    HostWindow host;
};

uint32_t rgb(CColor c) { return (uint32_t(c.red) << 16) | (uint32_t(c.green) << 8) | c.blue; }

}  // namespace

TEST_F(X11Editor, KnobInsideAHostWindowFollowsRealPointerDragsAndShowsOnScreen) {
    Recorder listener;
    CFrame* frame = new CFrame(CRect(0, 0, 1000, 600), reinterpret_cast<void*>(host.window), nullptr);
    ASSERT_TRUE(frame->isOpen()) << frame->getOpenError();
    CBitmap* strip = numberedStrip(50, 65);
    auto* knob = new brennixKnob(CRect(100, 300, 150, 350), &listener, 21, strip);
    strip->forget();
    knob->setValue(0.0f);
    frame->addView(knob);
    auto idle = [frame] { frame->idle(); };
    pump(idle, [&] { return host.pixel(125, 325) == rgb(frameColour(0)); });
    EXPECT_EQ(host.pixel(125, 325), rgb(frameColour(0)));

    CPoint origin = host.childOrigin();
    int screen = DefaultScreen(host.display);
    XTestFakeMotionEvent(host.display, screen, origin.h + 125, origin.v + 325, 0);
    XTestFakeButtonEvent(host.display, 1, True, 0);
    pump(idle, [&] { return frame->getMouseTrackingView() == knob; });
    for (int y = 315; y >= 225; y -= 10) {
        XTestFakeMotionEvent(host.display, screen, origin.h + 125, origin.v + y, 0);
        pump(idle, [&] { return knob->getValue() >= (325 - y) / 200.0f - 1e-4f; });
    }
    XTestFakeButtonEvent(host.display, 1, False, 0);
    pump(idle, [&] { return frame->getMouseTrackingView() == nullptr; });
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-4);  // 100 pixels up
    EXPECT_FALSE(listener.changes.empty());
    pump(idle, [&] { return host.pixel(125, 325) == rgb(frameColour(32)); });
    EXPECT_EQ(host.pixel(125, 325), rgb(frameColour(32)));
    // The screen shows exactly what the back buffer holds.
    EXPECT_EQ(host.pixel(125, 325), rgb(frame->getBackBuffer()->getPixel(125, 325)));

    // The mouse wheel and a right click arrive too.
    XTestFakeMotionEvent(host.display, screen, origin.h + 125, origin.v + 325, 0);
    XTestFakeButtonEvent(host.display, 3, True, 0);
    XTestFakeButtonEvent(host.display, 3, False, 0);
    pump(idle, [&] { return !listener.learnMenus.empty(); });
    EXPECT_EQ(listener.learnMenus.size(), 1u);
    float before = knob->getValue();
    XTestFakeButtonEvent(host.display, 4, True, 0);
    XTestFakeButtonEvent(host.display, 4, False, 0);
    pump(idle, [&] { return knob->getValue() != before; });
    EXPECT_GT(knob->getValue(), before);
    frame->forget();
}

TEST_F(X11Editor, MessagesGoToAMessageBoxWhileAnEditorIsOpen) {
    CFrame* frame = new CFrame(CRect(0, 0, 1000, 600), reinterpret_cast<void*>(host.window), nullptr);
    ASSERT_TRUE(frame->isOpen());
    platform::showMessage("Please choose a bank file first.");
    frame->idle();
    auto* box = dynamic_cast<CMessageBox*>(frame->getModalView());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->getText(), "Please choose a bank file first.");
    frame->forget();
    // With the editor closed they go to stderr again.
    testing::internal::CaptureStderr();
    platform::showMessage("closed");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("closed"), std::string::npos);
}

TEST_F(X11Editor, TwentyOpenCloseCyclesThroughThePluginLeaveNothingBehind) {
    auto plugin = testing_support::loadPlugin();
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, 1000);
    // One cycle first, so that libraries loaded on first use do not count.
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host.window)), 1);
    plugin->dispatch(effEditClose);
    int files = openFileCount();
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host.window)), 1) << i;
        for (int k = 0; k < 3; ++k) plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
    }
    EXPECT_EQ(openFileCount(), files);
    XSync(host.display, False);
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    XQueryTree(host.display, host.window, &root, &parent, &children, &n);
    if (children) XFree(children);
    EXPECT_EQ(n, 0u);  // every child window was destroyed
}

TEST_F(X11Editor, AParentDestroyedBeforeCloseDoesNotTakeTheHostDown) {
    auto plugin = testing_support::loadPlugin();
    for (bool idleBetween : {true, false}) {
        HostWindow doomed(400, 300);
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(doomed.window)), 1);
        plugin->dispatch(effEditIdle);
        doomed.destroy();
        if (idleBetween)
            for (int k = 0; k < 3; ++k) plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
    }
    // Still alive and able to open again.
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host.window)), 1);
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, ParentZeroOrMissingFailsToOpenCleanly) {
    auto plugin = testing_support::loadPlugin();
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(0x3fffff0))), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(host.window)), 1);
    plugin->dispatch(effEditClose);
}

TEST(EditorWithoutDisplay, RefusesToOpenAndThePluginPlaysOn) {
    const char* saved = std::getenv("DISPLAY");
    std::string display = saved ? saved : "";
    unsetenv("DISPLAY");
    auto plugin = testing_support::loadPlugin();
    testing_support::setPlainSine(*plugin);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(0x1234))), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    auto out = testing_support::renderFrames(*plugin, 4410, 256, {testing_support::noteOn(0, 69)});
    float peak = 0;
    for (float s : out.left) peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 0.1f);
    if (saved) setenv("DISPLAY", display.c_str(), 1);
}
