// The editor as a host sees it: Brennix.so loaded like a DAW loads it, the
// editor opened with effEditOpen inside a window the test makes on its own X
// connection, driven by real pointer events (XTest) and judged by what the
// host is told and by what the X server shows.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "EditorTestSupport.h"
#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "X11TestSupport.h"
#include "editor/ControlLayout.h"
#include "params/Enumerations.h"

using namespace x11_testing;
using layout::Kind;
using layout::Role;
using VSTGUI::CPoint;

namespace {

using editor_testing::record;

CPoint centre(const layout::Control& c) { return editor_testing::centreOf(c); }

// Where entry `index` of a pop-up menu with `entries` plain entries lies: the
// menu opens below its control (above when there is no room) with 16-pixel
// rows inside a 3-pixel padding, kept inside the window.
CPoint menuEntry(const layout::Control& menu, int entries, int index) {
    layout::Rect r = menu.windowRect();
    int height = entries * 16 + 6;
    int top = r.bottom + height <= 600 ? r.bottom : std::max(0, std::min(r.top - height, 600 - height));
    return CPoint(r.left + 20, top + 3 + 16 * index + 8);
}

class EditorWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!needDisplay(host)) GTEST_SKIP() << "no X display: ./test.sh and .ci/run start Xvfb for these tests";
        plugin = testing_support::loadPlugin(44100.0f, 512, false);
        host.moveAway();
    }
    void TearDown() override {
        if (plugin) plugin->dispatch(effEditClose);
    }
    void open() {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.parent()), 1);
        // Drawn when the background's dark panel is on screen.
        settle();
    }
    void idle() { plugin->dispatch(effEditIdle); }
    void waitFor(const std::function<bool()>& done) { pump(host, [this] { idle(); }, done); }
    // A few idles, so that marks, input and drawing have gone through.
    void settle() {
        for (int i = 0; i < 5; ++i) {
            host.sync();
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void clickAt(CPoint p) {
        host.moveTo(p.h, p.v);
        settle();
        host.button(1, true);
        settle();
        host.button(1, false);
        settle();
    }
    // Drags from `p` by `dy` pixels (negative: upwards) in steps, like a hand.
    void dragFrom(CPoint p, int dy) {
        host.moveTo(p.h, p.v);
        settle();
        host.button(1, true);
        settle();
        for (int step = 1; step <= 4; ++step) {
            host.moveTo(p.h, p.v + dy * step / 4);
            settle();
        }
        host.button(1, false);
        settle();
    }
    // The screen's pixels over a layout rectangle (window coordinates).
    cairo_surface_t* shot(layout::Rect r) { return host.screenshot(r.left, r.top, r.width(), r.height()); }
    bool same(cairo_surface_t* a, cairo_surface_t* b) { return differingShare(a, b, 8) == 0.0; }
    std::vector<int32_t> gestures(int32_t index) {
        std::vector<int32_t> seen;
        for (const vsthost::HostCall& c : plugin->calls())
            if (c.index == index && (c.opcode == audioMasterAutomate || c.opcode == audioMasterBeginEdit ||
                                     c.opcode == audioMasterEndEdit))
                seen.push_back(c.opcode);
        return seen;
    }

    HostWindow host;
    std::unique_ptr<vsthost::PluginHost> plugin;
};

struct Shot {
    cairo_surface_t* s;
    explicit Shot(cairo_surface_t* s) : s(s) {}
    ~Shot() { cairo_surface_destroy(s); }
    operator cairo_surface_t*() const { return s; }
};

}  // namespace

TEST_F(EditorWindow, KnobDragsAutomateBetweenBeginAndEndAndMenusSetTheirParameterDirectly) {
    open();
    const float before = plugin->getParameter(61);
    plugin->clearCalls();
    dragFrom(centre(record(Kind::Knob, 61)), -60);
    EXPECT_NEAR(plugin->getParameter(61), before + 60 / 200.0f, 1e-4);
    std::vector<int32_t> seen = gestures(61);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), audioMasterBeginEdit);
    EXPECT_EQ(seen.back(), audioMasterEndEdit);
    for (size_t i = 1; i + 1 < seen.size(); ++i) EXPECT_EQ(seen[i], audioMasterAutomate);
    const vsthost::HostCall* last = nullptr;
    for (const vsthost::HostCall& c : plugin->calls())
        if (c.opcode == audioMasterAutomate && c.index == 61) last = &c;
    EXPECT_FLOAT_EQ(last->opt, plugin->getParameter(61));

    // "Play Mode": the menu pops up, the entry sets the parameter, the host is not asked to record it.
    const layout::Control& playMode = record(Kind::OptionMenu, prm::PlayMode);
    clickAt(centre(playMode));
    clickAt(menuEntry(playMode, 8, 3));
    EXPECT_FLOAT_EQ(plugin->getParameter(prm::PlayMode), params::kPlayMode.valueOf(3));
    EXPECT_TRUE(gestures(prm::PlayMode).empty());
}

TEST_F(EditorWindow, HostParameterChangesMoveTheControlsOnScreen) {
    open();
    const layout::Rect cutoff = record(Kind::Knob, 61).windowRect();
    const layout::Rect mode = record(Kind::OptionMenu, prm::PlayMode).windowRect();
    plugin->setParameter(61, 0.0f);
    plugin->setParameter(prm::PlayMode, params::kPlayMode.valueOf(0));
    settle();
    Shot low(shot(cutoff)), poly(shot(mode));
    plugin->setParameter(61, 1.0f);
    plugin->setParameter(prm::PlayMode, params::kPlayMode.valueOf(5));
    waitFor([&] { return !same(Shot(shot(cutoff)), low) && !same(Shot(shot(mode)), poly); });
    EXPECT_FALSE(same(Shot(shot(cutoff)), low));
    EXPECT_FALSE(same(Shot(shot(mode)), poly));
    plugin->setParameter(61, 0.0f);
    plugin->setParameter(prm::PlayMode, params::kPlayMode.valueOf(0));
    waitFor([&] { return same(Shot(shot(cutoff)), low); });
    EXPECT_TRUE(same(Shot(shot(cutoff)), low));
    EXPECT_TRUE(same(Shot(shot(mode)), poly));
    // A program change from the host shows the new program everywhere.
    plugin->dispatch(effSetProgram, 0, 3);
    plugin->setParameter(61, 0.0f);
    waitFor([&] { return same(Shot(shot(cutoff)), low); });
    EXPECT_TRUE(same(Shot(shot(cutoff)), low));
}

TEST_F(EditorWindow, PageSwitchesKeepValuesAndSelectorsAndReopeningKeepsThePages) {
    open();
    const layout::Rect lower = layout::regionRect(layout::Region::Mod);
    const layout::Rect right = layout::regionRect(layout::Region::Preset);
    clickAt(centre(record(Kind::RadioButton, layout::kNoParameter, Role::FreeEnvelopeSelector, 1)));
    host.moveAway();
    settle();
    Shot mod(shot(lower));
    clickAt(centre(record(Kind::PushButton, 901)));
    host.moveAway();
    settle();
    EXPECT_FALSE(same(Shot(shot(lower)), mod));
    clickAt(centre(record(Kind::PushButton, 900)));
    host.moveAway();
    settle();
    EXPECT_TRUE(same(Shot(shot(lower)), mod));
    // The envelope knobs still edit the second free envelope.
    plugin->clearCalls();
    dragFrom(centre(record(Kind::Knob, 111)), -20);
    EXPECT_FALSE(gestures(112).empty());
    EXPECT_TRUE(gestures(111).empty());

    clickAt(centre(record(Kind::PushButton, 901)));
    clickAt(centre(record(Kind::PushButton, 902)));
    host.moveAway();
    settle();
    Shot arp(shot(lower)), advanced(shot(right));
    plugin->dispatch(effEditClose);
    open();
    EXPECT_TRUE(same(Shot(shot(lower)), arp));
    EXPECT_TRUE(same(Shot(shot(right)), advanced));
}

TEST_F(EditorWindow, FxSlotThreeMakesTheFirstEffectKnobEdit181AndTheTypeMenu172) {
    sounds::selectDefaultSound(*plugin);  // every slot empty
    open();
    clickAt(centre(record(Kind::RadioButton, layout::kNoParameter, Role::FxSlotSelector, 2)));
    const layout::Control& types = record(Kind::FxTypeMenu, prm::Fx1Type);
    clickAt(centre(types));
    clickAt(menuEntry(types, 22, 1));  // "Mono Delay"
    EXPECT_EQ(params::fxKnobType(plugin->getParameter(172)), 1);
    EXPECT_EQ(params::fxKnobType(plugin->getParameter(170)), 0);
    plugin->clearCalls();
    dragFrom(centre(layout::fxKnobs()[0]), -20);
    EXPECT_FALSE(gestures(181).empty());
    EXPECT_TRUE(gestures(179).empty());
}

TEST_F(EditorWindow, ProgramArrowsWrapAndRefuseASecondStepWithinHalfASecond) {
    plugin->dispatch(effSetProgram, 0, 127);
    open();
    std::this_thread::sleep_for(std::chrono::milliseconds(520));
    const CPoint next = centre(record(Kind::PushButton, layout::kNoParameter, Role::NextProgram));
    const CPoint previous = centre(record(Kind::PushButton, layout::kNoParameter, Role::PreviousProgram));
    clickAt(next);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
    clickAt(next);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(520));
    clickAt(previous);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 127);
}

TEST_F(EditorWindow, HoveringAControlWithoutParameterLeavesTheStatusLine) {
    open();
    const layout::Rect status = record(Kind::TextButton, layout::kNoParameter, Role::StatusDisplay).windowRect();
    Shot atOpen(shot(status));
    const CPoint cutoff = centre(record(Kind::Knob, 61));
    host.moveTo(cutoff.h, cutoff.v);
    waitFor([&] { return !same(Shot(shot(status)), atOpen); });
    settle();
    Shot named(shot(status));
    EXPECT_FALSE(same(named, atOpen));
    const CPoint readout = centre(record(Kind::TextButton, layout::kNoParameter, Role::FilterLfoRate));
    host.moveTo(readout.h, readout.v);
    settle();
    EXPECT_TRUE(same(Shot(shot(status)), named));
    const CPoint resonance = centre(record(Kind::Knob, 62));
    host.moveTo(resonance.h, resonance.v);
    waitFor([&] { return !same(Shot(shot(status)), named); });
    EXPECT_FALSE(same(Shot(shot(status)), named));
}

TEST_F(EditorWindow, OpenAndCloseWhileTheAudioThreadPlaysAutomatesAndChangesPrograms) {
    plugin->setRecordCalls(false);  // the host's record is not shared between threads
    std::atomic<bool> running{true};
    std::atomic<float> lastCutoff{0.0f};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        VstTimeInfo time{};
        time.sampleRate = 44100;
        time.tempo = 120;
        time.flags = kVstTempoValid | kVstTransportPlaying;
        for (int block = 0; running; ++block) {
            VstMidiEvent events[2] = {vsthost::PluginHost::midi(0, 0x90, uint8_t(48 + block % 24), 100),
                                      vsthost::PluginHost::midi(128, 0x80, uint8_t(48 + (block + 23) % 24), 0)};
            if (block % 97 == 0) events[1] = vsthost::PluginHost::midi(64, 0xC0, uint8_t(block % 5), 0);
            float v = float(block % 1000) / 1000.0f;
            plugin->setParameter(61, v);  // automation at block rate
            plugin->setParameter(62, 1.0f - v);
            lastCutoff = v;
            plugin->processBlock(time, events, 2, left.data(), right.data(), 256);
        }
    });
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.parent()), 1);
        for (int k = 0; k < 5; ++k) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        plugin->dispatch(effEditClose);
    }
    running = false;
    audio.join();
    EXPECT_FLOAT_EQ(plugin->getParameter(61), lastCutoff.load());
    EXPECT_EQ(host.childCount(), 0u);
}

TEST_F(EditorWindow, BadHostCallsAndClosingInTheMiddleOfAGestureHarmNothing) {
    idle();  // no window yet
    plugin->dispatch(effEditClose);
    open();
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.parent()), 1);  // again, without a close
    settle();
    EXPECT_EQ(host.childCount(), 1u);

    // A drag cut short by the host closing the window still ends at the host.
    plugin->clearCalls();
    const CPoint cutoff = centre(record(Kind::Knob, 61));
    host.moveTo(cutoff.h, cutoff.v);
    settle();
    host.button(1, true);
    settle();
    host.moveTo(cutoff.h, cutoff.v - 30);
    settle();
    plugin->dispatch(effEditClose);
    host.button(1, false);
    std::vector<int32_t> seen = gestures(61);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), audioMasterBeginEdit);
    EXPECT_EQ(seen.back(), audioMasterEndEdit);
    const float value = plugin->getParameter(61);

    // A menu left open when the window closes.
    open();
    clickAt(centre(record(Kind::OptionMenu, prm::PlayMode)));
    plugin->dispatch(effEditClose);
    plugin->dispatch(effEditClose);
    idle();
    EXPECT_FLOAT_EQ(plugin->getParameter(61), value);
    open();
    EXPECT_EQ(host.childCount(), 1u);
}

// One picture per page combination, each with another effect slot shown:
// tests/pictures/editor-<lower page>-<right page>.png. After a change of the
// look, BRENNIX_UPDATE_PICTURES=1 writes them anew (see tests/pictures/README.md).
TEST_F(EditorWindow, EveryPageCombinationLooksAsItsPicture) {
    plugin->setParameter(prm::Fx1Type, params::kFxType.valueOf(2));
    plugin->setParameter(prm::Fx1Type + 1, params::kFxType.valueOf(16));
    plugin->setParameter(prm::Fx1Type + 2, params::kFxType.valueOf(17));
    open();
    const bool update = std::getenv("BRENNIX_UPDATE_PICTURES") != nullptr;
    auto selector = [&](int slot) {
        return centre(record(Kind::RadioButton, layout::kNoParameter, Role::FxSlotSelector, slot));
    };
    struct Step {
        const char* name;
        std::vector<CPoint> clicks;
    };
    const Step steps[] = {
        {"editor-mod-preset", {}},
        {"editor-arp-preset", {centre(record(Kind::PushButton, 901)), selector(1)}},
        {"editor-arp-advanced", {centre(record(Kind::PushButton, 902)), selector(2)}},
        {"editor-mod-advanced", {centre(record(Kind::PushButton, 900)), selector(0)}},
    };
    for (const Step& step : steps) {
        for (CPoint p : step.clicks) clickAt(p);
        host.moveAway();
        settle();
        Shot screen(host.screenshot(0, 0, 1000, 600));
        std::string path = std::string(BRENNIX_SOURCE_DIR) + "/tests/pictures/" + step.name + ".png";
        if (update || !std::filesystem::exists(path)) {
            cairo_surface_write_to_png(screen, path.c_str());
            if (!update) ADD_FAILURE() << "no picture yet; wrote " << path << ": look at it and commit it";
            continue;
        }
        Shot expected(cairo_image_surface_create_from_png(path.c_str()));
        cairo_surface_t* flat = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1000, 600);
        cairo_t* cr = cairo_create(flat);
        cairo_set_source_surface(cr, expected, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        Shot reference(flat);
        const double share = differingShare(screen, reference, 24);
        EXPECT_LT(share, 0.002) << step.name << ": " << share * 100 << " % of the pixels differ; the screen is in "
                                << widget_testing::renderPath(std::string(step.name) + "-actual.png");
        if (share >= 0.002)
            cairo_surface_write_to_png(screen, widget_testing::renderPath(std::string(step.name) + "-actual.png").c_str());
    }
}
