// The toolkit through its frame: containers and coordinates, redrawing only
// what is dirty, drag tracking, pop-up menus driven by mouse and keys, and the
// message box, text-entry dialog and file chooser.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "widgets/CKickButton.h"
#include "widgets/COptionMenu.h"
#include "widgets/overlays/CFileChooser.h"
#include "widgets/overlays/CMenuOverlay.h"
#include "widgets/overlays/CMessageBox.h"
#include "widgets/overlays/CTextEntryDialog.h"

using namespace VSTGUI;
using namespace widget_testing;

namespace {
struct Fixture : ::testing::Test {
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), nullptr);
    Recorder listener;
    ~Fixture() override { frame->forget(); }
};

CMenuOverlay* openMenu(CFrame* frame) { return dynamic_cast<CMenuOverlay*>(frame->getModalView()); }

CPoint centre(const CRect& r) { return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
}  // namespace

using Toolkit = Fixture;

TEST_F(Toolkit, ContainersPlaceChildrenRelativeAndFindTheViewUnderAPoint) {
    auto* region = new CViewContainer(CRect(100, 50, 300, 250), frame);
    region->setBackgroundColor(CColor{0, 0, 200, 255});
    frame->addView(region);
    auto* button = new CKickButton(CRect(10, 20, 36, 46), &listener, 7, twoStateImage(26, 52));
    region->addView(button);
    EXPECT_EQ(frame->getViewAt(CPoint(115, 75), true), button);
    EXPECT_EQ(frame->getViewAt(CPoint(105, 55), true), region);
    EXPECT_EQ(pixelAt(*frame, 115, 75), (CColor{255, 0, 0, 255}));  // released half, at 110, 70
    EXPECT_EQ(pixelAt(*frame, 105, 55), (CColor{0, 0, 200, 255}));

    press(*frame, 115, 75);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    EXPECT_EQ(pixelAt(*frame, 115, 75), (CColor{0, 255, 0, 255}));
    move(*frame, 250, 200);  // the release anywhere still reaches the button
    release(*frame, 250, 200);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[1].value, 0.0f);
    // Removing without forgetting hands the view back alive.
    region->removeView(button, false);
    EXPECT_EQ(frame->getViewAt(CPoint(115, 75), true), region);
    EXPECT_EQ(button->getNbReference(), 1);
    button->forget();
}

TEST_F(Toolkit, IdleRedrawsOnlyTheDirtyAreaAndNothingWhenClean) {
    auto* a = new CKickButton(CRect(10, 10, 36, 36), &listener, 1, twoStateImage(26, 52));
    auto* b = new CKickButton(CRect(200, 100, 226, 126), &listener, 2, twoStateImage(26, 52));
    frame->addView(a);
    frame->addView(b);
    frame->idle();  // first: everything
    frame->idle();
    EXPECT_TRUE(frame->getLastUpdate().empty());
    b->setValue(1.0f);
    frame->idle();
    ASSERT_EQ(frame->getLastUpdate().size(), 1u);
    EXPECT_EQ(frame->getLastUpdate()[0], CRect(200, 100, 226, 126));
    EXPECT_EQ(frame->getBackBuffer()->getPixel(210, 110), (CColor{0, 255, 0, 255}));
    // Marked from another thread: collected by the next idle.
    std::thread([a] { a->setDirty(); }).join();
    frame->idle();
    ASSERT_EQ(frame->getLastUpdate().size(), 1u);
    EXPECT_EQ(frame->getLastUpdate()[0], CRect(10, 10, 36, 36));
    // A moved view leaves its old place redrawn.
    b->setViewSize(CRect(300, 200, 326, 226));
    frame->idle();
    CRect all;
    for (const CRect& r : frame->getLastUpdate()) all.unite(r);
    EXPECT_EQ(all, CRect(200, 100, 326, 226));
    EXPECT_EQ(frame->getBackBuffer()->getPixel(210, 110), kBlackCColor);

    // Areas are cut to the frame; touching ones are drawn as one, separate ones apart.
    frame->invalidRect(CRect(-50, -40, 20, 30));
    frame->idle();
    ASSERT_EQ(frame->getLastUpdate().size(), 1u);
    EXPECT_EQ(frame->getLastUpdate()[0], CRect(0, 0, 20, 30));
    frame->invalidRect(CRect(100, 100, 150, 150));
    frame->invalidRect(CRect(150, 120, 180, 140));
    frame->invalidRect(CRect(300, 10, 320, 30));
    frame->idle();
    std::vector<CRect> drawn = frame->getLastUpdate();
    ASSERT_EQ(drawn.size(), 2u);
    if (drawn[0].left > drawn[1].left) std::swap(drawn[0], drawn[1]);
    EXPECT_EQ(drawn[0], CRect(100, 100, 180, 150));
    EXPECT_EQ(drawn[1], CRect(300, 10, 320, 30));
}

namespace {
// Paints all it is asked to draw, so an update area it is not clipped to shows.
struct Spill : CView {
    using CView::CView;
    void drawRect(CDrawContext* context, const CRect& area) override {
        context->setFillColor(CColor{255, 0, 0, 255});
        context->fillRect(area);
    }
};
}  // namespace

TEST_F(Toolkit, AViewDrawsOnlyInsideItself) {
    frame->addView(new Spill(CRect(50, 50, 70, 70)));
    frame->idle();
    frame->invalidRect(CRect(40, 40, 100, 100));
    frame->idle();
    EXPECT_EQ(frame->getBackBuffer()->getPixel(60, 60), (CColor{255, 0, 0, 255}));
    EXPECT_EQ(frame->getBackBuffer()->getPixel(80, 80), kBlackCColor);
    EXPECT_EQ(frame->getBackBuffer()->getPixel(45, 45), kBlackCColor);
}

namespace {
COptionMenu* makeMenu(CControlListener* l) {
    auto* menu = new COptionMenu(CRect(20, 20, 120, 39), l, 60);
    menu->addEntry("Bypass");
    menu->addEntry("-");
    menu->addEntry("-GGreyed");
    auto* sub = new COptionMenu(CRect(), l, 9999);
    sub->addEntry("Saw");
    sub->addEntry("Square");
    menu->addEntry(sub, "Waves");
    sub->forget();
    menu->addEntry("Comb");
    return menu;
}
}  // namespace

TEST_F(Toolkit, MenuEntriesFollowTheSeparatorDisabledAndNumberingRules) {
    COptionMenu* menu = makeMenu(&listener);
    EXPECT_EQ(menu->getNbEntries(), 5);
    EXPECT_TRUE(menu->isSeparator(1));
    EXPECT_TRUE(menu->isDisabled(2));
    EXPECT_EQ(menu->getEntryText(2), "Greyed");
    EXPECT_EQ(menu->getRawEntry(3), "-MWaves");
    EXPECT_EQ(menu->getEntryText(3), "Waves");
    EXPECT_NE(menu->getSubMenu(3), nullptr);
    EXPECT_EQ(menu->getIndex("Comb"), 4);
    EXPECT_EQ(menu->indexWithoutSeparators(4), 3);
    menu->setPrefixNumbers(2);
    EXPECT_EQ(menu->getListedText(0), "1 Bypass");
    menu->setPrefixNumbers(3);
    EXPECT_EQ(menu->getListedText(4), "05 Comb");
    menu->setPrefixNumbers(4);
    EXPECT_EQ(menu->getListedText(4), "005 Comb");
    char text[256];
    menu->setCurrent(4);
    EXPECT_EQ(menu->getCurrent(text), 4);
    EXPECT_STREQ(text, "Comb");
    EXPECT_FALSE(menu->setCurrent(9));
    menu->forget();
}

TEST_F(Toolkit, MenuChoiceByMouseReachesTheListenerAfterThePopup) {
    COptionMenu* menu = makeMenu(&listener);
    frame->addView(menu);
    click(*frame, 30, 25);
    CMenuOverlay* overlay = openMenu(frame);
    ASSERT_NE(overlay, nullptr);
    EXPECT_TRUE(listener.changes.empty());  // the choice comes later
    // Greyed entries and separators cannot be chosen.
    click(*frame, centre(overlay->itemRect(0, 2)).h, centre(overlay->itemRect(0, 2)).v);
    click(*frame, centre(overlay->itemRect(0, 1)).h, centre(overlay->itemRect(0, 1)).v);
    EXPECT_EQ(frame->getModalView(), overlay);
    CPoint comb = centre(overlay->itemRect(0, 4));
    move(*frame, comb.h, comb.v, 0);
    click(*frame, comb.h, comb.v);
    EXPECT_EQ(frame->getModalView(), nullptr);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].control, menu);
    EXPECT_EQ(menu->getCurrent(), 4);
    EXPECT_EQ(menu->getLastResult(), 4);
    frame->writePng(renderPath("toolkit-menu-closed.png"));

    // Hovering the sub-menu entry opens it; the choice reports the sub-menu.
    click(*frame, 30, 25);
    overlay = openMenu(frame);
    CPoint waves = centre(overlay->itemRect(0, 3));
    move(*frame, waves.h, waves.v, 0);
    ASSERT_EQ(overlay->getPaneCount(), 2);
    frame->writePng(renderPath("toolkit-menu-submenu.png"));
    CPoint square = centre(overlay->itemRect(1, 1));
    move(*frame, square.h, square.v, 0);
    click(*frame, square.h, square.v);
    ASSERT_EQ(listener.changes.size(), 2u);
    COptionMenu* sub = menu->getSubMenu(3);
    EXPECT_EQ(listener.changes[1].control, sub);
    EXPECT_EQ(sub->getCurrent(), 1);
    long inMenu;
    EXPECT_EQ(menu->getLastItemMenu(inMenu), sub);
    EXPECT_EQ(inMenu, 1);
    EXPECT_EQ(menu->getCurrent(), 4);  // the top level keeps its entry

    // A click outside closes without a choice.
    click(*frame, 30, 25);
    click(*frame, 390, 290);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(listener.changes.size(), 2u);
}

TEST_F(Toolkit, MenuIsKeyboardDriven) {
    COptionMenu* menu = makeMenu(&listener);
    frame->addView(menu);
    click(*frame, 30, 25);
    key(*frame, VKEY_DOWN);  // Bypass
    key(*frame, VKEY_DOWN);  // Greyed (the separator is skipped)
    key(*frame, VKEY_RETURN);  // greyed: nothing
    EXPECT_NE(frame->getModalView(), nullptr);
    key(*frame, VKEY_DOWN);   // Waves
    key(*frame, VKEY_RIGHT);  // opens it, on Saw
    key(*frame, VKEY_DOWN);   // Square
    key(*frame, VKEY_RETURN);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].control, menu->getSubMenu(3));
    EXPECT_EQ(menu->getSubMenu(3)->getCurrent(), 1);
    click(*frame, 30, 25);
    key(*frame, VKEY_ESCAPE);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(listener.changes.size(), 1u);
}

TEST_F(Toolkit, MenuAtAPointStaysInsideTheFrame) {
    COptionMenu* menu = makeMenu(&listener);
    frame->addView(menu);
    menu->popup(CPoint(395, 295));
    CMenuOverlay* overlay = openMenu(frame);
    ASSERT_NE(overlay, nullptr);
    CRect r = overlay->getViewSize();
    EXPECT_LE(r.right, 400);
    EXPECT_LE(r.bottom, 300);
    EXPECT_GE(r.left, 0);
    key(*frame, VKEY_ESCAPE);
}

TEST_F(Toolkit, MessageBoxShowsTextAndClosesWithOk) {
    bool closed = false;
    CMessageBox* box = CMessageBox::show(frame, "The bank file could not be read.", [&] { closed = true; });
    EXPECT_EQ(frame->getModalView(), box);
    frame->writePng(renderPath("toolkit-message-box.png"));
    // Clicks elsewhere do nothing while it is open.
    click(*frame, 5, 5);
    EXPECT_FALSE(closed);
    CPoint ok = centre(box->buttonRect(0));
    click(*frame, ok.h, ok.v);
    EXPECT_TRUE(closed);
    EXPECT_EQ(frame->getModalView(), nullptr);
}

TEST_F(Toolkit, TextEntryDialogEditsAndAnswers) {
    std::vector<std::pair<bool, std::string>> answers;
    auto record = [&](bool ok, const std::string& t) { answers.push_back({ok, t}); };
    CTextEntryDialog::show(frame, "Preset Name", "Name of the preset:", "Init", record, 24);
    frame->writePng(renderPath("toolkit-text-entry.png"));
    typeText(*frame, "Bright Pad");  // the first key replaces the whole text
    key(*frame, VKEY_BACK);
    typeText(*frame, "d 2");
    key(*frame, VKEY_RETURN);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0].first);
    EXPECT_EQ(answers[0].second, "Bright Pad 2");

    auto* dialog = CTextEntryDialog::show(frame, "Preset Name", "Name:", "Init", record);
    CPoint cancel = centre(dialog->buttonRect(1));
    click(*frame, cancel.h, cancel.v);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_FALSE(answers[1].first);
    // The length limit holds.
    CTextEntryDialog::show(frame, "Preset Name", "Name:", "", record, 5);
    typeText(*frame, "abcdefgh");
    key(*frame, VKEY_ESCAPE);
    key(*frame, VKEY_RETURN);
    EXPECT_EQ(answers.size(), 3u);
}

TEST_F(Toolkit, FileChooserNavigatesFiltersAndTakesANameForSaving) {
    namespace fs = std::filesystem;
    fs::path root = testing_support::tempPath("chooser");
    fs::remove_all(root);
    fs::create_directories(root / "Banks" / "Old");
    for (const char* f : {"Banks/a.fxb", "Banks/b.FXB", "Banks/notes.txt", "top.fxb"})
        std::ofstream(root / f) << "x";
    std::vector<std::pair<bool, std::string>> answers;
    auto record = [&](bool ok, const std::string& p) { answers.push_back({ok, p}); };

    auto* chooser = CFileChooser::show(frame, CFileChooser::kOpen, "Load Bank", root.string(), {"fxb"}, record);
    EXPECT_EQ(chooser->getEntries(), (std::vector<std::string>{"..", "Banks/", "top.fxb"}));
    chooser->enter("Banks");
    EXPECT_EQ(chooser->getEntries(), (std::vector<std::string>{"..", "Old/", "a.fxb", "b.FXB"}));
    frame->writePng(renderPath("toolkit-file-chooser.png"));
    // A double click on a file takes it.
    CPoint b = centre(chooser->entryRect(3));
    click(*frame, b.h, b.v);
    click(*frame, b.h, b.v);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(answers[0].first);
    EXPECT_EQ(answers[0].second, (root / "Banks" / "b.FXB").string());

    // Saving: a typed name gets the extension; ".." leads up again.
    chooser = CFileChooser::show(frame, CFileChooser::kSave, "Save Bank", (root / "Banks").string(), {"fxb"},
                                 record, "Untitled");
    CPoint up = centre(chooser->entryRect(0));
    click(*frame, up.h, up.v);
    click(*frame, up.h, up.v);
    EXPECT_EQ(chooser->getFolder(), fs::weakly_canonical(root).string());
    typeText(*frame, "mine");
    key(*frame, VKEY_RETURN);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1].second, (fs::weakly_canonical(root) / "mine.fxb").string());

    // Cancel answers false; a folder that does not exist starts at its parent.
    chooser = CFileChooser::show(frame, CFileChooser::kOpen, "Load", (root / "missing" / "x").string(), {}, record);
    EXPECT_EQ(chooser->getFolder(), fs::weakly_canonical(root / "missing").parent_path().string());
    key(*frame, VKEY_ESCAPE);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_FALSE(answers[2].first);
    fs::remove_all(root);
}
