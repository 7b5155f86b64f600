// Writes a song as a format 0 Standard MIDI File: one track holding its
// title, tempo, 4/4 time signature, markers and channel messages (channel 1).
#pragma once

#include <cstdint>
#include <vector>

#include "DemoSong.h"

namespace demosong {

std::vector<uint8_t> standardMidiFile(const Song& song);

}  // namespace demosong
