// Reads the factory bank source (resources/bank/factory.txt; its header
// describes the format) into a bank image of 128 programs.
#pragma once

#include <string>

#include "params/BankFormat.h"

namespace bankgen {

// Fills all 128 programs of `bank`: the listed ones in order, the rest as
// "Init N" with the default sound. False with "file:line: reason" in `error`.
bool readFactorySource(const std::string& text, const std::string& fileName,
                       bankfile::BankImage& bank, std::string& error);

}  // namespace bankgen
