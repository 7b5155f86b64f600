// Sample import through the plug-in: choosing a file, the load at the
// 512-sample boundary on the loader thread, the player the vocoder reads, the
// messages, and files that must be refused without blocking anything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <random>
#include <thread>

#include "MessageCapture.h"
#include "SampleFiles.h"
#include "TestSupport.h"
#include "effects/EffectTypes.h"
#include "platform/SettingsStore.h"

using namespace testing_support;
using namespace sample_files;

namespace {

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A mono 16-bit WAV whose frame i holds (i + 1) * 100.
std::vector<uint8_t> rampWav(int frames, uint32_t rate = 44100) {
    std::vector<int> values;
    for (int i = 0; i < frames; ++i) values.push_back((i + 1) * 100);
    return wav(1, rate, 16, pcm16le(values));
}

class SampleImport : public ::testing::Test {
protected:
    SampleImport() {
        sampleDir = tempPath("samples");
        mkdir(sampleDir.c_str(), 0755);
        outsideDir = tempPath("elsewhere");
        mkdir(outsideDir.c_str(), 0755);
        platform::SettingsStore().writeSetting(sampleDir, "SampleDir");
        plugin = makePlugin();
    }

    samples::SamplePlayer& player() { return plugin->samplePlayer(); }
    float param(int index) { return plugin->getParameter(index); }
    std::string storedText() {
        std::string text;
        for (int i = prm::SamplePathFirst; i <= prm::SamplePathLast; ++i) {
            const int code = int(param(i) * 256.0f);
            if (code) text += char(code);
        }
        return text;
    }
    std::string caption() {
        char text[300];
        plugin->sampleNameText(text, sizeof text);
        return text;
    }
    // Runs blocks until the load asked for at the next boundary has finished.
    void settle() {
        processDirect(*plugin, 512);
        for (int i = 0; i < 5000 && player().sampleLoading(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            processDirect(*plugin, 512);
        }
        ASSERT_FALSE(player().sampleLoading()) << "the loader did not finish";
    }
    // FX 1 holds the vocoder in the current program; one block lets the
    // slots' type check see it before the sample player's next look. The
    // vocoder listens to the host input, so that only these tests move the
    // player along.
    void vocoderInSlot() {
        plugin->setParameter(prm::Fx1Type, (fxtype::Vocoder + 0.5f) / 24.99f);
        plugin->setParameter(prm::VocoderSource, 1.0f);
        processDirect(*plugin, 512);
    }
    // Points the current program at `path` (absolute, without a load request).
    void storePath(const std::string& path, float fileKind = 0.0f) {
        const std::string text = path.substr(0, path.find_last_of('.'));
        plugin->setParameter(prm::SamplePathKind, 1.0f);
        plugin->setParameter(prm::SampleFileKind, fileKind);
        for (int i = 0; i < samples::kPathCharacters; ++i)
            plugin->setParameter(prm::SamplePathFirst + i,
                                 i < int(text.size()) ? samples::encodeCharacter(uint8_t(text[size_t(i)])) : 0.0f);
    }

    MessageCapture messages;
    std::string sampleDir, outsideDir;
    std::unique_ptr<APlugin> plugin;
};

TEST_F(SampleImport, ChoosingAFileStoresItsPathInTheProgram) {
    mkdir((sampleDir + "/Kicks").c_str(), 0755);
    writeBytes(sampleDir + "/Kicks/kick.wav", rampWav(4));
    ASSERT_TRUE(plugin->chooseSample(sampleDir + "/Kicks/kick.wav"));
    EXPECT_EQ(storedText(), "Kicks/kick");
    EXPECT_EQ(param(prm::SamplePathKind), 0.0f);
    EXPECT_EQ(param(prm::SampleFileKind), 0.0f);
    EXPECT_FLOAT_EQ(param(prm::SampleLoadRequest), 0.9f);
    EXPECT_FLOAT_EQ(param(prm::SamplePathFirst), ('K' + 0.5f) / 256.0f);
    EXPECT_FLOAT_EQ(plugin->program(kDefaultSoundProgram).recordValues[prm::SamplePathFirst + 1], ('i' + 0.5f) / 256.0f);
    EXPECT_EQ(caption(), "Sample: Kicks/kick");
    EXPECT_EQ(plugin->lastChosenSample(), sampleDir + "/Kicks/kick.wav");

    // A shorter text clears the rest of a longer one.
    writeBytes(sampleDir + "/k.wav", {1});
    ASSERT_TRUE(plugin->chooseSample(sampleDir + "/k.wav"));
    EXPECT_EQ(storedText(), "k");

    // Outside the sample directory the path is stored whole.
    writeBytes(outsideDir + "/x.aiff", {1});
    ASSERT_TRUE(plugin->chooseSample(outsideDir + "/x.aiff"));
    EXPECT_EQ(storedText(), outsideDir + "/x");
    EXPECT_EQ(param(prm::SamplePathKind), 1.0f);
    EXPECT_EQ(param(prm::SampleFileKind), 0.75f);
    EXPECT_EQ(caption(), "Sample: x * ");

    // Folder names are compared exactly, and a dot in a folder is no extension.
    const std::string lookalike = sampleDir.substr(0, sampleDir.size() - 7) + "SAMPLES";
    mkdir(lookalike.c_str(), 0755);
    writeBytes(lookalike + "/y.AIF", {1});
    ASSERT_TRUE(plugin->chooseSample(lookalike + "/y.AIF"));
    EXPECT_EQ(storedText(), lookalike + "/y");
    EXPECT_EQ(param(prm::SampleFileKind), 0.5f);
    mkdir((sampleDir + "/my.kit").c_str(), 0755);
    writeBytes(sampleDir + "/my.kit/snare", {1});
    ASSERT_TRUE(plugin->chooseSample(sampleDir + "/my.kit/snare"));
    EXPECT_EQ(storedText(), "my.kit/snare");
    EXPECT_EQ(param(prm::SampleFileKind), 0.5f) << "an unknown extension keeps the file kind";
    mkdir((outsideDir + "/v1.2").c_str(), 0755);
    writeBytes(outsideDir + "/v1.2/take", {1});
    ASSERT_TRUE(plugin->chooseSample(outsideDir + "/v1.2/take"));
    EXPECT_EQ(storedText(), outsideDir + "/v1.2/take");

    // Control characters and bytes above 127 are not stored; 256 characters at most.
    const std::string odd = sampleDir + "/a\tb\xC3\xBC" "c d.wav";
    writeBytes(odd, {1});
    ASSERT_TRUE(plugin->chooseSample(odd));
    EXPECT_EQ(storedText(), "abc d");
    std::string deep = sampleDir;
    while (deep.size() < 280) {
        deep += "/dddddddddddddddddddd";
        mkdir(deep.c_str(), 0755);
    }
    writeBytes(deep + "/long.wav", {1});
    ASSERT_TRUE(plugin->chooseSample(deep + "/long.wav"));
    EXPECT_EQ(storedText(), (deep + "/long").substr(sampleDir.size() + 1, 256));
}

TEST_F(SampleImport, FilesThatCannotBeReadAreNotChosen) {
    mkfifo((sampleDir + "/pipe.wav").c_str(), 0644);
    mkdir((sampleDir + "/folder.wav").c_str(), 0755);
    for (const char* name : {"/pipe.wav", "/folder.wav", "/missing.wav"}) {
        EXPECT_FALSE(plugin->chooseSample(sampleDir + name)) << name;
        EXPECT_EQ(storedText(), "") << name;
        EXPECT_EQ(param(prm::SampleLoadRequest), 0.0f);
        EXPECT_EQ(plugin->lastChosenSample(), sampleDir + name);
    }
    EXPECT_EQ(caption(), "No sample loaded");
}

TEST_F(SampleImport, ALoadRequestLoadsTheChosenSampleAndPlaysItFromTheStart) {
    writeBytes(sampleDir + "/ramp.wav", rampWav(8));
    ASSERT_TRUE(plugin->chooseSample(sampleDir + "/ramp.wav"));
    EXPECT_FALSE(player().sampleLoaded());
    settle();
    ASSERT_TRUE(player().sampleLoaded());
    EXPECT_EQ(player().sampleFrames(), 8);
    EXPECT_EQ(player().fileSampleRate(), 44100.0f);
    EXPECT_EQ(param(prm::SampleLoadRequest), 0.0f);
    EXPECT_TRUE(messages.texts.empty());
    // The request starts at position 0, so the first value played is frame 1.
    EXPECT_FLOAT_EQ(player().nextSample(), 200.0f / 32768.0f);
    EXPECT_FLOAT_EQ(player().nextSample(), 300.0f / 32768.0f);

    // Not looping: after the last frame (interpolated toward frame 0) the sample is silent.
    for (int i = 0; i < 5; ++i) player().nextSample();
    EXPECT_EQ(player().nextSample(), 0.0f);
    EXPECT_EQ(player().nextSample(), 0.0f);
    // Looping wraps around.
    plugin->setParameter(prm::SampleLooping, 1.0f);
    processDirect(*plugin, 512);
    player().resetPosition();
    for (int i = 0; i < 8; ++i) player().nextSample();
    EXPECT_FLOAT_EQ(player().nextSample(), 200.0f / 32768.0f);
}

TEST_F(SampleImport, AVocoderSlotLoadsTheProgramsSampleStartingAtFrameZero) {
    writeBytes(outsideDir + "/slow.wav", rampWav(6, 22050));
    storePath(outsideDir + "/slow.wav");
    settle();
    EXPECT_FALSE(player().sampleLoaded()) << "no vocoder, no request: nothing loads";
    vocoderInSlot();
    plugin->setParameter(prm::SampleLoadRequest, 0.9f);
    settle();
    ASSERT_TRUE(player().sampleLoaded());
    EXPECT_EQ(param(prm::SampleLoadRequest), 0.0f) << "an automatic load clears the request too";
    EXPECT_FLOAT_EQ(player().sampleRateRatio(), 0.5f);
    // From -1 at half speed: frame 0 after two steps, then halfway to frame 1.
    player().nextSample();
    EXPECT_FLOAT_EQ(player().nextSample(), 100.0f / 32768.0f);
    EXPECT_FLOAT_EQ(player().nextSample(), 150.0f / 32768.0f);
    player().setPitchFactor(2.0f);
    EXPECT_FLOAT_EQ(player().nextSample(), 250.0f / 32768.0f);
    // Between the last frame and the end it leans toward frame 0.
    for (int i = 0; i < 3; ++i) player().nextSample();
    EXPECT_FLOAT_EQ(player().nextSample(), 350.0f / 32768.0f);
    // Whatever pitch comes in, the position stays usable.
    player().setPitchFactor(std::nanf(""));
    EXPECT_TRUE(std::isfinite(player().nextSample()));
    // A negative pitch holds the position: it never runs backwards.
    player().setPitchFactor(-3.0f);
    const double held = player().position();
    EXPECT_TRUE(std::isfinite(player().nextSample()));
    EXPECT_EQ(player().position(), held);
    EXPECT_GE(player().position(), 0.0);

    // "Sample Reset": a note-on restarts the sample.
    plugin->setParameter(prm::SampleReset, 1.0f);
    processDirect(*plugin, 16, {noteOn(0, 60)});
    EXPECT_EQ(player().position(), 0.0);

    // The rate ratio follows the host's sample rate.
    plugin->setSampleRate(11025.0f);
    processDirect(*plugin, 512);
    EXPECT_FLOAT_EQ(player().sampleRateRatio(), 2.0f);

    // A change of slot type loads the sample again.
    plugin->setParameter(prm::Fx1Type + 1, (fxtype::Chorus + 0.5f) / 24.99f);
    processDirect(*plugin, 512);
    processDirect(*plugin, 512);
    EXPECT_EQ(player().nextSample(), 0.0f);
    settle();
    EXPECT_TRUE(player().sampleLoaded());
}

TEST_F(SampleImport, ProgramSelectionDropsTheSampleAndLoadsTheNewProgramsOwn) {
    writeBytes(outsideDir + "/a.wav", rampWav(10));
    writeBytes(outsideDir + "/b.aiff", aiff(1, 48000, 16, 3, pcm16le({5, 6, 7})));
    storePath(outsideDir + "/a.wav");
    vocoderInSlot();
    plugin->setProgram(0);
    storePath(outsideDir + "/b.aiff", 0.75f);
    vocoderInSlot();
    plugin->setProgram(kDefaultSoundProgram);
    settle();
    ASSERT_EQ(player().sampleFrames(), 10);

    plugin->setProgram(0);
    EXPECT_EQ(player().nextSample(), 0.0f) << "selection stops the old sample at once";
    settle();
    ASSERT_TRUE(player().sampleLoaded());
    EXPECT_EQ(player().sampleFrames(), 3);
    EXPECT_EQ(player().fileSampleRate(), 48000.0f);

    // A selection while a load is outstanding never installs the old program's sample.
    plugin->setProgram(kDefaultSoundProgram);
    processDirect(*plugin, 512);
    plugin->setProgram(0);
    settle();
    settle();
    EXPECT_EQ(player().sampleFrames(), 3);
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(SampleImport, AFailureIsReportedOnceUntilTheNextProgramSelection) {
    const std::string missing = outsideDir + "/gone.wav";
    storePath(missing);
    vocoderInSlot();
    settle();
    ASSERT_EQ(messages.texts, std::vector<std::string>{"Problem finding file " + missing});
    EXPECT_FALSE(player().sampleLoaded());
    processDirect(*plugin, 512);
    EXPECT_FALSE(player().sampleLoading()) << "a failed file is not read again at every block";
    // Tried again (after about a second) and on request, silently.
    for (int i = 0; i < 200; ++i) processDirect(*plugin, 512);
    settle();
    plugin->setParameter(prm::SampleLoadRequest, 0.9f);
    settle();
    EXPECT_EQ(messages.texts.size(), 1u);

    writeBytes(missing, {'n', 'o', 't', ' ', 'a', ' ', 's', 'o', 'u', 'n', 'd'});
    plugin->setProgram(kDefaultSoundProgram);
    settle();
    ASSERT_EQ(messages.texts.size(), 2u);
    EXPECT_EQ(messages.texts[1], "Problem with sample - size");

    // The file appears: the retry picks it up without a selection.
    writeBytes(missing, rampWav(5));
    for (int i = 0; i < 200 && !player().sampleLoaded(); ++i) settle();
    EXPECT_TRUE(player().sampleLoaded());
    EXPECT_EQ(messages.texts.size(), 2u);
}

TEST_F(SampleImport, PipesDevicesFoldersAndVanishedFilesAreRefusedWithoutBlocking) {
    mkfifo((outsideDir + "/pipe.wav").c_str(), 0644);
    mkdir((outsideDir + "/folder.aiff").c_str(), 0755);
    symlink("/dev/zero", (outsideDir + "/zero.wav").c_str());
    vocoderInSlot();
    const std::pair<const char*, float> refused[] = {{"/pipe.wav", 0.0f}, {"/folder.aiff", 0.75f}, {"/zero.wav", 0.0f}};
    for (const auto& [name, kind] : refused) {
        storePath(outsideDir + name, kind);
        plugin->setProgram(kDefaultSoundProgram);
        settle();
        ASSERT_FALSE(messages.texts.empty());
        EXPECT_EQ(messages.texts.back(), "Problem finding file " + outsideDir + name);
        EXPECT_FALSE(player().sampleLoaded());
    }

    // Deleted, then replaced by something else, between the choice and the load.
    writeBytes(sampleDir + "/v.wav", rampWav(4));
    ASSERT_TRUE(plugin->chooseSample(sampleDir + "/v.wav"));
    unlink((sampleDir + "/v.wav").c_str());
    plugin->setProgram(kDefaultSoundProgram);
    settle();
    EXPECT_EQ(messages.texts.back(), "Problem finding file " + sampleDir + "/v.wav");
    writeBytes(sampleDir + "/v.wav", std::vector<uint8_t>(100, 'x'));
    plugin->setProgram(kDefaultSoundProgram);
    settle();
    EXPECT_EQ(messages.texts.back(), "Problem with sample - fmt");

    // Closing while a pipe is named and loads are asked for does not wait on it.
    storePath(outsideDir + "/pipe.wav");
    plugin->setParameter(prm::SampleLoadRequest, 0.9f);
    processDirect(*plugin, 512);
    plugin.reset();
}

TEST_F(SampleImport, RandomPathParametersAreHandledSafely) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<float> unit(-0.5f, 1.5f);
    vocoderInSlot();
    for (int round = 0; round < 30; ++round) {
        for (int i = prm::SampleLoadRequest; i <= prm::SamplePathLast; ++i)
            plugin->setParameter(i, round == 0 ? std::nanf("") : unit(random));
        plugin->setProgram(kDefaultSoundProgram);
        settle();
        EXPECT_FALSE(player().sampleLoaded());
        for (char c : caption()) EXPECT_TRUE(c >= 32 && c <= 127);
    }
    for (const std::string& text : messages.texts) EXPECT_EQ(text.rfind("Problem finding file ", 0), 0u) << text;
}

// As a host would: a program naming a pipe, asked to load, then closed.
TEST(SampleImportHost, APipeNamedByAProgramDoesNotHoldUpRenderingOrClosing) {
    const std::string dir = tempPath("host-samples");
    mkdir(dir.c_str(), 0755);
    mkfifo((dir + "/voice.wav").c_str(), 0644);
    auto host = loadPlugin();
    const std::string text = dir + "/voice";
    host->setParameter(prm::SamplePathKind, 1.0f);
    host->setParameter(prm::SampleFileKind, 0.0f);
    for (size_t i = 0; i < text.size(); ++i)
        host->setParameter(prm::SamplePathFirst + int(i), samples::encodeCharacter(uint8_t(text[i])));
    host->setParameter(prm::SampleLoadRequest, 0.9f);
    std::vector<float> left, right;
    for (int block = 0; block < 20; ++block) host->process(512, left, right);
    EXPECT_EQ(host->getParameter(prm::SampleLoadRequest), 0.0f);
    host->unload();
}

}  // namespace
