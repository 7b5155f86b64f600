#include "AllPrograms.h"

#include <cstdio>
#include <vector>

#include "ProgramFiles.h"
#include "RenderOutput.h"
#include "Renderer.h"
#include "Sequencer.h"

namespace render {
namespace {

int failed(const std::string& message) {
    std::fprintf(stderr, "brennix-render: %s\n", message.c_str());
    return 1;
}

std::string label(int program, const std::string& name) {
    return std::to_string(program) + (name.empty() ? "" : " " + name);
}

}  // namespace

void selectProgram(vsthost::PluginHost& host, int program, const Options& o) {
    host.dispatch(effBeginSetProgram);
    host.dispatch(effSetProgram, 0, program);
    host.dispatch(effEndSetProgram);
    for (const auto& [index, value] : o.parameters) host.setParameter(index, value);
}

int renderAllPrograms(vsthost::PluginHost& host, const MidiSong& phrase, const Options& o,
                      const std::string& pluginName) {
    const int count = host.effect()->numPrograms;
    if (count <= 0) return failed("the plug-in has no programs");

    SequencerSettings settings;
    settings.sampleRate = o.sampleRate;
    settings.blockSize = o.blockSize;
    settings.tailSeconds = o.tailSeconds;
    settings.defaultTempo = o.tempo;
    settings.latencyFrames = latencyFrames(host);
    // Every program gets the same stretch of the file: the phrase, its tail.
    const auto each = static_cast<uint64_t>(Sequencer(phrase, settings).totalFrames() - settings.latencyFrames);
    const uint64_t whole = o.split ? each : each * static_cast<uint64_t>(count);
    if (whole > WavWriter::maxFrames(o.format)) return failed("the render would be longer than a WAV file holds");

    // Names as hosts list them; a plug-in that names only its current program
    // is asked program by program.
    std::vector<std::string> names(static_cast<size_t>(count));
    for (int p = 0; p < count; ++p) {
        std::string& name = names[static_cast<size_t>(p)];
        name = host.programNameIndexed(p);
        if (name.empty()) {
            host.dispatch(effSetProgram, 0, p);
            name = host.programName();
        }
    }

    RenderOutput shared;
    std::string error, summary;
    if (!o.split) {
        std::vector<TimeMark> marks;
        for (int p = 0; p < count; ++p)
            marks.push_back({static_cast<double>(each * static_cast<uint64_t>(p)) / o.sampleRate,
                             label(p, names[static_cast<size_t>(p)])});
        if (!shared.open(o.outPath, o.spectrogramPath, o.sampleRate, o.format, whole, marks, error))
            return failed(error);
    }

    const int width = static_cast<int>(std::to_string(count - 1).size());
    for (int p = 0; p < count; ++p) {
        const std::string& name = names[static_cast<size_t>(p)];
        RenderOutput single;
        RenderOutput& out = o.split ? single : shared;
        std::string wavPath;
        if (o.split) {
            wavPath = programFileName(o.outPath, p, count, name);
            const std::string picture =
                o.spectrogramPath.empty() ? "" : programFileName(o.spectrogramPath, p, count, name);
            if (!single.open(wavPath, picture, o.sampleRate, o.format, each, {{0.0, label(p, name)}}, error))
                return failed(error);
        }
        if (!o.quiet) {
            // The list is the progress report: number, name and, in one file, where it starts.
            if (o.split) {
                std::printf("%*d  %s\n", width, p, name.c_str());
            } else {
                const double start = static_cast<double>(each * static_cast<uint64_t>(p)) / o.sampleRate;
                const int minutes = static_cast<int>(start) / 60;
                std::printf("%*d  %-24s %d:%05.2f\n", width, p, name.c_str(), minutes, start - 60.0 * minutes);
            }
            std::fflush(stdout);
        }

        selectProgram(host, p, o);
        Sequencer sequencer(phrase, settings);
        RenderResult result;
        if (!renderSong(host, sequencer, out.wav(), {}, result, error, out.tap())) {
            out.abandon();
            return failed(error);
        }
        out.count(result);
        if (o.split) {
            if (!single.finish(pluginName + " - program " + label(p, name), summary, error)) return failed(error);
            std::fputs(summary.c_str(), stdout);
        }
    }
    if (!o.split) {
        if (!shared.finish(pluginName + " - all " + std::to_string(count) + " programs", summary, error))
            return failed(error);
        std::fputs(summary.c_str(), stdout);
    }
    return 0;
}

}  // namespace render
