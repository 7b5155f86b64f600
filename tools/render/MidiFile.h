// Reads Standard MIDI Files (format 0 and 1, ticks-per-quarter timing) into a
// MidiSong. Damaged or hostile files are refused with a message, never trusted:
// every length is checked against the bytes actually present.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "MidiSong.h"

namespace render {

// Larger files are refused; real MIDI files are a few hundred kilobytes at most.
constexpr size_t kMaxMidiFileBytes = 16u << 20;

// Parses a file image. False with `error` set if the file cannot be played;
// tolerated defects (a missing end-of-track, ignored meta values) end up in song.warnings.
bool parseMidiFile(const uint8_t* data, size_t size, MidiSong& song, std::string& error);

// Reads and parses the file at `path`.
bool readMidiFile(const std::string& path, MidiSong& song, std::string& error);

}  // namespace render
