// How a program carries its sample's path: hidden parameters 326 (path kind),
// 327 (file kind) and 330..585 (the path without its extension, one character
// per parameter as (code + 0.5) / 256).
#pragma once

#include <string>

#include "params/ParameterTable.h"

namespace samples {

constexpr int kPathCharacters = prm::SamplePathLast - prm::SamplePathFirst + 1;  // 256
// The path rebuild reads one character less than the caption.
constexpr int kRebuildCharacters = kPathCharacters - 1;

// A copy of the path parameters, taken at one moment (real-time safe).
struct SamplePathFields {
    float pathKind = 0.0f;  // 326: below 0.5 relative to the sample directory
    float fileKind = 0.0f;  // 327: 0 WAV, 0.5 AIF, 0.75 AIFF
    float text[kPathCharacters] = {};

    static SamplePathFields read(const ParamValue* values);
    bool isWav() const { return fileKind < 0.5f; }
};

inline float encodeCharacter(unsigned char code) { return (float(code) + 0.5f) / 256.0f; }

// The file the fields name: the sample directory (ending in '/') and the text
// for a relative path, the text alone for an absolute one, with ".wav", ".aif"
// or ".aiff". Empty when the text holds no character (no sample).
std::string rebuildSamplePath(const SamplePathFields& fields, const std::string& baseDirectory);

// The editor's caption: "Sample: " and the stored text (an absolute path shows
// only its file name followed by " * "), or "No sample loaded".
std::string sampleCaption(const SamplePathFields& fields);

// What choosing `path` stores.
struct SampleChoice {
    std::string storedText;  // before the character filter of encodeStoredText
    float pathKind = 0.0f;
    bool knownExtension = false;  // otherwise 327 keeps its value
    float fileKind = 0.0f;
};
SampleChoice encodeSampleChoice(const std::string& path, const std::string& baseDirectory);

// The characters of `text` as parameter values: codes below 32 and above 127
// are skipped, at most kPathCharacters are kept. Returns the count written.
int encodeStoredText(const std::string& text, float (&out)[kPathCharacters]);

}  // namespace samples
