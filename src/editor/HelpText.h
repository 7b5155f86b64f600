// The help screen's text, compiled in from resources/help/help.txt: 23
// blocks, each ended by a line "!". Block 0 says there is no help; blocks
// 1..22 are the pages.
#pragma once

#include <string>
#include <vector>

namespace editor {

using HelpBlock = std::vector<std::string>;

// Parsed once; empty when the resource is missing.
const std::vector<HelpBlock>& helpText();

}  // namespace editor
