// brennix-render as a user runs it: command line, MIDI files, WAV output, and
// what a plug-in actually receives (seen through the probe instrument).
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "MidiBytes.h"
#include "RenderToolSupport.h"
#include "TestSupport.h"
#include "PngFile.h"
#include "Renderer.h"
#include "Sequencer.h"
#include "SonogramPicture.h"
#include "WavWriter.h"

using namespace midi_bytes;

using testing_support::tempPath;
using namespace render_tool;

namespace {

const std::string kProbe = "'" BRENNIX_PROBE_PATH "'";

}  // namespace

TEST(RenderTool, BadCommandLinesExitWithTwoAndSayWhy) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "no plug-in given"},
        {"--bogus " + kProbe, "unknown option '--bogus'"},
        {kProbe + " " + kProbe, "more than one plug-in"},
        {kProbe + " --out", "--out needs a value"},
        {kProbe + " --rate abc", "--rate expects"},
        {kProbe + " --rate 100", "from 8000 to 384000"},
        {kProbe + " --rate=44100.5", "--rate expects"},
        {kProbe + " --block 0", "--block expects"},
        {kProbe + " --block 65537", "from 1 to 65536"},
        {kProbe + " --format wav", "f32 or s24"},
        {kProbe + " --tail -1", "--tail expects"},
        {kProbe + " --tail nan", "--tail expects"},
        {kProbe + " --tempo 0", "--tempo expects"},
        {kProbe + " --program -1", "--program expects"},
        {kProbe + " --set 5", "INDEX=VALUE"},
        {kProbe + " --set 1=1.5", "INDEX=VALUE"},
        {kProbe + " --set x=0.5", "INDEX=VALUE"},
        {kProbe + " --quiet=yes", "takes no value"},
        {kProbe + " --program 4 --out /dev/null", "the plug-in has 4 programs (0 to 3)"},
        {kProbe + " --set 3=0.5 --out /dev/null", "the plug-in has 3 parameters (0 to 2)"},
        {kProbe + " --split", "--split goes with --all-programs"},
        {kProbe + " --all-programs --program 1", "--program and --all-programs exclude each other"},
        {kProbe + " --all-programs=yes", "takes no value"},
        {kProbe + " --spectrogram", "--spectrogram needs a value"},
        {kProbe + " --spectrogram=", "--spectrogram expects a file name"},
    };
    for (const auto& [args, message] : cases) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.output.find(message), std::string::npos) << args << "\n" << r.output;
    }
    Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("usage: brennix-render [options] PLUGIN.so"), std::string::npos);
}

TEST(RenderTool, FailuresOfPluginMidiFileAndOutputExitWithOne) {
    const std::string bad = tempPath("bad.mid"), out = tempPath("never.wav");
    save(bad, cat({header(2, 1, 480), track(end())}));
    Outcome r = run(kProbe + " --midi '" + bad + "' --out '" + out + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(bad + ": format 2"), std::string::npos) << r.output;
    EXPECT_NE(access(out.c_str(), F_OK), 0);

    r = run(kProbe + " --midi /nonexistent.mid");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("/nonexistent.mid: cannot open"), std::string::npos) << r.output;
    r = run("/nonexistent.so");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot load /nonexistent.so"), std::string::npos) << r.output;
    r = run(kProbe + " --out /nonexistent/dir/x.wav");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot create /nonexistent/dir/x.wav"), std::string::npos) << r.output;
}

TEST(RenderTool, InfoOnEitherSideOfThePlugin) {
    for (const std::string& args : {"--info " + kProbe, kProbe + " --info"}) {
        Outcome r = run(args);
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("effect name:    Probe"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("parameters:     3"), std::string::npos);
    }
}

TEST(RenderTool, BuiltInPhraseThroughBrennixInBothFormats) {
    const std::string f32 = tempPath("phrase.wav"), s24 = tempPath("phrase24.wav");
    Outcome r = run("'" BRENNIX_PLUGIN_PATH "' --out '" + f32 + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    // Not a terminal: no progress line, just the summary.
    EXPECT_EQ(r.output.find('\r'), std::string::npos);
    EXPECT_EQ(r.output.rfind("wrote " + f32 + ": 12.00 s, 44100 Hz, 32-bit float, peak ", 0), 0u) << r.output;
    Audio a = readWav(f32);
    EXPECT_EQ(a.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    EXPECT_EQ(a.info.channels, 2);
    EXPECT_EQ(a.info.samplerate, 44100);
    EXPECT_EQ(a.info.frames, 12 * 44100);

    r = run("'" BRENNIX_PLUGIN_PATH "' --quiet --format=s24 --rate 48000 --tempo 60 --tail 1 --block 1000 --out '" +
            s24 + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    a = readWav(s24);
    EXPECT_EQ(a.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    EXPECT_EQ(a.info.samplerate, 48000);
    EXPECT_EQ(a.info.frames, 21 * 48000);  // five bars at 60 BPM, then the tail
}

TEST(RenderTool, ProbeReceivesEventsAtTheirSamplesForAnyBlockSize) {
    // Two tracks; the tempo doubles (to 240 BPM) at beat 2 in the second track.
    const std::string mid = tempPath("timing.mid");
    save(mid, cat({header(1, 2, 480),
                   track(cat({ev(0, {0x90, 60, 64}), ev(480, {0x80, 60, 0}), ev(0, {0x90, 62, 32}),
                              ev(960, {0x90, 64, 96}), end()})),
                   track(cat({tempo(960, 250000), end()}))}));
    // Beat 1 = 22050; beat 3 = 44100 + 11025.
    const std::vector<size_t> expected = {0, 22050, 55125};
    const std::vector<float> velocities = {0.5f, 0.25f, 0.75f};
    std::vector<float> firstRun;
    for (int block : {1, 64, 4096}) {
        const std::string out = tempPath("timing" + std::to_string(block) + ".wav");
        Outcome r = run(kProbe + " --midi '" + mid + "' --block " + std::to_string(block) +
                    " --program 2 --set 0=1 --tail 0.5 --out '" + out + "'");
        ASSERT_EQ(r.status, 0) << r.output;
        Audio a = readWav(out);
        ASSERT_EQ(a.info.frames, 55125 + 22050);
        std::vector<size_t> notes;
        for (size_t i = 0; i < a.left.size(); ++i)
            if (a.left[i] != 0.0f) notes.push_back(i);
        ASSERT_EQ(notes, expected) << "block " << block;
        for (size_t n = 0; n < notes.size(); ++n) EXPECT_FLOAT_EQ(a.left[notes[n]], velocities[n]);
        // The transport always matched the samples played; program and parameter arrived.
        for (size_t i = 0; i < a.right.size(); ++i) ASSERT_GE(a.right[i], 0.0f) << "sample " << i;
        EXPECT_NEAR(a.right[1], 0.021f, 1e-6);
        EXPECT_NEAR(a.right[22050], 0.221f, 1e-6);  // note off and note on
        // The note, then sustain off on 16 channels and note-offs for the two notes still on.
        EXPECT_NEAR(a.right[55125], 0.021f + 1.9f, 1e-5);
        if (firstRun.empty())
            firstRun = a.left;
        else
            EXPECT_EQ(a.left, firstRun);
    }
}

TEST(RenderTool, LatencyIsCompensatedAndInvalidSamplesBecomeSilence) {
    const std::string mid = tempPath("one.mid"), out = tempPath("latency.wav");
    save(mid, cat({header(0, 1, 480), track(cat({ev(240, {0x90, 60, 64}), end(480)}))}));
    Outcome r = run(kProbe + " --midi '" + mid + "' --tail 0.1 --set 1=1 --out '" + out + "'",
                "BRENNIX_PROBE_LATENCY=1000");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("produced 1 invalid samples"), std::string::npos) << r.output;
    Audio a = readWav(out);
    ASSERT_EQ(a.info.frames, 33075 + 4410);  // ends with the end-of-track at tick 720
    for (size_t i = 0; i < a.left.size(); ++i)
        ASSERT_EQ(a.left[i], i == 11025 ? 0.5f : 0.0f) << "sample " << i;  // the NaN became 0
}

TEST(RenderTool, Pcm24IsRoundedAndClipped) {
    const std::string path = tempPath("levels.wav");
    render::WavWriter w;
    ASSERT_TRUE(w.open(path, 44100, render::WavFormat::Pcm24));
    const float left[] = {1.5f, 0.5f, 0.6f / 8388608.0f, -2.0f, NAN};
    const float right[] = {-1.0f, -0.5f, 0.4f / 8388608.0f, 1.0f, INFINITY};
    ASSERT_TRUE(w.write(left, right, 3));
    ASSERT_TRUE(w.write(left + 3, right + 3, 2));
    ASSERT_TRUE(w.close());
    EXPECT_EQ(w.nonFiniteSamples(), 2u);
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(info.frames, 5);
    int samples[10] = {};
    sf_readf_int(f, samples, 5);
    sf_close(f);
    const int expected[10] = {8388607, -8388608, 4194304, -4194304, 1, 0, -8388608, 8388607, 0, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(samples[i] >> 8, expected[i]) << i;
}

namespace {
// The per-program phrase at 120 BPM: notes at beats 0, 0.5, 1 and 1.5, the
// chord at beat 2, the end at beat 4; then the tail.
const std::vector<size_t> kPhraseNotes = {0, 11025, 22050, 33075, 44100};
constexpr size_t kPhraseFrames = 88200 + 22050;  // with --tail 0.5
}  // namespace

TEST(RenderTool, AllProgramsInTurnIntoOneFile) {
    const std::string out = tempPath("all.wav");
    Outcome r = run(kProbe + " --all-programs --tail 0.5 --set 0=1 --out '" + out + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    // The programs are listed as they are rendered, with where each starts.
    // A program without a listed name is asked for its name once selected.
    for (const char* line : {"0  Plain                    0:00.00\n", "1  Odd/Name: 1?             0:02.50\n",
                                    "2  Probe 2                  0:05.00\n"})
        EXPECT_NE(r.output.find(line), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("wrote " + out + ": 10.00 s"), std::string::npos) << r.output;
    Audio a = readWav(out);
    ASSERT_EQ(a.info.frames, static_cast<sf_count_t>(4 * kPhraseFrames));
    for (size_t p = 0; p < 4; ++p) {
        const size_t start = p * kPhraseFrames;
        std::vector<size_t> notes;
        for (size_t i = start; i < start + kPhraseFrames; ++i)
            if (a.left[i] != 0.0f) notes.push_back(i - start);
        EXPECT_EQ(notes, kPhraseNotes) << "program " << p;
        EXPECT_FLOAT_EQ(a.left[start + 44100], 90.0f / 128.0f);
        // The program is selected, and the --set value applied to it, before its phrase.
        EXPECT_NEAR(a.right[start + 100], p * 0.01f + 0.001f, 1e-6) << "program " << p;
        EXPECT_NEAR(a.right[start + kPhraseFrames - 1], p * 0.01f + 0.001f, 1e-6);
    }
}

TEST(RenderTool, AllProgramsSplitIntoFilesNamedAfterThePrograms) {
    const std::string out = tempPath("bank.wav"), picture = tempPath("bank.png");
    Outcome r = run(kProbe + " --all-programs --split --quiet --tail 0.5 --out '" + out + "' --spectrogram '" +
                    picture + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string stem = tempPath("bank");
    const std::string names[4] = {"-0-Plain", "-1-Odd-Name-1", "-2-Probe-2", "-3-R-mineur"};
    for (int p = 0; p < 4; ++p) {
        const std::string wav = stem + names[p] + ".wav", png = stem + names[p] + ".png";
        EXPECT_NE(r.output.find("wrote " + wav + ": 2.50 s"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("wrote " + png + ": "), std::string::npos) << r.output;
        Audio a = readWav(wav);
        ASSERT_EQ(a.info.frames, static_cast<sf_count_t>(kPhraseFrames)) << wav;
        EXPECT_NEAR(a.right[100], p * 0.01f, 1e-6);
        artgen::Pixels image;
        EXPECT_TRUE(artgen::readPng(png, image)) << png;
    }
    EXPECT_EQ(r.output.find("Plain\n"), std::string::npos) << "--quiet lists no programs";
}

TEST(RenderTool, SpectrogramOfARenderWithItsProgramChanges) {
    // Two program changes in the file: the picture marks them.
    const std::string mid = tempPath("changes.mid"), out = tempPath("changes.wav"), png = tempPath("changes.png");
    save(mid, cat({header(0, 1, 480), track(cat({ev(0, {0xC0, 1}), ev(0, {0x90, 60, 100}), ev(480, {0x80, 60, 0}),
                                                  ev(0, {0xC0, 3}), ev(0, {0x90, 64, 100}), ev(480, {0x80, 64, 0}),
                                                  end()}))}));
    Outcome r = run("'" BRENNIX_PLUGIN_PATH "' --midi '" + mid + "' --tail 0.5 --out '" + out + "' --spectrogram '" +
                    png + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    artgen::Pixels image;
    ASSERT_TRUE(artgen::readPng(png, image));
    EXPECT_NE(r.output.find("wrote " + png + ": " + std::to_string(image.width) + " x " +
                            std::to_string(image.height) + " pixels"),
              std::string::npos)
        << r.output;
    const render::PictureLayout layout =
        render::pictureLayout(1.5, {{0.0, "1 Square Lead"}, {0.5, "3 Brass Section"}});
    EXPECT_EQ(image.width, layout.width);
    EXPECT_EQ(image.height, layout.height);
    // The marks' lines cross the plot at 0 s and 0.5 s (a third of the way).
    for (double seconds : {0.0, 0.5}) {
        const int x = static_cast<int>(layout.plotX + layout.plotWidth * seconds / 1.5);
        int bright = 0;
        for (int y = layout.plotY; y < layout.plotY + layout.plotHeight; ++y)
            bright += image.at(x, y)[0] > 120 && image.at(x, y)[1] > 120 && image.at(x, y)[2] > 120;
        EXPECT_GT(bright, layout.plotHeight / 2) << seconds;
    }
    // Without program changes nothing is marked, but a program chosen with --program.
    const std::string quick = "'" BRENNIX_PLUGIN_PATH "' --tempo 480 --tail 0 --out '" + out + "' ";
    r = run(quick + "--spectrogram '" + png + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_TRUE(artgen::readPng(png, image));
    EXPECT_EQ(image.height, render::pictureLayout(10.0, {}).height);
    r = run(quick + "--program 5 --spectrogram '" + png + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_TRUE(artgen::readPng(png, image));
    EXPECT_EQ(image.height, render::pictureLayout(10.0, {{0.0, "5 Drawbar Organ"}}).height);
    EXPECT_GT(image.height, render::pictureLayout(10.0, {}).height);

    r = run(quick + "--spectrogram /nonexistent/dir/x.png");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("cannot write /nonexistent/dir/x.png"), std::string::npos) << r.output;
}

TEST(RenderTool, TheSpectrogramSeesWhatTheFileGets) {
    // A plug-in with 1000 frames of latency, in blocks of 700: the file, and
    // what the picture is made from, start 300 frames into the second block.
    setenv("BRENNIX_PROBE_LATENCY", "1000", 1);
    vsthost::PluginHost host;
    const bool loaded = host.load(BRENNIX_PROBE_PATH);
    unsetenv("BRENNIX_PROBE_LATENCY");
    ASSERT_TRUE(loaded) << host.error();
    host.start(44100.0f, 700);
    render::MidiSong song;
    song.events.push_back({17, {0x90, 60, 64}, 3});  // sample 780: on the undelayed right channel
    song.events.push_back({240, {0x90, 62, 64}, 3});
    song.endTick = 480;
    render::SequencerSettings settings;
    settings.blockSize = 700;
    settings.tailSeconds = 0.1;
    settings.latencyFrames = render::latencyFrames(host);
    render::Sequencer sequencer(song, settings);
    render::WavWriter wav;
    const std::string path = tempPath("tap.wav");
    ASSERT_TRUE(wav.open(path, 44100, render::WavFormat::Float32));
    std::vector<float> left, right;
    render::RenderResult result;
    std::string error;
    ASSERT_TRUE(render::renderSong(host, sequencer, wav, {}, result, error,
                                   [&](const float* l, const float* r, size_t frames) {
                                       left.insert(left.end(), l, l + frames);
                                       right.insert(right.end(), r, r + frames);
                                   }));
    ASSERT_TRUE(wav.close());
    const Audio a = readWav(path);
    EXPECT_EQ(a.left, left);
    EXPECT_EQ(a.right, right);
    EXPECT_EQ(left[11025], 0.5f);  // the second note at its own sample, latency removed
}
