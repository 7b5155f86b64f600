// Controller setups (ECS) and arpeggiator patterns: files, clipboard, defaults.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "MessageCapture.h"
#include "TestSupport.h"
#include "host/APlugin.h"
#include "platform/SettingsStore.h"

using testing_support::makePlugin;
using testing_support::readText;
using testing_support::tempPath;
using testing_support::writeText;

TEST(UserFiles, ControllerSetupsRoundTripAndBadOnesChangeNothing) {
    auto plugin = makePlugin();
    plugin->clearMidi();
    // Learn two controllers the way a user does: arm, then move the controller.
    plugin->latchToMidi(61);
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 74, 10)});
    plugin->latchToMidi(62);
    testing_support::processDirect(*plugin, 64, {testing_support::controller(0, 71, 10)});
    ASSERT_EQ(plugin->boundParameter(74), 61);
    ASSERT_EQ(plugin->boundParameter(71), 62);

    const std::string file = tempPath("setup.ecs");
    ASSERT_TRUE(plugin->saveControllerSetup(file));
    const std::string text = readText(file);
    EXPECT_EQ(text.rfind("Brennix controller setup 1\n", 0), 0u);
    EXPECT_NE(text.find("74 61   # Filter Frequency"), std::string::npos) << text;

    plugin->clearMidi();
    EXPECT_EQ(plugin->boundParameter(74), 0);
    ASSERT_TRUE(plugin->loadControllerSetup(file));
    EXPECT_EQ(plugin->boundParameter(74), 61);
    EXPECT_EQ(plugin->boundParameter(71), 62);
    EXPECT_EQ(plugin->controllerBoundTo(62), 71);
    // Loaded bindings are kept in the settings like learned ones.
    plugin->flushBindings();
    EXPECT_EQ(platform::SettingsStore().readBinding(74), 61u);
    EXPECT_EQ(makePlugin()->boundParameter(71), 62);

    MessageCapture messages;
    for (const std::string& bad :
         {std::string("Brennix arp pattern 1\n"), std::string("Brennix controller setup 2\n"),
          std::string("Brennix controller setup 1\n128 5\n"), std::string("Brennix controller setup 1\n5 799\n"),
          std::string("Brennix controller setup 1\n5 7\n5 8\n"), std::string("Brennix controller setup 1\n5 x\n"),
          std::string("Brennix controller setup 1\n5 7 9\n")}) {
        writeText(file, bad);
        EXPECT_FALSE(plugin->loadControllerSetup(file)) << bad;
        EXPECT_EQ(plugin->boundParameter(74), 61);
        EXPECT_EQ(plugin->boundParameter(5), 0);
    }
    EXPECT_EQ(messages.texts.size(), 7u);
    EXPECT_NE(messages.texts[2].find("line 2"), std::string::npos) << messages.texts[2];
    // "Clear Midi" unbinds every controller, in memory and in the settings.
    plugin->clearMidi();
    platform::SettingsStore settings;
    for (int c = 0; c < 128; ++c) {
        ASSERT_EQ(plugin->boundParameter(c), 0) << c;
        ASSERT_EQ(settings.readBinding(c), 0u) << c;
    }
    std::remove(file.c_str());
}

TEST(UserFiles, ArpPatternsCopyPasteClearAndRoundTrip) {
    auto plugin = makePlugin();
    // Paste before any copy does nothing.
    plugin->setParameter(211, 0.3f);
    plugin->pasteArp();
    EXPECT_EQ(plugin->getParameter(211), 0.3f);

    for (int i = 210; i <= 319; ++i) plugin->setParameter(i, float(i - 200) / 128.0f + 1e-7f * float(i));
    std::vector<float> pattern;
    for (int i = 210; i <= 319; ++i) pattern.push_back(plugin->getParameter(i));
    plugin->copyArp();
    const std::string file = tempPath("pattern.arp");
    ASSERT_TRUE(plugin->saveArpPattern(file));
    EXPECT_EQ(readText(file).rfind("Brennix arp pattern 1\n", 0), 0u);

    plugin->clearArp();
    for (int i = 210; i <= 319; ++i)
        ASSERT_EQ(plugin->getParameter(i), plugin->parameters().defaultValue[i]) << i;
    plugin->pasteArp();
    for (int i = 210; i <= 319; ++i) ASSERT_EQ(plugin->getParameter(i), pattern[i - 210]) << i;

    // The copy travels to another program; the file to another plug-in, exactly.
    plugin->setProgram(3);
    plugin->pasteArp();
    EXPECT_EQ(plugin->program(3).recordValues[230], pattern[20]);
    auto other = makePlugin();
    ASSERT_TRUE(other->loadArpPattern(file));
    for (int i = 210; i <= 319; ++i) ASSERT_EQ(other->getParameter(i), pattern[i - 210]) << i;
    EXPECT_EQ(other->getParameter(209), makePlugin()->getParameter(209));

    // A pattern with a value missing or not a number is refused whole.
    std::string text = readText(file);
    MessageCapture messages;
    other->clearArp();
    writeText(file, text.substr(0, text.rfind("319 ")));
    EXPECT_FALSE(other->loadArpPattern(file));
    size_t at = text.find("\n215 ") + 5;
    writeText(file, text.substr(0, at) + "nan" + text.substr(text.find(' ', at)));
    EXPECT_FALSE(other->loadArpPattern(file));
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_NE(messages.texts[0].find("parameter 319 is missing"), std::string::npos);
    EXPECT_EQ(other->getParameter(211), other->parameters().defaultValue[211]);
    std::remove(file.c_str());
}
