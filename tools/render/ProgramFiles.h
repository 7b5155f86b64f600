// File names for --split: the name given with --out (or --spectrogram), with
// the program's number and name inserted before the extension, made safe for
// any file system ("renders/bank.wav", 5, "Drawbar Organ" ->
// "renders/bank-005-Drawbar-Organ.wav").
#pragma once

#include <string>

namespace render {

// The program name as a file name part: ASCII letters, digits, '+' and '_'
// kept, every other run of characters (blanks, slashes, dots, quotes, control
// and non-ASCII bytes) one '-', none at either end, at most 40 characters.
std::string safeNamePart(const std::string& name);

// `count` is the number of programs, which sets the digits of the number.
std::string programFileName(const std::string& path, int program, int count, const std::string& name);

}  // namespace render
