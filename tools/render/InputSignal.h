// What brennix-render plays into a plug-in's two audio inputs: a sound file
// (--input FILE) or the built-in speech-like phrase (--input speech), for
// instruments that process their input, such as a vocoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render {

struct StereoSignal {
    std::vector<float> left, right;
};

// Reads any file libsndfile knows (WAV, AIFF, FLAC, ...) for playing at
// `sampleRate`: a mono file feeds both channels, a file with more than two
// channels its first two, and a file at another rate is resampled by linear
// interpolation. False with `error` set ("cannot read FILE: why").
bool readInputFile(const std::string& path, int sampleRate, StereoSignal& signal, std::string& error);

// The speech-like phrase, the same on both channels, `frames` long.
StereoSignal speechInput(int sampleRate, int64_t frames);

// Shown where a program is given the speech-like phrase.
inline constexpr const char* kSpeechLabel = "speech-like phrase";

// For a render's title: ", input speech.wav" (the file's name), ", input
// speech-like phrase", or nothing without --input.
std::string inputTitle(const std::string& inputPath);

}  // namespace render
