// Tempo-synchronised lengths in bars of four beats: echo lengths by note value
// and LFO cycle lengths.
#pragma once

namespace synced {

// "1/32T" .. "1/2*", chosen by the integer part of knob x 14.99.
inline constexpr float kNoteLength[15] = {
    1.0f / 48, 1.0f / 32, 3.0f / 64, 1.0f / 24, 1.0f / 16, 3.0f / 32, 1.0f / 12, 1.0f / 8,
    3.0f / 16, 1.0f / 6,  1.0f / 4,  3.0f / 8,  1.0f / 3,  1.0f / 2,  3.0f / 4};

// "Off", "16/1*" .. "1/32T", chosen by the integer part of knob x 30.99. The
// second entry is 18 bars, as stored programs have always played it.
inline constexpr float kCycleLength[31] = {
    0.0f,        18.0f,      16.0f,       32.0f / 3, 12.0f,      8.0f,       16.0f / 3, 6.0f,
    4.0f,        8.0f / 3,   3.0f,        2.0f,      4.0f / 3,   1.5f,       1.0f,      2.0f / 3,
    0.75f,       0.5f,       1.0f / 3,    0.375f,    0.25f,      1.0f / 6,   0.1875f,   0.125f,
    1.0f / 12,   0.09375f,   0.0625f,     1.0f / 24, 0.046875f,  0.03125f,   1.0f / 48};

// Knob values are limited to 0..1 before they get here.
inline float noteLength(float knob) { return kNoteLength[static_cast<int>(knob * 14.99f)]; }
inline float cycleLength(float knob) { return kCycleLength[static_cast<int>(knob * 30.99f)]; }

}  // namespace synced
