// Helpers for the artwork tests: the embedded images decoded, the pixels each
// control visibly covers in the window, and the artwork map the generator
// writes beside the images.
#pragma once

#include <string>
#include <vector>

#include "PngFile.h"
#include "editor/ControlLayout.h"

namespace artwork_support {

// The embedded image with this id, decoded (the test fails if it cannot be).
const artgen::Pixels& embedded(int id);

// What a control covers on screen: the pixels its image draws with some
// opacity (any frame), or its whole rectangle when it has no image. In window
// coordinates; an FX knob uses the strip its effect type gives it.
struct Ink {
    layout::Rect box;
    std::vector<bool> covered;  // box.width() x box.height()
    bool at(int x, int y) const {
        return x >= box.left && y >= box.top && x < box.right && y < box.bottom &&
               covered[static_cast<size_t>(y - box.top) * box.width() + (x - box.left)];
    }
    bool overlaps(const Ink& o) const;
    bool touches(const layout::Rect& r) const;
};
Ink inkOf(const layout::Control& c, int fxType = 0);

// The controls one configuration of the window shows: the fixed part, one
// page of each exchangeable region and the FX section for `fxType`.
std::vector<const layout::Control*> shown(layout::Region lowerPage, layout::Region rightPage, int fxType);
// The controls drawn on one background image (an FX background: its type's).
std::vector<const layout::Control*> controlsOn(int imageId);
// The region whose background an image is.
layout::Region regionOf(int imageId);

struct MapItem {
    int image;
    std::string kind, text;
    layout::Rect rect;
};
const std::vector<MapItem>& artworkMap();

}  // namespace artwork_support
