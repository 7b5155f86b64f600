// The editor's menus and screens on a plug-in built in the test, its editor
// open without a window and driven with the frame's own mouse and key events:
// the preset and morph menus, the file, ECS and arp file menus with the real
// file chooser and "Preset Name" dialog, the MIDI-learn menu, the help text
// and its paging, the about screen, the manual button and the sample chooser.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "EditorTestSupport.h"
#include "MessageCapture.h"
#include "SampleFiles.h"
#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "editor/HelpText.h"
#include "editor/blueOptionMenu.h"
#include "editor/blueTextButton.h"
#include "editor/brennixHelpScreen.h"
#include "platform/SettingsStore.h"
#include "widgets/CBitmap.h"
#include "widgets/overlays/CFileChooser.h"
#include "widgets/overlays/CMenuOverlay.h"
#include "widgets/overlays/CTextEntryDialog.h"

using namespace VSTGUI;
using namespace editor_testing;
using layout::Kind;
using widget_testing::click;
using widget_testing::key;
using widget_testing::typeText;
namespace fs = std::filesystem;

namespace {

constexpr float kMorphStep = 0.007813111f;

// Settings the test sets before the plug-in reads them, put back afterwards.
struct SavedSettings {
    std::vector<std::pair<std::string, std::string>> saved;
    void set(const std::string& name, const std::string& value) {
        platform::SettingsStore store;
        saved.push_back({name, store.readSetting(name)});
        store.writeSetting(value, name);
    }
    ~SavedSettings() {
        platform::SettingsStore store;
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) store.writeSetting(it->second, it->first);
    }
};

class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        root = testing_support::tempPath(::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
        for (const char* name : {"BankDir", "PresetDir", "ECSDir", "ArpDir", "SampleDir"}) settings.set(name, root);
        open();
    }
    void TearDown() override {
        if (plugin) editor->close();
    }
    void open(int program = 0) {
        if (plugin) editor->close();
        plugin = makePlugin(host, program);
        editor = plugin->getUEditor();
        ASSERT_TRUE(editor->openOffscreen());
        idle();
    }
    void idle() { editor->idle(); }
    CFrame& frame() { return *editor->getFrame(); }
    void pick(const layout::Control& c, long index, long subEntry = -1) {
        ASSERT_TRUE(choose(frame(), centreOf(c), index, subEntry)) << "no entry " << index;
        idle();
    }
    void clickAt(CPoint p, long buttons = kLButton) {
        click(frame(), p.h, p.v, buttons);
        idle();
    }
    template <typename T>
    T* modal() {
        return dynamic_cast<T*>(frame().getModalView());
    }
    // Types a file name into the open chooser and takes it.
    void answerChooser(const std::string& name) {
        ASSERT_NE(modal<CFileChooser>(), nullptr);
        for (int i = 0; i < 300; ++i) key(frame(), VKEY_BACK);
        typeText(frame(), name);
        key(frame(), VKEY_RETURN);
        idle();
    }
    // Clicks the line of `name` twice in the open chooser (an open).
    void openInChooser(const std::string& name) {
        auto* chooser = modal<CFileChooser>();
        ASSERT_NE(chooser, nullptr);
        const auto& entries = chooser->getEntries();
        auto it = std::find(entries.begin(), entries.end(), name);
        ASSERT_NE(it, entries.end()) << name;
        CRect r = chooser->entryRect(int(it - entries.begin()));
        click(frame(), r.left + 10, r.top + 5);
        click(frame(), r.left + 10, r.top + 5);
        idle();
    }
    blueOptionMenu* presetMenu() { return static_cast<blueOptionMenu*>(editor->control(Kind::PresetMenu, layout::kNoParameter)); }
    std::string programName(int p) { return plugin->program(p).recordName; }
    const layout::Control& fileMenu() { return record(Kind::ButtonMenu, 916); }
    const layout::Control& presetMenuRecord() { return record(Kind::PresetMenu, layout::kNoParameter); }
    std::vector<uint8_t> bytesOf(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    SavedSettings settings;
    std::string root;
    RecordingHost host;
    std::unique_ptr<APlugin> plugin;
    uEditor* editor = nullptr;
};

const layout::Control& morphMenu(int source) {
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.kind == Kind::MorphMenu && c.index == source) return c;
    throw std::runtime_error("no morph menu");
}

}  // namespace

TEST_F(Menus, PresetMenuListsTheProgramsMarksTheCurrentAndSelectsByPosition) {
    blueOptionMenu* menu = presetMenu();
    ASSERT_EQ(menu->getNbEntries(), 14);
    const char* top[] = {"Preset 1-32", "Preset 33-64", "Preset 65-96", "Preset 97-128", "-",
                         "Rename Preset", "Copy Preset", "Paste Preset", "Default Preset", "Load Preset",
                         "Save Preset", "Store as Morph A", "Store as Morph B", "Help"};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(menu->getRawEntry(i), std::string(i < 4 ? "-M" : "") + top[i]) << i;
    EXPECT_EQ(menu->getSubMenu(0)->getEntryText(0), programName(0) + " <<<");
    EXPECT_EQ(menu->getSubMenu(3)->getEntryText(31), programName(127));
    EXPECT_EQ(menu->faceText(), programName(0));

    pick(presetMenuRecord(), 1, 5);
    EXPECT_EQ(plugin->getProgram(), 37);
    EXPECT_EQ(menu->faceText(), programName(37));
    EXPECT_EQ(menu->getSubMenu(1)->getEntryText(5), programName(37) + " <<<");
    EXPECT_EQ(menu->getSubMenu(0)->getEntryText(0), programName(0));

    // Two programs of one name: the entry chosen is the program selected.
    char same[] = "Twin";
    plugin->setProgram(3);
    plugin->setProgramName(same);
    plugin->setProgram(40);
    plugin->setProgramName(same);
    // A name that menus would take for a separator or a disabled entry.
    plugin->setProgram(41);
    char dash[] = "-Gritty";
    plugin->setProgramName(dash);
    idle();
    pick(presetMenuRecord(), 0, 3);
    EXPECT_EQ(plugin->getProgram(), 3);
    EXPECT_FALSE(menu->getSubMenu(1)->isDisabled(9));
    pick(presetMenuRecord(), 1, 9);
    EXPECT_EQ(plugin->getProgram(), 41);
    EXPECT_EQ(menu->faceText(), "-Gritty");

    // The current program's entry keeps an edit in place.
    plugin->setParameter(61, 0.123f);
    pick(presetMenuRecord(), 1, 9);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 0.123f);
    EXPECT_TRUE(plugin->parameters().programModified);
}

TEST_F(Menus, MorphMenusSendTheProgramAndTheStoredSources) {
    pick(morphMenu(0), 1, 5);
    EXPECT_FLOAT_EQ(plugin->getParameter(11), (32 + 5 + 0.5f) * kMorphStep);
    EXPECT_FLOAT_EQ(plugin->getParameter(12), plugin->program(0).recordValues[12]);
    pick(morphMenu(1), 3, 31);
    EXPECT_FLOAT_EQ(plugin->getParameter(12), (96 + 31 + 0.5f) * kMorphStep);
    EXPECT_EQ(host.count(audioMasterAutomate, 11), 0);  // set directly, as menus do
    // The faces name the programs.
    for (const editor::RegisteredControl& e : editor->controls().all()) {
        if (e.layout->kind != Kind::MorphMenu) continue;
        EXPECT_EQ(static_cast<blueOptionMenu*>(e.control)->faceText(), programName(e.layout->index == 0 ? 37 : 127));
    }

    // "Store as Morph B" on program 9, then "Set to stored Morph B".
    plugin->setProgram(9);
    idle();
    pick(presetMenuRecord(), 12);
    plugin->setProgram(2);
    idle();
    pick(morphMenu(1), 4);
    EXPECT_FLOAT_EQ(plugin->getParameter(12), (9 + 0.5f) * kMorphStep);
    pick(presetMenuRecord(), 11);  // A stores program 2
    pick(morphMenu(0), 4);
    EXPECT_FLOAT_EQ(plugin->getParameter(11), (2 + 0.5f) * kMorphStep);
}

TEST_F(Menus, PresetCommandsCopyPasteDefaultAndRenameThroughTheDialog) {
    plugin->setProgram(3);
    idle();
    const std::string three = programName(3);
    pick(fileMenu(), 4);  // "Copy Preset"
    plugin->setProgram(9);
    idle();
    pick(presetMenuRecord(), 7);  // "Paste Preset"
    EXPECT_EQ(programName(9), three);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), plugin->program(3).recordValues[61]);

    pick(fileMenu(), 7);  // "Default Preset"
    EXPECT_EQ(programName(9), "Default");
    EXPECT_FLOAT_EQ(plugin->getParameter(61), plugin->parameters().defaultValue[61]);

    // "Rename Preset": the dialog shows the name; a long name keeps 24 characters.
    pick(presetMenuRecord(), 5);
    auto* dialog = modal<CTextEntryDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->getTitle(), "Preset Name");
    EXPECT_EQ(dialog->getText(), "Default");
    frame().redrawAll();
    frame().writePng(widget_testing::renderPath("menus-preset-name.png"));
    typeText(frame(), "A very long name for a warm evening pad");
    key(frame(), VKEY_RETURN);
    idle();
    EXPECT_EQ(programName(9), "A very long name for a w");
    EXPECT_EQ(presetMenu()->faceText(), "A very long name for a w");
    EXPECT_GE(host.count(audioMasterUpdateDisplay, 0), 1);
    // Cancelled, or emptied: the name stays.
    pick(fileMenu(), 6);
    typeText(frame(), "Other");
    key(frame(), VKEY_ESCAPE);
    pick(fileMenu(), 6);
    key(frame(), VKEY_BACK);
    key(frame(), VKEY_RETURN);
    idle();
    EXPECT_EQ(programName(9), "A very long name for a w");
    EXPECT_EQ(frame().getModalView(), nullptr);
}

TEST_F(Menus, HelpEntriesShowThePresetPageAtThreeHundredNought) {
    brennixHelpScreen* help = editor->getHelpScreen();
    pick(fileMenu(), 8);
    ASSERT_TRUE(help->isShown());
    EXPECT_EQ(help->getPage(), 20);
    EXPECT_EQ(help->getViewSize(), CRect(300, 0, 740, 440));
    help->hide();
    pick(presetMenuRecord(), 13);
    EXPECT_TRUE(help->isShown());
    EXPECT_EQ(help->getPage(), 20);
    EXPECT_EQ(help->getViewSize().left, 300);
}

TEST_F(Menus, BankSavedThroughTheChooserLoadsBackByteIdentical) {
    pick(fileMenu(), 1);  // "Save Bank"
    auto* chooser = modal<CFileChooser>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->getTitle(), "Save Bank");
    EXPECT_EQ(chooser->getFolder(), fs::weakly_canonical(root).string());
    EXPECT_EQ(chooser->getFileName(), "Brennix Bank.fxb");
    answerChooser("Mine");
    const std::string saved = root + "/Mine.fxb";
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(fs::file_size(saved), 156u + 128u * 3252u);

    // Change the bank, load the file back, save again: the same bytes.
    const std::string name5 = programName(5);
    const float cutoff5 = plugin->program(5).recordValues[61];
    plugin->setProgram(5);
    plugin->setParameter(61, 0.011f);
    char changed[] = "Changed";
    plugin->setProgramName(changed);
    pick(fileMenu(), 0);  // "Load Bank"
    EXPECT_EQ(modal<CFileChooser>()->getTitle(), "Load Bank");
    openInChooser("Mine.fxb");
    EXPECT_EQ(frame().getModalView(), nullptr);
    EXPECT_EQ(programName(5), name5);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), cutoff5);
    EXPECT_EQ(presetMenu()->faceText(), name5);
    pick(fileMenu(), 1);
    answerChooser("Again.fxb");
    EXPECT_EQ(bytesOf(root + "/Again.fxb"), bytesOf(saved));

    // A preset the same way, named after the program.
    pick(fileMenu(), 3);  // "Save Preset"
    EXPECT_EQ(modal<CFileChooser>()->getFileName(), name5 + ".fxp");
    key(frame(), VKEY_RETURN);
    idle();
    ASSERT_TRUE(fs::exists(root + "/" + name5 + ".fxp"));
    plugin->setProgram(6);
    pick(presetMenuRecord(), 9);  // "Load Preset"
    openInChooser(name5 + ".fxp");
    EXPECT_EQ(programName(6), name5);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), cutoff5);

    // A name that would make a hidden file or a folder offers a plain file name;
    // only its leading dots and blanks go.
    char awkward[] = " .Air/Pad";
    plugin->setProgramName(awkward);
    pick(fileMenu(), 3);
    EXPECT_EQ(modal<CFileChooser>()->getFileName(), "Air-Pad.fxp");
    key(frame(), VKEY_ESCAPE);
}

TEST_F(Menus, BadFilesAndFoldersAreRefusedWithAMessageAndChangeNothing) {
    MessageCapture messages;
    const std::string name0 = programName(0), name1 = programName(1);
    const float cutoff = plugin->getParameter(61);
    auto expectMessage = [&](const std::string& fragment) {
        ASSERT_FALSE(messages.texts.empty()) << fragment;
        EXPECT_NE(messages.texts.back().find(fragment), std::string::npos) << messages.texts.back();
        messages.texts.clear();
        EXPECT_EQ(programName(0), name0);
        EXPECT_EQ(programName(1), name1);
        EXPECT_FLOAT_EQ(plugin->getParameter(61), cutoff);
    };
    // Damaged, foreign and unreadable banks and presets.
    testing_support::writeText(root + "/garbage.fxb", std::string(5000, 'x'));
    fs::create_symlink(root + "/gone.fxb", root + "/dangling.fxb");
    testing_support::writeText(root + "/short.fxp", "CcnK");
    pick(fileMenu(), 0);
    openInChooser("garbage.fxb");
    expectMessage("Cannot load the bank \"garbage.fxb\"");
    EXPECT_EQ(frame().getModalView(), nullptr);
    // A file that went away: said so, and the chooser stays for another choice.
    pick(fileMenu(), 0);
    openInChooser("dangling.fxb");
    expectMessage("Cannot open \"dangling.fxb\"");
    ASSERT_NE(modal<CFileChooser>(), nullptr);
    key(frame(), VKEY_ESCAPE);
    pick(fileMenu(), 2);
    openInChooser("short.fxp");
    expectMessage("Cannot load the preset \"short.fxp\"");

    // Writing where nothing can be written: over a folder, a name too long for the file system.
    fs::create_directories(root + "/taken.fxb");
    pick(fileMenu(), 1);
    answerChooser("taken.fxb");
    expectMessage("Cannot save the bank \"taken.fxb\"");
    EXPECT_TRUE(fs::is_directory(root + "/taken.fxb"));
    pick(fileMenu(), 3);
    answerChooser(std::string(255, 'n'));
    expectMessage("Cannot save the preset");
    // Odd but legal characters are just a name; a folder separator is refused.
    pick(fileMenu(), 3);
    answerChooser("Pad: \"warm\" * 50% ?");
    EXPECT_TRUE(fs::exists(root + "/Pad: \"warm\" * 50% ?.fxp"));
    EXPECT_TRUE(messages.texts.empty());
    pick(fileMenu(), 3);
    answerChooser("sub/name");
    expectMessage("\"/\"");
    ASSERT_NE(modal<CFileChooser>(), nullptr);  // still open for another name
    key(frame(), VKEY_ESCAPE);
    EXPECT_EQ(frame().getModalView(), nullptr);

    // A folder in the settings that does not exist: said so, the chooser starts above it.
    editor->close();
    settings.set("BankDir", root + "/no/such/folder");
    open();
    pick(fileMenu(), 0);
    expectMessage("The bank folder \"" + root + "/no/such/folder/\" does not exist");
    ASSERT_NE(modal<CFileChooser>(), nullptr);
    EXPECT_EQ(modal<CFileChooser>()->getFolder(), fs::weakly_canonical(root).string());
    key(frame(), VKEY_ESCAPE);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Menus, EcsAndArpFileMenusSaveLoadCopyPasteAndClear) {
    plugin->clearMidi();
    plugin->latchToMidi(61);
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 74, 10)});
    ASSERT_EQ(plugin->boundParameter(74), 61);
    const layout::Control& ecs = record(Kind::ButtonMenu, 915);
    pick(ecs, 1);  // "Save ECS"
    EXPECT_EQ(modal<CFileChooser>()->getTitle(), "Save ECS");
    answerChooser("live");
    ASSERT_TRUE(fs::exists(root + "/live.ecs"));
    pick(ecs, 2);  // "Clear Midi"
    EXPECT_EQ(plugin->boundParameter(74), 0);
    pick(ecs, 0);
    openInChooser("live.ecs");
    EXPECT_EQ(plugin->boundParameter(74), 61);

    clickAt(centreOf(record(Kind::PushButton, 901)));  // to the Arp page
    const layout::Control& arp = record(Kind::ButtonMenu, 914);
    plugin->setParameter(220, 0.0f);
    plugin->setParameter(prm::ArpSteps, 0.3f);
    pick(arp, 2);  // "Copy Arp"
    pick(arp, 4);  // "Clear Arp"
    EXPECT_FLOAT_EQ(plugin->getParameter(prm::ArpSteps), plugin->parameters().defaultValue[prm::ArpSteps]);
    pick(arp, 3);  // "Paste Arp"
    EXPECT_FLOAT_EQ(plugin->getParameter(prm::ArpSteps), 0.3f);
    pick(arp, 1);  // "Save Arp"
    EXPECT_EQ(modal<CFileChooser>()->getFileName(), programName(0) + ".arp");
    answerChooser("groove");
    pick(arp, 4);
    pick(arp, 0);
    openInChooser("groove.arp");
    EXPECT_FLOAT_EQ(plugin->getParameter(prm::ArpSteps), 0.3f);
}

TEST_F(Menus, LearnMenuShowsTheBindingAndLatchesUnlatchesDefaultsAndHelps) {
    plugin->clearMidi();
    const CPoint knob = centreOf(record(Kind::Knob, 61));
    // Opens the learn menu of the control at `at` and gives its open menu.
    auto openAt = [&](CPoint at) -> COptionMenu* {
        click(frame(), at.h, at.v, kRButton);
        auto* overlay = modal<CMenuOverlay>();
        return overlay ? overlay->getPaneMenu(0) : nullptr;
    };
    auto chooseEntry = [&](long index) {
        auto* overlay = modal<CMenuOverlay>();
        ASSERT_NE(overlay, nullptr);
        CRect r = overlay->itemRect(0, index);
        click(frame(), r.left + r.width() / 2, r.top + r.height() / 2);
        idle();
    };
    COptionMenu* menu = openAt(knob);
    ASSERT_NE(menu, nullptr);
    char display[64] = {};
    plugin->getParameterDisplay(61, display);
    const std::vector<std::string> expected = {"-GFilter Frequency", "-G" + std::string(display), "-",
                                               "-GNot Latched", "-", "Help", "Set to Default", "Latch to Midi",
                                               "Unlatch Midi", "Clear Midi"};
    ASSERT_EQ(menu->getNbEntries(), long(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(menu->getRawEntry(long(i)), expected[i]) << i;
    CRect opened = modal<CMenuOverlay>()->getViewSize();
    EXPECT_LE(std::abs(opened.left - (knob.h - 8)), 1);
    EXPECT_LE(std::abs(opened.top - (knob.v + 8)), 1);
    frame().redrawAll();
    frame().writePng(widget_testing::renderPath("menus-learn.png"));
    const size_t views = frame().getChildren().size();
    chooseEntry(7);  // "Latch to Midi"
    EXPECT_EQ(frame().getChildren().size(), views - 1);  // the menu view is gone
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 74, 100)});
    EXPECT_EQ(plugin->boundParameter(74), 61);
    EXPECT_NEAR(plugin->getParameter(61), 100 / 127.0f, 0.01f);
    menu = openAt(knob);
    EXPECT_EQ(menu->getRawEntry(3), "-GMidi CC : 74");
    EXPECT_TRUE(menu->isDisabled(3));
    key(frame(), VKEY_ESCAPE);
    idle();
    EXPECT_EQ(frame().getChildren().size(), views - 1);  // closed unchosen: gone as well

    // The binding is kept for the next instance.
    for (int i = 0; i < 200 && platform::SettingsStore().readBinding(74) != 61; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testing_support::makePlugin()->boundParameter(74), 61);

    // Controller 7 on the volume knob.
    const CPoint volume = centreOf(record(Kind::Knob, 1));
    openAt(volume);
    chooseEntry(7);
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 7, 64)});
    EXPECT_EQ(openAt(volume)->getRawEntry(3), "-GMidi CC : 7");
    chooseEntry(8);  // "Unlatch Midi", taken with the next controller message
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 1, 0)});
    EXPECT_EQ(plugin->boundParameter(7), 0);
    EXPECT_EQ(plugin->boundParameter(74), 61);
    EXPECT_EQ(openAt(volume)->getRawEntry(3), "-GNot Latched");
    chooseEntry(9);  // "Clear Midi"
    EXPECT_EQ(plugin->boundParameter(74), 0);

    // "Set to Default" automates; "Help" opens the control's page where the menu was.
    plugin->setParameter(61, 0.9f);
    host.calls.clear();
    openAt(knob);
    chooseEntry(6);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), plugin->parameters().defaultValue[61]);
    EXPECT_GE(host.count(audioMasterAutomate, 61), 1);
    openAt(knob);
    chooseEntry(5);
    brennixHelpScreen* help = editor->getHelpScreen();
    ASSERT_TRUE(help->isShown());
    EXPECT_EQ(help->getPage(), 6);
    EXPECT_EQ(help->getViewSize().left, std::min(knob.h, 560));

    // Menus of no parameter pop up their own entries, and the about options have no learn menu.
    help->hide();
    COptionMenu* own = openAt(centreOf(presetMenuRecord()));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->getEntryText(0), "Preset 1-32");
    key(frame(), VKEY_ESCAPE);
}

namespace {
// The page titles and item titles, exactly as the help screen shows them.
const std::vector<std::vector<std::string>> kHelpTitles = {
    {"Brennix Help System 1/22 : Oscillator Page 1", " Oscillator on/off", " Free on/off",
     " Sync on/off (Osc.2 and Osc.3)", " Waveform", " Symmetry(sym.)", " For more information please read the maunal."},
    {"Brennix Help System 2/22 : Oscillator Page 2", " Semi", " Octave up/down arrows", " Fine", " Track(TRK)",
     " For more detailed help please read the manual."},
    {"Brennix Help System 3/22: Oscillator Page 3", " Volume", " Sub", " Spread", " PWM Amount/Speed",
     " For more detailed help please read the manual."},
    {"Brennix Help System 4/22: Oscillator Page 4", " FM Mode", " FM/ring Amount", " Output(to filter)", " Note",
     " For more detailed help please see the manual."},
    {"Brennix Help System 5/22: Pitch Modulation", " Amount", " Amount control", " Speed/Sync  ",
     " Pitch bend, up / down", " For more detailed help please read the maunal."},
    {"Brennix Help System 6/22: Main Filter Page 1", " Filter mode", " Cutoff", " Resonance (Q)",
     " Pre-Filter Distortion", " For more detailed help please see the manual."},
    {"Brennix Help System 7/22: Main Filter Page 2", " Filter Envelope", " Velocity", " Keytrack", " LFO",
     " Mod.Wheel", " Note", " For more detailed help please see the manual."},
    {"Brennix Help System 8/22: Secondary Filter 'F2' Page ", " F2(filter 2) ", " Filter LFO mod amount",
     " Type(L.E.D. display)", " Cutoff", " Fore more detailed help please see the manual."},
    {"Brennix Help System 9/22: Amp Section", " Volume", " Pan", " Vel>Vol", " Volume Envelope",
     " For more detailed help please read the manual."},
    {"Brennix Help System 10/22: Play mode section", " Play Mode", " Unison Detune", " Port Mode / Speed",
     " Chord Mode", " Demo(C3)", " For more detailed help please see the manual."},
    {"Brennix Help System 11/22: LFO (Low frequency oscillators)", " Waveform", " Speed / Sync", " Mode",
     " For more detailed help please see the manual."},
    {"Brennix Help System 12/22: Envelope controls", " Attack", " Decay", " Sustain", " Fade", " Release",
     " For more detail please read the manual."},
    {"Brennix Help System 13/22: Free LFO", " Destination 1/2", " Amount 1/2", " Mod Source / Amount",
     " For more detail please read the manual."},
    {"Brennix Help System 14/22: Free Envelopes Page 1", " Vel > Time", " KT > Time(Key > Time)",
     " Destination 1/2", " Amount 1/2", " Mod Source / Amount", " For more detail please see the manual."},
    {"Brennix Help System 15/22: Free Modulation", " Source 1/2/3/4", " Destination 1/2/3/4", " Amount 1/2/3/4",
     " Mod Source / Amount", " For a more detailed explanation of Free Modulation please read the manual."},
    {"Brennix Help System 16/22: Arpeggiator Page 1", " Step", " Tie", " Slide", " Tune/ Vel", " Free",
     " For more detail on the Arp section please see the manual."},
    {"Brennix Help System 17/22 : Arpeggiator Page 2", " Steps", " Speed", " Mode", " Octaves", " Tie mode",
     " For more detail on the Arp section please see the manual."},
    {"Brennix Help System 18/22: Arpeggiator Page 3", " Host sync", " Latch", " File", " Step length", " Swing",
     " Slide", " Vel / keyboard", " For more detail on the Arp section please see the manual."},
    {"Brennix Help System 19/22: FX Page", " FX Mix", " FX Pan", " FX No.", " FX Modulation", " Bypass",
     " For more info on the FX section and types you can open the Online Manual by clicking on the ? symbol"},
    {"Brennix Help System 20/22: Presets", " Bank", " File", " ECS",
     " For more detail on the Preset section please read the manual."},
    {"Brennix Help System 21/22: Variations & Morph", " Variation A-D & Amount", " Morph Presets & Amount",
     " Orig", " Edit", " Using Stored Presets",
     " For more detail on the Varaition/Morph section please read the manual."},
    {"Brennix Help System 22/22: Advanced Page", " Analog", " Global tuning", " Over sampling mode",
     " Over filtering", " Attack / Delay / Release shape", " Velocity shape",
     " For more detail on the Advanced section please see the manual."},
};
}  // namespace

TEST_F(Menus, HelpTextHasItsTwentyThreeBlocksWithTheirTitlesAndEveryPageFitsTheScreen) {
    const auto& blocks = editor::helpText();
    ASSERT_EQ(blocks.size(), 23u);
    EXPECT_EQ(blocks[0], (editor::HelpBlock{"Brennix Help System", "No help available"}));
    for (int page = 1; page <= 22; ++page) {
        const editor::HelpBlock& block = blocks[page];
        std::vector<std::string> titles = {block[0]};
        size_t textLines = 0;
        for (size_t i = 1; i < block.size(); ++i) {
            if (!block[i].empty() && block[i][0] == ' ')
                titles.push_back(block[i]);
            else if (!block[i].empty())
                ++textLines;
        }
        EXPECT_EQ(titles, kHelpTitles[page - 1]) << "page " << page;
        // Every item but the closing pointer to the manual is explained.
        EXPECT_GE(textLines, titles.size() - 2) << "page " << page;
    }
    EXPECT_EQ(blocks[20][1], "Preset");

    brennixHelpScreen* help = editor->getHelpScreen();
    CDrawContext measure(frame().getBackBuffer()->getSurface(), &frame());
    for (int page = 0; page <= 22; ++page)
        EXPECT_LE(help->textHeight(&measure, page), 440) << "page " << page << " runs off the screen";
    // Drawn: the title's band carries text in the screen's colour over the panel.
    editor->showHelpFor(17, CPoint(0, 0));
    frame().redrawAll();
    frame().writePng(widget_testing::renderPath("menus-help-page-1.png"));
    int lit = 0;
    for (int x = 4; x < 300; ++x) lit += widget_testing::pixelAt(frame(), x, 10).red > 180;
    EXPECT_GT(lit, 20);
}

TEST_F(Menus, AboutScreenReplacesTheViewsAndItsOptionsReachTheSettings) {
    const std::vector<CView*> before = frame().getChildren();
    CBitmap* mainBackground = frame().getBackground();
    clickAt(centreOf(record(Kind::PushButton, 905)));
    ASSERT_TRUE(editor->isAboutShown());
    EXPECT_EQ(frame().getChildren().size(), 4u);
    EXPECT_NE(frame().getBackground(), mainBackground);
    auto* version = static_cast<blueTextButton*>(editor->controls().withRole(layout::Role::VersionText));
    const int32_t v = plugin->getVendorVersion();
    EXPECT_EQ(version->getText(), " Linux release version " + std::to_string((v >> 16) & 255) + "." +
                                      std::to_string((v >> 8) & 255) + "." + std::to_string(v & 255));
    frame().redrawAll();
    frame().writePng(widget_testing::renderPath("menus-about.png"));

    CControl* font = nullptr;
    CControl* keys = nullptr;
    for (CView* view : frame().getChildren())
        if (auto* c = dynamic_cast<CControl*>(view)) {
            if (c->getTag() == 798) font = c;
            if (c->getTag() == 797) keys = c;
        }
    ASSERT_TRUE(font && keys);
    auto centre = [](CControl* c) {
        CRect r = c->getViewSize();
        return CPoint(r.left + r.width() / 2, r.top + r.height() / 2);
    };
    clickAt(centre(font));
    EXPECT_EQ(platform::SettingsStore().readSetting("Normal Font"), "Y");
    EXPECT_TRUE(editor->isNormalFont());
    clickAt(centre(keys));
    EXPECT_EQ(platform::SettingsStore().readSetting("Key"), "Y");
    EXPECT_TRUE(editor->isKeyStepping());
    click(frame(), centre(keys).h, centre(keys).v, kRButton);  // no learn menu on an option
    EXPECT_EQ(frame().getModalView(), nullptr);
    clickAt(centre(font));
    EXPECT_EQ(platform::SettingsStore().readSetting("Normal Font"), "N");
    settings.saved.push_back({"Key", "N"});
    settings.saved.push_back({"Normal Font", "N"});

    clickAt(CPoint(20, 20));  // anywhere else closes it
    EXPECT_FALSE(editor->isAboutShown());
    EXPECT_EQ(frame().getChildren(), before);
    EXPECT_EQ(frame().getBackground(), mainBackground);
    // Shown again: the options as set; closing the editor meanwhile leaves it whole.
    clickAt(centreOf(record(Kind::PushButton, 905)));
    EXPECT_FLOAT_EQ(keys->getValue(), 1.0f);
    EXPECT_FLOAT_EQ(font->getValue(), 0.0f);
    editor->close();
    ASSERT_TRUE(editor->openOffscreen());
    idle();
    EXPECT_FALSE(editor->isAboutShown());
    EXPECT_EQ(frame().getChildren().size(), before.size());
}

TEST_F(Menus, ManualButtonOpensAnExistingPageDetachedAndNothingOtherwise) {
    const std::string bin = root + "/bin", opened = root + "/opened";
    fs::create_directories(bin);
    // A slow opener: the editor must not wait for it.
    testing_support::writeText(bin + "/xdg-open", "#!/bin/sh\nsleep 1\necho \"$1\" > '" + opened + "'\n");
    fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    fs::create_directories(root + "/manual/KVMN_UK");
    testing_support::writeText(root + "/manual/KVMN_UK/KVMN_00_NDX.html", "<html></html>");
    settings.set("Help", root + "/manual");
    settings.set("Language", "fr");  // no such page
    open();
    const CPoint button = centreOf(record(Kind::PushButton, 904));
    clickAt(button);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(fs::exists(opened));

    settings.set("Language", "en");
    open();
    const auto start = std::chrono::steady_clock::now();
    clickAt(button);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    for (int i = 0; i < 300 && testing_support::readText(opened).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(testing_support::readText(opened), root + "/manual/KVMN_UK/KVMN_00_NDX.html\n");
    // The opener was nobody's child here: nothing to reap, no zombie.
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    setenv("PATH", path.c_str(), 1);
}

TEST_F(Menus, SampleCaptionOpensTheBankLoaderAndTheChosenSampleIsRequested) {
    MessageCapture messages;
    std::vector<uint8_t> kick = sample_files::wav(1, 44100, 16, sample_files::pcm16le({0, 1000, -1000, 0}));
    std::ofstream(root + "/kick.wav", std::ios::binary).write(reinterpret_cast<const char*>(kick.data()), kick.size());
    testing_support::writeText(root + "/loop.AIFF", "x");
    testing_support::writeText(root + "/notes.txt", "x");
    fs::create_symlink(root + "/gone.wav", root + "/broken.wav");
    plugin->setParameter(prm::Fx1Type, (17 + 0.5f) / 24.99f);  // the vocoder in slot 1
    idle();
    CControl* caption = editor->controls().withRole(layout::Role::SampleName);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(static_cast<blueTextButton*>(caption)->getText(), "No sample loaded");
    CRect r = caption->getViewSize();
    caption->localToFrame(r);
    clickAt(CPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    auto* chooser = modal<CFileChooser>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->getTitle(), "Bank Loader");
    std::vector<std::string> files;
    for (const std::string& e : chooser->getEntries())
        if (e.back() != '/' && e != "..") files.push_back(e);
    EXPECT_EQ(files, (std::vector<std::string>{"broken.wav", "kick.wav", "loop.AIFF"}));
    openInChooser("kick.wav");
    EXPECT_FLOAT_EQ(plugin->getParameter(prm::SampleLoadRequest), 0.9f);
    EXPECT_EQ(static_cast<blueTextButton*>(caption)->getText(), "Sample: kick");
    EXPECT_TRUE(messages.texts.empty());

    clickAt(CPoint(r.left + r.width() / 2, r.top + r.height() / 2));
    ASSERT_NE(modal<CFileChooser>(), nullptr);
    EXPECT_EQ(modal<CFileChooser>()->getFileName(), "kick.wav");  // the last one chosen
    openInChooser("broken.wav");
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find("Cannot open \"broken.wav\""), std::string::npos) << messages.texts[0];
    key(frame(), VKEY_ESCAPE);
    EXPECT_EQ(static_cast<blueTextButton*>(caption)->getText(), "Sample: kick");
}

TEST(ManualInstall, SettingsToolFillsOnlyWhatIsEmpty) {
    const std::string home = testing_support::tempPath("settings-tool");
    fs::remove_all(home);
    platform::SettingsStore(home + "/Ardeko/BrennixDemo/settings.ini").writeSetting("/my/own/manual", "Help");
    const std::string run = "XDG_CONFIG_HOME='" + home + "' '" BRENNIX_SETTINGS_PATH "' --default Help=/x" +
                            " --default Language=en > /dev/null";
    ASSERT_EQ(std::system(run.c_str()), 0);
    platform::SettingsStore store(home + "/Ardeko/BrennixDemo/settings.ini");
    EXPECT_EQ(store.readSetting("Help"), "/my/own/manual");
    EXPECT_EQ(store.readSetting("Language"), "en");
    EXPECT_NE(std::system(("'" BRENNIX_SETTINGS_PATH "' Help=/x 2> /dev/null")), 0);
}
