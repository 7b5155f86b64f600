#include "params/ControllerSetupFile.h"

#include <cstdio>

#include "params/UserTextFile.h"

namespace userfiles {
namespace {
constexpr const char* kKind = "controller setup";
constexpr int kVersion = 1;
}  // namespace

std::string parseControllerSetup(const std::string& text, int32_t bindings[kControllers]) {
    std::vector<TextRecord> records;
    std::string error = readTextRecords(text, kKind, kVersion, records);
    if (!error.empty()) return error;
    int32_t read[kControllers] = {};
    bool seen[kControllers] = {};
    for (const TextRecord& r : records) {
        const std::string where = "line " + std::to_string(r.line) + ": ";
        long controller = 0, parameter = 0;
        if (!parseInteger(r.first, controller) || controller < 0 || controller >= kControllers)
            return where + "'" + r.first + "' is not a controller number 0 .. 127";
        if (!parseInteger(r.second, parameter) || parameter < 0 || parameter >= prm::kCount)
            return where + "'" + r.second + "' is not a parameter index 0 .. 798";
        if (seen[controller])
            return where + "controller " + std::to_string(controller) + " is listed twice";
        seen[controller] = true;
        read[controller] = static_cast<int32_t>(parameter);
    }
    for (int c = 0; c < kControllers; ++c) bindings[c] = read[c];
    return {};
}

std::string formatControllerSetup(const int32_t bindings[kControllers], const ParamValue* values) {
    std::string text = std::string("Brennix ") + kKind + " " + std::to_string(kVersion) + "\n";
    text += "# controller parameter   (controllers not listed are unbound)\n";
    for (int c = 0; c < kControllers; ++c) {
        const int32_t parameter = bindings[c];
        if (parameter <= 0 || parameter >= prm::kCount) continue;
        char name[params::kNameCapacity * 2] = {};
        params::parameterName(parameter, values, name);
        char line[128];
        std::snprintf(line, sizeof line, "%d %d   # %s\n", c, static_cast<int>(parameter), name);
        text += line;
    }
    return text;
}

}  // namespace userfiles
