// Whole-file reading and writing for the user's files (banks, presets,
// controller setups, arpeggiator patterns) and the settings file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Opens a regular file for reading without ever blocking: the type is checked
// before opening (a FIFO, device or directory is refused) and the file is opened
// non-blocking, then checked again in case it was replaced. Gives the open
// descriptor (the caller closes it) and the size, or -1 with a reason in `error`.
int openRegularFile(const std::string& path, uint64_t& size, std::string& error);

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
