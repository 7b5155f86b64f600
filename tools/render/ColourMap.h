// The spectrogram's colour map: black through purple, red and orange to pale
// yellow. It is perceptual by construction: the colours are spaced evenly in
// lightness of the OKLab colour space (the chroma narrowed where sRGB cannot
// show it), so equal level steps look like equal steps.
#pragma once

#include <array>
#include <cstdint>

namespace render {

// The colour for t in 0 .. 1 (clamped), as 8-bit sRGB.
std::array<uint8_t, 3> colourAt(double t);

}  // namespace render
