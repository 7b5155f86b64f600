#include "engine/HarmonicsParser.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace spectra {
namespace {

class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    // The next whitespace-separated token, or an empty view at the end.
    // A quoted token is returned with its quotes.
    std::string_view next() {
        skipSpaceAndComments();
        size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            size_t close = text_.find_first_of("\"\n", pos_ + 1);
            pos_ = close == std::string_view::npos ? text_.size() : close + (text_[close] == '"');
            return text_.substr(start, pos_ - start);
        }
        while (pos_ < text_.size() && !isSpace(text_[pos_]) && text_[pos_] != '#') ++pos_;
        return text_.substr(start, pos_ - start);
    }

    size_t position() const { return pos_; }
    void seek(size_t position) { pos_ = position; }

    bool atEnd() {
        skipSpaceAndComments();
        return pos_ >= text_.size();
    }

private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    void skipSpaceAndComments() {
        while (pos_ < text_.size()) {
            if (isSpace(text_[pos_])) {
                ++pos_;
            } else if (text_[pos_] == '#') {
                size_t eol = text_.find('\n', pos_);
                pos_ = eol == std::string_view::npos ? text_.size() : eol + 1;
            } else {
                break;
            }
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

bool toFloat(std::string_view token, float& value) {
    const char* end = token.data() + token.size();
    auto result = std::from_chars(token.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool toInt(std::string_view token, int& value) {
    const char* end = token.data() + token.size();
    auto result = std::from_chars(token.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// 64 numbers in 0..1 following the keyword.
bool readValues(Tokens& tokens, std::string_view keyword, float* values) {
    if (tokens.next() != keyword) return false;
    for (int k = 0; k < kHarmonics; ++k) {
        if (!toFloat(tokens.next(), values[k]) || values[k] < 0.0f || values[k] > 1.0f) return false;
    }
    return true;
}

}  // namespace

int parse(std::string_view text, float (*amplitude)[kHarmonics], float (*phase)[kHarmonics], std::string* names) {
    bool seen[kWaveCount] = {};
    int rows = 0;
    Tokens tokens(text);
    while (!tokens.atEnd()) {
        if (tokens.next() != "wave") continue;
        // After a bad record, look for the next one from just past this
        // keyword, so a truncated record does not swallow its successor.
        size_t resume = tokens.position();
        int index = 0;
        float a[kHarmonics], p[kHarmonics];
        bool ok = toInt(tokens.next(), index);
        std::string_view name = ok ? tokens.next() : std::string_view();
        ok = ok && name.size() >= 2 && name.front() == '"' && name.back() == '"';
        ok = ok && readValues(tokens, "amp", a) && readValues(tokens, "phase", p);
        int row = index - kFirstWave;
        if (!ok || row < 0 || row >= kWaveCount || seen[row]) {
            tokens.seek(resume);
            continue;
        }
        seen[row] = true;
        std::memcpy(amplitude[row], a, sizeof a);
        std::memcpy(phase[row], p, sizeof p);
        if (names) names[row] = std::string(name.substr(1, name.size() - 2));
        ++rows;
    }
    return rows;
}

}  // namespace spectra
