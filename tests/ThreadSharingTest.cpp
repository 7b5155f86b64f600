// The user-interface and audio threads at once, as a host drives the plug-in:
// one thread renders blocks with notes, controllers, bend, program changes and
// automation; the other selects, renames, morphs, varies, copies and pastes,
// resets to the default sound, restores, loads and saves banks and presets,
// auditions and arms MIDI learn. Afterwards every stored program must be one
// that the operations could have produced, the live values must be the
// current program's record, and every MIDI event sent must have been played.
//
// BRENNIX_STRESS_SECONDS sets the length of the race (default 3 seconds).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "MessageCapture.h"
#include "TestSupport.h"
#include "host/APlugin.h"
#include "morph/MorphLists.h"

using testing_support::tempPath;

namespace {

constexpr int kParams = prm::kCount;
// Sound 0 is the default sound; sound s (1..128) is what program s - 1 starts with.
constexpr int kSounds = 129;
constexpr float kStep = 1.0f / 65536.0f;
// Parameters that automation, MIDI learn and controllers move one at a time.
constexpr int kAutomated[] = {prm::MainVolume, prm::FilterFrequency};

// "Variation A" with its unison and effect mixes: with "Variation Amount" 0 it
// writes the edited sound's values of these parameters.
constexpr int kVariedByA[] = {23,  20,  27,  28,  48,  45,  52,  53,  61,  64,  69, 70,
                              71,  73,  88,  92,  93,  95,  114, 115, 142, 143, 116, 140,
                              141, 161, 162, 163, 164, 4,   7,   173, 174, 175};

bool automated(int i) {
    for (int a : kAutomated)
        if (a == i) return true;
    return false;
}

// Every sound is the default sound shifted by s steps towards the middle, so
// each value tells which sound it belongs to. Switches and the morph and
// variation settings are the same in every sound: the morph then always copies
// program 0's blended parameters, and a variation writes the edited values.
struct Sounds {
    std::vector<float> table;  // kSounds x kParams

    explicit Sounds(const ParameterState& state) : table(size_t(kSounds) * kParams) {
        for (int s = 0; s < kSounds; ++s)
            for (int i = 0; i < kParams; ++i) {
                const float d = state.defaultValue[i];
                float v;
                if (state.isSwitch[i])
                    v = d < 0.5f ? 0.0f : 1.0f;
                else if (i == prm::CrossAmount || i == prm::CrossPrA || i == prm::CrossPrB ||
                         i == prm::VariationAmount)
                    v = d;
                else
                    v = d > 0.5f ? d - float(s) * kStep : d + float(s) * kStep;
                table[size_t(s) * kParams + size_t(i)] = v;
            }
    }
    float operator()(int s, int i) const { return table[size_t(s) * kParams + size_t(i)]; }
};

// Groups of parameters that every operation replaces together: what the
// variation writes, the rest of what the morph writes, the program text that
// paste and "Default Preset" keep, and everything else.
std::vector<std::vector<int>> parts() {
    std::vector<int> group(kParams, 3);
    for (auto ranges : {std::span<const morph::IndexRange>(morph::kInterpolated),
                        std::span<const morph::IndexRange>(morph::kSwitched),
                        std::span<const morph::IndexRange>(morph::kBlock)})
        for (const auto& r : ranges)
            for (int i = r.first; i <= r.last; ++i) group[size_t(i)] = 1;
    for (int i : kVariedByA) group[size_t(i)] = 0;
    for (int i = prm::TextFirst; i <= prm::TextLast + 1; ++i) group[size_t(i)] = 2;
    std::vector<std::vector<int>> out(4);
    for (int i = 0; i < kParams; ++i)
        if (!automated(i)) out[size_t(group[size_t(i)])].push_back(i);
    return out;
}

// Empty when every group of `values` comes whole from one sound.
template <typename Values>
std::string damage(const Values& values, const Sounds& sounds,
                   const std::vector<std::vector<int>>& groups) {
    for (size_t g = 0; g < groups.size(); ++g) {
        bool found = false;
        for (int s = 0; s < kSounds && !found; ++s) {
            found = true;
            for (int i : groups[g])
                if (values[i] != sounds(s, i)) {
                    found = false;
                    break;
                }
        }
        if (found) continue;
        // Name the first value that differs from the sound of the group's first value.
        std::string where = "group " + std::to_string(g) + " mixes sounds";
        for (int s = 0; s < kSounds; ++s) {
            if (values[groups[g][0]] != sounds(s, groups[g][0])) continue;
            for (int i : groups[g])
                if (values[i] != sounds(s, i)) {
                    where += " (parameter " + std::to_string(i) + " is not sound " + std::to_string(s) + "'s)";
                    break;
                }
            break;
        }
        return where;
    }
    return "";
}

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class AudioThread {
public:
    explicit AudioThread(AEffect* effect, const APlugin* plugin = nullptr) : effect(effect), plugin(plugin) {}

    // Renders blocks until `stop`; returns the number of blocks rendered.
    long run(const std::atomic<bool>& stop) {
        std::mt19937 random(17);
        long blocks = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            const int frames = 1 + int(random() % 256);
            events.clear();
            if (random() % 3 == 0) {
                if (held >= 0) events.push_back(midi(0, 0x80, held, 0));
                held = 48 + int(random() % 24);
                events.push_back(midi(int(random() % unsigned(frames)), 0x90, held, 100));
            }
            if (random() % 4 == 0)
                events.push_back(midi(int(random() % unsigned(frames)), 0xB0, int(random() % 128), int(random() % 128)));
            if (random() % 4 == 0) events.push_back(midi(0, 0xE0, int(random() % 128), int(random() % 128)));
            if (random() % 6 == 0) events.push_back(midi(int(random() % unsigned(frames)), 0xC0, int(random() % 128), 0));
            if (random() % 3 == 0)
                effect->setParameter(effect, kAutomated[random() % 2], float(random() % 1000) / 999.0f);
            block(frames);
            ++blocks;
            // Blocks come as fast as the plug-in renders them, to race as many
            // operations as possible; but a block left silent (another thread
            // held the programs) costs nothing, and a host would not send the
            // next one before this one's time is up: spinning through hundreds
            // of them while a preempted user-interface thread holds on would
            // overflow the event pool as no host can.
            if (plugin && plugin->silentBlocks() != silent) {
                silent = plugin->silentBlocks();
                std::this_thread::sleep_for(std::chrono::microseconds(frames * 1000000 / 44100));
            }
        }
        return blocks;
    }

    void block(int frames, std::vector<VstMidiEvent> extra = {}) {
        for (const VstMidiEvent& e : extra) events.push_back(e);
        if (!events.empty()) {
            list.resize(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
            auto* l = reinterpret_cast<VstEvents*>(list.data());
            l->numEvents = int32_t(events.size());
            for (size_t i = 0; i < events.size(); ++i) l->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
            effect->dispatcher(effect, effProcessEvents, 0, 0, l, 0.0f);
            sentEvents += uint32_t(events.size());
        }
        float* in[2] = {silence, silence};
        float* out[2] = {left, right};
        effect->processReplacing(effect, in, out, frames);
        events.clear();
    }

    // MIDI events handed to the plug-in so far.
    uint32_t sent() const { return sentEvents; }

    static VstMidiEvent midi(int delta, int status, int d1, int d2) {
        VstMidiEvent e{};
        e.type = kVstMidiType;
        e.byteSize = sizeof(VstMidiEvent);
        e.deltaFrames = delta;
        e.midiData[0] = char(status);
        e.midiData[1] = char(d1);
        e.midiData[2] = char(d2);
        return e;
    }

private:
    AEffect* effect;
    const APlugin* plugin;
    uint32_t silent = 0;
    int held = -1;
    uint32_t sentEvents = 0;
    std::vector<VstMidiEvent> events;
    std::vector<char> list;
    float silence[256] = {};
    float left[256] = {};
    float right[256] = {};
};

double stressSeconds() {
    const char* text = std::getenv("BRENNIX_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 0.0;
    return seconds > 0.0 ? seconds : 3.0;
}

}  // namespace

TEST(ThreadSharing, RacedOperationsLeaveEveryProgramWhole) {
    (void)testing_support::configHome();
    MessageCapture messages;  // refused morphs (a source equal to the current program)
    auto owned = std::make_unique<APlugin>(&quietHost);
    APlugin& plugin = *owned;
    AEffect* effect = plugin.getAeffect();
    const Sounds sounds(plugin.parameters());
    const auto groups = parts();

    for (int p = 0; p < 128; ++p) {
        effect->dispatcher(effect, effSetProgram, 0, p, nullptr, 0.0f);
        for (int i = 0; i < kParams; ++i) effect->setParameter(effect, i, sounds(p + 1, i));
        char name[16];
        std::snprintf(name, sizeof name, "S%d", p);
        effect->dispatcher(effect, effSetProgramName, 0, 0, name, 0.0f);
    }
    effect->dispatcher(effect, effSetProgram, 0, 3, nullptr, 0.0f);
    for (int p = 0; p < 128; ++p) ASSERT_EQ(damage(plugin.program(p).recordValues, sounds, groups), "") << p;
    const std::string bank = tempPath("race.fxb"), preset = tempPath("race.fxp");
    ASSERT_TRUE(plugin.saveBank(bank));
    ASSERT_TRUE(plugin.savePreset(preset));
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

    AudioThread audio(effect, &plugin);
    std::atomic<bool> stop{false};
    long blocks = 0;
    std::thread audioThread([&] { blocks = audio.run(stop); });

    std::mt19937 random(4711);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(stressSeconds());
    long operations = 0;
    bool auditioning = false;
    while (std::chrono::steady_clock::now() < end) {
        char text[64];
        switch (random() % 17) {
            case 0:
            case 1:
                effect->dispatcher(effect, effSetProgram, 0, intptr_t(random() % 128), nullptr, 0.0f);
                break;
            case 2: {
                char name[24];
                std::snprintf(name, sizeof name, "R%ld", operations);
                effect->dispatcher(effect, effSetProgramName, 0, 0, name, 0.0f);
                break;
            }
            case 3: plugin.morph(); break;
            case 4: plugin.variation(1); break;
            case 5:
                plugin.copyPreset();
                if (random() % 2) plugin.pastePreset();
                break;
            case 6: plugin.pastePreset(); break;
            case 7: plugin.defaultPreset(); break;
            case 8: plugin.restoreOriginal(); break;
            case 9: plugin.restoreEdited(); break;
            case 10: random() % 2 ? (void)plugin.saveBank(bank) : (void)plugin.loadBank(bank); break;
            case 11: random() % 2 ? (void)plugin.savePreset(preset) : (void)plugin.loadPreset(preset); break;
            case 12:
                auditioning ? plugin.auditionStop() : plugin.auditionStart();
                auditioning = !auditioning;
                break;
            case 13:
                random() % 2 ? plugin.latchToMidi(prm::FilterFrequency) : plugin.unlatchMidi(prm::FilterFrequency);
                break;
            case 14:
                // Host automation from this thread too, in a burst.
                for (int n = 0; n < 200; ++n)
                    effect->setParameter(effect, kAutomated[random() % 2], float(random() % 1000) / 999.0f);
                break;
            case 15:
                effect->dispatcher(effect, effGetParamDisplay, int32_t(random() % kParams), 0, text, 0.0f);
                effect->dispatcher(effect, effGetProgramNameIndexed, int32_t(random() % 128), 0, text, 0.0f);
                break;
            default:
                effect->dispatcher(effect, effGetProgramName, 0, 0, text, 0.0f);
                std::this_thread::yield();
                break;
        }
        ++operations;
    }
    if (auditioning) plugin.auditionStop();
    stop = true;
    audioThread.join();
    audio.block(64);
    RecordProperty("operations", std::to_string(operations));
    RecordProperty("blocks", std::to_string(blocks));
    EXPECT_GT(blocks, 100);

    int damaged = 0;
    for (int p = 0; p < 128; ++p) {
        const std::string why = damage(plugin.program(p).recordValues, sounds, groups);
        if (why.empty()) continue;
        if (++damaged <= 5) ADD_FAILURE() << "program " << p << ": " << why;
    }
    EXPECT_EQ(damaged, 0) << "of 128 programs after " << operations << " operations and " << blocks << " blocks";
    const int current = plugin.getProgram();
    const ParamValue* record = plugin.program(current).recordValues;
    int differing = 0;
    for (int i = 0; i < kParams; ++i) differing += plugin.parameters().values[i] != record[i];
    EXPECT_EQ(differing, 0) << "live values that differ from program " << current << "'s record";
    for (int p = 0; p < 128; ++p) {
        const std::string name = plugin.program(p).recordName;
        const bool known = name == "Default" || ((name[0] == 'S' || name[0] == 'R') && name.size() > 1 &&
                                                 name.find_first_not_of("0123456789", 1) == std::string::npos);
        EXPECT_TRUE(known) << "program " << p << " is named \"" << name << "\"";
    }

    // No event was lost: every one sent has been played, nothing is left
    // pending, and MIDI still gets through.
    EXPECT_EQ(plugin.droppedEvents(), 0u) << plugin.silentBlocks() << " silent blocks";
    EXPECT_EQ(plugin.executedEvents(), audio.sent());
    EXPECT_EQ(plugin.pendingEvents(), 0);
    audio.block(64, {AudioThread::midi(0, 0xC0, 5, 0), AudioThread::midi(1, 0x90, 60, 100)});
    EXPECT_EQ(plugin.getProgram(), 5);
    EXPECT_EQ(plugin.executedEvents(), audio.sent());
    EXPECT_EQ(plugin.pendingEvents(), 0);
    bool sounding = false;
    for (int v = 0; v < 16; ++v) sounding |= plugin.voiceEngine().voice(v).gate && plugin.voiceEngine().voice(v).note == 60;
    EXPECT_TRUE(sounding);
    plugin.clearMidi();  // the learned bindings must not reach other tests
}

// A program change from MIDI rewrites the live values like any whole-program
// change: a copy taken beside it on another thread is one program's sound,
// never a mixture of two (a mixture would reach the programs by "Paste").
TEST(ThreadSharing, CopiesBesideMidiProgramChangesAreWhole) {
    (void)testing_support::configHome();
    auto owned = std::make_unique<APlugin>(&quietHost);
    APlugin& plugin = *owned;
    AEffect* effect = plugin.getAeffect();
    const Sounds sounds(plugin.parameters());
    const auto groups = parts();
    for (int p = 0; p < 3; ++p) {
        effect->dispatcher(effect, effSetProgram, 0, p, nullptr, 0.0f);
        for (int i = 0; i < kParams; ++i) effect->setParameter(effect, i, sounds(p + 1, i));
    }
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

    // Every block of four frames changes between programs 1 and 2.
    AudioThread audio(effect);
    std::atomic<bool> stop{false};
    std::thread audioThread([&] {
        for (int n = 0; !stop.load(std::memory_order_relaxed); ++n)
            audio.block(4, {AudioThread::midi(0, 0xC0, 1 + (n & 1), 0)});
    });
    // Each copy waits for a moment between two changes, so a loaded machine
    // manages only a few in the time; nearly every one overlaps a change.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int copies = 0;
    while (std::chrono::steady_clock::now() < end && copies < 5000) {
        plugin.copyPreset();
        plugin.pastePreset();
        ++copies;
    }
    stop = true;
    audioThread.join();
    EXPECT_GT(copies, 0);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(damage(plugin.program(p).recordValues, sounds, groups), "") << "program " << p << " after "
                                                                              << copies << " copies";
}

namespace {

// Renders on its own thread, through the loaded library, until stopped.
class RenderThread {
public:
    explicit RenderThread(vsthost::PluginHost& host) : host(host), thread([this] { run(); }) {}
    ~RenderThread() { stop(); }

    void stop() {
        stopping = true;
        if (thread.joinable()) thread.join();
    }
    std::thread::id id() const { return threadId; }
    // The next blocks send a program change to `program`.
    void changeProgram(int program) { programChange = program; }
    long blocks() const { return rendered; }
    bool allFinite() const { return finite; }
    // Returns once `count` more blocks have been rendered.
    void waitBlocks(long count) const {
        const long target = rendered + count;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (rendered < target && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

private:
    void run() {
        threadId = std::this_thread::get_id();
        std::vector<float> left, right;
        std::mt19937 random(99);
        int key = 60;
        while (!stopping) {
            std::vector<VstMidiEvent> events;
            const int program = programChange.exchange(-1);
            if (program >= 0) events.push_back(vsthost::PluginHost::midi(0, 0xC0, uint8_t(program), 0));
            if (random() % 4 == 0) {
                events.push_back(testing_support::noteOff(0, key));
                key = 48 + int(random() % 24);
                events.push_back(testing_support::noteOn(1, key));
            }
            if (random() % 4 == 0) events.push_back(testing_support::controller(2, 1, int(random() % 128)));
            host.sendMidi(events);
            if (random() % 4 == 0) host.setParameter(prm::FilterFrequency, float(random() % 100) / 99.0f);
            host.process(64, left, right);
            for (float x : left) finite = finite && std::isfinite(x);
            ++rendered;
        }
    }

    vsthost::PluginHost& host;
    std::atomic<bool> stopping{false};
    std::atomic<int> programChange{-1};
    std::atomic<long> rendered{0};
    std::thread::id threadId;
    std::atomic<bool> finite{true};
    std::thread thread;
};

}  // namespace

TEST(ThreadSharing, TheAudioThreadCallsTheHostOnlyForTimeAndAutomation) {
    auto host = testing_support::loadPlugin();
    host->clearCalls();
    RenderThread audio(*host);
    const std::thread::id ui = std::this_thread::get_id();
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        audio.changeProgram(int(random() % 128));
        host->dispatch(effSetProgram, 0, intptr_t(random() % 128));
        std::string name = "Race " + std::to_string(round);
        host->dispatch(effSetProgramName, 0, 0, name.data());
        char text[64];
        host->dispatch(effGetParamDisplay, int32_t(random() % 799), 0, text);
        host->dispatch(effEditIdle);
    }
    // A program change from MIDI is told to the host by the next call from
    // the user-interface thread, not by the audio thread.
    audio.waitBlocks(4);
    host->dispatch(effEditIdle);
    host->clearCalls();
    audio.changeProgram(9);
    audio.waitBlocks(4);
    host->dispatch(effEditIdle);
    EXPECT_EQ(host->dispatch(effGetProgram), 9);
    audio.stop();
    EXPECT_GT(audio.blocks(), 10);
    EXPECT_TRUE(audio.allFinite());

    int fromAudio = 0, updates = 0;
    for (const vsthost::HostCall& call : host->calls()) {
        if (call.thread == audio.id()) {
            ++fromAudio;
            EXPECT_TRUE(call.opcode == audioMasterGetTime || call.opcode == audioMasterAutomate)
                << "the audio thread called the host with opcode " << call.opcode;
        }
        if (call.opcode == audioMasterUpdateDisplay) {
            ++updates;
            EXPECT_EQ(call.thread, ui);
        }
    }
    EXPECT_GT(fromAudio, 0);
    EXPECT_EQ(updates, 1);
}

TEST(ThreadSharing, AUserInterfaceChangeStillLandsWhenTheHostStopsProcessing) {
    auto host = testing_support::loadPlugin();
    {
        RenderThread audio(*host);
        audio.waitBlocks(10);
    }
    // Still resumed, but no more blocks come: the operation does not wait for ever.
    const auto start = std::chrono::steady_clock::now();
    host->dispatch(effSetProgram, 0, 5);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(host->dispatch(effGetProgram), 5);
    EXPECT_LT(waited, std::chrono::seconds(2));
    // Once idle, changes land at once.
    const auto again = std::chrono::steady_clock::now();
    host->dispatch(effSetProgram, 0, 6);
    EXPECT_EQ(host->dispatch(effGetProgram), 6);
    EXPECT_LT(std::chrono::steady_clock::now() - again, std::chrono::milliseconds(100));
}

// When no other thread can run a change, the caller runs it at once instead
// of waiting for the idle time: a host that processes and edits on one thread,
// and a host that has suspended the plug-in.
TEST(ThreadSharing, ChangesLandAtOnceWhenNoOtherThreadProcesses) {
    using Clock = std::chrono::steady_clock;
    const auto quick = std::chrono::milliseconds(AudioHandover::kIdleMs * 3 / 4);
    {
        auto host = testing_support::loadPlugin();
        for (int program : {3, 7, 11}) {
            testing_support::renderFrames(*host, 256, 64, {testing_support::noteOn(0, 60)});
            const auto start = Clock::now();
            host->dispatch(effSetProgram, 0, program);
            EXPECT_LT(Clock::now() - start, quick) << "single thread, program " << program;
            EXPECT_EQ(host->dispatch(effGetProgram), program);
        }
    }
    auto host = testing_support::loadPlugin();
    {
        RenderThread audio(*host);
        audio.waitBlocks(10);
    }
    host->dispatch(effMainsChanged, 0, 0);
    const auto start = Clock::now();
    host->dispatch(effSetProgram, 0, 9);
    EXPECT_LT(Clock::now() - start, quick) << "suspended";
    EXPECT_EQ(host->dispatch(effGetProgram), 9);
}

TEST(ThreadSharing, AResetClearsTheDcBlocker) {
    auto host = testing_support::loadPlugin();
    testing_support::setPlainSine(*host);
    testing_support::renderFrames(*host, 4410, 441, {testing_support::noteOn(0, 45)});
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    const auto after = testing_support::renderFrames(*host, 64, 64);
    for (float x : after.left) ASSERT_LT(std::fabs(x), 1e-9f);
}
