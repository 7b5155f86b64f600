#include "ProgramFiles.h"

#include <cstdio>

namespace render {

std::string safeNamePart(const std::string& name) {
    constexpr size_t kMaxLength = 40;
    std::string out;
    bool gap = false;
    for (unsigned char c : name) {
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
                          c == '_';
        if (!keep) {
            gap = true;
            continue;
        }
        if (gap && !out.empty()) out += '-';
        gap = false;
        out += static_cast<char>(c);
    }
    if (out.size() > kMaxLength) {
        out.resize(kMaxLength);
        while (!out.empty() && out.back() == '-') out.pop_back();
    }
    return out;
}

std::string programFileName(const std::string& path, int program, int count, const std::string& name) {
    int digits = 1;
    for (int n = count - 1; n >= 10; n /= 10) ++digits;
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, program);
    // The extension is the last dot's, if it lies in the file name itself.
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot) : "";
    const std::string part = safeNamePart(name);
    return stem + "-" + number + (part.empty() ? "" : "-" + part) + extension;
}

}  // namespace render
