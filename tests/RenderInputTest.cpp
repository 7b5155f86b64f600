// brennix-render --input: audio played into a plug-in's two inputs, seen
// through the probe instrument echoing them; and the speech-like phrase that
// vocoder programs listening to the input are given with --all-programs.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "InputSignal.h"
#include "InputVocoder.h"
#include "RenderToolSupport.h"
#include "SpeechSignal.h"
#include "TestSupport.h"
#include "params/ParamIds.h"

using testing_support::tempPath;
using namespace render_tool;

namespace {

const std::string kProbe = "'" BRENNIX_PROBE_PATH "'";
const std::string kEcho = " --set 2=1";  // the probe's outputs copy its inputs

// Writes `frames` x `channels` interleaved samples as a sound file.
void writeSound(const std::string& path, int format, int rate, int channels, const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << path << ": " << sf_strerror(nullptr);
    const sf_count_t frames = sf_count_t(samples.size()) / channels;
    EXPECT_EQ(sf_writef_float(f, samples.data(), frames), frames);
    sf_close(f);
}

// A ramp whose value is the time in seconds: linear interpolation at any
// other rate gives back the time of the new sample.
std::vector<float> timeRamp(int rate, int frames, int channels, std::vector<float> scale) {
    std::vector<float> x;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) x.push_back(scale[size_t(c)] * float(i) / float(rate));
    return x;
}

int countLines(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(RenderInput, AFileReachesBothInputsFromTheStartAtTheRenderRate) {
    // Three channels at half the render rate: the first two play, the third does not.
    const std::string wide = tempPath("input-wide.wav"), out = tempPath("input-wide-out.wav");
    writeSound(wide, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 3, timeRamp(22050, 11025, 3, {1.0f, -0.5f, 0.75f}));
    Outcome r = run(kProbe + kEcho + " --input '" + wide + "' --tempo 1000 --tail 0 --block 37 --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    Audio a = readWav(out);
    ASSERT_GT(a.left.size(), 30000u);
    for (size_t m = 0; m < 22049; ++m) {  // the last sample falls towards the silence after the file
        ASSERT_NEAR(a.left[m], m / 44100.0, 1e-6) << m;
        ASSERT_NEAR(a.right[m], -0.5 * m / 44100.0, 1e-6) << m;
    }
    for (size_t m = 22050; m < a.left.size(); ++m) ASSERT_TRUE(a.left[m] == 0.0f && a.right[m] == 0.0f) << m;

    // A mono AIFF at 48 kHz feeds both inputs alike, resampled down without drift.
    const std::string mono = tempPath("input-mono.aiff");
    writeSound(mono, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 48000, 1, timeRamp(48000, 48000, 1, {1.0f}));
    r = run(kProbe + kEcho + " --input '" + mono + "' --tempo 1000 --tail 0 --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    a = readWav(out);
    EXPECT_EQ(a.left, a.right);
    for (size_t m = 0; m < 44099; ++m) ASSERT_NEAR(a.left[m], m / 44100.0, 1e-6) << m;
    EXPECT_EQ(a.left[44100], 0.0f);
}

TEST(RenderInput, UnreadableInputFilesExitWithOneAndWriteNothing) {
    const std::string text = tempPath("input-not-audio.wav"), out = tempPath("input-never.wav");
    testing_support::writeText(text, "these are words, not sound\n");
    const std::pair<std::string, std::string> cases[] = {
        {"/nonexistent/voice.wav", "cannot read /nonexistent/voice.wav: No such file or directory"},
        {text, "cannot read " + text + ": "},
    };
    for (const auto& [path, message] : cases) {
        Outcome r = run(kProbe + " --input '" + path + "' --out '" + out + "'");
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_NE(r.output.find(message), std::string::npos) << r.output;
        EXPECT_NE(access(out.c_str(), F_OK), 0) << "nothing is written";
    }
    Outcome r = run(kProbe + " --input= --out '" + out + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("--input expects an audio file or 'speech'"), std::string::npos) << r.output;
}

TEST(RenderInput, EveryProgramHearsTheInputFromItsStart) {
    // The per-program phrase at 120 BPM with --tail 0.5: 2.5 s a program.
    constexpr size_t kEach = 110250;
    const std::string mono = tempPath("input-short.wav"), out = tempPath("input-all.wav");
    std::vector<float> file;
    for (int i = 0; i < 1000; ++i) file.push_back(float(i % 100) / 128.0f - 0.25f);
    writeSound(mono, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, file);
    Outcome r = run(kProbe + kEcho + " --all-programs --tail 0.5 --input '" + mono + "' --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("(input:"), std::string::npos) << "the probe has no vocoder\n" << r.output;
    Audio a = readWav(out);
    ASSERT_EQ(a.left.size(), 4 * kEach);
    for (size_t p = 0; p < 4; ++p)
        for (size_t i = 0; i < kEach; ++i) {
            const float expected = i < file.size() ? file[i] : 0.0f;
            ASSERT_EQ(a.left[p * kEach + i], expected) << "program " << p << ", sample " << i;
            ASSERT_EQ(a.right[p * kEach + i], expected) << "program " << p << ", sample " << i;
        }

    // The speech-like phrase likewise, alone and for every program.
    r = run(kProbe + kEcho + " --all-programs --tail 0.5 --input speech --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    a = readWav(out);
    ASSERT_EQ(a.left.size(), 4 * kEach);
    const render::StereoSignal speech = render::speechInput(44100, kEach);
    for (size_t p = 0; p < 4; ++p) {
        EXPECT_TRUE(std::equal(speech.left.begin(), speech.left.end(), a.left.begin() + long(p * kEach)));
        EXPECT_TRUE(std::equal(speech.right.begin(), speech.right.end(), a.right.begin() + long(p * kEach)));
    }
    r = run(kProbe + kEcho + " --input speech --tempo 1000 --tail 0 --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    a = readWav(out);
    EXPECT_EQ(a.left, a.right);
    EXPECT_GT(analysis::peak(a.left), 0.45);
}

TEST(RenderInput, TheSpeechPhraseFitsAnyLength) {
    // A phrase shorter than a syllable is the start of a longer one (at its own peak level).
    const std::vector<float> shortOne = speech::phrase(44100, 0.1), longOne = speech::phrase(44100, 1.0);
    ASSERT_EQ(shortOne.size(), 4410u);
    const double scale = analysis::peak(shortOne) / analysis::peak(longOne, 0, 4410);
    for (size_t i = 0; i < shortOne.size(); ++i) ASSERT_NEAR(shortOne[i], longOne[i] * scale, 1e-5) << i;
    EXPECT_TRUE(render::speechInput(8000, 0).left.empty());
    EXPECT_EQ(render::speechInput(8000, 12345).right.size(), 12345u);
}

TEST(RenderInput, ProgramsWhoseVocoderListensToTheInputAreGivenSpeech) {
    using fxtest::typeValue;
    auto host = testing_support::loadPlugin();
    auto reset = [&] {
        for (int s = 0; s < 3; ++s) host->setParameter(prm::Fx1Type + s, 0.0f);
        host->setParameter(prm::VocoderSource, 1.0f);
        host->setParameter(prm::FxBypass, 0.0f);
    };
    reset();
    EXPECT_FALSE(render::usesInputVocoder(*host)) << "no vocoder";
    for (int slot = 0; slot < 3; ++slot) {
        reset();
        host->setParameter(prm::Fx1Type + slot, typeValue(17));
        EXPECT_TRUE(render::usesInputVocoder(*host)) << "slot " << slot;
        host->setParameter(prm::VocoderSource, 0.5f);  // "Sample"
        EXPECT_FALSE(render::usesInputVocoder(*host)) << "slot " << slot;
        host->setParameter(prm::VocoderSource, 0.51f);
        EXPECT_TRUE(render::usesInputVocoder(*host)) << "slot " << slot;
        host->setParameter(prm::FxBypass, 0.5f);  // the effects do not run
        EXPECT_FALSE(render::usesInputVocoder(*host)) << "slot " << slot;
    }
    for (int type : {16, 18}) {
        reset();
        host->setParameter(prm::Fx1Type, typeValue(type));
        EXPECT_FALSE(render::usesInputVocoder(*host)) << "type " << type;
    }
    vsthost::PluginHost probe;
    ASSERT_TRUE(probe.load(BRENNIX_PROBE_PATH));
    EXPECT_FALSE(render::usesInputVocoder(probe)) << "a plug-in without these parameters";

    // The bank as it stands: the programs listed as given speech are the ones
    // that use the vocoder on the input.
    const std::string out = tempPath("input-bank.wav");
    const std::string quick = "'" BRENNIX_PLUGIN_PATH "' --all-programs --rate 8000 --tempo 1000 --tail 0 --out '" +
                              out + "'";
    Outcome r = run(quick);
    ASSERT_EQ(r.status, 0) << r.output;
    // A fresh instance: the checks above edited the programs they ran on.
    auto bank = testing_support::loadPlugin(44100.0f, 512, false);
    for (int p = 0; p < 128; ++p) {
        bank->dispatch(effSetProgram, 0, p);
        const std::string line = std::to_string(p) + "  " + bank->programNameIndexed(p);
        const size_t at = r.output.find(line);
        ASSERT_NE(at, std::string::npos) << line;
        const std::string listed = r.output.substr(at, r.output.find('\n', at) - at);
        EXPECT_EQ(listed.find("(input: speech-like phrase)") != std::string::npos, render::usesInputVocoder(*bank))
            << listed;
    }

    // Every program turned into a wet vocoder on the input, alone in the
    // slots, with wide bands at full input level: each is listed so and
    // sounds; with the vocoder on its (empty) sample instead, none does.
    std::string vocoder;
    auto set = [&](int index, float value) {
        vocoder += " --set " + std::to_string(index) + "=" + std::to_string(value);
    };
    set(prm::Fx1Type, typeValue(17));
    set(prm::Fx1Type + 1, 0.0f);
    set(prm::Fx1Type + 2, 0.0f);
    set(prm::Fx1Mix, 1.0f);
    set(prm::VocoderMode, 0.0f);
    // Mix, BandWidth, Shift, LP Filter (off), HP Filter, Boost, In Vol, In Pitch.
    const float knobs[8] = {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.5f, 1.0f, 0.5f};
    for (int k = 0; k < 8; ++k) set(fxtest::knobParameter(0, k), knobs[k]);
    vocoder += " --set " + std::to_string(prm::VocoderSource) + "=";
    // Input asked for on the command line is what every program hears.
    r = run(quick + vocoder + "1 --input speech");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output.find("(input:"), std::string::npos) << r.output;
    for (const char* source : {"1", "0"}) {
        const bool input = source[0] == '1';
        r = run(quick + vocoder + source);
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(countLines(r.output, "(input: speech-like phrase)\n"), input ? 128 : 0) << r.output;
        const Audio a = readWav(out);
        const size_t each = a.left.size() / 128;
        ASSERT_EQ(each * 128, a.left.size());
        ASSERT_GE(each, 1920u);  // four beats at 1000 BPM
        for (size_t p = 0; p < 128; ++p) {
            const double level = analysis::peak(a.left, p * each, (p + 1) * each);
            // Silence here is below -120 dB: the effects' guard against denormal numbers.
            if (input)
                EXPECT_GT(level, 0.01) << "program " << p;
            else
                EXPECT_LT(level, 1e-6) << "program " << p;
        }
    }
}
