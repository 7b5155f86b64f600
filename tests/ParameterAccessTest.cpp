// setParameter / getParameter: clamping, switch rounding, the unrounded data
// block, defaults, and the change detection behind "program modified".
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "TestSupport.h"
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

TEST(ParameterAccess, DefaultProgramHoldsTheDefaults) {
    auto host = loadPlugin();
    host->dispatch(effSetProgram, 0, 127);  // past the factory sounds: "Init 128"
    EXPECT_EQ(host->getParameter(1), 0.75f);
    EXPECT_EQ(host->getParameter(6), 0.06258f);
    EXPECT_EQ(host->getParameter(29), 1.0f);  // default 0.9 on a switch installs as on
    EXPECT_EQ(host->getParameter(61), 1.0f);
    EXPECT_EQ(host->getParameter(240), 1.0f);
    EXPECT_EQ(host->getParameter(300), 0.5f);
    EXPECT_EQ(host->getParameter(773), 0.92f);
    EXPECT_EQ(host->getParameter(789), 0.4f);
    EXPECT_EQ(host->getParameter(18), 0.0f);
    EXPECT_EQ(host->parameterDisplay(8), "Off");
    EXPECT_EQ(host->parameterDisplay(105), "2 sm");

    DirectPlugin direct;
    int switches = 0;
    for (int i = 0; i < 799; ++i) switches += direct.state().isSwitch[i];
    EXPECT_EQ(switches, 18);
    EXPECT_EQ(direct.state().defaultValue[29], 0.9f);
    EXPECT_EQ(direct.state().defaultValue[798], 0.0f);
}

TEST(ParameterAccess, DataParametersNeverMarkTheProgramModified) {
    DirectPlugin direct;
    APlugin& plugin = direct.plugin;
    plugin.setProgram(127);  // the default sound
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
