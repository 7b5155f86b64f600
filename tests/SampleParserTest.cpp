// The WAV and AIFF parsers on file images built in memory: value conversion,
// channels, rates, lengths, and every kind of broken file.
#include <gtest/gtest.h>

#include <cstring>

#include "SampleFiles.h"
#include "params/SampleParsers.h"

using namespace sample_files;
namespace msg = samples::message;

namespace {

class SampleParserTest : public ::testing::Test {
protected:
    samples::ParseResult parseWav(const std::vector<uint8_t>& file) { return run(samples::parseWav, file); }
    samples::ParseResult parseAiff(const std::vector<uint8_t>& file) { return run(samples::parseAiff, file); }
    int16_t value(int i) const { return buffer->values[i]; }

    samples::SampleBufferPtr buffer = samples::makeSampleBuffer();

private:
    using Parser = samples::ParseResult (*)(samples::SampleStream&, samples::SampleBuffer&);
    samples::ParseResult run(Parser parser, const std::vector<uint8_t>& file) {
        samples::MemorySource source(file.data(), file.size());
        samples::SampleStream stream(source);
        return parser(stream, *buffer);
    }
};

std::string messageOf(const samples::ParseResult& r) { return r.message ? r.message : ""; }

TEST_F(SampleParserTest, WavValuesAreTwosComplementAndStereoKeepsTheLeftChannel) {
    // 10 stereo frames: the left channel counts up, the right one holds a marker.
    std::vector<int> frames;
    for (int i = 0; i < 10; ++i) {
        frames.push_back(i * 1000 - 5000);
        frames.push_back(12345);
    }
    auto r = parseWav(wav(2, 44100, 16, pcm16le(frames)));
    ASSERT_TRUE(r.ok) << messageOf(r);
    EXPECT_EQ(r.frames, 10);
    EXPECT_EQ(r.fileSampleRate, 44100.0f);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(value(i), i * 1000 - 5000);

    r = parseWav(wav(1, 48000, 16, {0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(value(0), -1);
    EXPECT_EQ(value(1), -32768);
    EXPECT_EQ(value(2), 32767);
    EXPECT_EQ(value(3), 1);

    // 24 bits keep their two upper bytes.
    r = parseWav(wav(1, 44100, 24, {0x99, 0xFF, 0xFF, 0x11, 0x00, 0x80, 0x00, 0x34, 0x12}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.frames, 3);
    EXPECT_EQ(value(0), -1);
    EXPECT_EQ(value(1), -32768);
    EXPECT_EQ(value(2), 0x1234);

    // 8-bit WAV is unsigned around 128, scaled to the 16-bit range.
    r = parseWav(wav(2, 22050, 8, {0, 9, 128, 9, 255, 9, 64, 9}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.frames, 4);
    EXPECT_EQ(value(0), -32768);
    EXPECT_EQ(value(1), 0);
    EXPECT_EQ(value(2), 32512);
    EXPECT_EQ(value(3), -16384);
}

TEST_F(SampleParserTest, AiffValuesAreBigEndianAndSigned) {
    auto r = parseAiff(aiff(2, 44100, 16, 3, {0xFF, 0xFF, 0, 0, 0x80, 0x00, 0, 0, 0x12, 0x34, 0, 0}));
    ASSERT_TRUE(r.ok) << messageOf(r);
    EXPECT_EQ(r.frames, 3);
    EXPECT_EQ(value(0), -1);
    EXPECT_EQ(value(1), -32768);
    EXPECT_EQ(value(2), 0x1234);

    r = parseAiff(aiff(1, 44100, 24, 2, {0x7F, 0xFF, 0x99, 0xFF, 0xFE, 0x00}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(value(0), 32767);
    EXPECT_EQ(value(1), -2);

    r = parseAiff(aiff(1, 44100, 8, 4, {0x7F, 0x80, 0xFF, 0x00}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(value(0), 127 * 256);
    EXPECT_EQ(value(1), -32768);
    EXPECT_EQ(value(2), -256);
    EXPECT_EQ(value(3), 0);
}

TEST_F(SampleParserTest, SampleRates) {
    const std::vector<uint8_t> one = pcm16le({100, 200});
    EXPECT_EQ(messageOf(parseWav(wav(1, 4000, 16, one))), msg::kRate);
    EXPECT_EQ(messageOf(parseWav(wav(1, 4999, 16, one))), msg::kRate);
    EXPECT_EQ(messageOf(parseWav(wav(1, 190001, 16, one))), msg::kRate);
    EXPECT_EQ(messageOf(parseWav(wav(1, 192000, 16, one))), msg::kRate);
    EXPECT_EQ(parseWav(wav(1, 5000, 16, one)).fileSampleRate, 5000.0f);
    EXPECT_EQ(parseWav(wav(1, 190000, 16, one)).fileSampleRate, 190000.0f);

    // AIFF rates are decoded from the extended value; unusable ones play as 44.1 kHz.
    for (double rate : {11025.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 8000.0})
        EXPECT_EQ(parseAiff(aiff(1, rate, 16, 2, one)).fileSampleRate, float(rate)) << rate;
    EXPECT_EQ(parseAiff(aiff(1, 1000.0, 16, 2, one)).fileSampleRate, 44100.0f);
    EXPECT_EQ(parseAiff(aiff(1, 1e9, 16, 2, one)).fileSampleRate, 44100.0f);
    std::vector<uint8_t> negative = aiff(1, 48000, 16, 2, one);
    negative[28] |= 0x80;  // the sign bit of the rate
    EXPECT_EQ(parseAiff(negative).fileSampleRate, 44100.0f);
}

TEST_F(SampleParserTest, LengthsAreLimitedToTheBufferAndTheFile) {
    // 4,000,000 mono frames: the first 2,999,999 are loaded.
    std::vector<uint8_t> data(8000000);
    for (size_t i = 0; i < data.size(); i += 2) {
        const uint32_t v = uint32_t(i / 2) & 0x7FFF;
        data[i] = uint8_t(v);
        data[i + 1] = uint8_t(v >> 8);
    }
    auto r = parseWav(wav(1, 44100, 16, data));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.frames, samples::kMaxFrames);
    EXPECT_EQ(value(samples::kMaxFrames - 1), (samples::kMaxFrames - 1) & 0x7FFF);
    r = parseAiff(aiff(1, 44100, 16, 4000000, data));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.frames, samples::kMaxFrames);

    // A data size beyond the file is refused; a partial last frame is dropped.
    EXPECT_EQ(messageOf(parseWav(wav(1, 44100, 16, pcm16le({1, 2}), 6))), msg::kLength);
    EXPECT_EQ(messageOf(parseWav(wav(1, 44100, 16, pcm16le({1, 2}), 0xFFFFFFFF))), msg::kLength);
    r = parseWav(wav(2, 44100, 24, std::vector<uint8_t>(13, 1)));
    EXPECT_EQ(r.frames, 2);
    EXPECT_EQ(messageOf(parseAiff(aiff(2, 44100, 16, 3, pcm16le({1, 2, 3, 4, 5})))), msg::kLength);
    // 2^32 - 1 frames cannot wrap around into a small size.
    EXPECT_EQ(messageOf(parseAiff(aiff(2, 44100, 24, 0xFFFFFFFF, pcm16le({1, 2, 3})))), msg::kLength);
    EXPECT_EQ(messageOf(parseAiff(aiff(1, 44100, 8, 0x80000000u, pcm16le({1})))), msg::kLength);
    EXPECT_EQ(messageOf(parseAiff(aiff(1, 44100, 16, 0x80000000u, pcm16le({1, 2})))), msg::kLength);

    // No frame at all: a refusal without a message.
    r = parseWav(wav(1, 44100, 16, pcm16le({1}), 1));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, nullptr);
    r = parseAiff(aiff(1, 44100, 16, 0, {}));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, nullptr);
}

TEST_F(SampleParserTest, BrokenWavFilesGiveTheirMessages) {
    const std::vector<uint8_t> good = wav(1, 44100, 16, pcm16le({1, 2, 3, 4}));
    ASSERT_TRUE(parseWav(good).ok);

    EXPECT_EQ(messageOf(parseWav({})), msg::kSize);
    EXPECT_EQ(messageOf(parseWav(std::vector<uint8_t>(good.begin(), good.begin() + 34))), msg::kSize);
    const std::string text = "This is a text file, not a sound at all; nothing to see here.";
    EXPECT_EQ(messageOf(parseWav(std::vector<uint8_t>(text.begin(), text.end()))), msg::kFmt);
    // A header cut inside the format fields.
    EXPECT_EQ(messageOf(parseWav(std::vector<uint8_t>(good.begin(), good.begin() + 35))), msg::kFmt);
    // Cut before the data chunk's size.
    std::vector<uint8_t> noSize(good.begin(), good.begin() + 40);
    EXPECT_EQ(messageOf(parseWav(noSize)), msg::kNoData);
    std::vector<uint8_t> noData = good;
    std::memcpy(noData.data() + 36, "dat_", 4);
    EXPECT_EQ(messageOf(parseWav(noData)), msg::kNoData);

    for (int channels : {0, 3, 7, 65535})
        EXPECT_EQ(messageOf(parseWav(wav(channels, 44100, 16, pcm16le({1, 2, 3, 4})))), msg::kChannels)
            << channels;
    for (int bits : {0, 4, 12, 20, 32, 64})
        EXPECT_EQ(messageOf(parseWav(wav(1, 44100, bits, pcm16le({1, 2, 3, 4})))), msg::kBits) << bits;
}

TEST_F(SampleParserTest, BrokenAiffFilesGiveTheirMessages) {
    const std::vector<uint8_t> good = aiff(1, 44100, 16, 2, pcm16be({1, 2}));
    ASSERT_TRUE(parseAiff(good).ok);

    EXPECT_EQ(messageOf(parseAiff({})), msg::kAiff);
    EXPECT_EQ(messageOf(parseAiff(wav(1, 44100, 16, pcm16le({1, 2})))), msg::kAiff);
    // The form type inside the skipped form header does not count.
    EXPECT_EQ(messageOf(parseAiff({'A', 'I', 'F', 'F', 0, 0, 0, 0})), msg::kAiff);
    for (size_t keep : {size_t(12), size_t(20), size_t(30), size_t(40), size_t(50)})
        EXPECT_EQ(messageOf(parseAiff(std::vector<uint8_t>(good.begin(), good.begin() + keep))), msg::kAiff)
            << keep;
    std::vector<uint8_t> noSound = good;
    std::memcpy(noSound.data() + 38, "SSNX", 4);
    EXPECT_EQ(messageOf(parseAiff(noSound)), msg::kAiff);
    for (int channels : {0, 7})
        EXPECT_EQ(messageOf(parseAiff(aiff(channels, 44100, 16, 2, pcm16le({1, 2})))), msg::kChannels);
    for (int bits : {1, 12, 32})
        EXPECT_EQ(messageOf(parseAiff(aiff(1, 44100, bits, 2, pcm16le({1, 2})))), msg::kBits);

    // A sound offset beyond the file is refused; one inside it is skipped.
    std::vector<uint8_t> offset = aiff(1, 44100, 16, 1, pcm16be({7, 0x4321}));
    offset[49] = 2;
    auto r = parseAiff(offset);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(value(0), 0x4321);
    offset[49] = 200;
    EXPECT_EQ(messageOf(parseAiff(offset)), msg::kLength);

    // Another chunk before "COMM" is stepped over.
    std::vector<uint8_t> marked(good.begin(), good.begin() + 12);
    putTag(marked, "MARK");
    put32be(marked, 2);
    put16be(marked, 0);
    marked.insert(marked.end(), good.begin() + 12, good.end());
    r = parseAiff(marked);
    ASSERT_TRUE(r.ok) << messageOf(r);
    EXPECT_EQ(value(1), 2);
}

}  // namespace
