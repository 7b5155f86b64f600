// The sample path as the program stores it: the rebuild the loader opens and
// the caption the editor shows.
#include <gtest/gtest.h>

#include "params/SamplePath.h"

namespace {

samples::SamplePathFields fieldsWith(const std::string& text, float pathKind, float fileKind) {
    samples::SamplePathFields f;
    f.pathKind = pathKind;
    f.fileKind = fileKind;
    for (size_t i = 0; i < text.size() && i < samples::kPathCharacters; ++i)
        f.text[i] = samples::encodeCharacter(uint8_t(text[i]));
    return f;
}

TEST(SamplePath, RebuildAddsTheDirectoryAndTheExtensionOfTheFileKind) {
    EXPECT_EQ(rebuildSamplePath(fieldsWith("Kicks/kick", 0.0f, 0.0f), "/s/"), "/s/Kicks/kick.wav");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("Kicks/kick", 0.49f, 0.49f), "/s/"), "/s/Kicks/kick.wav");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("/x/voice", 0.51f, 0.5f), "/s/"), "/x/voice.aif");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("/x/voice", 1.0f, 0.59f), "/s/"), "/x/voice.aif");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("/x/voice", 1.0f, 0.6f), "/s/"), "/x/voice.aiff");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("/x/voice", 1.0f, 0.75f), "/s/"), "/x/voice.aiff");
    EXPECT_EQ(rebuildSamplePath(fieldsWith("", 0.0f, 0.0f), "/s/"), "");
    EXPECT_EQ(sampleCaption(fieldsWith("", 1.0f, 0.0f)), "No sample loaded");
}

TEST(SamplePath, OnlyPrintableCharactersAreReadBack) {
    samples::SamplePathFields f = fieldsWith("ab", 1.0f, 0.0f);
    f.text[2] = 31.5f / 256.0f;   // control character
    f.text[3] = 127.5f / 256.0f;  // DEL: in the caption only
    f.text[4] = 1.0f;             // 256: no character
    f.text[5] = samples::encodeCharacter('c');
    f.text[255] = samples::encodeCharacter('z');  // the caption reads one character more
    EXPECT_EQ(rebuildSamplePath(f, ""), "abc.wav");
    EXPECT_EQ(sampleCaption(f), "Sample: ab\x7F" "cz * ");
    EXPECT_EQ(sampleCaption(fieldsWith("/home/u/voice", 1.0f, 0.0f)), "Sample: voice * ");
    EXPECT_EQ(sampleCaption(fieldsWith("Vox/voice", 0.0f, 0.0f)), "Sample: Vox/voice");
    // A longer text keeps its first 256 characters.
    float out[samples::kPathCharacters];
    const std::string text = std::string(255, 'q') + "rst";
    EXPECT_EQ(samples::encodeStoredText(text, out), samples::kPathCharacters);
    EXPECT_EQ(out[254], samples::encodeCharacter('q'));
    EXPECT_EQ(out[255], samples::encodeCharacter('r'));
}

}  // namespace
