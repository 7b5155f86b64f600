// Morph, variations, "Orig" and "Edit". Which parameters each operation
// touches, and how, is taken from the lists the sound design gives for them.
// Every operation is followed by a short block, since whole-program changes
// may wait for the audio thread.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MessageCapture.h"
#include "TestSupport.h"
#include "Values.h"
#include "host/APlugin.h"

using testing_support::makePlugin;
using testing_support::processDirect;
using values::indexes;

namespace {

// The morph's groups.
const std::vector<int> kInterpolated = indexes(
    "1-4, 7, 9, 21-28, 30, 32-39, 41-44, 46-53, 55-58, 61-73, 78, 88, 89, 91-95, 99, 100, 102, 111, 112, "
    "114-120, 123-129, 140, 141, 144-146, 153-156, 161-168");
const std::vector<int> kSwitched = indexes(
    "5, 6, 17-20, 29, 31, 40, 45, 60, 77, 80, 85-87, 90, 101, 103-109, 130-132, 134-139, 142, 143, 147, "
    "149-152, 157-160");
const std::vector<int> kBlock = indexes("170-202, 204-209, 320-379, 210-319");
const std::vector<int> kUnchanged = indexes(
    "0, 8, 10-16, 54, 59, 74-76, 79, 81-84, 96-98, 110, 113, 121, 122, 133, 148, 169, 203, 380-798");

constexpr int kA = 20, kB = 21, kCurrent = 22;

std::vector<float> liveValues(APlugin& p) {
    std::vector<float> v(799);
    for (int i = 0; i < 799; ++i) v[i] = p.getParameter(i);
    return v;
}

float programValue(float program) { return (program + 0.5f) * 0.00781311095f; }

// Programs A and B hold different values everywhere; the current program a third set.
std::unique_ptr<APlugin> morphPlugin(float amount) {
    auto plugin = makePlugin();
    for (auto [program, value] : {std::pair{kA, 0.2f}, {kB, 0.8f}, {kCurrent, 0.55f}}) {
        plugin->setProgram(program);
        processDirect(*plugin, 1);
        for (int i = 0; i < 799; ++i) plugin->setParameter(i, value + 0.0001f * float(i % 100));
    }
    plugin->setProgram(kCurrent);
    processDirect(*plugin, 1);
    plugin->setParameter(prm::CrossPrA, programValue(kA));
    plugin->setParameter(prm::CrossPrB, programValue(kB));
    plugin->setParameter(prm::CrossAmount, amount);
    return plugin;
}

void morphNow(APlugin& plugin) {
    plugin.morph();
    processDirect(plugin, 1);
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

TEST(Morph, TheGroupsCoverEveryParameterOnce) {
    std::multiset<int> all;
    for (const auto* group : {&kInterpolated, &kSwitched, &kBlock, &kUnchanged}) all.insert(group->begin(), group->end());
    EXPECT_EQ(all.size(), 799u);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), 799u);
}

TEST(Morph, AmountZeroTakesAAndOneTakesB) {
    for (float amount : {0.0f, 1.0f}) {
        SCOPED_TRACE(amount);
        auto plugin = morphPlugin(amount);
        const std::vector<float> before = liveValues(*plugin);
        plugin->seedRandom(12345);
        morphNow(*plugin);
        const APlugin& p = *plugin;
        const ProgramRecord& source = p.program(amount == 0.0f ? kA : kB);
        // A + (B - A) x 1 may differ from B in the last bit.
        for (int i : kInterpolated) ASSERT_FLOAT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : kSwitched) ASSERT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : kBlock) ASSERT_EQ(p.parameters().values[i], source.recordValues[i]) << i;
        for (int i : kUnchanged) ASSERT_EQ(p.parameters().values[i], before[i]) << i;
        // The morphed sound is kept in the current program, modified and edited.
        EXPECT_EQ(p.program(kCurrent).recordValues[61], p.parameters().values[61]);
        EXPECT_TRUE(p.parameters().programModified);
        EXPECT_EQ(p.parameters().lastWritten[61], p.parameters().values[61]);
        EXPECT_FALSE(plugin->isEngineBusy());
        // "Orig" goes back to the program as selected.
        plugin->restoreOriginal();
        processDirect(*plugin, 1);
        EXPECT_EQ(plugin->getParameter(61), before[61]);
    }
}

TEST(Morph, HalfwayBlendsAndAFullDrawKeepsA) {
    auto plugin = morphPlugin(0.5f);
    morphNow(*plugin);
    EXPECT_FLOAT_EQ(plugin->getParameter(61), 0.5f + 0.0061f);
    EXPECT_FLOAT_EQ(plugin->getParameter(1), 0.5f + 0.0001f);

    // At amount 1, a switched parameter whose draw is exactly 1.0 keeps A's value.
    auto first = morphPlugin(1.0f);
    first->seedRandom(seedForFullDraw(1));
    morphNow(*first);
    EXPECT_EQ(first->getParameter(kSwitched[0]), first->program(kA).recordValues[kSwitched[0]].load());
    EXPECT_EQ(first->getParameter(kSwitched[1]), first->program(kB).recordValues[kSwitched[1]].load());
    EXPECT_EQ(first->getParameter(210), first->program(kB).recordValues[210].load());

    // The draw after the switched parameters (one each, in order) decides the whole
    // effect and arp block.
    auto block = morphPlugin(1.0f);
    block->seedRandom(seedForFullDraw(int(kSwitched.size()) + 1));
    morphNow(*block);
    for (int i : kBlock) ASSERT_EQ(block->getParameter(i), block->program(kA).recordValues[i].load()) << i;
    EXPECT_EQ(block->getParameter(kSwitched.back()), block->program(kB).recordValues[kSwitched.back()].load());
    EXPECT_FLOAT_EQ(block->getParameter(61), block->program(kB).recordValues[61].load());

    // The preset menu's stored sources set "Cross Pr A" / "Cross Pr B".
    auto stored = morphPlugin(0.0f);
    stored->setProgram(kA + 5);
    processDirect(*stored, 1);
    stored->storeAsMorph(1);
    stored->setProgram(kCurrent);
    processDirect(*stored, 1);
    stored->setToStoredMorph(1);
    EXPECT_EQ(int(stored->getParameter(prm::CrossPrB) * 127.99f), kA + 5);

    // A and B the same program (not the current one) copies it.
    auto same = morphPlugin(0.37f);
    same->setParameter(prm::CrossPrB, programValue(kA));
    morphNow(*same);
    for (int i : kInterpolated) ASSERT_FLOAT_EQ(same->getParameter(i), same->program(kA).recordValues[i].load()) << i;
}

TEST(Morph, ASourceEqualToTheCurrentProgramIsRefused) {
    for (int which : {prm::CrossPrA, prm::CrossPrB}) {
        auto plugin = morphPlugin(0.5f);
        plugin->setParameter(which, programValue(kCurrent));
        const bool modified = plugin->parameters().programModified;
        const std::vector<float> before = liveValues(*plugin);
        MessageCapture messages;
        morphNow(*plugin);
        ASSERT_EQ(messages.texts.size(), 1u);
        EXPECT_EQ(messages.texts[0], "The morph presets must be different from the current preset");
        EXPECT_EQ(liveValues(*plugin), before);
        EXPECT_EQ(plugin->parameters().programModified, modified);
        for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->program(kCurrent).recordValues[i], before[i]);
    }
}

TEST(Variation, EachListVariesItsParametersByItsDepths) {
    // With "Variation Amount" v: depth a = v^2, b = 0.3 v^2, c = min(a, 0.075),
    // or 1; an octave step moves a semitone parameter an octave (0.123724096)
    // down, not at all or up. Lists "A" and "C" end with 7 by a and the three
    // effect mixes by b; "D" varies each effect type by 0.6 up to 0.6 and its
    // eight knobs by 1.
    const std::string lists[4] = {
        "23c 20a 27a 28b 48c 45a 52a 53b 61a 64a 69a 70a 71a 73b 88a 92a 93a 95b 114a 115a 142b 143b "
        "114a 116a 140a 141a 161a 162a 163a 164a 4a 7a 173b 174b 175b",
        "22o 24b 34c 31a 47o 50a 62a 65b 69a 73a 91a 95a 111a 119a 112a 120a 142a 143a 161b 162b 163b 164b",
        "17d 23c 26a 22o 18d 37a 42a 41a 35b 19a 51a 55a 56a 49a 60a 77a 63a 70a 73b 78a 85a 92a 93a 95b "
        "7a 173b 174b 175b",
        "170t 179d 182d 185d 188d 191d 194d 197d 200d 171t 180d 183d 186d 189d 192d 195d 198d 201d "
        "172t 181d 184d 187d 190d 193d 196d 199d 202d",
    };
    const float v = 0.6f;
    const double a = v * v, b = 0.3 * v * v, c = std::min(a, 0.075);
    constexpr float kOctave = 0.123724096f;
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("variation " + std::to_string(n));
        auto plugin = makePlugin();
        for (int i = 0; i < 799; ++i) plugin->setParameter(i, 0.5f);  // switches round to 1
        plugin->setParameter(prm::VariationAmount, v);
        plugin->seedRandom(uint32_t(7919 * n));
        const std::vector<float> edited = liveValues(*plugin);
        std::vector<double> furthest(799, 0.0);
        std::vector<std::set<float>> seen(799);
        for (int press = 0; press < 60; ++press) {
            plugin->variation(n);
            processDirect(*plugin, 1);
            const std::vector<float> now = liveValues(*plugin);
            for (int i = 0; i < 799; ++i) {
                furthest[i] = std::max(furthest[i], std::fabs(double(now[i]) - edited[i]));
                seen[i].insert(now[i]);
                ASSERT_EQ(plugin->program(plugin->getProgram()).recordValues[i], now[i]) << i;
            }
            for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->parameters().lastWritten[i], edited[i]) << i;
        }
        std::set<int> listed;
        std::stringstream steps(lists[n - 1]);
        std::string step;
        while (steps >> step) {
            const int p = std::stoi(step);
            const char kind = step.back();
            listed.insert(p);
            if (kind == 'o') {
                // The middle draw keeps the value the last press left.
                std::set<float> steps = seen[p];
                EXPECT_TRUE(steps.erase(edited[p] - kOctave) && steps.erase(edited[p] + kOctave)) << p;
                steps.erase(edited[p]);
                EXPECT_TRUE(steps.empty()) << p;
                continue;
            }
            const double depth = kind == 'a' ? a : kind == 'b' ? b : kind == 'c' ? c : kind == 't' ? 0.6 : 1.0;
            const double limit = kind == 't' ? 0.6 : 1.0;
            if (plugin->parameters().isSwitch[p]) {
                // Installing the varied sound rounds a switch: from on, only a depth
                // above one half can turn it off.
                EXPECT_EQ(seen[p].size(), depth > 0.5 ? 2u : 1u) << p;
                continue;
            }
            // Clamped at 0 and at the limit, the furthest a value can get from the edited one.
            const double reach = std::min(depth, std::max(double(edited[p]), limit - edited[p]));
            EXPECT_LE(furthest[p], reach + 1e-6) << p;
            EXPECT_GT(furthest[p], 0.85 * reach) << p << " reaches " << furthest[p] << " of " << reach;
            if (kind == 't') EXPECT_LE(*seen[p].rbegin(), 0.6f) << p;
        }
        for (int i = 0; i < 799; ++i)
            if (!listed.count(i)) EXPECT_EQ(furthest[i], 0.0) << "parameter " << i << " is not in the list";
        EXPECT_TRUE(plugin->parameters().programModified);
    }
}

TEST(Variation, AmountZeroKeepsTheEditedSoundButOctaveStepsStillMove) {
    // "Variation D" and the steps "by 1" ("Osc 1 On" and "Osc 2 On" in "C")
    // vary by fixed depths, whatever the amount.
    for (int n : {1, 2, 3}) {
        auto plugin = makePlugin();
        plugin->setProgram(6);
        processDirect(*plugin, 1);
        plugin->setParameter(prm::VariationAmount, 0.0f);
        plugin->setParameter(61, 0.4f);  // a hand edit
        const std::vector<float> edited = liveValues(*plugin);
        plugin->seedRandom(7);
        for (int press = 0; press < 12; ++press) {
            plugin->variation(n);
            processDirect(*plugin, 1);
            const std::vector<float> now = liveValues(*plugin);
            for (int i = 0; i < 799; ++i) {
                if ((n == 2 && (i == 22 || i == 47)) || (n == 3 && (i == 22 || i == 17 || i == 18))) continue;
                ASSERT_EQ(now[i], edited[i]) << "variation " << n << " parameter " << i;
            }
        }
    }
}

TEST(Variation, EditAndOrigReturnFromAVariation) {
    auto plugin = makePlugin();
    plugin->setProgram(8);
    processDirect(*plugin, 1);
    const std::vector<float> selected = liveValues(*plugin);
    plugin->setParameter(prm::VariationAmount, 0.5f);
    plugin->setParameter(61, 0.45f);
    plugin->setParameter(62, 0.35f);
    const std::vector<float> edited = liveValues(*plugin);
    plugin->seedRandom(2024);
    plugin->variation(1);
    processDirect(*plugin, 1);
    EXPECT_NE(liveValues(*plugin), edited);

    plugin->restoreEdited();
    processDirect(*plugin, 1);
    EXPECT_EQ(liveValues(*plugin), edited);
    EXPECT_TRUE(plugin->parameters().programModified);
    plugin->variation(4);
    processDirect(*plugin, 1);
    plugin->restoreOriginal();
    processDirect(*plugin, 1);
    EXPECT_EQ(liveValues(*plugin), selected);
    EXPECT_FALSE(plugin->parameters().programModified);
    for (int i = 0; i < 799; ++i) ASSERT_EQ(plugin->program(8).recordValues[i], selected[i]) << i;
}
