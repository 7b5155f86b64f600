// The settings file: defaults, persistence, damage, the manual location.
#include <gtest/gtest.h>
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "TestSupport.h"
#include "host/APlugin.h"
#include "platform/SettingsStore.h"

using testing_support::makePlugin;
using testing_support::readText;
using testing_support::tempPath;
using testing_support::writeText;

namespace {
// Files in `dir` whose names contain `part` (left-over temporary files).
int filesContaining(const std::string& dir, const std::string& part) {
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) n += std::string(e->d_name).find(part) != std::string::npos;
        closedir(d);
    }
    return n;
}
}  // namespace

TEST(Settings, MissingFileIsCreatedWithTheHomeDirectory) {
    const std::string path = platform::SettingsStore::defaultPath();
    EXPECT_EQ(path, testing_support::configHome() + "/Ardeko/BrennixDemo/settings.ini");
    std::remove(path.c_str());
    auto plugin = makePlugin();
    const std::string home = platform::homeDirectory();
    platform::SettingsStore store;
    for (const char* name : {"BankDir", "PresetDir", "SampleDir", "ECSDir", "ArpDir"})
        EXPECT_EQ(store.readSetting(name), home) << name;
    EXPECT_EQ(store.readSetting("Help"), "");
    EXPECT_EQ(plugin->bankDir(), home.back() == '/' ? home : home + "/");
    EXPECT_EQ(plugin->presetDir(), home);
    EXPECT_EQ(plugin->manualLocation(), "/");
    EXPECT_EQ(readText(path).rfind("# Brennix settings\n", 0), 0u);
}

TEST(Settings, ValuesPersistAndADamagedFileReadsEmpty) {
    const std::string dir = tempPath("settings");
    const std::string path = dir + "/nested/settings.ini";
    {
        platform::SettingsStore store(path);
        store.writeSetting("/music/banks", "BankDir");
        store.writeSetting("line one\nline two \\ end", "Help");
        store.writeBinding(61, 74);
        store.writeBindings({{1, 7}, {2, 0}});
    }
    platform::SettingsStore again(path);
    EXPECT_EQ(again.readSetting("BankDir"), "/music/banks");
    EXPECT_EQ(again.readSetting("Help"), "line one\nline two \\ end");
    EXPECT_EQ(again.readSetting("Language"), "");
    EXPECT_EQ(again.readBinding(74), 61u);
    EXPECT_EQ(again.readBinding(1), 7u);
    EXPECT_EQ(again.readBinding(3), 0u);
    EXPECT_EQ(filesContaining(dir + "/nested", "settings.ini."), 0);  // no temporary left over

    // Garbage, a foreign file, binary bytes: all read as empty, and the next write repairs them.
    for (const std::string& damage : {std::string("\x7f\x45LF\0\0\x01", 7), std::string("[BrennixDemo]\nBankDir=/x\n"),
                                      std::string("# Brennix settings\n[BrennixDemo]\nBank\0Dir=/x\n", 44)}) {
        writeText(path, damage);
        EXPECT_EQ(again.readSetting("BankDir"), "");
        EXPECT_EQ(again.readBinding(74), 0u);
    }
    again.writeSetting("/repaired", "PresetDir");
    EXPECT_EQ(again.readSetting("PresetDir"), "/repaired");
    EXPECT_EQ(again.readSetting("BankDir"), "");
    // An unreadable location reads as empty and writing there fails quietly.
    platform::SettingsStore nowhere("/proc/no-such/settings.ini");
    nowhere.writeSetting("x", "BankDir");
    EXPECT_EQ(nowhere.readSetting("BankDir"), "");
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(Settings, ManualPageFollowsTheLanguage) {
    platform::SettingsStore store;
    const std::string help = store.readSetting("Help"), language = store.readSetting("Language");
    store.writeSetting("/docs/brennix", "Help");
    store.writeSetting("de", "Language");
    EXPECT_EQ(makePlugin()->manualLocation(), "/docs/brennix/KVMN_DE/KVMN_00_NDX.html");
    store.writeSetting("EN", "Language");
    EXPECT_EQ(makePlugin()->manualLocation(), "/docs/brennix/");
    store.writeSetting(help, "Help");
    store.writeSetting(language, "Language");
}
