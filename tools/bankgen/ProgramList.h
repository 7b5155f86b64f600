// The documentation's list of the factory programs (docs/programs.md): one
// line per program with its category and what it shows, then which programs
// show each part of the engine, read from their parameter values.
#pragma once

#include <string>
#include <vector>

#include "Categories.h"
#include "params/BankFormat.h"

namespace bankgen {

std::string programList(const std::vector<ProgramNotes>& notes, const bankfile::BankImage& bank);

}  // namespace bankgen
