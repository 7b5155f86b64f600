// The brennix-render command line.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "WavWriter.h"

namespace render {

// --input's value for the built-in speech-like phrase (./speech names a file).
inline constexpr const char* kSpeechInput = "speech";

struct Options {
    std::string plugin;
    bool info = false;
    bool help = false;
    bool quiet = false;
    std::string midiPath;  // empty: the built-in phrase
    std::string inputPath;  // audio for the plug-in's inputs: empty for none, kSpeechInput, or a file
    std::optional<int> program;
    std::vector<std::pair<int, float>> parameters;  // --set, in command-line order
    std::string outPath = "brennix-demo.wav";
    bool allPrograms = false;     // a phrase (or the MIDI file) for every program in turn
    bool split = false;           // with allPrograms: one file per program
    std::string spectrogramPath;  // empty: no picture
    int sampleRate = 44100;
    int blockSize = 512;
    WavFormat format = WavFormat::Float32;
    double tailSeconds = 2.0;
    double tempo = 120.0;
};

// False with a message for the user if an option or value is not acceptable.
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);

const char* usageText();

}  // namespace render
