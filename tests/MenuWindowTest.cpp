// The menus and screens in a real window: the editor opened inside a host
// window on the test's own X connection and driven by real pointer and key
// events (XTest), its state read back from the plug-in and the editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "X11TestSupport.h"
#include "editor/brennixHelpScreen.h"
#include "platform/SettingsStore.h"
#include "widgets/overlays/CFileChooser.h"
#include "widgets/COptionMenu.h"
#include "widgets/overlays/CMenuOverlay.h"

// Xlib's keysyms, without its macros.
#include <X11/keysym.h>

using namespace VSTGUI;
using namespace editor_testing;
using layout::Kind;
using x11_testing::HostWindow;
namespace fs = std::filesystem;

namespace {

class MenuWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11_testing::needDisplay(host)) GTEST_SKIP() << "no X display: ./test.sh and .ci/run start Xvfb for these tests";
        root = testing_support::tempPath("menu-window");
        fs::remove_all(root);
        fs::create_directories(root);
        platform::SettingsStore store;
        previousBankDir = store.readSetting("BankDir");
        store.writeSetting(root, "BankDir");
        plugin = makePlugin(recording);
        editor = plugin->getUEditor();
        host.moveAway();
        ASSERT_TRUE(editor->open(host.parent()));
        settle();
    }
    void TearDown() override {
        if (!plugin) return;
        editor->close();
        platform::SettingsStore().writeSetting(previousBankDir, "BankDir");
    }
    void settle(int times = 5) {
        for (int i = 0; i < times; ++i) {
            host.sync();
            editor->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    CFrame& frame() { return *editor->getFrame(); }
    void clickAt(CPoint p, int button = 1) {
        host.moveTo(p.h, p.v);
        settle();
        host.button(button, true);
        settle();
        host.button(button, false);
        settle();
    }
    void press(unsigned long keysym, int times = 1) {
        for (int i = 0; i < times; ++i) {
            host.key(keysym, true);
            host.key(keysym, false);
            settle(2);
        }
        settle();
    }
    void typeText(const std::string& text) {
        for (char c : text) press(c == ' ' ? XK_space : (unsigned long)(unsigned char)c);
    }
    // A real click on entry `index` of the open menu's pane `pane`.
    void clickEntry(int pane, long index) {
        auto* overlay = dynamic_cast<CMenuOverlay*>(frame().getModalView());
        ASSERT_NE(overlay, nullptr);
        CRect r = overlay->itemRect(pane, index);
        clickAt(CPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    }

    HostWindow host;
    RecordingHost recording;
    std::unique_ptr<APlugin> plugin;
    uEditor* editor = nullptr;
    std::string root, previousBankDir;
};

}  // namespace

TEST_F(MenuWindow, PresetAndMorphSubMenusChosenWithPointerAndKeys) {
    clickAt(centreOf(record(Kind::PresetMenu, layout::kNoParameter)));
    ASSERT_NE(dynamic_cast<CMenuOverlay*>(frame().getModalView()), nullptr);
    press(XK_Down, 2);  // "Preset 33-64"
    press(XK_Right);    // opens it on its first entry
    press(XK_Down, 5);
    press(XK_Return);
    EXPECT_EQ(plugin->getProgram(), 37);
    EXPECT_EQ(frame().getModalView(), nullptr);

    const layout::Control* morphA = nullptr;
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.kind == Kind::MorphMenu && c.index == 0) morphA = &c;
    ASSERT_NE(morphA, nullptr);
    clickAt(centreOf(*morphA));
    press(XK_Down, 2);
    press(XK_Right);
    press(XK_Down, 5);
    press(XK_Return);
    EXPECT_FLOAT_EQ(plugin->getParameter(11), (32 + 5 + 0.5f) * 0.007813111f);
}

TEST_F(MenuWindow, RightClickLatchToMidiBindsController74ForTheNextInstanceToo) {
    plugin->clearMidi();
    const CPoint knob = centreOf(record(Kind::Knob, 61));
    clickAt(knob, 3);
    auto* overlay = dynamic_cast<CMenuOverlay*>(frame().getModalView());
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getPaneMenu(0)->getEntryText(3), "Not Latched");
    EXPECT_TRUE(overlay->getPaneMenu(0)->isDisabled(3));
    clickEntry(0, 7);  // "Latch to Midi"
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 74, 127)});
    EXPECT_EQ(plugin->boundParameter(74), 61);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 1.0f);
    clickAt(knob, 3);
    overlay = dynamic_cast<CMenuOverlay*>(frame().getModalView());
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->getPaneMenu(0)->getEntryText(3), "Midi CC : 74");
    press(XK_Escape);

    for (int i = 0; i < 200 && platform::SettingsStore().readBinding(74) != 61; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto next = testing_support::makePlugin();
    testing_support::processDirect(*next, 64, {testing_support::controller(0, 74, 0)});
    EXPECT_FLOAT_EQ(next->getParameter(61), 0.0f);
    next.reset();
    plugin->clearMidi();
}

TEST_F(MenuWindow, HelpFromTheFileMenuStepsBetweenPagesOneAndTwentyTwo) {
    clickAt(centreOf(record(Kind::ButtonMenu, 916)));
    clickEntry(0, 8);  // "Help"
    brennixHelpScreen* help = editor->getHelpScreen();
    ASSERT_TRUE(help->isShown());
    EXPECT_EQ(help->getPage(), 20);
    EXPECT_EQ(help->getViewSize(), CRect(300, 0, 740, 440));
    // The server shows the help panel there.
    cairo_surface_t* shown = host.screenshot(300, 0, 440, 440);
    editor->hideHelp();
    settle();
    cairo_surface_t* hidden = host.screenshot(300, 0, 440, 440);
    EXPECT_GT(x11_testing::differingShare(shown, hidden, 8), 0.3);
    cairo_surface_destroy(shown);
    cairo_surface_destroy(hidden);

    editor->showHelpFor(916, CPoint(300, 0));
    settle();
    for (int i = 0; i < 3; ++i) clickAt(CPoint(300 + 430, 8));  // next page, up to 22
    EXPECT_EQ(help->getPage(), 22);
    for (int i = 0; i < 22; ++i) clickAt(CPoint(300 + 8, 8));   // previous page, down to 1
    EXPECT_EQ(help->getPage(), 1);
    clickAt(CPoint(300 + 200, 300));  // below the top band: centred on the click
    EXPECT_EQ(help->getViewSize(), CRect(280, 80, 720, 520));
    clickAt(CPoint(280 + 200, 80 + 8));  // the top band hides it
    EXPECT_FALSE(help->isShown());

    editor->showHelpFor(61, CPoint(900, 500));
    settle();
    EXPECT_EQ(help->getViewSize(), CRect(560, 160, 1000, 600));
}

TEST_F(MenuWindow, BankSavedAndLoadedThroughTheChooserByTypingAndClicking) {
    clickAt(centreOf(record(Kind::ButtonMenu, 916)));
    clickEntry(0, 1);  // "Save Bank"
    ASSERT_NE(dynamic_cast<CFileChooser*>(frame().getModalView()), nullptr);
    press(XK_BackSpace);
    typeText("live set");
    press(XK_Return);
    const std::string file = root + "/live set.fxb";
    ASSERT_TRUE(fs::exists(file));
    std::ifstream in(file, std::ios::binary);
    std::vector<char> saved((std::istreambuf_iterator<char>(in)), {});

    const std::string name = plugin->program(0).recordName;
    char other[] = "Renamed";
    plugin->setProgramName(other);
    clickAt(centreOf(record(Kind::ButtonMenu, 916)));
    clickEntry(0, 0);  // "Load Bank"
    auto* chooser = dynamic_cast<CFileChooser*>(frame().getModalView());
    ASSERT_NE(chooser, nullptr);
    const auto& entries = chooser->getEntries();
    auto it = std::find(entries.begin(), entries.end(), "live set.fxb");
    ASSERT_NE(it, entries.end());
    CRect r = chooser->entryRect(int(it - entries.begin()));
    clickAt(CPoint(r.left + 20, r.top + 8));  // selects it
    press(XK_Return);                          // and opens it
    EXPECT_EQ(frame().getModalView(), nullptr);
    EXPECT_EQ(std::string(plugin->program(0).recordName), name);
}
