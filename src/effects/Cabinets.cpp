#include "effects/Cabinets.h"

#include <charconv>

#include "platform/Resources.h"

namespace cabinets {
namespace {

std::string_view nextToken(std::string_view& line) {
    size_t begin = line.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) {
        line = {};
        return {};
    }
    size_t end = line.find_first_of(" \t\r", begin);
    if (end == std::string_view::npos) end = line.size();
    std::string_view token = line.substr(begin, end - begin);
    line.remove_prefix(end);
    return token;
}

}  // namespace

Table parse(std::string_view text) {
    Table t;
    int current = -1;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        const std::string_view keyword = nextToken(line);
        if (keyword == "cabinet") {
            const std::string_view n = nextToken(line);
            int number = -1;
            std::from_chars(n.data(), n.data() + n.size(), number);
            current = number >= 1 && number < kCount ? number : -1;
        } else if (keyword == "taps" && current > 0) {
            float row[kTaps];
            int k = 0;
            for (; k < kTaps; ++k) {
                const std::string_view v = nextToken(line);
                if (v.empty() || std::from_chars(v.data(), v.data() + v.size(), row[k]).ec != std::errc{}) break;
            }
            if (k == kTaps) {
                for (int i = 0; i < kTaps; ++i) t.taps[current][i] = row[i];
                ++t.loaded;
            }
            current = -1;
        }
    }
    return t;
}

const Table& table() {
    static const Table loaded = [] {
        const platform::Resource data = platform::findResource("CABINETS", 1);
        if (!data) return Table{};
        return parse(std::string_view(reinterpret_cast<const char*>(data.data), data.size));
    }();
    return loaded;
}

}  // namespace cabinets
