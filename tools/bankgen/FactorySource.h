// Reads the factory bank source (resources/bank/factory.txt; its header
// describes the format) into a bank image of 128 programs.
#pragma once

#include <string>
#include <vector>

#include "Categories.h"
#include "params/BankFormat.h"

namespace bankgen {

// Fills all 128 programs of `bank`: the listed ones in order, the rest as
// "Init N" with the default sound. False with "file:line: reason" in `error`.
// When `notes` is given it receives what the source says about each of the
// 128 programs (the "Init" ones have no category).
bool readFactorySource(const std::string& text, const std::string& fileName,
                       bankfile::BankImage& bank, std::string& error,
                       std::vector<ProgramNotes>* notes = nullptr);

}  // namespace bankgen
