#include "AllPrograms.h"

#include <cstdio>
#include <vector>

#include "InputVocoder.h"
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
                      const std::string& pluginName, StereoSignal input) {
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

    // Each program hears the same stretch of input (latency included): the
    // file, or the speech-like phrase, asked for or for a vocoder on the input.
    const int64_t heard = Sequencer(phrase, settings).totalFrames();
    const StereoSignal speech = speechInput(o.sampleRate, heard);
    if (o.inputPath == kSpeechInput) input = speech;
    for (std::vector<float>* channel : {&input.left, &input.right})
        if (channel->size() > static_cast<size_t>(heard)) channel->resize(static_cast<size_t>(heard));

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
        selectProgram(host, p, o);
        const bool speechForVocoder = o.inputPath.empty() && usesInputVocoder(host);
        const StereoSignal& heardInput = speechForVocoder ? speech : input;
        host.setInputSignal(heardInput.left, heardInput.right);
        if (!o.quiet) {
            // The list is the progress report: number, name and, in one file, where it
            // starts; and what a vocoder program is given to listen to.
            const std::string note = speechForVocoder ? std::string("  (input: ") + kSpeechLabel + ")" : "";
            if (o.split) {
                std::printf("%*d  %s%s\n", width, p, name.c_str(), note.c_str());
            } else {
                const double start = static_cast<double>(each * static_cast<uint64_t>(p)) / o.sampleRate;
                const int minutes = static_cast<int>(start) / 60;
                std::printf("%*d  %-24s %d:%05.2f%s\n", width, p, name.c_str(), minutes, start - 60.0 * minutes,
                            note.c_str());
            }
            std::fflush(stdout);
        }

        Sequencer sequencer(phrase, settings);
        RenderResult result;
        if (!renderSong(host, sequencer, out.wav(), {}, result, error, out.tap())) {
            out.abandon();
            return failed(error);
        }
        out.count(result);
        if (o.split) {
            if (!single.finish(pluginName + " - program " + label(p, name) + inputTitle(o.inputPath), summary, error))
                return failed(error);
            std::fputs(summary.c_str(), stdout);
        }
    }
    if (!o.split) {
        if (!shared.finish(pluginName + " - all " + std::to_string(count) + " programs" + inputTitle(o.inputPath),
                           summary, error))
            return failed(error);
        std::fputs(summary.c_str(), stdout);
    }
    return 0;
}

}  // namespace render
