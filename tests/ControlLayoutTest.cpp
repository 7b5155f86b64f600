// The control layout against itself, the parameter table and the printed
// artwork: every control on its panel and region, nothing covering anything
// else, every label clear of the controls.
#include <gtest/gtest.h>

#include <set>

#include "ArtworkSupport.h"
#include "editor/EditorImages.h"
#include "params/ParameterTable.h"

namespace {
using artwork_support::Ink;
using artwork_support::inkOf;
using layout::Control;
using layout::Kind;
using layout::Rect;
using layout::Region;

std::string describe(const Control& c) {
    Rect r = c.windowRect();
    return "control " + std::to_string(c.tag) + " (kind " + std::to_string(static_cast<int>(c.kind)) + ") at " +
           std::to_string(r.left) + "," + std::to_string(r.top);
}

std::string describe(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(ControlLayout, KnobSwitchAndButtonTablesNameTheParametersTheyEdit) {
    ParamValue values[prm::kCount] = {};
    int checked = 0;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls) {
            if (!c.text || c.tag >= prm::kCount ||
                (c.kind != Kind::Knob && c.kind != Kind::Switch && c.kind != Kind::PushButton))
                continue;
            char name[params::kNameCapacity];
            params::parameterName(c.tag, values, name);
            EXPECT_STREQ(name, c.text) << t.title << ", tag " << c.tag;
            ++checked;
        }
    EXPECT_EQ(checked, 29 + 17 + 3 + 12 + 10 + 4 + 2 + 2 + 5 + 4 + 2 + 13 + 6);
}

TEST(ControlLayout, EveryControlStaysInsideItsRegionAndTheWindow) {
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls) {
            Ink ink = inkOf(c, c.fxType == layout::kAnyFxType ? 1 : c.fxType);
            Rect region = layout::regionRect(c.region);
            for (int y = ink.box.top; y < ink.box.bottom; ++y)
                for (int x = ink.box.left; x < ink.box.right; ++x)
                    if (ink.at(x, y)) {
                        ASSERT_TRUE(x >= region.left && x < region.right && y >= region.top && y < region.bottom)
                            << describe(c) << " shows outside its region at " << x << "," << y;
                        ASSERT_TRUE(x >= 0 && x < 1000 && y >= 0 && y < 600) << describe(c);
                    }
        }
}

// Two morph menus are meant to share two rows: the second lies over the
// first's lower edge, below its text.
bool meantToOverlap(const Control& a, const Control& b) { return a.kind == Kind::MorphMenu && b.kind == Kind::MorphMenu; }

TEST(ControlLayout, NoControlCoversAnotherInAnyPageOrEffectType) {
    const Region pages[][2] = {{Region::Mod, Region::Preset}, {Region::Arp, Region::Advanced}};
    for (const auto& page : pages)
        for (int type = 0; type < layout::kFxTypes; ++type) {
            std::vector<const Control*> controls = artwork_support::shown(page[0], page[1], type);
            std::vector<Ink> inks;
            for (const Control* c : controls) inks.push_back(inkOf(*c, type));
            for (size_t i = 0; i < controls.size(); ++i)
                for (size_t j = i + 1; j < controls.size(); ++j)
                    if (!meantToOverlap(*controls[i], *controls[j])) {
                        EXPECT_FALSE(inks[i].overlaps(inks[j]))
                            << describe(*controls[i]) << " and " << describe(*controls[j]) << ", effect type " << type;
                    }
        }
}

TEST(ControlLayout, AboutScreenSwitchesSitOverItsCloseButtonApart) {
    std::vector<const Control*> about;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == Region::About && c.role != layout::Role::AboutClose) about.push_back(&c);
    ASSERT_EQ(about.size(), 3u);
    for (size_t i = 0; i < about.size(); ++i)
        for (size_t j = i + 1; j < about.size(); ++j) EXPECT_FALSE(inkOf(*about[i]).overlaps(inkOf(*about[j])));
}

// The panels and labels printed on each background.
struct Printed {
    std::vector<Rect> panels;
    std::vector<artwork_support::MapItem> labels;  // titles too
};

std::map<int, Printed> printedByImage() {
    std::map<int, Printed> out;
    for (const auto& item : artwork_support::artworkMap()) {
        if (item.kind == "panel")
            out[item.image].panels.push_back(item.rect);
        else
            out[item.image].labels.push_back(item);
    }
    return out;
}

bool onAPanel(const std::vector<Rect>& panels, int x, int y) {
    for (const Rect& p : panels)
        if (x >= p.left && x < p.right && y >= p.top && y < p.bottom) return true;
    return false;
}

TEST(ControlLayout, EveryBackgroundIsMappedAndEveryControlSitsOnOneOfItsPanels) {
    std::map<int, Printed> printed = printedByImage();
    for (const layout::Image& image : layout::kImages) {
        if (image.type != layout::ImageType::Bitmap) continue;
        ASSERT_TRUE(printed.count(image.id)) << "nothing printed on " << image.id;
        Region region = artwork_support::regionOf(image.id);
        Rect origin = layout::regionRect(region);
        for (const Control* c : artwork_support::controlsOn(image.id)) {
            // The about screen's close button is the whole screen, and the
            // name plate that opens it stands on its own.
            if (c->role == layout::Role::AboutClose || c->tag == 905) continue;
            Ink ink = inkOf(*c, image.id - layout::img::FxBackground0);
            for (int y = ink.box.top; y < ink.box.bottom; ++y)
                for (int x = ink.box.left; x < ink.box.right; ++x)
                    if (ink.at(x, y)) {
                        ASSERT_TRUE(onAPanel(printed[image.id].panels, x - origin.left, y - origin.top))
                            << describe(*c) << " leaves the panels of image " << image.id << " at " << x << "," << y;
                    }
        }
    }
}

TEST(ControlLayout, LabelsStayOnTheirPanelsClearOfControlsAndOfEachOther) {
    for (const auto& [id, printed] : printedByImage()) {
        Region region = artwork_support::regionOf(id);
        Rect origin = layout::regionRect(region);
        std::vector<Ink> inks;
        for (const Control* c : artwork_support::controlsOn(id))
            if (c->role != layout::Role::AboutClose) inks.push_back(inkOf(*c, id - layout::img::FxBackground0));
        for (size_t i = 0; i < printed.labels.size(); ++i) {
            const auto& label = printed.labels[i];
            Rect r = label.rect;
            bool inside = true;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) inside = inside && onAPanel(printed.panels, x, y);
            EXPECT_TRUE(inside) << "\"" << label.text << "\" on " << id << " leaves its panel";
            Rect window = r.offset(origin.left, origin.top);
            for (const Ink& ink : inks)
                EXPECT_FALSE(ink.touches(window)) << "\"" << label.text << "\" on " << id << " at " << describe(r)
                                                  << " runs into a control at " << describe(ink.box);
            for (size_t j = i + 1; j < printed.labels.size(); ++j)
                EXPECT_FALSE(r.intersects(printed.labels[j].rect))
                    << "\"" << label.text << "\" and \"" << printed.labels[j].text << "\" on " << id;
            // Labels on the main background must not hide under a page.
            if (region == Region::Main) {
                for (Region page : {Region::Mod, Region::Preset, Region::Fx})
                    EXPECT_FALSE(layout::regionRect(page).intersects(r)) << "\"" << label.text << "\" is under a page";
            }
        }
    }
}

TEST(ControlLayout, EachFxBackgroundNamesTheKnobsItsTypeShows) {
    std::map<int, Printed> printed = printedByImage();
    for (int type = 0; type < layout::kFxTypes; ++type) {
        const layout::FxPanel& fx = layout::fxPanels()[type];
        std::multiset<std::string> texts;
        for (const auto& l : printed[layout::img::fxBackground(type)].labels) texts.insert(l.text);
        EXPECT_TRUE(texts.count(fx.name)) << type;
        for (int k = 0; k < fx.knobCount; ++k) EXPECT_TRUE(texts.count(fx.knobLabels[k])) << type << " knob " << k;
        // A knob the type ignores is printed "---"; nothing is printed for knobs it does not show.
        int unused = 0;
        for (int k = 0; k < fx.knobCount; ++k) unused += std::string(fx.knobLabels[k]) == "---";
        EXPECT_EQ(static_cast<int>(texts.count("---")), unused) << type;
    }
}

}  // namespace

namespace {
// The selectors' buttons say how many slots each group has.
int slotCount(layout::Slot slot) {
    layout::Role role = slot == layout::Slot::Fx             ? layout::Role::FxSlotSelector
                        : slot == layout::Slot::FreeEnvelope ? layout::Role::FreeEnvelopeSelector
                        : slot == layout::Slot::FreeLfo      ? layout::Role::FreeLfoSelector
                                                             : layout::Role::ModSlotSelector;
    int n = 0;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls) n += c.kind == Kind::RadioButton && c.role == role;
    return n;
}

std::string nameOf(int tag) {
    ParamValue values[prm::kCount] = {};
    char name[params::kNameCapacity];
    params::parameterName(tag, values, name);
    return name;
}

// "Free LFO 1 Speed" for slot 0 reads "Free LFO 2 Speed" for slot 1.
std::string forSlot(std::string name, int slot) {
    size_t digit = name.find_first_of("1");
    if (digit != std::string::npos) name[digit] = static_cast<char>('1' + slot);
    return name;
}

TEST(ControlLayout, ReTaggedControlsReachTheSameParameterOfEverySlotAndNoOtherControl) {
    EXPECT_EQ(slotCount(layout::Slot::Fx), 3);
    EXPECT_EQ(slotCount(layout::Slot::FreeEnvelope), 2);
    EXPECT_EQ(slotCount(layout::Slot::FreeLfo), 2);
    EXPECT_EQ(slotCount(layout::Slot::Modulation), 4);
    std::set<std::pair<Region, int>> fixedTags;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.slot == layout::Slot::None && c.tag < prm::kCount) fixedTags.insert({c.region, c.tag});
    std::set<int> anyTags;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls) anyTags.insert(c.tag);
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls) {
            // A parameter of a second slot that no control shows must be reached by re-tagging.
            if (c.tag < prm::kCount && c.slot == layout::Slot::None && nameOf(c.tag).find('1') != std::string::npos &&
                nameOf(c.tag + 1) == forSlot(nameOf(c.tag), 1)) {
                EXPECT_TRUE(anyTags.count(c.tag + 1)) << describe(c) << " leaves " << nameOf(c.tag + 1) << " unreachable";
            }
            if (c.slot == layout::Slot::None || c.tag == layout::kNoParameter) continue;
            for (int i = 1; i < slotCount(c.slot); ++i) {
                EXPECT_EQ(nameOf(c.tag + i), forSlot(nameOf(c.tag), i)) << describe(c) << " in slot " << i;
                EXPECT_FALSE(fixedTags.count({c.region, c.tag + i}))
                    << describe(c) << " in slot " << i << " would edit another control's parameter";
            }
        }
}
}  // namespace
