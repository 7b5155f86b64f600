// The audio thread never allocates, frees or locks: a long random session
// through the loaded library (every play mode, oversampling mode and effect
// type value, random programs, automation of any parameter, MIDI of every kind
// with program changes, the arpeggiator, the vocoder on a loaded sample, block
// sizes from 1 to 8192 frames), with every call of processReplacing,
// effProcessEvents and setParameter watched by the counting hooks; and the
// blocks rendered while a host thread idles the open editor and automates.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "../RandomSession.h"
#include "AllocationHooks.h"
#include "params/ParamIds.h"
#include "vsthost/HostUiThread.h"

namespace {

// A private settings folder, so the loaded plug-in reads no user's settings.
const std::string& scratch() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/brennix-rt-XXXXXX";
        const char* made = mkdtemp(pattern);
        std::string d = made ? made : "/tmp";
        setenv("XDG_CONFIG_HOME", d.c_str(), 1);
        return d;
    }();
    return dir;
}
const bool configured = !scratch().empty();

void enter() { realtime::watch(true); }
void leave() { realtime::watch(false); }

// A one-second 440 Hz mono WAV for the vocoder's sample; returns the path
// without its extension, as the sample path parameters store it.
std::string writeSample() {
    const std::string base = scratch() + "/tone";
    std::ofstream out(base + ".wav", std::ios::binary);
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(char((v >> (8 * i)) & 0xFF));
    };
    const uint32_t frames = 44100;
    out.write("RIFF", 4);
    put(36 + frames * 2, 4);
    out.write("WAVEfmt ", 8);
    put(16, 4), put(1, 2), put(1, 2), put(44100, 4), put(88200, 4), put(2, 2), put(16, 2);
    out.write("data", 4);
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(uint32_t(int16_t(12000.0 * std::sin(2.0 * M_PI * 440.0 * i / 44100.0))) & 0xFFFF, 2);
    return base;
}

std::unique_ptr<vsthost::PluginHost> load(float rate) {
    (void)configured;
    auto host = std::make_unique<vsthost::PluginHost>();
    EXPECT_TRUE(host->load(BRENNIX_PLUGIN_PATH)) << host->error();
    host->start(rate, 8192);
    return host;
}

struct Fault {
    long count = 0;
    std::string first;
    void check(const std::string& where) {
        const realtime::Counts c = realtime::counted();
        if (c.total() == 0) return;
        if (count++ == 0)
            first = where + ": " + std::to_string(c.allocations) + " allocations, " + std::to_string(c.frees) +
                    " frees, " + std::to_string(c.locks) + " locks";
        realtime::resetCounts();
    }
};

}  // namespace

TEST(AudioThread, TheHooksSeeTheLoadedLibrarysAllocationsAndLocks) {
    auto host = load(44100.0f);
    // A second instance: the library's operator new and its constructor's work.
    realtime::resetCounts();
    realtime::watch(true);
    vsthost::PluginHost second;
    ASSERT_TRUE(second.load(BRENNIX_PLUGIN_PATH));
    realtime::watch(false);
    EXPECT_GT(realtime::counted().allocations, 0);
    // A program change from a thread that is not processing takes the
    // handover's lock (which the audio thread never takes); the host's own
    // call log would take one too, so it is off.
    host->setRecordCalls(false);
    realtime::resetCounts();
    realtime::watch(true);
    host->dispatch(effSetProgram, 0, 7);
    realtime::watch(false);
    EXPECT_GT(realtime::counted().locks, 0);
    // Another thread's allocations are not this thread's.
    realtime::resetCounts();
    realtime::watch(true);
    std::thread([] {
        for (int i = 0; i < 1000; ++i) std::string(100, 'x').swap(*std::make_unique<std::string>());
    }).join();
    realtime::watch(false);
    EXPECT_LT(realtime::counted().allocations, 10) << "only the thread's start";
    realtime::resetCounts();
}

TEST(AudioThread, NeverAllocatesFreesOrLocksInALongRandomSession) {
    const std::string sample = writeSample();
    Fault fault;
    long blocks = 0, calls = 0;
    for (float rate : {44100.0f, 96000.0f}) {
        auto host = load(rate);
        session::Player player(*host, rate == 44100.0f ? 1u : 2u, rate);
        player.enter = enter;
        player.leave = leave;
        realtime::resetCounts();
        session::Automation writes;
        // 60 steps per rate: every play mode with every oversampling mode,
        // every type value in every slot.
        for (int step = 0; step < 60; ++step) {
            const std::string at = std::to_string(int(rate)) + " Hz, step " + std::to_string(step);
            writes.clear();
            if (step % 7 == 3) session::randomProgram(player.random, writes);
            session::select(session::modesAt(step), writes);
            if (step % 10 == 5) session::vocoderOnSample(sample.c_str(), writes);
            if (step % 8 == session::kArpPlayMode) writes.emplace_back(prm::ArpSteps, 1.0f);
            player.automate(writes);
            calls += long(writes.size());
            fault.check(at + ", setParameter");
            // About half a second of playing in blocks of every size.
            for (int done = 0; done < int(rate) / 2;) {
                static const int kSizes[] = {1, 2, 3, 16, 64, 100, 128, 256, 480, 512, 1024, 2048, 4096, 8192};
                const int frames = kSizes[player.random() % (sizeof kSizes / sizeof(int))];
                player.play(frames, int(player.random() % 4), true);
                fault.check(at + ", a block of " + std::to_string(frames));
                done += frames;
                ++blocks;
                // The loader thread works on the sample meanwhile.
                if (step % 10 == 5 && done < 4096) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            // All notes released, then a block of 0 frames.
            player.releaseAll();
            player.render(0);
            fault.check(at + ", release");
        }
    }
    RecordProperty("blocks", std::to_string(blocks));
    RecordProperty("automation", std::to_string(calls));
    EXPECT_GT(blocks, 1000);
    EXPECT_EQ(fault.count, 0) << "calls that allocated, freed or locked; the first: " << fault.first;
}

TEST(AudioThread, ProgramChangesResetsAndTypeChangesAreQuietToo) {
    // The rare events of the random session, each on its own: MIDI program
    // changes (a whole program installed in the block), all notes off, a
    // change of play mode, oversampling and effect type (engine and slot resets).
    auto host = load(44100.0f);
    session::Player player(*host, 3, 44100.0);
    player.enter = enter;
    player.leave = leave;
    player.render(512);
    Fault fault;
    for (int round = 0; round < 40; ++round) {
        std::vector<VstMidiEvent> events = {session::midi(0, 0x90, 60, 100),
                                            session::midi(10, 0xC0, round * 3 % 127, 0),
                                            session::midi(20, 0x90, 64, 100)};
        if (round % 4 == 3) events.push_back(session::midi(30, 0xB0, 123, 0));
        realtime::resetCounts();
        player.send(events);
        player.render(600);
        fault.check("program change to " + std::to_string(round * 3 % 127));
        session::Automation writes;
        session::select(session::modesAt(round), writes);
        player.automate(writes);
        player.render(1100);
        fault.check("modes of step " + std::to_string(round));
    }
    EXPECT_EQ(host->dispatch(effGetProgram), 39 * 3 % 127);
    EXPECT_EQ(fault.count, 0) << "the first: " << fault.first;
}

TEST(AudioThread, StaysQuietAndAudibleWhileTheOpenEditorIsIdledAndAutomated) {
    // The host's user-interface thread redraws the automated knobs and the
    // pitch wheel between the blocks; nothing of that may reach the audio
    // thread as a lock, a heap call or a block left silent.
    std::string why;
    if (!HostUiThread::displayAvailable(why)) GTEST_SKIP() << why;
    auto host = load(44100.0f);
    session::Player player(*host, 4, 44100.0);
    player.enter = enter;
    player.leave = leave;
    std::vector<VstMidiEvent> notes;
    for (int i = 0; i < 16; ++i) notes.push_back(session::midi(0, 0x90, 36 + 3 * i, 100));
    player.send(notes);
    player.render(4096);  // past the attack
    HostUiThread ui(*host, true);
    ASSERT_TRUE(ui.ok()) << ui.error();
    realtime::resetCounts();
    Fault fault;
    long blocks = 0, quiet = 0;
    const long firstIdle = ui.idles();
    // Forty idles, about 0.6 s, with blocks rendered as fast as they go and
    // the pitch wheel moving (the editor shows it: a mark from this thread).
    std::vector<VstMidiEvent> bend(1);
    while (ui.idles() < firstIdle + 40) {
        const int wheel = int(blocks * 97 % 16384);
        bend[0] = session::midi(0, 0xE0, wheel & 127, wheel >> 7);
        player.send(bend);
        player.render(256);
        fault.check("block " + std::to_string(blocks));
        float peak = 0.0f;
        for (int i = 0; i < player.frames; ++i) peak = std::max(peak, std::abs(player.left[size_t(i)]));
        if (!(peak > 0.01f)) ++quiet;
        ++blocks;
    }
    EXPECT_GT(blocks, 100);
    EXPECT_EQ(quiet, 0) << "of " << blocks << " blocks";
    EXPECT_EQ(fault.count, 0) << "the first: " << fault.first;
}
