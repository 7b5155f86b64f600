#include "BankPage.h"

#include <cctype>
#include <map>
#include <vector>

#include "host/APlugin.h"

namespace manual {
namespace {
// A program's category is named by the first of these words found in its
// name (whole words, any case); a program whose name has none is "Other".
struct Category {
    const char* title;
    std::vector<const char*> words;
    bool ranges = false;  // consecutive programs listed as one range
};
const std::vector<Category> kCategories = {
    {"Basses", {"bass", "sub"}},
    {"Leads", {"lead", "solo"}},
    {"Pads", {"pad", "choir", "atmosphere"}},
    {"Strings and ensembles", {"string", "strings", "ensemble"}},
    {"Brass", {"brass", "horn", "horns"}},
    {"Organs", {"organ", "drawbar"}},
    {"Keys and bells", {"bell", "bells", "piano", "keys", "ep"}},
    {"Plucks", {"pluck", "plucked", "harp"}},
    {"Drums and percussion", {"snare", "kick", "drum", "drums", "hat", "perc", "tom"}},
    {"Sequences and arpeggios", {"seq", "arp", "sequence"}},
    {"Effects", {"fx", "noise", "sweep"}},
    {"Init programs (the default sound, to start from)", {"init"}, true},
};
const char* kOther = "Other";

std::vector<std::string> wordsOf(const std::string& name) {
    std::vector<std::string> words;
    std::string w;
    for (char c : name + " ") {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            w += char(std::tolower(static_cast<unsigned char>(c)));
        } else if (!w.empty()) {
            words.push_back(w);
            w.clear();
        }
    }
    return words;
}

std::string categoryOf(const std::string& name) {
    const std::vector<std::string> words = wordsOf(name);
    for (const Category& c : kCategories)
        for (const char* k : c.words)
            for (const std::string& w : words)
                if (w == k) return c.title;
    return kOther;
}

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}
}  // namespace

std::string bankPage(APlugin& plugin) {
    std::map<std::string, std::vector<int>> byCategory;
    std::vector<std::string> names(APlugin::kNumPrograms);
    for (int p = 0; p < APlugin::kNumPrograms; ++p) {
        char name[kVstMaxProgNameLen + 1] = {};
        plugin.getProgramNameIndexed(0, p, name);
        names[p] = name;
        byCategory[categoryOf(name)].push_back(p);
    }
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Brennix manual: the factory bank</title>\n"
        "<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n"
        "<!-- Written by tools/manualgen from the factory bank; do not edit. -->\n"
        "<nav><a href=\"KVMN_00_NDX.html\">Contents</a></nav>\n"
        "<h1>The factory bank \"Introducing Brennix\"</h1>\n"
        "<p>The bank holds " +
        std::to_string(APlugin::kNumPrograms) +
        " programs. Here they are by kind of sound, with the number under which the preset menu lists "
        "them (\"Preset 1-32\" and so on). Your changes to a program stay in it, and the host keeps "
        "them with your project; to keep a whole bank of your own, see "
        "<a href=\"KVMN_07_PRESETS.html\">Presets and files</a>.</p>\n";
    std::vector<Category> order = kCategories;
    order.push_back({kOther, {}});
    for (const Category& category : order) {
        const std::string title = category.title;
        auto it = byCategory.find(title);
        if (it == byCategory.end()) continue;
        const std::vector<int>& programs = it->second;
        html += "<h2>" + escape(title) + "</h2>\n<table class=\"bank\">\n";
        // Runs of consecutive programs are shown as one range.
        for (size_t i = 0; i < programs.size();) {
            size_t j = i;
            while (j + 1 < programs.size() && programs[j + 1] == programs[j] + 1 && category.ranges)
                ++j;
            if (j > i + 1) {
                html += "<tr><td>" + std::to_string(programs[i] + 1) + " &ndash; " + std::to_string(programs[j] + 1) +
                        "</td><td>" + escape(names[programs[i]]) + " &hellip; " + escape(names[programs[j]]) +
                        "</td></tr>\n";
            } else {
                for (size_t k = i; k <= j; ++k)
                    html += "<tr><td>" + std::to_string(programs[k] + 1) + "</td><td>" + escape(names[programs[k]]) +
                            "</td></tr>\n";
            }
            i = j + 1;
        }
        html += "</table>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace manual
