#include "params/SamplePath.h"

#include <cctype>

namespace samples {
namespace {

// Stored characters are read back as printable 7-bit codes; `last` is 126 for
// the path and 127 for the caption.
std::string decodeText(const SamplePathFields& fields, int count, int last) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const int code = int(fields.text[i] * 256.0f);
        if (code >= 32 && code <= last) text += char(code);
    }
    return text;
}

size_t lastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

}  // namespace

SamplePathFields SamplePathFields::read(const ParamValue* values) {
    SamplePathFields fields;
    fields.pathKind = values[prm::SamplePathKind];
    fields.fileKind = values[prm::SampleFileKind];
    for (int i = 0; i < kPathCharacters; ++i) fields.text[i] = values[prm::SamplePathFirst + i];
    return fields;
}

std::string rebuildSamplePath(const SamplePathFields& fields, const std::string& baseDirectory) {
    std::string text = decodeText(fields, kRebuildCharacters, 126);
    if (text.empty()) return text;
    text += fields.isWav() ? ".wav" : fields.fileKind < 0.6f ? ".aif" : ".aiff";
    return fields.pathKind < 0.5f ? baseDirectory + text : text;
}

std::string sampleCaption(const SamplePathFields& fields) {
    std::string text = decodeText(fields, kPathCharacters, 127);
    if (text.empty()) return "No sample loaded";
    if (fields.pathKind > 0.5f) {
        const size_t slash = lastSeparator(text);
        text = (slash == std::string::npos ? text : text.substr(slash + 1)) + " * ";
    }
    return "Sample: " + text;
}

SampleChoice encodeSampleChoice(const std::string& path, const std::string& baseDirectory) {
    const size_t slash = lastSeparator(path);
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // The extension is looked for in the file name only: a dot in a folder's
    // name would otherwise cut the path short.
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = path.size();

    std::string extension = path.substr(dot);
    for (char& c : extension) c = char(std::toupper(static_cast<unsigned char>(c)));
    SampleChoice choice;
    choice.knownExtension = true;
    if (extension == ".WAV")
        choice.fileKind = 0.0f;
    else if (extension == ".AIF")
        choice.fileKind = 0.5f;
    else if (extension == ".AIFF")
        choice.fileKind = 0.75f;
    else
        choice.knownExtension = false;

    const std::string directory = path.substr(0, nameStart);
    const std::string baseName = path.substr(nameStart, dot - nameStart);
    // Linux file names are case-sensitive, so the sample directory must match exactly.
    if (directory.size() < baseDirectory.size() ||
        directory.compare(0, baseDirectory.size(), baseDirectory) != 0) {
        choice.pathKind = 1.0f;
        choice.storedText = path.substr(0, dot);
    } else {
        choice.pathKind = 0.0f;
        choice.storedText = directory.substr(baseDirectory.size()) + baseName;
    }
    return choice;
}

int encodeStoredText(const std::string& text, float (&out)[kPathCharacters]) {
    int count = 0;
    for (unsigned char c : text) {
        if (count == kPathCharacters) break;
        if (c < 32 || c > 127) continue;
        out[count++] = encodeCharacter(c);
    }
    return count;
}

}  // namespace samples
