// The kinds of program the factory bank is grouped by, and what the bank
// source says about a program besides its sound (category, pitch, what it shows).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bankgen {

struct Category {
    const char* key;    // as written in the source: "category: bass"
    const char* title;  // as the program list shows it
    bool pitched;       // whether its programs are checked for concert pitch unless they say
};

// In the order the program list shows them.
const std::vector<Category>& categories();
const Category* findCategory(const std::string& key);

struct ProgramNotes {
    std::string name;
    std::string category;  // a category key, or empty when the source gives none
    // Semitones from concert pitch at which note 69 sounds (0: 440 Hz, -12:
    // 220 Hz), or none for a program without a clear pitch. Unless the source
    // says, pitched categories have 0 and the others none.
    std::optional<int> pitch;
    bool pitchGiven = false;
    std::string shows;  // what the program demonstrates, for the program list
};

// Reads the value of a "pitch:" line: "none", or a whole number of octaves in
// semitones from -36 to +36 ("0", "-12", "+12"). False if it is neither.
bool parsePitch(const std::string& text, std::optional<int>& pitch);

}  // namespace bankgen
