// The reference renders (tools/reference): every case played through the
// plug-in as a host loads it still sounds as it did before the engine was
// made faster. The levels are checked always; the exact samples (hashes)
// when the plug-in was built with the compiler and C library that made them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include <string>
#include <vector>

#include "ReferenceCases.h"
#include "TestSupport.h"

namespace {

const char* const kReferenceFile = BRENNIX_SOURCE_DIR "/tools/reference/reference-renders.txt";

TEST(ReferenceRenders, EveryCaseKeepsItsLevelsAndSamples) {
    ASSERT_FALSE(testing_support::configHome().empty());
    std::vector<reference::Entry> stored;
    std::string madeBy, error;
    ASSERT_TRUE(reference::readEntries(kReferenceFile, stored, madeBy, error)) << error;
    ASSERT_EQ(stored.size(), reference::cases().size()) << "a case without a stored render (or the reverse)";
    const bool exact = madeBy == reference::toolchain();
    if (!exact) std::printf("hashes made with %s; only the levels are compared\n", madeBy.c_str());

    for (const reference::Case& c : reference::cases()) {
        const reference::Entry* entry = nullptr;
        for (const reference::Entry& e : stored)
            if (e.name == c.name) entry = &e;
        ASSERT_NE(entry, nullptr) << c.name;
        vsthost::PluginHost host;
        ASSERT_TRUE(host.load(BRENNIX_PLUGIN_PATH)) << host.error();
        const reference::Audio audio = reference::render(host, c);
        // A reordered float sum moves a level by far less than 0.001 dB.
        EXPECT_LE(reference::fingerprintDistance(entry->fingerprint, reference::fingerprint(audio), -100.0f),
                  0.01f)
            << c.name;
        if (exact) {
            EXPECT_EQ(reference::hash(audio), entry->hash) << c.name;
        }
    }
}

// The measures themselves tell renders apart: a copy one sample late, or a
// sample changed in its last bit, is seen.
TEST(ReferenceRenders, HashAndLevelsSeeSmallChanges) {
    reference::Audio a;
    for (int i = 0; i < 8192; ++i) {
        a.left.push_back(0.5f * std::sin(0.01f * float(i)));
        a.right.push_back(0.25f * std::sin(0.013f * float(i)));
    }
    reference::Audio b = a;
    b.left[4000] = std::nextafter(b.left[4000], 1.0f);
    EXPECT_NE(reference::hash(a), reference::hash(b));
    EXPECT_LT(reference::peakDifferenceDb(a, b), -120.0f);
    EXPECT_LE(reference::fingerprintDistance(reference::fingerprint(a), reference::fingerprint(b), -100.0f),
              0.01f);

    reference::Audio c = a;
    for (float& x : c.right) x *= 1.01f;  // +0.086 dB
    EXPECT_GT(reference::fingerprintDistance(reference::fingerprint(a), reference::fingerprint(c), -100.0f),
              0.05f);
}

}  // namespace
