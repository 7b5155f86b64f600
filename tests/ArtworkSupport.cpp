#include "ArtworkSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "editor/EditorImages.h"
#include "platform/Resources.h"

namespace artwork_support {
using layout::Control;
using layout::Kind;
using layout::Rect;
using layout::Region;

const artgen::Pixels& embedded(int id) {
    static std::map<int, artgen::Pixels> cache;
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    artgen::Pixels& image = cache[id];
    const layout::Image* entry = layout::findImage(id);
    const char* type = entry && entry->type == layout::ImageType::Bitmap ? "BITMAP" : "PNG";
    platform::Resource r = platform::findResource(type, id);
    EXPECT_TRUE(r) << type << " " << id << " is not embedded";
    if (r) {
        EXPECT_TRUE(artgen::decodePng(r.data, r.size, image)) << type << " " << id << " does not decode";
    }
    return image;
}

bool Ink::overlaps(const Ink& o) const {
    if (!box.intersects(o.box)) return false;
    for (int y = std::max(box.top, o.box.top); y < std::min(box.bottom, o.box.bottom); ++y)
        for (int x = std::max(box.left, o.box.left); x < std::min(box.right, o.box.right); ++x)
            if (at(x, y) && o.at(x, y)) return true;
    return false;
}

bool Ink::touches(const Rect& r) const {
    for (int y = std::max(box.top, r.top); y < std::min(box.bottom, r.bottom); ++y)
        for (int x = std::max(box.left, r.left); x < std::min(box.right, r.right); ++x)
            if (at(x, y)) return true;
    return false;
}

Ink inkOf(const Control& c, int fxType) {
    Ink ink;
    ink.box = c.windowRect();
    ink.covered.assign(static_cast<size_t>(ink.box.width()) * ink.box.height(), false);
    int image = c.image;
    std::span<const Control> fxKnobs = layout::fxKnobs();
    for (size_t k = 0; k < fxKnobs.size(); ++k)
        if (&fxKnobs[k] == &c) image = layout::img::knobStrip(layout::fxPanels()[fxType].knobStrip(static_cast<int>(k)));
    // Menus, readouts and displays fill their rectangle.
    if (!image) {
        ink.covered.assign(ink.covered.size(), true);
        return ink;
    }
    const artgen::Pixels& p = embedded(image);
    const layout::Image* entry = layout::findImage(image);
    for (int f = 0; f < entry->frames; ++f)
        for (int y = 0; y < std::min(c.height, entry->frameHeight()); ++y)
            for (int x = 0; x < std::min(c.width, p.width); ++x)
                // Faint shadows do not count as covering.
                if (p.alpha(x, f * entry->frameHeight() + y) >= 96)
                    ink.covered[static_cast<size_t>(y) * ink.box.width() + x] = true;
    return ink;
}

namespace {
bool onFxSection(const Control& c, int fxType) {
    if (c.fxType != layout::kAnyFxType && c.fxType != fxType) return false;
    std::span<const Control> knobs = layout::fxKnobs();
    for (size_t k = 0; k < knobs.size(); ++k)
        if (&knobs[k] == &c) return static_cast<int>(k) < layout::fxPanels()[fxType].knobCount;
    return true;
}
}  // namespace

std::vector<const Control*> shown(Region lowerPage, Region rightPage, int fxType) {
    std::vector<const Control*> out;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == Region::Main || c.region == lowerPage || c.region == rightPage ||
                (c.region == Region::Fx && onFxSection(c, fxType)))
                out.push_back(&c);
    return out;
}

Region regionOf(int imageId) {
    if (imageId >= layout::img::FxBackground0 && imageId < layout::img::FxBackground0 + layout::kFxTypes)
        return Region::Fx;
    for (int r = 0; r < layout::kRegions; ++r)
        if (layout::regionBackground(static_cast<Region>(r)) == imageId) return static_cast<Region>(r);
    ADD_FAILURE() << imageId << " is no background";
    return Region::Main;
}

std::vector<const Control*> controlsOn(int imageId) {
    Region region = regionOf(imageId);
    int fxType = imageId - layout::img::FxBackground0;
    std::vector<const Control*> out;
    for (const layout::Table& t : layout::tables())
        for (const Control& c : t.controls)
            if (c.region == region && (region != Region::Fx || onFxSection(c, fxType))) out.push_back(&c);
    return out;
}

const std::vector<MapItem>& artworkMap() {
    static std::vector<MapItem> items = [] {
        std::vector<MapItem> out;
        std::ifstream in(BRENNIX_SOURCE_DIR "/resources/images/artwork-map.txt");
        EXPECT_TRUE(in) << "no artwork map";
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream s(line);
            MapItem item;
            s >> item.image >> item.kind >> item.rect.left >> item.rect.top >> item.rect.right >> item.rect.bottom;
            std::getline(s >> std::ws, item.text);
            out.push_back(item);
        }
        return out;
    }();
    return items;
}

}  // namespace artwork_support
