#include "params/UserTextFile.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace userfiles {

bool parseInteger(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && *end == 0;
}

bool parseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtof(text.c_str(), &end);
    return *end == 0 && errno != EINVAL;
}

std::string readTextRecords(const std::string& text, const std::string& kind, int version,
                            std::vector<TextRecord>& records) {
    records.clear();
    if (text.find('\0') != std::string::npos) return "it is not a text file";
    std::istringstream in(text);
    std::string line;
    const std::string header = "Brennix " + kind + " ";
    if (!std::getline(in, line) || line.compare(0, header.size(), header) != 0)
        return "it is not a Brennix " + kind + " file";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    long fileVersion = 0;
    if (!parseInteger(line.substr(header.size()), fileVersion) || fileVersion < 1)
        return "its header line is damaged";
    if (fileVersion > version)
        return "it was written by a newer Brennix (format version " + std::to_string(fileVersion) +
               ")";
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream fields(line);
        TextRecord record{number, {}, {}};
        std::string extra;
        if (!(fields >> record.first)) continue;  // blank or comment
        if (!(fields >> record.second) || (fields >> extra))
            return "line " + std::to_string(number) + " does not hold two fields";
        records.push_back(std::move(record));
    }
    return {};
}

}  // namespace userfiles
