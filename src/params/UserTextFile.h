// The common shape of the small text files the user saves (controller setups,
// arpeggiator patterns): a header line "Brennix <kind> <version>", then lines
// of two fields; '#' starts a comment, blank lines are ignored.
#pragma once

#include <string>
#include <vector>

namespace userfiles {

struct TextRecord {
    int line;           // 1-based, for messages
    std::string first;  // the two fields of the line
    std::string second;
};

// Empty on success; otherwise why the text is refused. A version newer than
// `version` is refused, older ones are read.
std::string readTextRecords(const std::string& text, const std::string& kind, int version,
                            std::vector<TextRecord>& records);

// Whole-string conversions; false unless all of `text` is the number.
bool parseInteger(const std::string& text, long& value);
bool parseFloat(const std::string& text, float& value);

}  // namespace userfiles
