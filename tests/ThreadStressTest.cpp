// The threads at once with everything the engine has grown: one thread plays a
// random session (every play mode with the arpeggiator and its sync, LFOs,
// every effect type value with type changes and ringing tails, the vocoder
// on a sample, MIDI program changes, automation) while the user-interface
// thread opens, draws, turns knobs in and closes the editor, changes effect
// types, chooses samples for the loader thread, selects programs, morphs and
// varies, copies and pastes the arp pattern. Run under ThreadSanitizer (see
// the README) these must give no report; in any build the programs must stay
// whole: finite values in range, the live values the current record's, and
// the plug-in still playing. Two instances on two audio threads share nothing.
//
// BRENNIX_STRESS_SECONDS sets the length of each race (default 3 seconds).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

#include "EditorTestSupport.h"
#include "MessageCapture.h"
#include "RandomSession.h"
#include "SampleFiles.h"
#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "X11TestSupport.h"
#include "editor/ControlLayout.h"
#include "params/ParamIds.h"

namespace {

double raceSeconds() {
    const char* text = std::getenv("BRENNIX_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 0.0;
    return seconds > 0.0 ? seconds : 3.0;
}

// The time information the directly made plug-ins' host answers with; the
// audio thread alone writes and reads it.
thread_local VstTimeInfo hostTime{};
intptr_t timeHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<intptr_t>(&hostTime);
    return 0;
}

// A short WAV tone; returns its path (with extension).
std::string writeTone(const std::string& name, int period) {
    std::vector<int> v;
    for (int i = 0; i < 8000; ++i) v.push_back(((i / period) % 2) ? 8000 : -8000);
    const auto bytes = sample_files::wav(1, 22050, 16, sample_files::pcm16le(v));
    const std::string path = testing_support::tempPath(name + ".wav");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// Plays a random session on its own thread until stopped.
class SessionThread {
public:
    SessionThread(AEffect* effect, uint32_t seed, std::string sample)
        : effect(effect), seed(seed), sample(std::move(sample)), thread([this] { run(); }) {}
    ~SessionThread() { stop(); }
    void stop() {
        stopping = true;
        if (thread.joinable()) thread.join();
    }
    long blocks() const { return rendered; }
    bool finite() const { return allFinite; }

private:
    void run() {
        session::Player player(effect, hostTime, seed, 44100.0);
        session::Automation writes;
        for (int step = 0; !stopping; ++step) {
            writes.clear();
            session::select(session::modesAt(step), writes);
            if (step % 6 == 5) session::vocoderOnSample(sample.c_str(), writes);
            if (step % 8 == session::kArpPlayMode) writes.emplace_back(prm::ArpSync, 1.0f);
            player.automate(writes);
            for (int n = 0; n < 20 && !stopping; ++n) {
                player.play(1 + int(player.random() % 512), int(player.random() % 3), false);
                for (int i = 0; i < player.frames; ++i)
                    if (!std::isfinite(player.left[size_t(i)]) || !std::isfinite(player.right[size_t(i)]))
                        allFinite = false;
                ++rendered;
            }
            if (step % 10 == 9) player.releaseAll();
        }
    }

    AEffect* effect;
    uint32_t seed;
    std::string sample;
    std::atomic<bool> stopping{false};
    std::atomic<long> rendered{0};
    std::atomic<bool> allFinite{true};
    std::thread thread;
};

// Every record's values finite and in range, names terminated; the live
// values equal the current record's.
void expectWhole(APlugin& plugin) {
    for (int p = 0; p < APlugin::kNumPrograms; ++p) {
        const ProgramRecord& r = plugin.program(p);
        int bad = 0;
        for (int i = 0; i < APlugin::kNumParams; ++i)
            bad += !(r.recordValues[i] >= 0.0f && r.recordValues[i] <= 1.0f);
        EXPECT_EQ(bad, 0) << "values out of range in program " << p;
        EXPECT_LT(std::strlen(r.recordName), sizeof r.recordName) << p;
    }
    const ParamValue* record = plugin.program(plugin.getProgram()).recordValues;
    int differing = 0;
    for (int i = 0; i < APlugin::kNumParams; ++i) differing += plugin.parameters().values[i] != record[i];
    EXPECT_EQ(differing, 0) << "live values that differ from program " << plugin.getProgram() << "'s record";
}

// The main page's knobs: always shown, so a drag on one turns that knob.
std::vector<const layout::Control*> mainKnobs() {
    std::vector<const layout::Control*> knobs;
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.kind == layout::Kind::Knob && c.region == layout::Region::Main) knobs.push_back(&c);
    return knobs;
}

}  // namespace

TEST(ThreadSharing, EditorEffectsSamplesAndArpRaceTheAudioThread) {
    (void)testing_support::configHome();
    MessageCapture messages;  // refused morphs
    auto owned = std::make_unique<APlugin>(&timeHost);
    APlugin& plugin = *owned;
    AEffect* effect = plugin.getAeffect();
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    const std::string toneA = writeTone("race-a", 20), toneB = writeTone("race-b", 45);
    const std::string sample = toneA.substr(0, toneA.size() - 4);
    const auto knobs = mainKnobs();
    ASSERT_FALSE(knobs.empty());
    uEditor* editor = plugin.getUEditor();

    SessionThread audio(effect, 5, sample);
    std::mt19937 random(31);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(raceSeconds());
    long operations = 0;
    bool open = false;
    while (std::chrono::steady_clock::now() < end) {
        switch (random() % 12) {
            case 0:
                // Open, draw a few times, close; or the other way round.
                if (open) {
                    editor->close();
                } else {
                    ASSERT_TRUE(editor->openOffscreen());
                }
                open = !open;
                break;
            case 1:
            case 2:
                if (open) {
                    const layout::Control& c = *knobs[random() % knobs.size()];
                    const VSTGUI::CPoint p = editor_testing::centreOf(c);
                    widget_testing::press(*editor->getFrame(), int(p.h), int(p.v));
                    widget_testing::move(*editor->getFrame(), int(p.h), int(p.v) - int(random() % 60) + 30);
                    widget_testing::release(*editor->getFrame(), int(p.h), int(p.v));
                }
                [[fallthrough]];
            case 3:
                if (open) editor->idle();
                break;
            case 4:
                plugin.setParameter(prm::Fx1Type + int(random() % 3), session::effectTypeValue(int(random() % 25)));
                break;
            case 5:
                (void)plugin.chooseSample(random() % 2 ? toneA : toneB);
                break;
            case 6:
                effect->dispatcher(effect, effSetProgram, 0, intptr_t(random() % 128), nullptr, 0.0f);
                break;
            case 7:
                random() % 2 ? plugin.morph() : plugin.variation(1 + int(random() % 4));
                break;
            case 8:
                plugin.copyArp();
                random() % 2 ? plugin.pasteArp() : plugin.clearArp();
                break;
            case 9: {
                char text[64];
                effect->dispatcher(effect, effGetParamDisplay, int32_t(prm::FxKnobFirst + random() % 24), 0, text, 0.0f);
                effect->dispatcher(effect, effGetParamName, int32_t(prm::FxKnobFirst + random() % 24), 0, text, 0.0f);
                break;
            }
            case 10:
                plugin.setParameter(prm::PlayMode, session::playModeValue(int(random() % 8)));
                plugin.setParameter(prm::ArpMode, float(random() % 100) / 99.0f);
                break;
            default:
                plugin.setParameter(int(random() % prm::kCount), float(random() % 1000) / 999.0f);
                break;
        }
        ++operations;
    }
    if (open) editor->close();
    audio.stop();
    RecordProperty("operations", std::to_string(operations));
    RecordProperty("blocks", std::to_string(audio.blocks()));
    EXPECT_GT(audio.blocks(), 100);
    EXPECT_TRUE(audio.finite());

    // One more block reconciles what the user-interface thread wrote last.
    std::vector<float> l(64), r(64), silence(64);
    float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {l.data(), r.data()};
    effect->processReplacing(effect, in, out, 64);
    expectWhole(plugin);
    // Still plays: a program change and a note (with the controllers the
    // session left behind set back, and no effects).
    plugin.setProgram(testing_support::kDefaultSoundProgram);
    testing_support::setPlainSine(plugin);
    plugin.setParameter(prm::FxBypass, 1.0f);
    const auto note = testing_support::processDirect(
        plugin, 4096,
        {testing_support::controller(0, 123, 0), testing_support::controller(0, 7, 127),
         testing_support::controller(0, 64, 0), testing_support::noteOn(1, 69)});
    double peak = 0.0;
    for (float x : note.left) peak = std::max(peak, double(std::fabs(x)));
    EXPECT_GT(peak, 0.5);
}

TEST(ThreadSharing, TwoInstancesOnTwoAudioThreadsShareNothing) {
    // A host rendering two tracks at once: each instance on its own thread,
    // the user-interface thread editing both.
    (void)testing_support::configHome();
    MessageCapture messages;
    auto first = std::make_unique<APlugin>(&timeHost);
    auto second = std::make_unique<APlugin>(&timeHost);
    for (APlugin* p : {first.get(), second.get()}) p->getAeffect()->dispatcher(p->getAeffect(), effMainsChanged, 0, 1, nullptr, 0.0f);
    const std::string tone = writeTone("race-two", 30);
    const std::string sample = tone.substr(0, tone.size() - 4);
    SessionThread a(first->getAeffect(), 7, sample), b(second->getAeffect(), 8, sample);
    std::mt19937 random(3);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(raceSeconds());
    while (std::chrono::steady_clock::now() < end) {
        APlugin& p = random() % 2 ? *first : *second;
        switch (random() % 4) {
            case 0: p.setProgram(int(random() % 128)); break;
            case 1: p.setParameter(prm::Fx1Type, session::effectTypeValue(int(random() % 25))); break;
            case 2: p.morph(); break;
            default: {
                char text[64];
                p.getParameterDisplay(int(random() % prm::kCount), text);
                break;
            }
        }
    }
    a.stop();
    b.stop();
    EXPECT_TRUE(a.finite() && b.finite());
    EXPECT_GT(a.blocks(), 100);
    EXPECT_GT(b.blocks(), 100);
}

TEST(ThreadSharing, TheEditorWindowOpensDrawsAndClosesWhileTheAudioThreadRenders) {
    // Through the loaded library, in a real X window (Xvfb under the suite).
    x11_testing::HostWindow window;
    if (!x11_testing::needDisplay(window)) GTEST_SKIP() << "no X display";
    auto host = testing_support::loadPlugin();
    std::atomic<bool> stop{false};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        session::Player player(*host, 9, 44100.0);
        player.midi.allowProgramChanges(false);
        for (int step = 0; !stop; ++step) {
            session::Automation writes;
            session::select(session::modesAt(step), writes);
            player.automate(writes);
            for (int n = 0; n < 30 && !stop; ++n, ++blocks) player.play(256, 2, false);
        }
    });
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(raceSeconds());
    int opened = 0;
    // At least three times, however slow the build (ThreadSanitizer).
    while (opened < 3 || std::chrono::steady_clock::now() < end) {
        ASSERT_EQ(host->dispatch(effEditOpen, 0, 0, window.parent()), 1);
        ++opened;
        for (int i = 0; i < 10; ++i) {
            window.sync();
            host->dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(window.childCount(), 1u);
        host->dispatch(effEditClose);
        window.sync();
    }
    stop = true;
    audio.join();
    EXPECT_GT(blocks, 100);
    EXPECT_EQ(window.childCount(), 0u);
}
