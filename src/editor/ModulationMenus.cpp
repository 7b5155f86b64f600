#include "editor/ModulationMenus.h"

#include <algorithm>
#include <cmath>

#include "params/Enumerations.h"
#include "widgets/COptionMenu.h"

namespace editor {
namespace {
using params::lists::kModDestination;
using params::lists::kModSource;

constexpr int kNote = 29, kOffset = 30, kFirstAfterPitchbend = 7, kLastBeforeNote = 28;
constexpr int kSkippedFm1 = 12;
// Destination sub-menus by size, filled in list order from "Main Pitch" on.
constexpr struct {
    const char* title;
    int size;
} kInOrder[] = {{"Global >>", 4}, {"Osc 1 >>", 7}, {"Osc 2 >>", 8},
                {"Osc 3 >>", 8},  {"Filter >>", 7}, {"Amp >>", 3}};
constexpr const char* kFreeModulation[] = {"Env 1 Spd", "Env 2 Spd", "Env 1 Amt", "Env 2 Amt",
                                           "LFO1 Spd",  "LFO2 Spd",  "LFO1 Amt",  "LFO2 Amt"};
}  // namespace

const std::vector<const char*>& ModulationMenus::sourceMenuOrder() {
    static const std::vector<const char*> order = [] {
        std::vector<const char*> o(kModSource, kModSource + kFirstAfterPitchbend);
        o.push_back(kModSource[kNote]);
        for (int i = kFirstAfterPitchbend; i <= kLastBeforeNote; ++i) o.push_back(kModSource[i]);
        o.push_back(kModSource[kOffset]);
        return o;
    }();
    return order;
}

const std::vector<ModulationMenus::SubMenu>& ModulationMenus::destinationSubMenus() {
    static const std::vector<SubMenu> menus = [] {
        std::vector<SubMenu> m;
        int next = 1;  // "Main Pitch"
        for (const auto& group : kInOrder) {
            SubMenu sub{group.title, {}};
            for (int i = 0; i < group.size; ++i, ++next) {
                if (next == kSkippedFm1) ++next;
                sub.entries.push_back(kModDestination[next]);
            }
            m.push_back(std::move(sub));
        }
        m.push_back({"Free Env/LFO >>", {std::begin(kFreeModulation), std::end(kFreeModulation)}});
        return m;
    }();
    return menus;
}

std::vector<std::string> ModulationMenus::fxDestinations(const int types[3]) {
    std::vector<std::string> entries{"None"};
    for (int slot = 0; slot < params::kFxSlots; ++slot) {
        std::string n = std::to_string(slot + 1);
        entries.push_back("FX " + n + " Mix");
        entries.push_back("FX " + n + " Pan");
        for (int k = 0; k < params::kFxKnobs; ++k)
            entries.push_back(n + " " + params::fxKnobName(types[slot], k));
    }
    return entries;
}

int ModulationMenus::sourcePosition(const std::string& text) {
    for (int i = 0; i < int(std::size(kModSource)); ++i)
        if (text == kModSource[i]) return i;
    return -1;
}

int ModulationMenus::destinationPosition(const std::string& text) {
    for (int i = int(std::size(kModDestination)) - 1; i >= 0; --i)
        if (text == kModDestination[i]) return i;
    return -1;
}

int ModulationMenus::positionOf(float value) {
    if (!(value >= 0.0f)) value = 0.0f;
    return int(std::min(value, 1.0f) * kFactor);
}

void ModulationMenus::fillSourceMenu(VSTGUI::COptionMenu* menu) {
    for (const char* name : sourceMenuOrder()) menu->addEntry(name);
}

void ModulationMenus::fillFxDestinationMenu(VSTGUI::COptionMenu* menu,
                                            const std::vector<std::string>& entries) {
    long current = menu->getCurrent();
    menu->removeAllEntry();
    for (const std::string& e : entries) menu->addEntry(e.c_str());
    menu->setCurrent(std::clamp(current, 0L, long(entries.size()) - 1));
    menu->setDirty();
}

}  // namespace editor
