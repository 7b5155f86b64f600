// brennix-peers: plays the same MIDI through Brennix.so and through the Linux
// VST 2 synths a musician would otherwise load (Debian's amsynth and
// ZynAddSubFX), each loaded as a host loads it, and prints every real-time
// factor (seconds of audio per second of the rendering thread's CPU time) and
// the ratios to amsynth's default patch, with the targets. A last pair of cases
// asks what Brennix's open editor costs its audio thread.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Sounds.h"
#include "vsthost/HostUiThread.h"
#include "vsthost/PluginHost.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int kBlock = 512;

// What is played during the measurement.
enum class Pattern { Held16, Sequence, Idle };

const char* patternName(Pattern p) {
    switch (p) {
        case Pattern::Held16: return "16 held notes";
        case Pattern::Sequence: return "fast 16-voice sequence";
        case Pattern::Idle: return "idle (no notes)";
    }
    return "";
}

struct Options {
    std::string brennix = "build/Brennix.so";
    std::string amsynth = "/usr/lib/vst/amsynth_vst.so";
    std::string zyn = "/usr/lib/vst/ZynAddSubFX.so";
    double seconds = 10.0;
    int runs = 3;
    std::string only;  // plays only the cases whose "plug-in/sound/pattern" contains this
};

// The editor cases: a host user-interface thread idles the editor and
// automates knobs while the blocks are rendered at the pace of real time.
enum class Editor { None, Closed, Open };

const char* editorName(Editor e) {
    switch (e) {
        case Editor::None: return "";
        case Editor::Closed: return "editor closed";
        case Editor::Open: return "editor open";
    }
    return "";
}

struct Case {
    std::string plugin;  // "Brennix", "amsynth", "ZynAddSubFX"
    std::string sound;
    Pattern pattern;
    sounds::Sound settings;  // Brennix only
    Editor editor = Editor::None;

    std::string name() const {
        std::string n = plugin + "/" + sound + "/" + patternName(pattern);
        return editor == Editor::None ? n : n + "/" + editorName(editor);
    }
};

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Feeds the pattern block by block: note-ons and note-offs at their frames.
class Player {
public:
    explicit Player(Pattern p) : pattern(p) {}

    void events(int64_t start, std::vector<VstMidiEvent>& out) {
        out.clear();
        if (pattern == Pattern::Held16) {
            if (start == 0)
                for (int i = 0; i < 16; ++i)
                    out.push_back(vsthost::PluginHost::midi(i, 0x90, uint8_t(36 + 3 * i), 100));
            return;
        }
        if (pattern != Pattern::Sequence) return;
        // A note every 1024 frames (a 32nd at 161 BPM), each 15.5 steps long:
        // 16 voices overlap, the oldest releasing as the next starts.
        for (int64_t f = start; f < start + kBlock; ++f) {
            if (f % 1024 != 0) continue;
            const int64_t step = f / 1024;
            const int delta = int(f - start);
            if (step >= 15) {
                // The note begun 15 steps ago ends half a step later: here at
                // the step's start so that the order within the block holds.
                const int key = keyOf(step - 15);
                out.push_back(vsthost::PluginHost::midi(delta, 0x80, uint8_t(key), 0));
            }
            out.push_back(vsthost::PluginHost::midi(delta, 0x90, uint8_t(keyOf(step)), 100));
        }
    }

private:
    static int keyOf(int64_t step) { return 36 + int((step * 7) % 37); }
    Pattern pattern;
};

// Real-time factor of one case: a fresh instance, one second to settle (the
// idle case waits for the silence detectors too), then `seconds` measured.
// The editor cases run a host user-interface thread throughout and hand over
// each block no sooner than its time, as a host's audio thread does: the
// editor then does per second of audio what it does in a session, drawing
// between the blocks (a host's audio callback sleeps between them too).
// `uiLoad` receives the user-interface thread's CPU seconds per second of audio.
double measure(const Options& o, const Case& c, std::string& error, double& uiLoad) {
    const std::string& path =
        c.plugin == "Brennix" ? o.brennix : (c.plugin == "amsynth" ? o.amsynth : o.zyn);
    vsthost::PluginHost host;
    if (!host.load(path)) {
        error = host.error();
        return 0.0;
    }
    host.setRecordCalls(false);
    host.start(kRate, kBlock);
    if (c.plugin == "Brennix") {
        sounds::selectDefaultSound(host);
        for (const auto& [index, value] : c.settings) host.setParameter(index, value);
    }
    std::vector<float> left(kBlock), right(kBlock);
    std::vector<VstMidiEvent> events;
    VstTimeInfo time{};
    time.sampleRate = kRate;
    time.tempo = 120.0;
    time.timeSigNumerator = time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    Player player(c.pattern);
    int64_t frame = 0;
    std::unique_ptr<HostUiThread> ui;
    if (c.editor != Editor::None) {
        ui = std::make_unique<HostUiThread>(host, c.editor == Editor::Open);
        if (!ui->ok()) {
            error = ui->error();
            return 0.0;
        }
    }
    const auto clockStart = std::chrono::steady_clock::now();
    auto block = [&] {
        if (ui)
            std::this_thread::sleep_until(clockStart + std::chrono::duration<double>(double(frame) / kRate));
        player.events(frame, events);
        time.samplePos = double(frame);
        time.ppqPos = double(frame) / (kRate / 2.0);
        host.processBlock(time, events.data(), events.size(), left.data(), right.data(), kBlock);
        frame += kBlock;
    };
    // The silence detectors need 65,536 silent samples before they rest.
    const int64_t settle = int64_t(kRate) + (c.pattern == Pattern::Idle ? 70000 : 0);
    while (frame < settle) block();
    const int64_t blocks = int64_t(o.seconds * kRate / kBlock);
    const double uiBegin = ui ? ui->cpuSeconds() : 0.0;
    const double begin = threadSeconds();
    for (int64_t b = 0; b < blocks; ++b) block();
    const double used = threadSeconds() - begin;
    uiLoad = ui ? (ui->cpuSeconds() - uiBegin) / (double(blocks) * kBlock / kRate) : 0.0;
    return used > 0.0 ? double(blocks) * kBlock / kRate / used : 0.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void usage(FILE* out) {
    std::fprintf(out,
                 "usage: brennix-peers [--brennix PATH] [--amsynth PATH] [--zyn PATH]\n"
                 "                     [--seconds S] [--runs N] [--only TEXT]\n"
                 "Plays 16 held notes, a fast 16-voice sequence and nothing (idle) through\n"
                 "Brennix (default sound, a light and a heavy program) and through amsynth\n"
                 "and ZynAddSubFX (their default patches); prints the median real-time\n"
                 "factor of N runs of S seconds each (default 3 x 10 s) and the ratios to\n"
                 "amsynth. A peer that is not installed is skipped. Then Brennix's default\n"
                 "sound plays 16 held notes in real time while a host thread idles the\n"
                 "editor every 15 ms and automates three knobs, with the editor closed and\n"
                 "open in an X window (skipped without a display); the ratio is the open\n"
                 "editor's cost to the audio thread. --only plays the cases whose\n"
                 "\"plug-in/sound/pattern[/editor open|closed]\" contains TEXT (for profiling).\n");
}

bool exists(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--brennix" && hasValue) o.brennix = argv[++i];
        else if (a == "--amsynth" && hasValue) o.amsynth = argv[++i];
        else if (a == "--zyn" && hasValue) o.zyn = argv[++i];
        else if (a == "--seconds" && hasValue) o.seconds = std::atof(argv[++i]);
        else if (a == "--runs" && hasValue) o.runs = std::atoi(argv[++i]);
        else if (a == "--only" && hasValue) o.only = argv[++i];
        else if (a == "--help") { usage(stdout); return 0; }
        else { usage(stderr); return 2; }
    }
    if (!(o.seconds > 0.0) || o.runs < 1) { usage(stderr); return 2; }
    if (!exists(o.brennix)) {
        std::fprintf(stderr, "cannot find %s\n", o.brennix.c_str());
        return 1;
    }

    const bool haveAmsynth = exists(o.amsynth), haveZyn = exists(o.zyn);
    if (!haveAmsynth)
        std::printf("amsynth is not installed (%s; Debian package amsynth): skipped\n", o.amsynth.c_str());
    if (!haveZyn)
        std::printf("ZynAddSubFX is not installed (%s; Debian package zynaddsubfx-vst): skipped\n",
                    o.zyn.c_str());

    std::vector<Case> cases;
    for (Pattern p : {Pattern::Held16, Pattern::Sequence}) {
        cases.push_back({"Brennix", "default sound", p, sounds::defaultSound()});
        cases.push_back({"Brennix", "light", p, sounds::light()});
        cases.push_back({"Brennix", "heavy", p, sounds::heavy()});
        if (haveAmsynth) cases.push_back({"amsynth", "default patch", p, {}});
        if (haveZyn) cases.push_back({"ZynAddSubFX", "default patch", p, {}});
    }
    cases.push_back({"Brennix", "3 phasers", Pattern::Idle, sounds::restingEffects()});
    cases.push_back({"Brennix", "heavy", Pattern::Idle, sounds::heavy()});
    if (haveAmsynth) cases.push_back({"amsynth", "default patch", Pattern::Idle, {}});
    if (haveZyn) cases.push_back({"ZynAddSubFX", "default patch", Pattern::Idle, {}});
    std::string noDisplay;
    if (HostUiThread::displayAvailable(noDisplay)) {
        for (Editor e : {Editor::Closed, Editor::Open})
            cases.push_back({"Brennix", "default sound", Pattern::Held16, sounds::defaultSound(), e});
    } else {
        std::printf("No X display (%s): the editor-open case is skipped\n", noDisplay.c_str());
    }

    if (!o.only.empty())
        std::erase_if(cases, [&](const Case& c) { return c.name().find(o.only) == std::string::npos; });
    std::vector<std::vector<double>> results(cases.size()), uiLoads(cases.size());
    for (int run = 0; run < o.runs; ++run) {
        std::fprintf(stderr, "run %d of %d\n", run + 1, o.runs);
        for (size_t i = 0; i < cases.size(); ++i) {
            std::string error;
            double uiLoad = 0.0;
            const double rtf = measure(o, cases[i], error, uiLoad);
            if (!error.empty()) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return 1;
            }
            results[i].push_back(rtf);
            uiLoads[i].push_back(uiLoad);
        }
    }

    std::map<Pattern, double> amsynth;
    for (size_t i = 0; i < cases.size(); ++i)
        if (cases[i].plugin == "amsynth") amsynth[cases[i].pattern] = median(results[i]);
    std::map<Editor, double> editor, editorThread;
    for (size_t i = 0; i < cases.size(); ++i) {
        if (cases[i].editor == Editor::None) continue;
        editor[cases[i].editor] = median(results[i]);
        editorThread[cases[i].editor] = median(uiLoads[i]);
    }

    std::printf("\nReal-time factors at 44.1 kHz, blocks of %d, median of %d runs of %.0f s\n"
                "(seconds of audio per second of CPU on the rendering thread):\n\n",
                kBlock, o.runs, o.seconds);
    std::printf("%-24s %-12s %-15s %10s %12s\n", "pattern", "plug-in", "sound", "realtime",
                "x amsynth");
    Pattern last = Pattern::Held16;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        if (c.editor != Editor::None) continue;
        if (i > 0 && c.pattern != last) std::printf("\n");
        last = c.pattern;
        const double rtf = median(results[i]);
        std::printf("%-24s %-12s %-15s %10.1f", patternName(c.pattern), c.plugin.c_str(),
                    c.sound.c_str(), rtf);
        if (amsynth.count(c.pattern)) std::printf(" %11.2fx", rtf / amsynth[c.pattern]);
        std::printf("\n");
    }

    if (!editor.empty()) {
        std::printf("\nBrennix, default sound, 16 held notes rendered in real time while a host\n"
                    "thread calls effEditIdle every %d ms and automates three knobs (the\n"
                    "host thread's CPU in ms per second of audio):\n\n",
                    HostUiThread::kIdleMs);
        std::printf("  %-44s %10s %12s\n", "", "realtime", "host thread");
        for (const auto& [e, rtf] : editor)
            std::printf("  %-44s %10.1f %12.1f\n", editorName(e), rtf, 1000.0 * editorThread[e]);
        if (editor.size() == 2) {
            const double ratio = editor[Editor::Open] / editor[Editor::Closed];
            std::printf("  %-44s %10.3f  (at least 0.95)  %s\n", "open / closed", ratio,
                        ratio >= 0.95 ? "met" : "NOT MET");
        }
    }

    if (amsynth.empty()) {
        std::printf("\nWithout amsynth there are no targets to check.\n");
        return 0;
    }
    auto brennix = [&](const char* sound, Pattern p) {
        for (size_t i = 0; i < cases.size(); ++i)
            if (cases[i].plugin == "Brennix" && cases[i].sound == sound && cases[i].pattern == p)
                return median(results[i]);
        return 0.0;
    };
    std::printf("\nTargets (ratio to amsynth's default patch, same pattern):\n");
    auto target = [&](const char* what, double ratio, double goal) {
        std::printf("  %-44s %6.2fx  (at least %.1fx)  %s\n", what, ratio, goal,
                    ratio >= goal ? "met" : "NOT MET");
    };
    for (Pattern p : {Pattern::Held16, Pattern::Sequence}) {
        const std::string name = patternName(p);
        target(("default sound, " + name).c_str(), brennix("default sound", p) / amsynth[p], 2.0);
        target(("heavy, " + name).c_str(), brennix("heavy", p) / amsynth[p], 0.8);
    }
    // Idle against amsynth playing: an idle amsynth does next to nothing.
    target("idle, 3 phasers resting, vs amsynth's 16 notes",
           brennix("3 phasers", Pattern::Idle) / amsynth[Pattern::Held16], 20.0);
    target("idle heavy program vs amsynth's 16 notes",
           brennix("heavy", Pattern::Idle) / amsynth[Pattern::Held16], 20.0);
    return 0;
}
