// Which parameters the morph blends, which it picks from one program or the
// other, and which it leaves alone. Every parameter is in exactly one group.
#pragma once

#include <span>

namespace morph {

struct IndexRange {
    int first, last;  // inclusive
};

// Blended: A + (B - A) x "Cross Amount".
inline constexpr IndexRange kInterpolated[] = {
    {1, 4},     {7, 7},     {9, 9},     {21, 28},   {30, 30},   {32, 39},   {41, 44},
    {46, 53},   {55, 58},   {61, 73},   {78, 78},   {88, 89},   {91, 95},   {99, 100},
    {102, 102}, {111, 112}, {114, 120}, {123, 129}, {140, 141}, {144, 146}, {153, 156},
    {161, 168}};

// Chosen from A or B, one random draw each: play and port modes, oscillator
// switches, types and outputs, filter types, LFO waves, modes, syncs and
// sources, bend ranges, free-running switches, modulation sources and targets.
inline constexpr IndexRange kSwitched[] = {
    {5, 6},     {17, 20},   {29, 29},   {31, 31},   {40, 40},   {45, 45},   {60, 60},
    {77, 77},   {80, 80},   {85, 87},   {90, 90},   {101, 101}, {103, 109}, {130, 132},
    {134, 139}, {142, 143}, {147, 147}, {149, 152}, {157, 160}};

// The effects, effect modulation, vocoder and sample settings and the
// arpeggiator: one draw takes the whole block from A or from B, in this order.
inline constexpr IndexRange kBlock[] = {{170, 202}, {204, 209}, {320, 379}, {210, 319}};

// Never changed: the chord mode, the morph's own settings, "Free Envelope 1
// Decay", the hidden entries and everything from 380 on.
inline constexpr IndexRange kUnchanged[] = {
    {0, 0},     {8, 8},     {10, 16},   {54, 54},   {59, 59},   {74, 76},   {79, 79},
    {81, 84},   {96, 98},   {110, 110}, {113, 113}, {121, 122}, {133, 133}, {148, 148},
    {169, 169}, {203, 203}, {380, 798}};

}  // namespace morph
