// When MIDI events take effect: exact sample positions, independence from the
// host's block size, carried-over and malformed offsets, the event pool's limit.
#include <gtest/gtest.h>

#include "AudioAnalysis.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {
bool anyVoicePlays(const APlugin& plugin, int key) {
    for (int v = 0; v < 16; ++v) {
        const Voice& voice = plugin.voiceEngine().voice(v);
        if (voice.gate && voice.note == key) return true;
    }
    return false;
}

std::vector<VstMidiEvent> phrase() {
    return {noteOn(100, 60), noteOn(1000, 64, 80), controller(2500, 1, 90), noteOff(3001, 60),
            vsthost::PluginHost::midi(4000, 0xE0, 0, 80), noteOn(5003, 67, 127),
            noteOff(7777, 64), noteOff(9000, 67)};
}
}  // namespace

TEST(MidiTiming, EventRunsAtItsDeltaFrame) {
    for (int delta : {0, 1, 5, 700}) {
        auto plugin = makePlugin();
        processDirect(*plugin, 0, {noteOn(delta, 60)});
        int done = 0;
        // Process in uneven blocks up to the event's sample: nothing plays yet.
        while (done < delta) {
            int n = std::min(delta - done, 333);
            processDirect(*plugin, n);
            done += n;
        }
        EXPECT_FALSE(anyVoicePlays(*plugin, 60)) << "delta " << delta;
        processDirect(*plugin, 1);
        EXPECT_TRUE(anyVoicePlays(*plugin, 60)) << "delta " << delta;
    }
}

TEST(MidiTiming, OutputDoesNotDependOnBlockSize) {
    std::vector<std::vector<float>> renders;
    for (int block : {1, 64, 4096}) {
        auto host = loadPlugin();
        setPlainSine(*host);
        renders.push_back(renderFrames(*host, 12000, block, phrase()).left);
    }
    EXPECT_GT(analysis::peak(renders[0]), 0.01);
    EXPECT_EQ(renders[0], renders[1]);
    EXPECT_EQ(renders[0], renders[2]);
}

TEST(MidiTiming, ShiftingANoteByAControlPeriodShiftsTheSound) {
    // Control-rate work runs on a fixed 16-sample grid, so a note moved by 16
    // samples must sound 16 samples later. (The notes come after the master
    // gain's start-up fade has settled.)
    constexpr int kSettled = 40000;
    auto render = [](int position) {
        auto host = loadPlugin();
        setPlainSine(*host);
        auto r = renderFrames(*host, kSettled + 6000, 1024,
                              {noteOn(position, 69), noteOff(position + 3000, 69)});
        return std::vector<float>(r.left.begin() + kSettled - 64, r.left.end());
    };
    for (int position : {0, 1, 5}) {
        auto a = render(kSettled + position);
        auto b = render(kSettled + position + 16);
        ASSERT_GT(analysis::peak(a), 0.01);
        for (size_t i = 0; i + 16 < a.size(); ++i) ASSERT_NEAR(a[i], b[i + 16], 1e-6f) << i;
        // Sound starts within two control periods of the note.
        long onset = analysis::firstAbove(a, 1e-6) - 64;
        EXPECT_GE(onset, position);
        EXPECT_LE(onset, position + 32);
    }
}

TEST(MidiTiming, VelocityZeroIsANoteOff) {
    auto render = [](VstMidiEvent release) {
        auto host = loadPlugin();
        setPlainSine(*host);
        return renderFrames(*host, 14000, 512, {noteOn(0, 60), release}).left;
    };
    auto withOff = render(noteOff(4000, 60));
    auto withZero = render(vsthost::PluginHost::midi(4000, 0x90, 60, 0));
    EXPECT_EQ(withOff, withZero);
    EXPECT_GT(analysis::rms(withOff, 3000, 4000), 0.01);
    // Instant release; only the DC blocker's settling remains, and it dies away.
    EXPECT_LT(analysis::rms(withOff, 12000, 14000), 1e-5);
}

TEST(MidiTiming, MalformedOffsetsRunAtOnceAndFreeTheirRecords) {
    auto plugin = makePlugin();
    // More negative offsets than the pool holds, over many blocks: none may stick.
    for (int block = 0; block < 20; ++block) {
        // -99 is how a free record is marked inside; from a host it is just negative.
        std::vector<VstMidiEvent> events(15, vsthost::PluginHost::midi(-99, 0xB0, 21, 10));
        for (int i = 0; i < 40; ++i) events.push_back(vsthost::PluginHost::midi(-5 - i, 0xB0, 20, 10));
        processDirect(*plugin, 64, events);
    }
    processDirect(*plugin, 0, {noteOn(3, 72)});
    processDirect(*plugin, 4);
    EXPECT_TRUE(anyVoicePlays(*plugin, 72));
}

TEST(MidiTiming, ThePoolHolds250EventsAndDropsTheRest) {
    auto plugin = makePlugin();
    // 249 controllers and a note wait 1000 samples: the pool is full. Two more
    // notes, in the same list and in the next one, find no record.
    std::vector<VstMidiEvent> flood(249, controller(1000, 20, 1));
    flood.push_back(noteOn(1000, 99));
    flood.push_back(noteOn(0, 100));
    processDirect(*plugin, 0, flood);
    processDirect(*plugin, 0, {noteOn(0, 101)});
    processDirect(*plugin, 1100);
    EXPECT_TRUE(anyVoicePlays(*plugin, 99));
    EXPECT_FALSE(anyVoicePlays(*plugin, 100));
    EXPECT_FALSE(anyVoicePlays(*plugin, 101));
    // Once they have run the pool takes events again; sysex and other types are ignored.
    VstEvent sysex{};
    sysex.type = kVstSysExType;
    VstEvents list{1, 0, {&sysex, nullptr}};
    plugin->processEvents(&list);
    processDirect(*plugin, 0, {noteOn(0, 102)});
    processDirect(*plugin, 1);
    EXPECT_TRUE(anyVoicePlays(*plugin, 102));
}
