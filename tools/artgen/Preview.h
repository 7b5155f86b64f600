// Composed views for reviewing the artwork: backgrounds with the controls'
// frames pasted where the layout puts them, as the editor will draw them.
#pragma once

#include <map>
#include <string>

#include "PngFile.h"

namespace artgen {

// Writes the previews into `dir`; false if a file cannot be written.
bool writePreviews(const std::map<int, Pixels>& images, const std::string& dir);

}  // namespace artgen
