#include "editor/ParameterSteps.h"

#include <algorithm>

#include "params/Enumerations.h"

namespace editor {
namespace {
struct Enumerated {
    int first, last;
    const params::Enumeration& choices;
};

// The enumerated parameters the editor shows in option menus, by tag. The
// factors come with the lists, so a menu and the engine always read alike.
const Enumerated kEnumerated[] = {
    {8, 8, params::kChordMode},       {42, 42, params::kOsc2FM},
    {86, 86, params::kLfoMode},       {136, 137, params::kLfoMode},
    {212, 212, params::kArpOctaves},  {5, 5, params::kPortMode},
    {324, 324, params::kOverSampling}, {85, 85, params::kLfoWave},
    {104, 104, params::kLfoWave},     {134, 135, params::kLfoWave},
    {56, 56, params::kOsc3FM},        {80, 80, params::kFilter2Type},
    {6, 6, params::kPlayMode},        {217, 217, params::kArpSpeed},
    {211, 211, params::kArpMode},     {60, 60, params::kFilterType},
    {105, 106, params::kBendRange},   {210, 210, params::kArpSteps},
    // Modulation sources and destinations.
    {90, 90, params::kModSource},     {101, 101, params::kModSource},
    {130, 131, params::kModDestination}, {132, 132, params::kModSource},
    {145, 146, params::kModDestination}, {147, 147, params::kModSource},
    {149, 152, params::kModSource},   {157, 160, params::kModDestination},
    {165, 168, params::kModSource},   {204, 204, params::kModSource},
    {206, 206, params::kModDestination}, {207, 207, params::kModSource},
    {209, 209, params::kModDestination},
};
}  // namespace

ParameterSteps::ParameterSteps() {
    for (float& s : steps) s = kContinuous;
    for (const Enumerated& e : kEnumerated)
        for (int tag = e.first; tag <= e.last; ++tag) steps[tag] = e.choices.factor;
}

int ParameterSteps::entryOf(float value, float steps, int entries) {
    if (!(value >= 0.0f)) value = 0.0f;  // NaN too
    int entry = int(std::min(value, 1.0f) * steps);
    return entry < 0 ? 0 : entry >= entries ? entries - 1 : entry;
}

}  // namespace editor
