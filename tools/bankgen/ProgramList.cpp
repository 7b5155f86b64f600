#include "ProgramList.h"

#include "BankCoverage.h"

namespace bankgen {
namespace {

std::string cell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

// "0, 3, 5-9": runs of three or more as ranges.
std::string programNumbers(const std::vector<int>& programs) {
    if (programs.empty()) return "**none yet**";
    std::string s;
    for (size_t i = 0; i < programs.size();) {
        size_t j = i;
        while (j + 1 < programs.size() && programs[j + 1] == programs[j] + 1) ++j;
        if (!s.empty()) s += ", ";
        if (j >= i + 2) {
            s += std::to_string(programs[i]) + "-" + std::to_string(programs[j]);
            i = j + 1;
        } else {
            s += std::to_string(programs[i]);
            ++i;
        }
    }
    return s;
}

}  // namespace

std::string programList(const std::vector<ProgramNotes>& notes, const bankfile::BankImage& bank) {
    std::string md =
        "# The factory bank\n\n"
        "<!-- Written by brennix-bankgen --list from resources/bank/factory.txt; do not edit. -->\n\n"
        "The programs of the factory bank, numbered as hosts, MIDI program change and\n"
        "`brennix-render --program` count them (the editor's preset menu counts from 1).\n\n"
        "| No. | Name | Category | Shows |\n"
        "|---:|---|---|---|\n";
    for (size_t p = 0; p < notes.size(); ++p) {
        const Category* c = findCategory(notes[p].category);
        md += "| " + std::to_string(p) + " | " + cell(notes[p].name) + " | " + (c ? c->title : "") + " | " +
              cell(notes[p].shows) + " |\n";
    }

    std::vector<std::vector<float>> values;
    for (int p = 0; p < bank.count; ++p)
        values.emplace_back(bank.programs[p].values, bank.programs[p].values + bankfile::kParams);
    const std::vector<std::vector<int>> byItem = coverage(values);
    const std::vector<CoverageItem>& items = coverageItems();
    md +=
        "\n## Which programs show what\n\n"
        "Read from the programs' parameter values: a part counts where it acts on the\n"
        "sound (an oscillator that is on and heard, a filter LFO with a speed and an\n"
        "amount, a modulation slot with a source, a destination and an amount, an\n"
        "effect slot that is not dry). The bank checks require every line.\n";
    std::string group;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].group != group) {
            group = items[i].group;
            md += "\n### " + group + "\n\n| Part | Programs |\n|---|---|\n";
        }
        md += "| " + cell(items[i].name) + " | " + programNumbers(byItem[i]) + " |\n";
    }
    return md;
}

}  // namespace bankgen
