// Hosts that do odd but legal (or plainly careless) things, through the real
// loading path: rates and block sizes changing between blocks, blocks of 0, 1
// and 8192 frames, missing and aliased buffers, time information that comes
// and goes, automation from inside processing, closing with events queued,
// two instances side by side, and a thousand instances made and destroyed.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <random>

#include "AudioAnalysis.h"
#include "TestSupport.h"
#include "Values.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

bool finiteAndBounded(const std::vector<float>& x, float bound = 1e4f) {
    for (float v : x)
        if (!std::isfinite(v) || std::fabs(v) > bound) return false;
    return true;
}

// Two sounds with nothing random in them (the instances' random generators
// are seeded from the clock), each with its own play mode, filter and effects.
void chooseSound(vsthost::PluginHost& host, int which) {
    setPlainSine(host);
    using values::choice;
    const std::vector<std::pair<int, float>> a = {
        {prm::Osc1Type, choice(2, 128)}, {prm::FilterType, choice(1, 14)}, {prm::FilterFrequency, 0.45f},
        {prm::FilterResonance, 0.6f},    {prm::Fx1Type, choice(5, 25)},     {prm::Fx1Mix, 0.5f},
        {prm::FxKnobFirst, 0.6f},        {prm::MainVolume, 0.9f}};
    const std::vector<std::pair<int, float>> b = {
        {prm::Osc1Type, choice(5, 128)}, {prm::PlayMode, choice(2, 8)},   {prm::FilterType, choice(3, 14)},
        {prm::FilterFrequency, 0.7f},    {prm::Fx1Type, choice(2, 25)},   {prm::Fx1Mix, 0.4f},
        {prm::FxKnobFirst, 0.3f},        {prm::Fx1Type + 1, choice(7, 25)},   {prm::Fx1Mix + 1, 0.5f},
        {prm::VolumeEnvelopeRelease, 0.5f}, {prm::MainVolume, 0.7f}};
    for (const auto& [index, value] : which == 0 ? a : b) host.setParameter(index, value);
}

std::vector<VstMidiEvent> phrase(int block, int blocks) {
    std::vector<VstMidiEvent> e;
    for (int b = 0; b + 8 < blocks; b += 8) {
        e.push_back(noteOn(b * block + 3, 48 + (b * 5) % 24, 90));
        e.push_back(noteOff((b + 6) * block + 100, 48 + (b * 5) % 24));
    }
    return e;
}

}  // namespace

TEST(HostAbuse, RateAndBlockSizeChangingBetweenBlocksWithBlocksOf0To8192Frames) {
    auto host = loadPlugin(44100.0f, 512, false);
    host->dispatch(effSetProgram, 0, 5);
    std::mt19937 random(3);
    std::vector<float> l, r;
    const float rates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f};
    const int sizes[] = {0, 1, 1, 2, 7, 64, 512, 4096, 8192};
    int key = 60;
    for (int block = 0; block < 600; ++block) {
        if (random() % 5 == 0) {
            const float rate = rates[random() % 6];
            // Some hosts suspend around a change; others do not.
            const bool suspend = random() % 2;
            if (suspend) host->dispatch(effMainsChanged, 0, 0);
            host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
            if (suspend) host->dispatch(effMainsChanged, 0, 1);
        }
        const int frames = sizes[random() % 9];
        host->dispatch(effSetBlockSize, 0, frames);
        if (random() % 4 == 0) {
            host->sendMidi({noteOff(0, key), noteOn(frames / 2, key = 40 + int(random() % 40))});
        }
        host->process(frames, l, r);
        ASSERT_EQ(int(l.size()), frames);
        ASSERT_TRUE(finiteAndBounded(l) && finiteAndBounded(r)) << "block " << block << " of " << frames;
    }
    // Settled at 48 kHz, the default sound plays in tune in any block size.
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host->dispatch(effMainsChanged, 0, 1);
    host->dispatch(effSetProgram, 0, kDefaultSoundProgram);
    setPlainSine(*host);
    std::vector<float> x;
    host->sendMidi({noteOn(0, 81)});
    for (int frames : {1, 8192, 0, 3, 4000, 1, 7000}) {
        host->process(frames, l, r);
        x.insert(x.end(), l.begin(), l.end());
    }
    EXPECT_NEAR(analysis::cents(analysis::frequency(x, 48000, 4000, 19000), 440.0), 0.0, 1.0);
}

TEST(HostAbuse, MissingAndAliasedBuffersAreHandledLikeSeparateOnes) {
    // One instance processes in place (inputs and outputs the same arrays, or
    // crossed), its twin with separate buffers: the same output.
    auto twin = loadPlugin();
    auto inPlace = loadPlugin();
    for (auto* h : {twin.get(), inPlace.get()}) setPlainSine(*h);
    AEffect* a = twin->effect();
    AEffect* b = inPlace->effect();
    std::vector<float> inL(8192), inR(8192), outL(8192), outR(8192), bufL(8192), bufR(8192);
    double heard = 0.0;
    for (int block = 0; block < 40; ++block) {
        const int frames = block % 3 == 0 ? 8192 : 1 + block * 37;
        if (block % 10 == 0) {
            const VstMidiEvent e = noteOn(5, 57 + block, 100);
            twin->sendMidi({e});
            inPlace->sendMidi({e});
        }
        std::fill(inL.begin(), inL.end(), 0.0f);
        std::fill(inR.begin(), inR.end(), 0.0f);
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        a->processReplacing(a, in, out, frames);
        std::fill(bufL.begin(), bufL.end(), 0.0f);
        std::fill(bufR.begin(), bufR.end(), 0.0f);
        float* same[2] = {bufL.data(), bufR.data()};
        float* crossed[2] = {bufR.data(), bufL.data()};
        if (block % 2 == 0) {
            b->processReplacing(b, same, same, frames);
        } else {
            b->processReplacing(b, crossed, same, frames);
        }
        for (int i = 0; i < frames; ++i) {
            ASSERT_EQ(bufL[size_t(i)], outL[size_t(i)]) << "block " << block << ", frame " << i;
            ASSERT_EQ(bufR[size_t(i)], outR[size_t(i)]) << "block " << block << ", frame " << i;
            heard = std::max(heard, double(std::fabs(outL[size_t(i)])));
        }
    }
    EXPECT_GT(heard, 0.5);
    // No input arrays at all, one input missing, one output missing: no crash,
    // and whatever output exists is written.
    std::fill(outL.begin(), outL.end(), 7.0f);
    float* oneInput[2] = {inL.data(), nullptr};
    float* out[2] = {outL.data(), outR.data()};
    b->processReplacing(b, nullptr, out, 256);
    b->processReplacing(b, oneInput, out, 256);
    EXPECT_LT(std::fabs(outL[0]), 2.0f) << "the output was written";
    float* oneOutput[2] = {outL.data(), nullptr};
    b->processReplacing(b, oneInput, oneOutput, 256);
    b->process(b, nullptr, oneOutput, 256);
}

TEST(HostAbuse, TimeInformationComingAndGoingKeepsTheLastTempo) {
    // An arpeggio at the host's 150 BPM: a host that answers audioMasterGetTime
    // only every other block plays it exactly like one that always answers.
    auto render = [](bool flicker) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::PlayMode, values::choice(4, 8));  // "Arp"
        host->setParameter(prm::ArpSync, 0.0f);
        VstTimeInfo& t = host->timeInfo();
        t.tempo = 150.0;
        t.flags = kVstTempoValid;
        std::vector<float> x, l, r;
        host->sendMidi({noteOn(0, 60), noteOn(0, 64), noteOn(0, 67)});
        for (int block = 0; block < 200; ++block) {
            host->setTimeInfoAvailable(!flicker || block % 2 == 0 || block < 2);
            host->process(441, l, r);
            x.insert(x.end(), l.begin(), l.end());
        }
        return x;
    };
    const auto steady = render(false), flickering = render(true);
    EXPECT_GT(analysis::peak(steady, 0, steady.size()), 0.5);
    ASSERT_EQ(steady.size(), flickering.size());
    size_t differing = 0;
    for (size_t i = 0; i < steady.size(); ++i) differing += steady[i] != flickering[i];
    EXPECT_EQ(differing, 0u) << "samples that differ";
}

TEST(HostAbuse, AutomationFromInsideProcessingLands) {
    // A host that writes parameters on the audio thread while the plug-in is
    // inside processReplacing (here: when asked for the time).
    auto host = loadPlugin();
    AEffect* e = host->effect();
    std::mt19937 random(11);
    int writes = 0;
    int lastIndex = -1;
    float lastValue = 0.0f;
    host->setTimeRequestHook([&] {
        for (int n = 0; n < 8; ++n) {
            lastIndex = int(random() % 799);
            // Not the sample path: a random path would only ask for a load.
            if (lastIndex >= prm::SampleLoadRequest && lastIndex <= prm::SamplePathLast) lastIndex = prm::FilterFrequency;
            lastValue = float(random() % 1000) / 999.0f;
            e->setParameter(e, lastIndex, lastValue);
            ++writes;
        }
    });
    std::vector<float> l, r;
    host->sendMidi({noteOn(0, 60), noteOn(0, 67)});
    for (int block = 0; block < 300; ++block) {
        host->process(128, l, r);
        ASSERT_TRUE(finiteAndBounded(l, 1e8f) && finiteAndBounded(r, 1e8f)) << "block " << block;
    }
    host->setTimeRequestHook({});
    EXPECT_EQ(writes, 2400);
    // The last write stands in the live value and in the current program (a
    // switch reads back rounded).
    const float live = host->getParameter(lastIndex);
    EXPECT_TRUE(live == lastValue || live == (lastValue < 0.5f ? 0.0f : 1.0f)) << lastIndex << ": " << live;
    host->process(64, l, r);
    char name[64];
    host->dispatch(effGetProgramName, 0, 0, name);
    const int program = int(host->dispatch(effGetProgram));
    host->dispatch(effSetProgram, 0, (program + 1) % 128);
    host->dispatch(effSetProgram, 0, program);
    EXPECT_EQ(host->getParameter(lastIndex), live) << "the program kept the write";
}

TEST(HostAbuse, ClosingWithEventsQueuedOrNotesSoundingIsClean) {
    for (int variant = 0; variant < 3; ++variant) {
        vsthost::PluginHost host;
        ASSERT_TRUE(host.load(BRENNIX_PLUGIN_PATH));
        host.start(44100.0f, 512);
        std::vector<VstMidiEvent> events;
        for (int i = 0; i < 300; ++i) events.push_back(noteOn(i * 3, 30 + i % 60));
        std::vector<float> l, r;
        if (variant >= 1) host.process(512, l, r);  // notes sounding, more queued
        host.sendMidi(events);
        if (variant == 2) host.dispatch(effMainsChanged, 0, 0);
        // Straight to effClose (no suspend first), then the library goes.
        host.unload(false);
    }
}

TEST(HostAbuse, TwoInstancesSideBySideShareNothing) {
    constexpr int kBlock = 256, kBlocks = 400;
    const auto events = phrase(kBlock, kBlocks);
    // Each alone...
    auto alone = [&](int sound) {
        auto host = loadPlugin();
        chooseSound(*host, sound);
        return renderFrames(*host, kBlock * kBlocks, kBlock, events);
    };
    const Render soloA = alone(0), soloB = alone(1);
    // ... and both at once, block by block, with their own events and edits.
    auto a = loadPlugin(), b = loadPlugin();
    chooseSound(*a, 0);
    chooseSound(*b, 1);
    Render pairA, pairB;
    std::vector<float> l, r;
    for (int block = 0; block < kBlocks; ++block) {
        for (auto [host, out] : {std::pair{a.get(), &pairA}, std::pair{b.get(), &pairB}}) {
            std::vector<VstMidiEvent> due;
            for (VstMidiEvent e : events)
                if (e.deltaFrames >= block * kBlock && e.deltaFrames < (block + 1) * kBlock) {
                    e.deltaFrames -= block * kBlock;
                    due.push_back(e);
                }
            host->sendMidi(due);
            host->process(kBlock, l, r);
            out->left.insert(out->left.end(), l.begin(), l.end());
            out->right.insert(out->right.end(), r.begin(), r.end());
        }
        // The other instance's program names are its own.
        if (block == kBlocks / 2) b->dispatch(effSetProgramName, 0, 0, const_cast<char*>("B's"));
    }
    EXPECT_GT(analysis::peak(soloA.left), 0.05);
    EXPECT_GT(analysis::peak(soloB.left), 0.05);
    EXPECT_EQ(pairA.left, soloA.left);
    EXPECT_EQ(pairA.right, soloA.right);
    EXPECT_EQ(pairB.left, soloB.left);
    EXPECT_EQ(pairB.right, soloB.right);
    EXPECT_NE(a->programName(), "B's");
    EXPECT_FLOAT_EQ(a->getParameter(prm::FilterFrequency), 0.45f);
}

TEST(HostAbuse, AThousandInstancesMadeAndDestroyedLeakNothing) {
    // The heap in use (glibc's count, large blocks included) after 100 cycles
    // and after 1000: an instance's own memory (its sample buffer alone is
    // 12 MB) left behind even once in ten cycles would show many times over.
    auto heapInUse = [] {
        const struct mallinfo2 m = mallinfo2();
        return double(m.uordblks + m.hblkhd);
    };
    auto cycle = [](int i) {
        vsthost::PluginHost host;
        ASSERT_TRUE(host.load(BRENNIX_PLUGIN_PATH));
        host.start(i % 2 ? 44100.0f : 96000.0f, 64);
        std::vector<float> l, r;
        host.sendMidi({noteOn(0, 40 + i % 50)});
        host.process(64, l, r);
        host.unload();
    };
    for (int i = 0; i < 100; ++i) cycle(i);
    const double before = heapInUse();
    for (int i = 100; i < 1000; ++i) cycle(i);
    const double after = heapInUse();
    RecordProperty("heap growth", std::to_string(after - before));
    EXPECT_LT(after - before, 256.0 * 1024.0) << "bytes more in use after 900 more instances";
}
