// The values "Set to Default" restores (and the default program holds), and the
// parameters that setParameter rounds to 0 or 1.
#include <array>

#include "params/ParameterTable.h"

namespace params {
namespace {

struct DefaultRange {
    int first, last;
    float value;
};

// Every index not listed defaults to 0.
constexpr DefaultRange kDefaults[] = {
    {1, 1, 0.75f},       {2, 2, 0.5f},        {3, 3, 0.37f},       {4, 4, 0.445f},
    {6, 6, 0.06258f},    {7, 7, 0.4f},        {8, 8, 0.16722f},    {9, 9, 0.2f},
    {13, 13, 0.16722f},  {17, 17, 1.0f},      {21, 21, 0.748f},    {22, 24, 0.5f},
    {28, 28, 0.505f},    {29, 29, 0.9f},      {30, 30, 1.0f},      {32, 32, 0.749f},
    {33, 35, 0.5f},      {39, 39, 0.535f},    {40, 40, 1.0f},      {44, 44, 1.0f},
    {46, 46, 0.715f},    {47, 49, 0.5f},      {53, 53, 0.52f},     {58, 58, 1.0f},
    {60, 60, 0.67906f},  {61, 61, 1.0f},      {64, 65, 0.5f},      {66, 66, 0.877f},
    {67, 68, 0.5f},      {70, 70, 0.715f},    {71, 71, 1.0f},      {72, 72, 0.5f},
    {73, 73, 0.59f},     {75, 76, 0.5f},      {77, 77, 1.0f},      {86, 86, 0.50167f},
    {87, 87, 1.0f},      {88, 88, 0.48f},     {89, 89, 0.5f},      {90, 90, 0.015f},
    {92, 92, 0.715f},    {93, 93, 1.0f},      {94, 94, 0.5f},      {95, 95, 0.52f},
    {97, 98, 0.5f},      {100, 100, 0.6f},    {101, 101, 0.025f},  {102, 102, 0.83f},
    {104, 104, 0.08347f}, {105, 106, 0.15635f}, {107, 109, 1.0f},  {113, 113, 0.605f},
    {114, 114, 0.715f},  {115, 116, 1.0f},    {117, 118, 0.5f},    {119, 120, 0.59f},
    {123, 129, 0.5f},    {133, 133, 0.25126f}, {142, 144, 0.5f},   {153, 156, 0.5f},
    {161, 164, 0.5f},    {173, 178, 0.5f},    {205, 205, 0.5f},    {208, 208, 0.5f},
    {210, 210, 1.0f},    {213, 213, 1.0f},    {215, 215, 0.5f},    {217, 217, 0.5f},
    {218, 218, 1.0f},    {236, 251, 1.0f},    {268, 283, 1.0f},    {284, 315, 0.5f},
    {324, 324, 0.83612f}, {600, 600, 0.5f},   {601, 601, 0.51373f}, {602, 602, 0.52941f},
    {610, 610, 0.25025f}, {773, 773, 0.92f},  {785, 785, 1.0f},    {786, 788, 0.5f},
    {789, 789, 0.4f},
};

constexpr int kSwitches[] = {17,  18,  19,  29,  30,  40,  43,  44,  57,
                             58,  77,  107, 108, 109, 319, 321, 322, 323};

constexpr std::array<float, prm::kCount> kDefaultValues = [] {
    std::array<float, prm::kCount> values{};
    for (const DefaultRange& range : kDefaults)
        for (int i = range.first; i <= range.last; ++i) values[i] = range.value;
    return values;
}();

constexpr std::array<bool, prm::kCount> kIsSwitch = [] {
    std::array<bool, prm::kCount> flags{};
    for (int index : kSwitches) flags[index] = true;
    return flags;
}();

bool inRange(int index) { return index >= 0 && index < prm::kCount; }
}  // namespace

float defaultValue(int index) { return inRange(index) ? kDefaultValues[index] : 0.0f; }

bool isSwitch(int index) { return inRange(index) && kIsSwitch[index]; }

}  // namespace params
