// brennix-render: a small VST 2.4 host that loads a plug-in as a DAW does, plays
// MIDI through it and writes the result to a WAV file, and if asked a
// spectrogram picture of it; or plays every program of the plug-in in turn.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "AllPrograms.h"
#include "Info.h"
#include "InputSignal.h"
#include "MidiFile.h"
#include "Options.h"
#include "Phrase.h"
#include "RenderOutput.h"
#include "Renderer.h"
#include "Sequencer.h"
#include "vsthost/PluginHost.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadCommandLine = 2;

int badCommandLine(const std::string& message) {
    std::fprintf(stderr, "brennix-render: %s\ntry 'brennix-render --help'\n", message.c_str());
    return kBadCommandLine;
}

int failed(const std::string& message) {
    std::fprintf(stderr, "brennix-render: %s\n", message.c_str());
    return kFailed;
}

// Checks --program and --set against the plug-in; false after a message.
bool checkRanges(vsthost::PluginHost& host, const render::Options& o) {
    AEffect* e = host.effect();
    if (o.program && *o.program >= e->numPrograms) {
        badCommandLine("--program " + std::to_string(*o.program) + ": the plug-in has " +
                       std::to_string(e->numPrograms) + " programs (0 to " + std::to_string(e->numPrograms - 1) +
                       ")");
        return false;
    }
    for (const auto& [index, value] : o.parameters) {
        if (index >= e->numParams) {
            badCommandLine("--set " + std::to_string(index) + ": the plug-in has " +
                           std::to_string(e->numParams) + " parameters (0 to " +
                           std::to_string(e->numParams - 1) + ")");
            return false;
        }
    }
    return true;
}

class ProgressLine {
public:
    explicit ProgressLine(bool show) : show_(show) {}
    void update(double fraction) {
        int percent = static_cast<int>(fraction * 100.0);
        if (!show_ || percent == shown_) return;
        shown_ = percent;
        std::fprintf(stderr, "\rrendering: %3d%%", percent);
        std::fflush(stderr);
    }
    void finish() {
        if (show_ && shown_ >= 0) std::fputc('\n', stderr);
    }

private:
    bool show_;
    int shown_ = -1;
};

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "5 Drawbar Organ"; a plug-in that lists no names may still name its current program.
std::string programLabel(vsthost::PluginHost& host, int program) {
    std::string name = host.programNameIndexed(program);
    if (name.empty() && host.dispatch(effGetProgram) == program) name = host.programName();
    return std::to_string(program) + (name.empty() ? "" : " " + name);
}

// The song's program changes, and the program chosen with --program, as marks
// on the picture's time axis.
std::vector<render::TimeMark> programMarks(vsthost::PluginHost& host, const render::MidiSong& song,
                                           const render::Sequencer& sequencer, const render::Options& o) {
    std::vector<render::TimeMark> marks;
    if (o.program) marks.push_back({0.0, programLabel(host, *o.program)});
    for (const render::MidiEvent& e : song.events) {
        if ((e.data[0] & 0xF0) != 0xC0 || e.data[1] >= host.effect()->numPrograms) continue;
        const double seconds = static_cast<double>(sequencer.timeline().sampleAt(e.tick)) / o.sampleRate;
        if (!marks.empty() && marks.back().seconds == seconds) marks.pop_back();  // the later one holds
        marks.push_back({seconds, programLabel(host, e.data[1])});
    }
    return marks;
}

}  // namespace

int main(int argc, char** argv) {
    render::Options o;
    std::string error;
    if (!render::parseOptions(argc, argv, o, error)) return badCommandLine(error);
    if (o.help) {
        std::fputs(render::usageText(), stdout);
        return 0;
    }

    render::MidiSong song;
    if (!o.info) {
        if (!o.midiPath.empty()) {
            if (!render::readMidiFile(o.midiPath, song, error)) return failed(o.midiPath + ": " + error);
            for (const std::string& w : song.warnings)
                std::fprintf(stderr, "brennix-render: %s: warning: %s\n", o.midiPath.c_str(), w.c_str());
        } else {
            song = o.allPrograms ? render::programPhrase(o.tempo) : render::demoPhrase(o.tempo);
        }
    }

    // The input file is read whole before anything is loaded or written.
    render::StereoSignal input;
    const bool speechInput = o.inputPath == render::kSpeechInput;
    if (!o.info && !o.inputPath.empty() && !speechInput &&
        !render::readInputFile(o.inputPath, o.sampleRate, input, error))
        return failed(error);

    vsthost::PluginHost host;
    if (!host.load(o.plugin)) return failed(host.error());
    host.start(static_cast<float>(o.sampleRate), o.blockSize);
    if (!checkRanges(host, o)) return kBadCommandLine;
    std::string pluginName = host.effectName();
    if (pluginName.empty()) pluginName = baseName(o.plugin);
    if (o.allPrograms && !o.info) return render::renderAllPrograms(host, song, o, pluginName, std::move(input));
    if (o.program)
        render::selectProgram(host, *o.program, o);
    else
        for (const auto& [index, value] : o.parameters) host.setParameter(index, value);
    if (o.info) {
        render::printInfo(host, stdout);
        return 0;
    }

    render::SequencerSettings settings;
    settings.sampleRate = o.sampleRate;
    settings.blockSize = o.blockSize;
    settings.tailSeconds = o.tailSeconds;
    settings.defaultTempo = o.tempo;
    settings.latencyFrames = render::latencyFrames(host);
    render::Sequencer sequencer(song, settings);
    const uint64_t limit = render::WavWriter::maxFrames(o.format);
    if (static_cast<uint64_t>(sequencer.totalFrames()) > limit) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "the render would last %.1f hours; a WAV file holds at most %.1f hours at "
                      "%d Hz in this format",
                      sequencer.totalFrames() / (3600.0 * o.sampleRate),
                      static_cast<double>(limit) / (3600.0 * o.sampleRate), o.sampleRate);
        return failed(text);
    }

    if (speechInput) input = render::speechInput(o.sampleRate, sequencer.totalFrames());
    host.setInputSignal(std::move(input.left), std::move(input.right));

    render::RenderOutput out;
    const auto frames = static_cast<uint64_t>(sequencer.totalFrames() - settings.latencyFrames);
    if (!out.open(o.outPath, o.spectrogramPath, o.sampleRate, o.format, frames,
                  programMarks(host, song, sequencer, o), error))
        return failed(error);
    ProgressLine progress(!o.quiet && isatty(STDERR_FILENO));
    render::RenderResult result;
    bool ok = render::renderSong(host, sequencer, out.wav(), [&](double f) { progress.update(f); }, result, error,
                                 out.tap());
    progress.finish();
    if (!ok) {
        out.abandon();
        return failed(error);
    }
    out.count(result);
    std::string summary;
    const std::string title =
        pluginName + " - " + (o.midiPath.empty() ? "built-in phrase" : baseName(o.midiPath)) +
        (o.program ? ", program " + programLabel(host, *o.program) : "") +
        render::inputTitle(o.inputPath);
    if (!out.finish(title, summary, error)) return failed(error);
    std::fputs(summary.c_str(), stdout);
    return 0;
}
