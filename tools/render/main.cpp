// brennix-render: a small VST 2.4 host that loads a plug-in as a DAW does, plays
// MIDI through it and writes the result to a WAV file.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "Info.h"
#include "MidiFile.h"
#include "Options.h"
#include "Phrase.h"
#include "Renderer.h"
#include "Sequencer.h"
#include "WavWriter.h"
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

// Applies --program and --set; false (after a message) if one is out of range.
bool prepareSound(vsthost::PluginHost& host, const render::Options& o) {
    AEffect* e = host.effect();
    if (o.program) {
        if (*o.program >= e->numPrograms) {
            badCommandLine("--program " + std::to_string(*o.program) + ": the plug-in has " +
                           std::to_string(e->numPrograms) + " programs (0 to " +
                           std::to_string(e->numPrograms - 1) + ")");
            return false;
        }
        host.dispatch(effBeginSetProgram);
        host.dispatch(effSetProgram, 0, *o.program);
        host.dispatch(effEndSetProgram);
    }
    for (const auto& [index, value] : o.parameters) {
        if (index >= e->numParams) {
            badCommandLine("--set " + std::to_string(index) + ": the plug-in has " +
                           std::to_string(e->numParams) + " parameters (0 to " +
                           std::to_string(e->numParams - 1) + ")");
            return false;
        }
        host.setParameter(index, value);
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
        if (o.midiPath.empty()) {
            song = render::demoPhrase(o.tempo);
        } else {
            if (!render::readMidiFile(o.midiPath, song, error)) return failed(o.midiPath + ": " + error);
            for (const std::string& w : song.warnings)
                std::fprintf(stderr, "brennix-render: %s: warning: %s\n", o.midiPath.c_str(), w.c_str());
        }
    }

    vsthost::PluginHost host;
    if (!host.load(o.plugin)) return failed(host.error());
    host.start(static_cast<float>(o.sampleRate), o.blockSize);
    if (!prepareSound(host, o)) return kBadCommandLine;
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

    render::WavWriter wav;
    if (!wav.open(o.outPath, o.sampleRate, o.format)) return failed(wav.error());
    ProgressLine progress(!o.quiet && isatty(STDERR_FILENO));
    render::RenderResult result;
    bool ok = render::renderSong(host, sequencer, wav,
                                 [&](double f) { progress.update(f); }, result, error);
    progress.finish();
    if (ok && !wav.close()) {
        ok = false;
        error = wav.error();
    }
    if (!ok) {
        wav.close();
        std::remove(o.outPath.c_str());
        return failed(error);
    }

    if (result.nonFiniteSamples)
        std::fprintf(stderr,
                     "brennix-render: warning: the plug-in produced %llu invalid samples (NaN or "
                     "infinity), written as silence\n",
                     static_cast<unsigned long long>(result.nonFiniteSamples));
    char peak[32] = "-inf dBFS";
    if (result.peak > 0.0f) std::snprintf(peak, sizeof peak, "%.1f dBFS", 20.0 * std::log10(result.peak));
    const bool clipped = o.format == render::WavFormat::Pcm24 && result.peak > 1.0f;
    std::printf("wrote %s: %.2f s, %d Hz, %s, peak %s%s\n", o.outPath.c_str(),
                static_cast<double>(result.frames) / o.sampleRate, o.sampleRate,
                o.format == render::WavFormat::Float32 ? "32-bit float" : "24-bit PCM", peak,
                clipped ? " (clipped)" : "");
    return 0;
}
