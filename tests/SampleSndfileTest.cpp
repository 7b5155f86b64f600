// The sample parsers against files written by libsndfile: every value of the
// left channel and the rate must match what libsndfile reads back.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "TestSupport.h"
#include "params/SampleFileLoad.h"

namespace {

struct Format {
    const char* extension;
    int major;
    int subtype;
    const char* name;
};

// The path fields a program holds for an absolute path.
samples::SamplePathFields absoluteFields(const std::string& path, float fileKind) {
    samples::SamplePathFields fields;
    fields.pathKind = 1.0f;
    fields.fileKind = fileKind;
    samples::encodeStoredText(path.substr(0, path.find_last_of('.')), fields.text);
    return fields;
}

TEST(SampleSndfileTest, ParsersReadWhatLibsndfileWrites) {
    const Format formats[] = {
        {".wav", SF_FORMAT_WAV, SF_FORMAT_PCM_U8, "wav8"},   {".wav", SF_FORMAT_WAV, SF_FORMAT_PCM_16, "wav16"},
        {".wav", SF_FORMAT_WAV, SF_FORMAT_PCM_24, "wav24"},  {".aiff", SF_FORMAT_AIFF, SF_FORMAT_PCM_S8, "aiff8"},
        {".aif", SF_FORMAT_AIFF, SF_FORMAT_PCM_16, "aif16"}, {".aiff", SF_FORMAT_AIFF, SF_FORMAT_PCM_24, "aiff24"},
    };
    const int rates[] = {11025, 22050, 32000, 44100, 48000, 88200, 96000};
    auto buffer = samples::makeSampleBuffer();
    int checked = 0;
    for (const Format& format : formats) {
        for (int channels = 1; channels <= 2; ++channels) {
            for (int rate : rates) {
                SCOPED_TRACE(std::string(format.name) + " channels " + std::to_string(channels) + " rate " +
                             std::to_string(rate));
                const int frames = 1500 + rate / 100;
                std::vector<double> written(size_t(frames * channels));
                for (int i = 0; i < frames; ++i) {
                    const double t = double(i) / rate;
                    written[size_t(i * channels)] = 0.7 * std::sin(2 * M_PI * 440 * t) + 0.25 * std::sin(i * 0.37);
                    if (channels == 2) written[size_t(i * 2 + 1)] = -0.5 * std::cos(2 * M_PI * 97 * t);
                }
                const std::string path =
                    testing_support::tempPath(std::string("sf-") + format.name + "-" + std::to_string(channels) +
                                              "-" + std::to_string(rate) + format.extension);
                SF_INFO info{};
                info.samplerate = rate;
                info.channels = channels;
                info.format = format.major | format.subtype;
                SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
                ASSERT_NE(out, nullptr) << sf_strerror(nullptr);
                ASSERT_EQ(sf_writef_double(out, written.data(), frames), frames);
                sf_close(out);

                SF_INFO readInfo{};
                SNDFILE* in = sf_open(path.c_str(), SFM_READ, &readInfo);
                ASSERT_NE(in, nullptr);
                // libsndfile counts the pad byte of an odd-sized 8-bit AIFF as a frame.
                const int stored = int(readInfo.frames);
                EXPECT_LE(stored - frames, 1);
                std::vector<short> expected(size_t(stored * channels));
                ASSERT_EQ(sf_readf_short(in, expected.data(), stored), stored);
                sf_close(in);

                const float fileKind = format.major == SF_FORMAT_WAV ? 0.0f
                                       : std::string(format.extension) == ".aif" ? 0.5f
                                                                                  : 0.75f;
                const samples::LoadOutcome outcome = samples::loadSample(absoluteFields(path, fileKind), "", *buffer);
                ASSERT_TRUE(outcome.result.ok) << outcome.message;
                EXPECT_EQ(outcome.result.frames, stored);
                EXPECT_EQ(outcome.result.fileSampleRate, float(rate));
                int mismatches = 0;
                for (int i = 0; i < stored; ++i)
                    if (buffer->values[i] != expected[size_t(i * channels)]) ++mismatches;
                EXPECT_EQ(mismatches, 0);
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 6 * 2 * 7);
}

}  // namespace
