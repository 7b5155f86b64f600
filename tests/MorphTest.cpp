// Morph, variations, "Orig" and "Edit".
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "MessageCapture.h"
#include "TestSupport.h"
#include "host/APlugin.h"
#include "morph/MorphLists.h"

using testing_support::makePlugin;

namespace {

constexpr int kA = 20, kB = 21, kCurrent = 22;

std::vector<int> expand(std::span<const morph::IndexRange> ranges) {
    std::vector<int> out;
    for (const auto& r : ranges)
        for (int i = r.first; i <= r.last; ++i) out.push_back(i);
    return out;
}

std::vector<float> liveValues(APlugin& p) {
    std::vector<float> v(799);
    for (int i = 0; i < 799; ++i) v[i] = p.getParameter(i);
    return v;
}

// Programs A and B hold different values everywhere; the current program a third set.
std::unique_ptr<APlugin> morphPlugin(float amount) {
    auto plugin = makePlugin();
    for (auto [program, value] : {std::pair{kA, 0.2f}, {kB, 0.8f}, {kCurrent, 0.55f}}) {
        plugin->setProgram(program);
        for (int i = 0; i < 799; ++i) plugin->setParameter(i, value + 0.0001f * float(i % 100));
    }
    plugin->setProgram(kCurrent);
    plugin->setParameter(prm::CrossPrA, (kA + 0.5f) * 0.00781311095f);
    plugin->setParameter(prm::CrossPrB, (kB + 0.5f) * 0.00781311095f);
    plugin->setParameter(prm::CrossAmount, amount);
    return plugin;
}

// A seed whose draw number `n` (1-based) of the UI generator is 32767, r = 1.0.
uint32_t seedForFullDraw(int n) {
    uint32_t inverse = 214013u;  // 214013 is odd, so it has an inverse modulo 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    uint32_t state = 0x7FFF0000u;
    for (int i = 0; i < n; ++i) state = (state - 2531011u) * inverse;
    return state;
}

}  // namespace

TEST(Morph, AmountZeroTakesAAndOneTakesB) {
    for (float amount : {0.0f, 1.0f}) {
        SCOPED_TRACE(amount);
        auto plugin = morphPlugin(amount);
        const std::vector<float> before = liveValues(*plugin);
        plugin->seedRandom(12345);
        plugin->morph();
        const APlugin& p = *plugin;
        const ProgramRecord& source = p.program(amount == 0.0f ? kA : kB);
        // A + (B - A) x 1 may differ from B in the last bit.
        for (int i : expand(morph::kInterpolated))
            ASSERT_FLOAT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : expand(morph::kSwitched)) ASSERT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : expand(morph::kBlock)) ASSERT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : expand(morph::kUnchanged)) ASSERT_EQ(p.parameters().values[i], before[i]) << i;
        // The morphed sound is kept in the current program, modified and edited.
        EXPECT_EQ(p.program(kCurrent).recordValues[61], p.parameters().values[61]);
        EXPECT_TRUE(p.parameters().programModified);
        EXPECT_EQ(p.parameters().lastWritten[61], p.parameters().values[61]);
        EXPECT_FALSE(plugin->isEngineBusy());
        // "Orig" goes back to the program as selected.
        plugin->restoreOriginal();
        EXPECT_EQ(plugin->getParameter(61), before[61]);
    }
}

TEST(Morph, HalfwayBlendsAndAFullDrawKeepsA) {
    auto plugin = morphPlugin(0.5f);
    plugin->morph();
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 0.5f + 0.0061f);
    EXPECT_FLOAT_EQ(plugin->getParameter(1), 0.5f + 0.0001f);

    // At amount 1, a switched parameter whose draw is exactly 1.0 keeps A's value.
    const std::vector<int> switched = expand(morph::kSwitched);
    auto first = morphPlugin(1.0f);
    first->seedRandom(seedForFullDraw(1));
    first->morph();
    EXPECT_EQ(first->getParameter(switched[0]), first->program(kA).recordValues[switched[0]].load());
    EXPECT_EQ(first->getParameter(switched[1]), first->program(kB).recordValues[switched[1]].load());
    EXPECT_EQ(first->getParameter(210), first->program(kB).recordValues[210].load());

    // The draw after all switched parameters decides the whole effect and arp block.
    auto block = morphPlugin(1.0f);
    block->seedRandom(seedForFullDraw(int(switched.size()) + 1));
    block->morph();
    for (int i : expand(morph::kBlock))
        ASSERT_EQ(block->getParameter(i), block->program(kA).recordValues[i].load()) << i;
    EXPECT_FLOAT_EQ(block->getParameter(61), block->program(kB).recordValues[61].load());

    // The preset menu's stored sources set "Cross Pr A" / "Cross Pr B".
    auto stored = morphPlugin(0.0f);
    stored->setProgram(kA + 5);
    stored->storeAsMorph(1);
    stored->setProgram(kCurrent);
    stored->setToStoredMorph(1);
    EXPECT_EQ(int(stored->getParameter(prm::CrossPrB) * 127.99f), kA + 5);

    // A and B the same program (not the current one) copies it.
    auto same = morphPlugin(0.37f);
    same->setParameter(prm::CrossPrB, (kA + 0.5f) * 0.00781311095f);
    same->morph();
    for (int i : expand(morph::kInterpolated))
        ASSERT_FLOAT_EQ(same->getParameter(i), same->program(kA).recordValues[i].load()) << i;
}

TEST(Morph, ASourceEqualToTheCurrentProgramIsRefused) {
    for (int which : {prm::CrossPrA, prm::CrossPrB}) {
        auto plugin = morphPlugin(0.5f);
        plugin->setParameter(which, (kCurrent + 0.5f) * 0.00781311095f);
        const bool modified = plugin->parameters().programModified;
        const std::vector<float> before = liveValues(*plugin);
        MessageCapture messages;
        plugin->morph();
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], "The morph presets must be different from the current preset");
        EXPECT_EQ(liveValues(*plugin), before);
        EXPECT_EQ(plugin->parameters().programModified, modified);
        for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->program(kCurrent).recordValues[i], before[i]);
    }
}

TEST(Variation, AmountZeroKeepsTheEditedSoundButOctaveStepsStillMove) {
    auto plugin = makePlugin();
    plugin->setProgram(6);
    plugin->setParameter(prm::VariationAmount, 0.0f);
    plugin->setParameter(61, 0.4f);  // a hand edit
    plugin->setParameter(22, 0.5f);
    plugin->setParameter(47, 0.5f);
    const std::vector<float> edited = liveValues(*plugin);
    plugin->seedRandom(7);
    for (int n : {1, 2}) {
        std::set<float> osc1, osc3;
        for (int press = 0; press < 12; ++press) {
            plugin->variation(n);
            const std::vector<float> now = liveValues(*plugin);
            for (int i = 0; i < 799; ++i) {
                if (n == 2 && (i == 22 || i == 47)) continue;
                ASSERT_EQ(now[i], edited[i]) << "variation " << n << " parameter " << i;
            }
            osc1.insert(now[22]);
            osc3.insert(now[47]);
            EXPECT_TRUE(plugin->parameters().programModified);
        }
        if (n == 1) continue;
        // One octave down, unchanged or up; over twelve presses every one shows.
        const float octave = 0.123724096f;
        // A middle draw leaves the value where the last press put it, so the
        // unshifted value only shows until the first shift.
        EXPECT_TRUE(osc1.count(edited[22] - octave) && osc1.count(edited[22] + octave));
        osc1.erase(edited[22] - octave);
        osc1.erase(edited[22] + octave);
        osc1.erase(edited[22]);
        EXPECT_TRUE(osc1.empty());
        EXPECT_TRUE(osc3.count(edited[47] - octave) && osc3.count(edited[47] + octave));
    }
}

TEST(Variation, EachPressVariesTheEditedSoundAndEditAndOrigReturn) {
    auto plugin = makePlugin();
    plugin->setProgram(8);
    const std::vector<float> selected = liveValues(*plugin);
    plugin->setParameter(prm::VariationAmount, 0.5f);  // a = 0.25, b = 0.075
    plugin->setParameter(61, 0.45f);
    plugin->setParameter(62, 0.35f);
    const std::vector<float> edited = liveValues(*plugin);
    plugin->seedRandom(2024);
    bool changed = false;
    for (int press = 0; press < 20; ++press) {
        plugin->variation(1);
        // Never further from the edited sound than one step's depth.
        EXPECT_LE(std::fabs(plugin->getParameter(61) - 0.45f), 0.25f + 1e-6f);
        EXPECT_LE(std::fabs(plugin->getParameter(95) - edited[95]), 0.075f + 1e-6f);
        EXPECT_EQ(plugin->program(8).recordValues[61], plugin->getParameter(61));
        changed = changed || plugin->getParameter(61) != 0.45f;
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(plugin->parameters().lastWritten[61], 0.45f);

    plugin->restoreEdited();
    EXPECT_EQ(liveValues(*plugin), edited);
    EXPECT_TRUE(plugin->parameters().programModified);
    plugin->variation(4);
    for (int slot = 0; slot < 3; ++slot) EXPECT_LE(plugin->getParameter(prm::Fx1Type + slot), 0.6f);
    plugin->restoreOriginal();
    EXPECT_EQ(liveValues(*plugin), selected);
    EXPECT_FALSE(plugin->parameters().programModified);
    for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->program(8).recordValues[i], selected[i]) << i;
}
