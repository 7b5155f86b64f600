// Programs: the factory bank at start, names and the name rule, edits kept in
// the records, the preset clipboard, "Default Preset" and the bank-file list.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "TestSupport.h"
#include "host/APlugin.h"
#include "platform/SettingsStore.h"

using testing_support::loadPlugin;
using testing_support::makePlugin;
using testing_support::processDirect;

namespace {
std::string name(const APlugin& plugin, int program) { return plugin.program(program).recordName; }
}  // namespace

TEST(Programs, FactoryBankNamesThroughTheHost) {
    auto host = loadPlugin(44100.0f, 512, false);
    EXPECT_EQ(host->programNameIndexed(0), "Velvet Poly Synth");
    EXPECT_EQ(host->programNameIndexed(9), "Fretless Bass");
    EXPECT_EQ(host->programNameIndexed(127), "Vocoder Talk Bass");
    char text[64] = "unchanged";
    EXPECT_EQ(host->dispatch(effGetProgramNameIndexed, 128, 0, text), 0);
    EXPECT_STREQ(text, "unchanged");
    EXPECT_EQ(host->dispatch(effGetProgram), 0);
    EXPECT_EQ(host->programName(), "Velvet Poly Synth");
    // The factory sounds differ from the default sound.
    host->dispatch(effSetProgram, 0, 1);
    EXPECT_NE(host->getParameter(6), 0.06258f);  // Analog Bass: a mono play mode
}

TEST(Programs, NamesPassTheNameRule) {
    auto host = loadPlugin();
    host->dispatch(effSetProgram, 0, 4);
    auto rename = [&](std::string text) {
        host->dispatch(effSetProgramName, 0, 0, text.data());
        return host->programName();
    };
    EXPECT_EQ(rename("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"), "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(rename("Bass\tline"), "Bass");
    EXPECT_EQ(rename("Caf\xE9 au lait"), "Caf");
    EXPECT_EQ(rename("Rub\x7F out"), "Rub\x7F out");  // 127 is the last code kept
    // An empty result is ignored.
    EXPECT_EQ(rename(""), "Rub\x7F out");
    EXPECT_EQ(rename("\x01Hidden"), "Rub\x7F out");
    EXPECT_EQ(host->programNameIndexed(4), "Rub\x7F out");
    EXPECT_EQ(host->programNameIndexed(3), "Acid Line Bass");
}

TEST(Programs, SelectionTellsTheHostAndEditsStayInTheProgramsRecord) {
    auto host = loadPlugin();
    std::vector<float> l, r;
    host->dispatch(effSetProgram, 0, 5);
    host->process(16, l, r);
    const float other = host->getParameter(1);
    host->setParameter(1, 0.2f);
    host->clearCalls();
    host->dispatch(effSetProgram, 0, 6);
    host->process(16, l, r);
    // This thread has processed audio, so the host hears of the change from
    // the next call made on another (user-interface) thread.
    EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 0);
    std::thread([&] { host->dispatch(effEditIdle); }).join();
    EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 1);
    EXPECT_NE(host->getParameter(1), 0.2f);
    host->dispatch(effSetProgram, 0, 5);
    host->process(16, l, r);
    EXPECT_EQ(host->getParameter(1), 0.2f);
    EXPECT_NE(other, 0.2f);

    // An index past the bank changes nothing, called directly as well.
    auto plugin = makePlugin();
    plugin->setProgram(4);
    processDirect(*plugin, 16);
    plugin->setProgram(128);
    processDirect(*plugin, 16);
    EXPECT_EQ(plugin->getProgram(), 4);
    for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->getParameter(i), plugin->program(4).recordValues[i].load()) << i;
}

TEST(Programs, CopyAndPastePreset) {
    auto plugin = makePlugin(false);
    // Paste right after construction changes nothing.
    std::vector<float> before(799);
    for (int i = 0; i < 799; ++i) before[i] = plugin->getParameter(i);
    plugin->pastePreset();
    for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->getParameter(i), before[i]) << i;
    EXPECT_EQ(name(*plugin, 0), "Velvet Poly Synth");
    EXPECT_EQ(plugin->getProgram(), 0);

    plugin->setProgram(3);
    plugin->setParameter(61, 0.31f);  // the copy takes the live, edited sound
    plugin->copyPreset();
    plugin->setProgram(9);
    // The program's own text stays, and the value after it (parameters 630..668).
    plugin->setParameter(630, 0.41f);
    plugin->setParameter(640, 0.42f);
    plugin->setParameter(668, 0.43f);
    plugin->pastePreset();
    processDirect(*plugin, 16);
    EXPECT_EQ(plugin->getProgram(), 9);
    EXPECT_EQ(name(*plugin, 9), "Acid Line Bass");
    EXPECT_EQ(plugin->getParameter(61), 0.31f);
    EXPECT_EQ(plugin->program(9).recordValues[61], 0.31f);
    for (auto [i, v] : {std::pair{630, 0.41f}, {640, 0.42f}, {668, 0.43f}}) EXPECT_EQ(plugin->getParameter(i), v) << i;
    for (int i : {1, 6, 20, 22, 60, 64, 91, 95})
        EXPECT_EQ(plugin->getParameter(i), plugin->program(3).recordValues[i].load()) << i;
    // The pasted sound is the program as selected now.
    EXPECT_FALSE(plugin->parameters().programModified);
    EXPECT_EQ(plugin->parameters().referenceValue[61], 0.31f);
}

TEST(Programs, DefaultPresetAndBackToTheOriginal) {
    auto plugin = makePlugin();
    plugin->setProgram(2);
    const std::string original = name(*plugin, 2);
    std::vector<float> sound(799);
    for (int i = 0; i < 799; ++i) sound[i] = plugin->getParameter(i);
    plugin->setParameter(62, 0.9f);  // a hand edit
    plugin->defaultPreset();
    EXPECT_EQ(name(*plugin, 2), "Default");
    EXPECT_TRUE(plugin->hasPendingName());
    EXPECT_FALSE(plugin->parameters().programModified);
    EXPECT_EQ(plugin->getParameter(1), 0.75f);
    EXPECT_EQ(plugin->getParameter(29), 1.0f);  // default 0.9, rounded switch
    EXPECT_EQ(plugin->program(2).recordValues[60], plugin->parameters().defaultValue[60]);

    // "Edit" gives back the edited sound, "Orig" the selected one, each with the name.
    plugin->restoreEdited();
    EXPECT_EQ(name(*plugin, 2), original);
    EXPECT_FALSE(plugin->hasPendingName());
    EXPECT_EQ(plugin->getParameter(62), 0.9f);
    plugin->defaultPreset();
    plugin->restoreOriginal();
    EXPECT_EQ(name(*plugin, 2), original);
    for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->getParameter(i), sound[i]) << i;

    // Selecting a program drops a pending name: it never lands on another program.
    plugin->defaultPreset();
    plugin->setProgram(7);
    EXPECT_FALSE(plugin->hasPendingName());
    const std::string seventh = name(*plugin, 7);
    plugin->restoreOriginal();
    EXPECT_EQ(name(*plugin, 7), seventh);
}

TEST(Programs, BankFileListShowsTheBankDirectorysBanks) {
    char pattern[] = "/tmp/brennix-banks-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    for (const char* file : {"b.fxb", "a.fxb", "upper.FXB", "notes.txt", ".fxb"})
        std::ofstream(dir + "/" + file) << "x";
    mkdir((dir + "/folder.fxb").c_str(), 0755);
    platform::SettingsStore settings;
    const std::string previous = settings.readSetting("BankDir");
    settings.writeSetting(dir, "BankDir");

    auto plugin = makePlugin();
    const BankFileList& list = plugin->bankFiles();
    settings.writeSetting(previous, "BankDir");
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.path(0), "None");
    EXPECT_EQ(list.displayName(0), "None");
    EXPECT_EQ(list.path(1), dir + "/a.fxb");
    EXPECT_EQ(list.displayName(1), "a");
    EXPECT_EQ(list.path(2), dir + "/b.fxb");
    EXPECT_EQ(plugin->bankDir(), dir + "/");

    // A directory with more banks than the list holds keeps the first 127.
    for (int i = 0; i < 140; ++i) std::ofstream(dir + "/" + std::to_string(1000 + i) + ".fxb") << "x";
    BankFileList big;
    big.build(dir + "/");
    EXPECT_EQ(big.count(), BankFileList::kCapacity);
    EXPECT_EQ(big.displayName(1), "1000");
    std::system(("rm -rf '" + dir + "'").c_str());
}
