#include "arp/ArpSettings.h"

namespace {
constexpr float kSpeedTable[9] = {0.25f, 0.333333f, 0.5f, 0.666667f, 1.0f,
                                  1.5f,  2.0f,      3.0f, 4.0f};
// The six blocks of 16 step parameters, in storage order.
constexpr int kTieBlock = prm::ArpStepDataFirst;
constexpr int kOnBlock = kTieBlock + 16;
constexpr int kSlideBlock = kOnBlock + 16;
constexpr int kVelocityBlock = kSlideBlock + 16;
constexpr int kTuneBlock = kVelocityBlock + 16;
constexpr int kFreeBlock = kTuneBlock + 16;
}  // namespace

void ArpSettings::decode(const ParamValue* values) {
    steps = static_cast<int>(values[prm::ArpSteps] * 15.99f) + 1;
    octaves = static_cast<int>(values[prm::ArpOctaves] * 3.99f) + 1;
    noteLength = values[prm::ArpNoteLength] * 1.05f;
    const float s = values[prm::ArpSwing];
    // Each pair of steps lasts two plain steps: at s = 1 the even step takes
    // 4/3 of a plain step and the odd one 2/3.
    swing[0] = 0.5f * s + 1.0f;
    swing[1] = (0.5f * s + 1.0f) / (s + 1.0f);
    velMix = values[prm::ArpVelKeyboard];
    rateFactor = kSpeedTable[static_cast<int>(values[prm::ArpSpeed] * 8.99f)];
    sync = values[prm::ArpSync] >= 0.5f;
    tiedMode = values[prm::TiedMode] > 0.5f;
}

ArpStep ArpStep::read(const ParamValue* values, int i) {
    ArpStep s;
    s.tie = values[kTieBlock + i] >= 0.5f;
    s.on = values[kOnBlock + i] >= 0.5f;
    s.slide = values[kSlideBlock + i] >= 0.5f;
    s.velocity = values[kVelocityBlock + i];
    s.tune = static_cast<int>(values[kTuneBlock + i] * 72.99f - 36.0f);
    s.free = 2.0f * values[kFreeBlock + i] - 1.0f;
    return s;
}
