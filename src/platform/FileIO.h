// Whole-file reading and writing for the user's files (banks, presets,
// controller setups, arpeggiator patterns) and the settings file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Reads the whole file. A file larger than `maxBytes`, a directory or a read
// error gives false with a short reason in `error` ("cannot be opened: ...").
bool readFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes,
              std::string& error);

// Writes a temporary file beside `path`, flushes it to disk and renames it over
// `path`, so that a crash or a full disk never leaves a half-written file and
// an existing file stays as it was when writing fails.
bool writeFileAtomically(const std::string& path, const void* data, size_t size,
                         std::string& error);

// Creates `dir` and its missing parents (errors are left to the following write).
void makeDirectories(const std::string& dir);

// The last component of `path`, for messages.
std::string fileNameOf(const std::string& path);

}  // namespace platform
