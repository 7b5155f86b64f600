// setParameter / getParameter: clamping, switch rounding, the unrounded data
// block, defaults, and the change detection behind "program modified".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <memory>

#include "TestSupport.h"
#include "Values.h"
#include "host/APlugin.h"

using testing_support::loadPlugin;

namespace {
intptr_t answerVersion(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The plug-in object itself, for state a host cannot see (on the heap: it is large).
struct DirectPlugin {
    std::unique_ptr<APlugin> owned = std::make_unique<APlugin>(&answerVersion);
    APlugin& plugin = *owned;
    const ParameterState& state() const { return plugin.parameters(); }
};
}  // namespace

TEST(ParameterAccess, ValuesAreClampedAndNonNumbersBecomeZero) {
    auto host = loadPlugin();
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int index : {1, 17, 400, 786}) {
        host->setParameter(index, 1.5f);
        EXPECT_EQ(host->getParameter(index), 1.0f) << index;
        host->setParameter(index, -0.5f);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
        host->setParameter(index, inf);
        EXPECT_EQ(host->getParameter(index), 1.0f) << index;
        host->setParameter(index, nan);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
        host->setParameter(index, -inf);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
    }
    host->setParameter(61, nan);
    EXPECT_EQ(host->parameterDisplay(61), "20 Hz");
}

TEST(ParameterAccess, SwitchesRoundOthersKeepTheirValue) {
    auto host = loadPlugin();
    host->setParameter(17, 0.49f);
    EXPECT_EQ(host->getParameter(17), 0.0f);
    host->setParameter(17, 0.5f);
    EXPECT_EQ(host->getParameter(17), 1.0f);
    host->setParameter(323, 0.51f);
    EXPECT_EQ(host->getParameter(323), 1.0f);
    // Sync switches and other two-state displays are stored as they come.
    for (int index : {87, 103, 138, 218, 219, 320, 791, 792}) {
        host->setParameter(index, 0.3f);
        EXPECT_EQ(host->getParameter(index), 0.3f) << index;
    }
    EXPECT_EQ(host->parameterDisplay(87), "OFF");
    // The data block keeps every value exactly.
    for (int index : {331, 400, 610, 779}) {
        host->setParameter(index, 0.7003f);
        EXPECT_EQ(host->getParameter(index), 0.7003f) << index;
    }
    host->setParameter(171, 0.2f);
    EXPECT_EQ(host->getParameter(171), 0.2f);
}

TEST(ParameterAccess, IndexesOutsideTheTableAreIgnored) {
    auto host = loadPlugin();
    for (int index : {799, 800, -1, 1 << 20}) {
        host->setParameter(index, 0.9f);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
    }
    EXPECT_EQ(host->getParameter(798), 0.0f);
}

TEST(ParameterAccess, DefaultsAndSwitchesAreThoseOfTheTable) {
    // "Every parameter not listed is 0.0", then the list as the sound design gives it.
    const std::string listed =
        "1: 0.75; 2: 0.5; 3: 0.37; 4: 0.445; 6: 0.06258; 7: 0.4; 8: 0.16722; 9: 0.2; 13: 0.16722; 17: 1; "
        "21: 0.748; 22-24: 0.5; 28: 0.505; 29: 0.9; 30: 1; 32: 0.749; 33-35: 0.5; 39: 0.535; 40: 1; 44: 1; "
        "46: 0.715; 47-49: 0.5; 53: 0.52; 58: 1; 60: 0.67906; 61: 1; 64-65: 0.5; 66: 0.877; 67-68: 0.5; "
        "70: 0.715; 71: 1; 72: 0.5; 73: 0.59; 75-76: 0.5; 77: 1; 86: 0.50167; 87: 1; 88: 0.48; 89: 0.5; "
        "90: 0.015; 92: 0.715; 93: 1; 94: 0.5; 95: 0.52; 97-98: 0.5; 100: 0.6; 101: 0.025; 102: 0.83; "
        "104: 0.08347; 105-106: 0.15635; 107-109: 1; 113: 0.605; 114: 0.715; 115-116: 1; 117-118: 0.5; "
        "119-120: 0.59; 123-129: 0.5; 133: 0.25126; 142-144: 0.5; 153-156: 0.5; 161-164: 0.5; 173-178: 0.5; "
        "205: 0.5; 208: 0.5; 210: 1; 213: 1; 215: 0.5; 217: 0.5; 218: 1; 236-251: 1; 268-283: 1; 284-315: 0.5; "
        "324: 0.83612; 600: 0.5; 601: 0.51373; 602: 0.52941; 610: 0.25025; 773: 0.92; 785: 1; 786-788: 0.5; "
        "789: 0.4";
    std::vector<float> expected(799, 0.0f);
    std::stringstream entries(listed);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        const size_t colon = entry.find(':');
        for (int i : values::indexes(entry.substr(0, colon))) expected[i] = std::stof(entry.substr(colon + 1));
    }
    const auto switches = values::indexes("17, 18, 19, 29, 30, 40, 43, 44, 57, 58, 77, 107, 108, 109, 319, 321, 322, 323");
    DirectPlugin direct;
    for (int i = 0; i < 799; ++i) {
        EXPECT_EQ(direct.state().defaultValue[i], expected[i]) << i;
        EXPECT_EQ(direct.state().isSwitch[i], std::count(switches.begin(), switches.end(), i)) << i;
    }
    // "Default Preset" installs them, switches rounded (29's 0.9 is on), the program's text kept.
    APlugin& plugin = direct.plugin;
    plugin.setProgram(3);
    testing_support::processDirect(plugin, 1);
    plugin.defaultPreset();
    testing_support::processDirect(plugin, 1);
    for (int i = 0; i < 799; ++i) {
        if (i >= 630 && i <= 668) continue;
        const bool isSwitch = std::count(switches.begin(), switches.end(), i) > 0;
        EXPECT_EQ(plugin.getParameter(i), isSwitch ? std::round(expected[i]) : expected[i]) << i;
    }
}

TEST(ParameterAccess, DataParametersNeverMarkTheProgramModified) {
    DirectPlugin direct;
    APlugin& plugin = direct.plugin;
    testing_support::selectDefaultSound(plugin);
    ASSERT_FALSE(direct.state().programModified);

    plugin.setParameter(400, 0.7f);
    plugin.setParameter(331, 0.7f);
    plugin.setParameter(779, 0.7f);
    EXPECT_FALSE(direct.state().programModified);
    EXPECT_EQ(plugin.program(127).recordValues[400], 0.7f);
    EXPECT_EQ(direct.state().lastWritten[400], 0.7f);

    // Setting a sound parameter to its installed value is no modification...
    plugin.setParameter(1, 0.75f);
    EXPECT_FALSE(direct.state().programModified);
    // ...moving it away is, and so is the first index past the data block.
    plugin.setParameter(780, 0.3f);
    EXPECT_TRUE(direct.state().programModified);
    EXPECT_EQ(plugin.program(127).recordValues[780], 0.3f);

    plugin.setProgram(127);
    EXPECT_FALSE(direct.state().programModified);
    plugin.setParameter(17, 0.4f);  // rounds to 0, away from the installed 1
    EXPECT_TRUE(direct.state().programModified);
    EXPECT_EQ(plugin.program(127).recordValues[17], 0.0f);
}
