// Draws a Spectrogram as a PNG picture with cairo: the level grid in the
// colour map, a frequency axis (log scale, Hz) and a time axis, a colour bar
// in dBFS, a title, and marks along the time axis (program changes, or the
// programs of --all-programs) with their labels.
#pragma once

#include <string>
#include <vector>

#include "Sonogram.h"

namespace render {

struct TimeMark {
    double seconds;
    std::string label;
};

// Where the picture puts the grid. Labels that do not fit side by side under
// the time axis are turned upright, which makes the picture taller.
struct PictureLayout {
    int width = 0, height = 0;
    int plotX = 0, plotY = 0, plotWidth = 0, plotHeight = 0;
    bool uprightLabels = false;
    int labelTop = 0;   // where the mark labels start
    int markEvery = 1;  // with very many marks, only every so many is drawn
};
// The layout for a render of `seconds` with these marks; the Spectrogram is
// made with plotWidth columns and plotHeight rows.
PictureLayout pictureLayout(double seconds, const std::vector<TimeMark>& marks);

// The level range the colours span, in dB relative to a full-scale sine.
constexpr double kPictureFloorDb = -100.0;

// Writes the picture; false with `error` set if the file cannot be written.
bool writeSpectrogramPicture(const Spectrogram& spectrogram, const PictureLayout& layout,
                             const std::vector<TimeMark>& marks, const std::string& title,
                             const std::string& path, std::string& error);

}  // namespace render
