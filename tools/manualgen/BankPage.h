// The manual's page of the factory bank: its programs by category, read from
// the bank the plug-in loaded.
#pragma once

#include <string>

class APlugin;

namespace manual {

std::string bankPage(APlugin& plugin);

}  // namespace manual
