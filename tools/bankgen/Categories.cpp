#include "Categories.h"

#include <cctype>
#include <cstdlib>

namespace bankgen {

const std::vector<Category>& categories() {
    static const std::vector<Category> list = {
        {"bass", "Basses", true},
        {"lead", "Leads", true},
        {"pad", "Pads", true},
        {"keys", "Keys and plucks", true},
        {"brass-strings", "Brass and strings", true},
        {"bells", "Bells and mallets", true},
        {"arp", "Arpeggios and sequences", true},
        {"drums", "Drums and percussion", false},
        {"fx", "Sound effects and textures", false},
        {"vocoder", "Vocoder programs", true},
    };
    return list;
}

const Category* findCategory(const std::string& key) {
    for (const Category& c : categories())
        if (key == c.key) return &c;
    return nullptr;
}

bool parsePitch(const std::string& text, std::optional<int>& pitch) {
    if (text == "none") {
        pitch.reset();
        return true;
    }
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    const long semitones = std::strtol(text.c_str(), &end, 10);
    // Whole octaves only: a program tuned to another key is out of tune.
    if (*end != 0 || semitones % 12 != 0 || semitones < -36 || semitones > 36) return false;
    pitch = static_cast<int>(semitones);
    return true;
}

}  // namespace bankgen
