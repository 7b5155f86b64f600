// The editor's own controls in a frame without a window: what they draw for a
// value (checked on the pixels of test images whose frames and glyphs are
// coded by colour) and what the mouse rules do, through synthetic events.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "editor/BitmapFont.h"
#include "editor/blueArpDisplay.h"
#include "editor/blueGatorDisplay.h"
#include "editor/blueOptionMenu.h"
#include "editor/blueRadioButton.h"
#include "editor/blueTextArrayButton.h"
#include "editor/blueTextButton.h"
#include "editor/blueVSlider.h"
#include "editor/brennixHelpScreen.h"
#include "editor/brennixKnob.h"
#include "editor/brennixOnOff.h"
#include "editor/uEditor.h"
#include "widgets/COptionMenuScheme.h"
#include "widgets/overlays/CMenuOverlay.h"

using namespace VSTGUI;
using namespace widget_testing;

namespace {
struct Controls : ::testing::Test {
    CFrame* frame = new CFrame(CRect(0, 0, 1000, 600), nullptr);
    Recorder listener;
    CBitmap* font = codedFont();
    CBitmap* plainFont = codedFont();
    BitmapFonts fonts{font, plainFont, font, plainFont};
    ~Controls() override {
        frame->forget();
        font->forget();
        plainFont->forget();
    }
    template <typename T>
    T* add(T* control) {
        frame->addView(control);
        return control;
    }
};

// The character drawn at frame x (glyph colours are coded), or 0.
unsigned char glyphAt(CFrame& frame, int x, int y) {
    CColor c = frame.getBackBuffer()->getPixel(x, y);
    for (int ch = 33; ch < 128; ++ch)
        if (glyphColour(static_cast<unsigned char>(ch)) == c) return static_cast<unsigned char>(ch);
    return 0;
}

// The text drawn along row y from x0 (one sample per glyph column run).
std::string textAlong(CFrame& frame, int x0, int x1, int y) {
    frame.redrawAll();
    std::string text;
    unsigned char last = 0;
    for (int x = x0; x < x1; ++x) {
        unsigned char c = glyphAt(frame, x, y);
        if (c && c != last) text += char(c);
        last = c;
    }
    return text;
}
}  // namespace

TEST_F(Controls, KnobShowsTheFrameOfItsValue) {
    CBitmap* strip = numberedStrip(30, 65);
    auto* knob = add(new brennixKnob(CRect(100, 100, 130, 130), &listener, 61, strip));
    strip->forget();
    struct Case {
        float value;
        int frame;
    };
    for (Case c : {Case{0.0f, 0}, Case{1.0f, 64}, Case{0.999f, 63}, Case{0.5f, 32}, Case{-0.5f, 0}}) {
        knob->setValue(c.value);
        EXPECT_EQ(knob->getFrameIndex(), c.frame) << c.value;
        EXPECT_EQ(pixelAt(*frame, 115, 115), frameColour(c.frame)) << c.value;
    }
    frame->writePng(renderPath("knob-at-0.5.png"));
}

TEST_F(Controls, KnobDragCoversTheRangeInTwoHundredPixelsAndShiftIsFineWithoutAJump) {
    auto* knob = add(new brennixKnob(CRect(100, 300, 130, 330), &listener, 61, nullptr));
    knob->setValue(0.0f);
    press(*frame, 110, 310);
    move(*frame, 110, 210);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5);
    move(*frame, 110, 110);
    EXPECT_NEAR(knob->getValue(), 1.0f, 1e-5);
    move(*frame, 110, 0);
    EXPECT_EQ(knob->getValue(), 1.0f);  // clamped
    release(*frame, 110, 0);
    EXPECT_GE(listener.changes.size(), 3u);  // notified on every move

    // Shift pressed mid-drag: no jump, then 10000 pixels per range.
    knob->setValue(0.2f);
    press(*frame, 110, 310);
    move(*frame, 110, 290);
    float before = knob->getValue();
    EXPECT_NEAR(before, 0.3f, 1e-5);
    move(*frame, 110, 290, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), before, 1e-6);
    move(*frame, 110, 190, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), before + 0.01f, 1e-5);
    move(*frame, 110, 190);  // Shift released: back to coarse, still no jump
    EXPECT_NEAR(knob->getValue(), before + 0.01f, 1e-5);
    move(*frame, 110, 170);
    EXPECT_NEAR(knob->getValue(), before + 0.11f, 1e-5);
    release(*frame, 110, 170);

    // Shift at the press: 10000 pixels for the range.
    knob->setValue(0.0f);
    press(*frame, 110, 310, kLButton | kShift);
    move(*frame, 110, 210, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.01f, 1e-5);
    release(*frame, 110, 210);
}

TEST_F(Controls, KnobControlClickDefaultRightClickLearnAndUnboundTag) {
    auto* knob = add(new brennixKnob(CRect(100, 100, 130, 130), &listener, 61, nullptr));
    knob->setDefaultValue(0.25f);
    knob->setValue(0.9f);
    click(*frame, 110, 110, kLButton | kControl);
    EXPECT_EQ(knob->getValue(), 0.25f);
    ASSERT_EQ(listener.changes.size(), 1u);
    // Control with Shift is not the default click: a drag starts instead.
    press(*frame, 110, 110, kLButton | kControl | kShift);
    release(*frame, 110, 110);
    EXPECT_EQ(knob->getValue(), 0.25f);

    click(*frame, 112, 108, kRButton);
    ASSERT_EQ(listener.learnMenus.size(), 1u);
    EXPECT_EQ(listener.learnMenus[0].first, knob);
    EXPECT_EQ(listener.learnMenus[0].second, CPoint(112, 108));

    knob->setTag(9999);
    press(*frame, 110, 110);
    move(*frame, 110, 10);
    release(*frame, 110, 10);
    EXPECT_EQ(knob->getValue(), 0.25f);
}

TEST_F(Controls, KnobDragIsFramedByBeginAndEndEditAtTheHost) {
    auto plugin = testing_support::makePlugin();
    AEffGUIEditor editor(plugin.get());
    CFrame* withEditor = new CFrame(CRect(0, 0, 200, 200), &editor);
    auto* knob = new brennixKnob(CRect(10, 10, 40, 40), &listener, 61, nullptr);
    withEditor->addView(knob);
    uEditor* owned = plugin->getUEditor();
    press(*withEditor, 20, 20);
    EXPECT_EQ(owned->getEditedParameter(), 61);  // the plug-in's beginEdit ran
    move(*withEditor, 20, 10);
    release(*withEditor, 20, 10);
    EXPECT_EQ(owned->getEditedParameter(), -1);

    // A wheel step is an edit of its own: the change arrives between begin and end.
    struct EditWatcher : Recorder {
        uEditor* editor = nullptr;
        std::vector<long> editedAtChange;
        void valueChanged(CDrawContext* context, CControl* c) override {
            Recorder::valueChanged(context, c);
            editedAtChange.push_back(editor->getEditedParameter());
        }
    } watcher;
    watcher.editor = owned;
    knob->setListener(&watcher);
    const float before = knob->getValue();
    NativeEvent wheel;
    wheel.type = NativeEvent::kWheel;
    wheel.where = CPoint(20, 20);
    wheel.wheel = 1.0f;
    withEditor->handleEvent(wheel);
    EXPECT_GT(knob->getValue(), before);
    ASSERT_EQ(watcher.editedAtChange.size(), 1u);
    EXPECT_EQ(watcher.editedAtChange[0], 61);
    EXPECT_EQ(owned->getEditedParameter(), -1);
    withEditor->forget();
}

TEST_F(Controls, OnOffShowsItsHalvesAndTogglesWithModifierOffers) {
    CBitmap* image = twoStateImage(26, 52);
    auto* sw = add(new brennixOnOff(CRect(50, 50, 76, 76), &listener, 17, image));
    image->forget();
    EXPECT_EQ(pixelAt(*frame, 60, 60), (CColor{255, 0, 0, 255}));
    click(*frame, 60, 60);
    EXPECT_EQ(sw->getValue(), 1.0f);
    EXPECT_EQ(pixelAt(*frame, 60, 60), (CColor{0, 255, 0, 255}));
    click(*frame, 60, 60);
    EXPECT_EQ(sw->getValue(), 0.0f);
    EXPECT_EQ(listener.changes.size(), 2u);
    // A modifier click taken by the listener leaves the switch alone.
    listener.consumeModifiers = 1;
    click(*frame, 60, 60, kLButton | kShift);
    EXPECT_EQ(sw->getValue(), 0.0f);
    EXPECT_EQ(listener.modifierOffers, 1);
    listener.consumeModifiers = 0;
    click(*frame, 60, 60, kLButton | kShift);
    EXPECT_EQ(sw->getValue(), 1.0f);
    click(*frame, 60, 60, kRButton);
    EXPECT_EQ(listener.learnMenus.size(), 1u);
    sw->setTag(9999);
    click(*frame, 60, 60);
    EXPECT_EQ(sw->getValue(), 1.0f);
}

TEST_F(Controls, OptionMenuShowsTheEntryOrTitleInTheBitmapFont) {
    auto* menu = add(new blueOptionMenu(CRect(100, 100, 200, 119), &listener, 85, nullptr, &fonts));
    for (const char* e : {"Sine", "Triangle", "S&H"}) menu->addEntry(e);
    menu->setCurrent(1);
    // "Triangle" centred: width 6+8+4+8+8+8+6+7 = 55, from 100 + (100 - 55) / 2 = 122.
    EXPECT_EQ(BitmapFont::textWidth("Triangle"), 55);
    EXPECT_EQ(textAlong(*frame, 100, 200, 110), "Triangle");
    EXPECT_EQ(glyphAt(*frame, 122, 110), 'T');
    EXPECT_EQ(glyphAt(*frame, 121, 110), 0);
    menu->setTitle("Saw Up");
    EXPECT_EQ(textAlong(*frame, 100, 200, 110), "SawUp");  // the blank draws nothing
    menu->setTitle("");
    menu->setCurrent(2);
    EXPECT_EQ(textAlong(*frame, 100, 200, 110), "S&H");
    frame->writePng(renderPath("option-menu.png"));

    // A little too long for the face: narrowed to fit, every glyph shows.
    auto* narrow = add(new blueOptionMenu(CRect(300, 100, 348, 119), &listener, 85, nullptr, &fonts));
    narrow->addEntry("ABCDEFG");  // 56 pixels in 48
    EXPECT_EQ(textAlong(*frame, 290, 360, 110), "ABCDEFG");
    EXPECT_EQ(glyphAt(*frame, 349, 110), 0);
    // Far too long even when narrowed: from the left edge, cut at the right.
    narrow->setCurrent(0);
    narrow->setTitle("ABCDEFGHIJKLMNOP");  // 128 pixels: 80 of them fit at the narrowest
    EXPECT_EQ(textAlong(*frame, 290, 360, 110), "ABCDEFGHIJ");
}

TEST_F(Controls, OptionMenuPopsUpLearnsAndOffersModifiers) {
    auto* menu = add(new blueOptionMenu(CRect(100, 100, 200, 119), &listener, 85, nullptr, &fonts));
    for (const char* e : {"Sine", "Triangle", "S&H"}) menu->addEntry(e);
    click(*frame, 150, 110, kRButton);
    EXPECT_EQ(listener.learnMenus.size(), 1u);
    EXPECT_EQ(frame->getModalView(), nullptr);
    listener.consumeModifiers = 1;
    click(*frame, 150, 110, kLButton | kControl);
    EXPECT_EQ(frame->getModalView(), nullptr);
    listener.consumeModifiers = 0;
    click(*frame, 150, 110);
    auto* overlay = dynamic_cast<CMenuOverlay*>(frame->getModalView());
    ASSERT_NE(overlay, nullptr);
    CRect item = overlay->itemRect(0, 2);
    move(*frame, item.left + 5, item.top + 5, 0);
    click(*frame, item.left + 5, item.top + 5);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(menu->getCurrent(), 2);
    // A menu with tag 9999 pops up on the right button too.
    menu->setTag(9999);
    click(*frame, 150, 110, kRButton);
    EXPECT_NE(frame->getModalView(), nullptr);
}

TEST_F(Controls, TextArrayButtonAlternatesItsTwoValues) {
    static const char* const kLabels[] = {"Edgy", "Smooth"};
    auto* button = add(new blueTextArrayButton(CRect(10, 10, 64, 29), &listener, 77, nullptr, &fonts, kLabels, 2));
    button->setValue(0.0f);
    EXPECT_EQ(textAlong(*frame, 10, 64, 20), "Edgy");
    click(*frame, 20, 20);
    EXPECT_NEAR(button->getValue(), 1.5f / 1.99f, 1e-6);
    EXPECT_NEAR(button->getValue(), 0.75377f, 1e-5);
    EXPECT_EQ(textAlong(*frame, 10, 64, 20), "Smooth");
    click(*frame, 20, 20, kRButton);  // any button advances, wrapping
    EXPECT_NEAR(button->getValue(), 0.25126f, 1e-5);
    EXPECT_EQ(textAlong(*frame, 10, 64, 20), "Edgy");
    click(*frame, 20, 20);
    EXPECT_NEAR(button->getValue(), 1.5f / 1.99f, 1e-6);
    EXPECT_EQ(listener.changes.size(), 3u);
    // Left-aligned labels start 2 pixels in; the glyph offset moves them down.
    auto* left = add(new blueTextArrayButton(CRect(10, 40, 64, 59), &listener, 78, nullptr, &fonts, kLabels, 2, 3,
                                             false));
    left->setValue(0.0f);
    frame->redrawAll();
    EXPECT_EQ(glyphAt(*frame, 12, 54), 'E');
    EXPECT_EQ(glyphAt(*frame, 12, 44), 0);
    EXPECT_EQ(glyphAt(*frame, 11, 54), 0);
}

TEST_F(Controls, TextButtonRadioButtonAndLevelIndicator) {
    auto* text = add(new blueTextButton(CRect(10, 10, 192, 28), &listener, 9999, "BrennixDemo by Ardeko"));
    press(*frame, 20, 20);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    release(*frame, 20, 20);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[1].value, 0.0f);
    text->setText(std::string(300, 'x').c_str());
    EXPECT_EQ(text->getText().size(), 255u);

    // A text too wide for its display is set smaller so that all of it shows;
    // one that cannot fit at all starts at the left edge.
    auto inkColumns = [&](int left, int right, int y0, int y1) {
        frame->redrawAll();
        std::pair<int, int> span{-1, -1};
        for (int x = left; x < right; ++x)
            for (int y = y0; y < y1; ++y)
                if (frame->getBackBuffer()->getPixel(x, y).red > 128) {
                    if (span.first < 0) span.first = x;
                    span.second = x;
                }
        return span;
    };
    auto* status = add(new blueTextButton(CRect(10, 40, 192, 58), &listener, 9999,
                                          "Free Envelope Amount Control: +100 %"));
    auto [first, last] = inkColumns(0, 300, 40, 58);
    // Centred with room on both sides, and still about the display's width, not a tiny text.
    EXPECT_GE(first - 10, 4);
    EXPECT_NEAR(first - 10, 191 - last, 3);
    EXPECT_GT(last - first, 140);
    status->setText(std::string(60, 'M').c_str());
    first = inkColumns(0, 300, 40, 58).first;
    EXPECT_GE(first, 11);
    EXPECT_LE(first, 14);

    CBitmap* image = twoStateImage(26, 52);
    auto* radio = add(new blueRadioButton(CRect(100, 10, 126, 36), &listener, 9999, image, ""));
    click(*frame, 110, 20);
    EXPECT_EQ(radio->getValue(), 1.0f);
    EXPECT_EQ(pixelAt(*frame, 103, 13), (CColor{0, 255, 0, 255}));
    click(*frame, 110, 20);  // already on: nothing
    EXPECT_EQ(listener.changes.size(), 3u);
    radio->setValue(0.0f);
    EXPECT_EQ(pixelAt(*frame, 103, 13), (CColor{255, 0, 0, 255}));
    image->forget();

    // Level image: rows 0..38 coded by colour; row f shows at f pixels below the top.
    auto rows = pngBytes(15, 39, [](int, int y) { return 0xff000000u | uint32_t(y * 6) << 8; });
    CBitmap* level = new CBitmap(rows.data(), rows.size(), true);
    auto* slider = add(new blueVSlider(CRect(455, 302, 469, 339), &listener, 9999, level));
    level->forget();
    EXPECT_EQ(slider->getRow(), 18);  // the initial 18.5 shows the lower half
    EXPECT_EQ(pixelAt(*frame, 460, 302 + 20).green, 20 * 6);
    EXPECT_EQ(pixelAt(*frame, 460, 302 + 10), COptionMenuScheme::current()->colors().readoutBackground);
    slider->setValue(37.0f);
    EXPECT_EQ(pixelAt(*frame, 460, 302).green, 0);
    slider->setValue(100.0f);
    EXPECT_EQ(slider->getRow(), 0);
    slider->setValue(-5.0f);
    EXPECT_EQ(slider->getRow(), 37);
    click(*frame, 460, 320);  // no mouse handling
    EXPECT_EQ(listener.changes.size(), 3u);
}

TEST_F(Controls, GateCellsToggleTheirBits) {
    auto* gate = add(new blueGatorDisplay(CRect(35, 129, 194, 141), &listener, 191));
    gate->setValue(0.0f);
    click(*frame, 36, 135);
    EXPECT_FLOAT_EQ(gate->getValue(), 1.5f / 65536.0f);
    EXPECT_EQ(gate->getBits(), 1u);
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    EXPECT_EQ(pixelAt(*frame, 36, 130), c.active);
    EXPECT_EQ(pixelAt(*frame, 46, 130), c.inactive);
    EXPECT_EQ(pixelAt(*frame, 44, 130), kBlackCColor);  // the gap between cells
    click(*frame, 35 + 155, 135);  // cell 15
    EXPECT_EQ(gate->getBits(), 0x8001u);
    click(*frame, 36, 135);
    EXPECT_EQ(gate->getBits(), 0x8000u);
    gate->setValue(1.0f);
    EXPECT_EQ(gate->getBits(), 0xffffu);
    // The values the cells write read back whole, the full pattern included.
    for (unsigned bits : {0xfffeu, 0x7fffu, 0xffffu, 0xaaaau}) {
        gate->setValue((float(bits) + 0.5f) / 65536.0f);
        EXPECT_EQ(gate->getBits(), bits);
    }
    EXPECT_EQ(listener.changes.size(), 3u);
}

TEST_F(Controls, ArpGridClicksAndDragsEditTheStepParameters) {
    auto plugin = testing_support::makePlugin();
    add(new blueArpDisplay(CRect(63, 52, 466, 191), &listener, plugin.get(), nullptr, &fonts));
    plugin->setParameter(210, 1.0f);  // 16 steps
    auto cell = [](int row, int step) { return CPoint(63 + 25 * step + 12, 52 + 17 + 20 * row + 10); };

    // Row 1 of step 16 is parameter 235.
    float tie = plugin->getParameter(235);
    click(*frame, cell(1, 15).h, cell(1, 15).v);
    EXPECT_EQ(plugin->getParameter(235), tie >= 0.5f ? 0.0f : 1.0f);
    EXPECT_EQ(listener.hides, 1);
    plugin->setParameter(236, 0.0f);
    click(*frame, cell(0, 0).h, cell(0, 0).v);
    EXPECT_EQ(plugin->getParameter(236), 1.0f);
    plugin->setParameter(252, 0.7f);
    click(*frame, cell(2, 0).h, cell(2, 0).v);
    EXPECT_EQ(plugin->getParameter(252), 0.0f);
    // The band above the grid is not a cell; right click asks for help on tag 220.
    click(*frame, 70, 55);
    click(*frame, 70, 100, kRButton);
    ASSERT_EQ(listener.helpRequests.size(), 1u);
    EXPECT_EQ(listener.helpRequests[0].first, 220);

    // Drag on the tune row: right and up both count, 200 pixels the range.
    plugin->setParameter(284 + 2, 0.5f);
    CPoint p = cell(3, 2);
    press(*frame, p.h, p.v);
    move(*frame, p.h + 10, p.v - 10);
    EXPECT_NEAR(plugin->getParameter(286), 0.6f, 1e-4);
    move(*frame, p.h + 10, p.v - 10, kLButton | kShift);  // divisor x 10, no jump
    EXPECT_NEAR(plugin->getParameter(286), 0.6f, 1e-4);
    move(*frame, p.h + 30, p.v - 10, kLButton | kShift);
    EXPECT_NEAR(plugin->getParameter(286), 0.61f, 1e-4);
    move(*frame, p.h + 30, p.v - 10);  // releasing Shift keeps the divisor
    move(*frame, p.h + 50, p.v - 10);
    EXPECT_NEAR(plugin->getParameter(286), 0.62f, 1e-4);
    release(*frame, p.h + 50, p.v - 10);
    // Shift at the press: 2000 pixels.
    plugin->setParameter(268 + 2, 0.0f);
    p = cell(4, 2);
    press(*frame, p.h, p.v, kLButton | kShift);
    move(*frame, p.h + 20, p.v, kLButton | kShift);
    EXPECT_NEAR(plugin->getParameter(270), 0.01f, 1e-4);
    release(*frame, p.h + 20, p.v);

    // Control-click resets: row 3 tune, velocity and free; row 5 only free.
    plugin->setParameter(284 + 4, 0.9f);
    plugin->setParameter(268 + 4, 0.2f);
    plugin->setParameter(300 + 4, 0.1f);
    click(*frame, cell(5, 4).h, cell(5, 4).v, kLButton | kControl);
    EXPECT_EQ(plugin->getParameter(304), 0.5f);
    EXPECT_NEAR(plugin->getParameter(272), 0.2f, 1e-6);
    click(*frame, cell(3, 4).h, cell(3, 4).v, kLButton | kControl);
    EXPECT_EQ(plugin->getParameter(288), 0.5f);
    EXPECT_EQ(plugin->getParameter(272), 1.0f);
}

TEST_F(Controls, ArpDisplayPrintsTheStateOfEachStep) {
    auto plugin = testing_support::makePlugin();
    auto* arp = add(new blueArpDisplay(CRect(63, 52, 466, 191), &listener, plugin.get(), nullptr, &fonts));
    plugin->setParameter(210, (3 + 0.5f) / 15.99f);  // 4 steps
    for (int s = 0; s < 16; ++s) plugin->setParameter(236 + s, 1.0f);
    plugin->setParameter(220 + 1, 1.0f);   // step 2 tied
    plugin->setParameter(219, 0.0f);       // tied mode off
    plugin->setParameter(284, 1.0f);       // tune +36
    plugin->setParameter(268, 1.0f);       // velocity 127
    plugin->setParameter(300, 0.0f);       // free -99
    plugin->setParameter(252, 0.0f);
    EXPECT_EQ(arp->cellText(0, 0), "X");
    EXPECT_EQ(arp->cellText(2, 0), "-");
    EXPECT_EQ(arp->cellText(3, 0), "+36");
    EXPECT_EQ(arp->cellText(4, 0), "127");
    EXPECT_EQ(arp->cellText(5, 0), "-99");
    EXPECT_EQ(arp->cellText(1, 1), "T");
    EXPECT_EQ(arp->cellText(3, 1), "---");
    EXPECT_EQ(arp->cellText(0, 3), "X");  // the fourth step is the last one on
    EXPECT_EQ(arp->cellText(0, 4), "-");  // beyond the 4 active steps: off
    EXPECT_EQ(arp->cellText(0, 5), "-");
    EXPECT_EQ(arp->cellText(3, 5), "");
    plugin->setParameter(219, 1.0f);
    EXPECT_NE(arp->cellText(3, 1), "---");
    EXPECT_EQ(textAlong(*frame, 63, 88, 52 + 17 + 60 + 10), "+36");
    // The current step, set from another thread, shows at the next idle.
    auto strip = pngBytes(403, 272, [](int, int y) { return 0xff000000u | uint32_t(y / 17 * 10) << 16; });
    CBitmap* indicator = new CBitmap(strip.data(), strip.size(), true);
    arp->setBackground(indicator);
    indicator->forget();
    frame->idle();
    std::thread([arp] { arp->setCurrentStep(7); }).join();
    frame->idle();
    EXPECT_EQ(frame->getBackBuffer()->getPixel(100, 60).red, 70);
    frame->writePng(renderPath("arp-display.png"));
}

TEST_F(Controls, HelpScreenPagesPlacementAndHiding) {
    std::string text = "Brennix Help System\nNo help available\n!\n";
    for (int p = 1; p <= 22; ++p)
        text += "Brennix Help System " + std::to_string(p) +
                "/22\n Item title\nRunning text that is long enough to wrap onto a second band of the help "
                "screen when drawn.\n\n!\n";
    auto blocks = brennixHelpScreen::parseBlocks(text.c_str());
    ASSERT_EQ(blocks.size(), 23u);
    EXPECT_EQ(blocks[0][1], "No help available");
    CBitmap* panel = solidImage(440, 440, CColor{20, 30, 40, 255});
    auto* help = add(new brennixHelpScreen(CRect(0, 0, 440, 440), &listener, 9999, panel));
    panel->forget();
    help->setBlocks(blocks);
    EXPECT_EQ(help->getPageCount(), 22);
    help->placeAt(CPoint(900, 500));
    EXPECT_EQ(help->getViewSize(), CRect(560, 160, 1000, 600));
    help->placeAt(CPoint(-30, 20));
    EXPECT_EQ(help->getViewSize().left, 0);

    help->setPage(0);
    click(*frame, 5, 25);    // corners do nothing on page 0
    click(*frame, 430, 25);
    EXPECT_EQ(help->getPage(), 0);
    help->setPage(1);
    click(*frame, 5, 25);
    EXPECT_EQ(help->getPage(), 1);
    for (int i = 0; i < 30; ++i) click(*frame, 421, 25);
    EXPECT_EQ(help->getPage(), 22);
    frame->writePng(renderPath("help-screen.png"));
    click(*frame, 200, 25);  // the title band asks to be hidden
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    click(*frame, 300, 300);  // below it: centred on the click, inside the window
    EXPECT_EQ(help->getViewSize(), CRect(80, 80, 520, 520));
    click(*frame, 500, 500);
    EXPECT_EQ(help->getViewSize(), CRect(280, 160, 720, 600));
    help->hide();
    EXPECT_FALSE(help->isShown());
    EXPECT_EQ(help->getViewSize().left, -1);
    EXPECT_EQ(frame->getViewAt(CPoint(500, 300), true), nullptr);
}
