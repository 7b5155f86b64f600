// How the editor converts between a control and its parameter: for each tag
// the number of choices minus 0.01 of an enumerated parameter (an option menu
// shows entry trunc(value x steps) and writes (entry + 0.5) / steps), or 1.0
// for a continuous one, whose control sends its value unchanged.
#pragma once

namespace editor {

constexpr int kTags = 1000;
constexpr float kContinuous = 1.0f;

class ParameterSteps {
public:
    ParameterSteps();

    // 1.0 for continuous parameters and for tags outside 0..999.
    float of(long tag) const { return tag >= 0 && tag < kTags ? steps[tag] : kContinuous; }
    bool isEnumerated(long tag) const { return of(tag) != kContinuous; }

    // The entry a value shows (clamped to 0 .. entries - 1) and the value an entry writes.
    static int entryOf(float value, float steps, int entries);
    static float valueOf(int entry, float steps) { return (float(entry) + 0.5f) / steps; }

private:
    float steps[kTags];
};

}  // namespace editor
