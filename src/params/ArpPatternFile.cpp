#include "params/ArpPatternFile.h"

#include <cmath>
#include <cstdio>

#include "params/UserTextFile.h"

namespace userfiles {
namespace {
constexpr const char* kKind = "arp pattern";
constexpr int kVersion = 1;
}  // namespace

std::string parseArpPattern(const std::string& text, float values[kArpCount]) {
    std::vector<TextRecord> records;
    std::string error = readTextRecords(text, kKind, kVersion, records);
    if (!error.empty()) return error;
    float read[kArpCount] = {};
    bool seen[kArpCount] = {};
    for (const TextRecord& r : records) {
        const std::string where = "line " + std::to_string(r.line) + ": ";
        long index = 0;
        float value = 0.0f;
        if (!parseInteger(r.first, index) || index < kArpFirst || index >= kArpFirst + kArpCount)
            return where + "'" + r.first + "' is not an arpeggiator parameter 210 .. 319";
        if (!parseFloat(r.second, value) || !std::isfinite(value))
            return where + "'" + r.second + "' is not a number";
        const int i = static_cast<int>(index) - kArpFirst;
        if (seen[i]) return where + "parameter " + r.first + " is listed twice";
        seen[i] = true;
        read[i] = value;
    }
    for (int i = 0; i < kArpCount; ++i)
        if (!seen[i]) return "parameter " + std::to_string(kArpFirst + i) + " is missing";
    for (int i = 0; i < kArpCount; ++i) values[i] = read[i];
    return {};
}

std::string formatArpPattern(const float values[kArpCount], const ParamValue* liveValues) {
    std::string text = std::string("Brennix ") + kKind + " " + std::to_string(kVersion) + "\n";
    text += "# parameter value\n";
    for (int i = 0; i < kArpCount; ++i) {
        char line[128];
        const int index = kArpFirst + i;
        int n = std::snprintf(line, sizeof line, "%d %.9g", index, static_cast<double>(values[i]));
        char name[params::kNameCapacity * 2] = {};
        params::parameterName(index, liveValues, name);
        // The step data has no names of its own.
        if (name[0] != '-') std::snprintf(line + n, sizeof line - n, "   # %s", name);
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace userfiles
