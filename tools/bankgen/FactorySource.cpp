#include "FactorySource.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>

#include "params/ParameterTable.h"
#include "params/ProgramRecord.h"

namespace bankgen {
namespace {

// Steps over 0..1 when looking for the values that show a display text.
constexpr int kSearchSteps = 1 << 15;

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

struct Program {
    ParamValue values[prm::kCount];
    char name[params::kMaxProgramName + 1] = {};

    void reset(const char* newName) {
        for (int i = 0; i < prm::kCount; ++i) values[i] = params::defaultValue(i);
        params::applyNameRule(newName, name);
    }
    std::string display(int index, float value) {
        const float saved = values[index];
        values[index] = value;
        char text[params::kDisplayCapacity * 2] = {};
        params::parameterDisplay(index, values, text);
        values[index] = saved;
        return trim(text);
    }
};

// Host-visible names (without trailing blanks) to indexes; names that several
// parameters share (the effect knobs of slots whose type is "None") map to -1.
std::map<std::string, int> nameTable() {
    static ParamValue defaults[prm::kCount];
    for (int i = 0; i < prm::kCount; ++i) defaults[i] = params::defaultValue(i);
    std::map<std::string, int> table;
    for (int i = 0; i < prm::kCount; ++i) {
        char text[params::kNameCapacity * 2] = {};
        params::parameterName(i, defaults, text);
        std::string name = trim(text);
        if (name.empty() || name.find_first_not_of('-') == std::string::npos) continue;
        auto [it, inserted] = table.emplace(name, i);
        if (!inserted) it->second = -1;
    }
    return table;
}

bool parseNumber(const std::string& text, float& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (*end != 0) return false;
    value = static_cast<float>(v);
    return true;
}

}  // namespace

bool readFactorySource(const std::string& text, const std::string& fileName,
                       bankfile::BankImage& bank, std::string& error,
                       std::vector<ProgramNotes>* notes) {
    static const std::map<std::string, int> names = nameTable();
    auto program = std::make_unique<Program>();
    std::vector<ProgramNotes> found;
    int count = 0;
    int lineNumber = 0;
    auto fail = [&](const std::string& reason) {
        error = fileName + ":" + std::to_string(lineNumber) + ": " + reason;
        return false;
    };
    auto store = [&](int slot) {
        bankfile::ProgramImage& image = bank.programs[slot];
        std::snprintf(image.name, sizeof image.name, "%s", program->name);
        for (int i = 0; i < prm::kCount; ++i) image.values[i] = program->values[i];
    };

    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = trim(raw);
        // "#" starts a comment, except before a digit: "#179 = 0.25" sets a
        // parameter by index.
        const bool byIndex = line.size() > 1 && line[0] == '#' && std::isdigit(static_cast<unsigned char>(line[1]));
        if (line.empty() || (line[0] == '#' && !byIndex)) continue;
        if (line.front() == '[') {
            if (line.back() != ']') return fail("a program name is written as [Name]");
            if (count > 0) store(count - 1);
            if (count == bankfile::kMaxPrograms) return fail("more than 128 programs");
            const std::string name = line.substr(1, line.size() - 2);
            char cut[params::kMaxProgramName + 1];
            params::applyNameRule(name.c_str(), cut);
            if (name.empty() || cut != name)
                return fail("program name '" + name +
                            "' is not 1 to 24 printable ASCII characters");
            program->reset(name.c_str());
            found.push_back(ProgramNotes{name, "", 0, false, ""});
            ++count;
            continue;
        }
        if (count == 0) return fail("a parameter line before the first [Program Name]");
        // "field: value" lines describe the program; parameter values may hold a
        // colon ("Mode:16x"), so a field is recognised by the colon coming first.
        const size_t colon = line.find(':');
        if (colon != std::string::npos && colon < line.find('=')) {
            const std::string field = trim(line.substr(0, colon));
            const std::string value = trim(line.substr(colon + 1));
            ProgramNotes& n = found.back();
            if (field == "category") {
                if (!findCategory(value)) {
                    std::string known;
                    for (const Category& c : categories()) known += std::string(known.empty() ? "" : ", ") + c.key;
                    return fail("unknown category '" + value + "' (known: " + known + ")");
                }
                n.category = value;
            } else if (field == "pitch") {
                if (!parsePitch(value, n.pitch))
                    return fail("pitch '" + value + "' is not 'none' or whole octaves in semitones (0, -12, +12 ...)");
                n.pitchGiven = true;
            } else if (field == "shows") {
                if (value.empty()) return fail("'shows:' needs a text");
                n.shows = value;
            } else {
                return fail("unknown field '" + field + "' (known: category, pitch, shows)");
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos) return fail("expected 'Parameter = value'");
        const std::string key = trim(line.substr(0, eq));
        const std::string valueText = trim(line.substr(eq + 1));

        int index = -1;
        if (!key.empty() && key[0] == '#') {
            char* end = nullptr;
            const long n = std::strtol(key.c_str() + 1, &end, 10);
            if (*end != 0 || key.size() < 2 || n < 0 || n >= prm::kCount)
                return fail("'" + key + "' is not a parameter index #0 .. #798");
            index = static_cast<int>(n);
        } else {
            auto it = names.find(key);
            if (it == names.end()) return fail("unknown parameter '" + key + "'");
            if (it->second < 0) return fail("'" + key + "' names several parameters; use #index");
            index = it->second;
        }

        float value = 0.0f;
        if (parseNumber(valueText, value)) {
            if (!(value >= 0.0f && value <= 1.0f))
                return fail("value " + valueText + " is outside 0 .. 1");
        } else {
            // The middle of the first run of values that show this text.
            int first = -1, last = -1;
            for (int k = 0; k <= kSearchSteps; ++k) {
                const bool match = program->display(index, float(k) / kSearchSteps) == valueText;
                if (match && first < 0) first = k;
                if (match) last = k;
                if (!match && first >= 0) break;
            }
            if (first < 0)
                return fail("parameter " + std::to_string(index) + " never shows '" + valueText + "'");
            value = float(first + last) / 2.0f / kSearchSteps;
        }
        if (params::isSwitch(index)) value = value < 0.5f ? 0.0f : 1.0f;
        program->values[index] = value;
    }
    if (count > 0) store(count - 1);
    for (int slot = count; slot < bankfile::kMaxPrograms; ++slot) {
        const std::string name = "Init " + std::to_string(slot + 1);
        program->reset(name.c_str());
        store(slot);
        found.push_back(ProgramNotes{name, "", 0, false, ""});
    }
    bank.count = bankfile::kMaxPrograms;
    // A category decides whether a program is pitched unless "pitch:" says.
    for (ProgramNotes& n : found) {
        const Category* c = findCategory(n.category);
        if (!n.pitchGiven && c && !c->pitched) n.pitch.reset();
    }
    if (notes) *notes = std::move(found);
    return true;
}

}  // namespace bankgen
