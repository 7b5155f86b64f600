// Which held note a step plays, by arpeggiator mode.
#pragma once

#include "platform/Random15.h"

namespace arpmode {
constexpr int Up = 0;
constexpr int Down = 1;
constexpr int UpDown = 2;
constexpr int DownUp = 3;
constexpr int Random = 4;
constexpr int Ordered = 5;
constexpr int ReverseOrdered = 6;
constexpr int OrderedUpDown = 7;
constexpr int OrderedDownUp = 8;
constexpr int Chord = 9;
constexpr int Mod = 10;

inline int decode(float value) { return static_cast<int>(value * 10.99f); }
// Modes 5..8 walk the copy sorted by note number, the others the keys in the order pressed.
constexpr bool usesSortedList(int mode) { return mode >= Ordered && mode <= OrderedDownUp; }
}  // namespace arpmode

// The list position (0 .. count - 1) of the `counter`-th new note of the
// pattern (counting from 0); count is at least 1.
int arpPosition(int mode, int count, int counter, Random15& random);

// How many new notes one pass through the held notes takes.
int arpCycleLength(int mode, int count);
