#include "engine/FilterBank.h"

#include <cmath>

namespace filterbank {
namespace {
constexpr float kPi = 3.14159265358979f;

// Structures shared by several types.
inline float onePole(FilterSlot& f, float x) {
    f.onePole = f.onePoleIn * x + f.onePoleFeedback * f.onePole + kDenormal;
    return f.onePole;
}
inline float biquad(FilterSlot& f, float x) {
    const float y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2 + kDenormal;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}
inline void ladder(FilterSlot& f, float u) {
    float in = u;
    for (int k = 0; k < 4; ++k) {
        const float s =
            limit100((in + f.stageInput[k]) * f.ladderGain - f.ladderPole * f.stage[k]) + kDenormal;
        f.stageInput[k] = in;
        f.stage[k] = s;
        in = s;
    }
    const float s4 = f.stage[3];
    f.stage[3] = limit100((1.0f - 0.166666f * s4 * s4) * s4);
}

float bypass(FilterSlot&, CombLine, float x) { return x; }
float lowPass6(FilterSlot& f, CombLine, float x) { return onePole(f, x); }
float highPass6(FilterSlot& f, CombLine, float x) { return x - onePole(f, x); }
float lowPass12(FilterSlot& f, CombLine, float x) { stateVariable(f, x); return 1.41f * f.low; }
float highPass12(FilterSlot& f, CombLine, float x) { stateVariable(f, x); return 1.41f * f.high; }
float bandPass12(FilterSlot& f, CombLine, float x) { stateVariable(f, x); return 2.0f * f.band; }
// Low plus high taken from the same state (the low before this tick's
// update) cancel exactly at the cutoff.
float notch12(FilterSlot& f, CombLine, float x) {
    const float low = f.low;
    stateVariable(f, x);
    return 1.41f * (low + f.high);
}
float lowPass18(FilterSlot& f, CombLine, float x) { stateVariable(f, onePole(f, x)); return 1.41f * f.low; }
float highPass18(FilterSlot& f, CombLine, float x) { stateVariable(f, x - onePole(f, x)); return 1.41f * f.high; }
float lowPass24(FilterSlot& f, CombLine, float x) { stateVariable(f, biquad(f, x)); return 1.4142135f * f.low; }
float highPass24(FilterSlot& f, CombLine, float x) { stateVariable(f, biquad(f, x)); return 1.4142135f * f.high; }
float bandPass24(FilterSlot& f, CombLine, float x) {
    ladder(f, limit100(x - f.ladderFeedback * f.stage[3]));
    return 6.0f * (f.stage[2] - f.stage[3]);
}
float notch24(FilterSlot& f, CombLine, float x) {
    const float u = limit100(x - f.ladderFeedback * f.stage[3]);
    ladder(f, u);
    return u - f.ladderFeedback * f.stage[3] - 6.0f * (f.stage[2] - f.stage[3]);
}
// A voice lends its noise buffer as the line, so a retriggered comb voice starts as a pluck.
float comb(FilterSlot& f, CombLine line, float x) {
    uint32_t& write = *line.writePosition;
    write = (write + 256) & 0x1FFFFF;
    const uint32_t read = ((write - static_cast<uint32_t>(f.combDelay)) & 0x1FFFFF) >> 8;
    const float y = limit100(line.buffer[read & (kCombLength - 1)] * f.combFeedback + x) + kDenormal;
    line.buffer[(write >> 8) & (kCombLength - 1)] = y;
    return y;
}
// The secondary 24 dB types limit the biquad before the state-variable stage.
float secondaryLowPass24(FilterSlot& f, CombLine, float x) {
    stateVariable(f, limit100(biquad(f, x)));
    return 1.4142135f * f.low;
}
float secondaryHighPass24(FilterSlot& f, CombLine, float x) {
    stateVariable(f, limit100(biquad(f, x)));
    return 1.4142135f * f.high;
}
}  // namespace

Fn mainFunction(int type) {
    static constexpr Fn kTypes[kMainTypes] = {bypass,     lowPass6,   highPass6,  lowPass12, highPass12,
                                              bandPass12, notch12,    lowPass18,  highPass18, lowPass24,
                                              highPass24, bandPass24, notch24,    comb};
    return kTypes[type < 0 ? 0 : (type > kMainTypes - 1 ? kMainTypes - 1 : type)];
}

Fn secondaryFunction(int code) {
    switch (code) {
        case 1: return lowPass6;
        case 2: return highPass6;
        case 3: return lowPass12;
        case 4: return highPass12;
        case 9: return secondaryLowPass24;
        case 10: return secondaryHighPass24;
        default: return bypass;
    }
}

void setCoefficients(FilterSlot& f, int type, float frequencyHz, float resonance, float sampleRate) {
    if (type == f.type && std::fabs(frequencyHz - f.lastFrequency) <= 0.01f &&
        std::fabs(resonance - f.lastResonance) <= 0.01f)
        return;
    if (type != f.type) f.clearStates();
    f.type = type;
    f.lastFrequency = frequencyHz;
    f.lastResonance = resonance;
    if (resonance > 0.9995f) resonance = 0.9995f;

    float g = (frequencyHz + 0.001f) / sampleRate + kDenormal;
    if (g > 0.2f) g = 0.2f;
    if (g < 50.0f / sampleRate) g = 50.0f / sampleRate;

    f.onePoleIn = 2.0f * g;
    f.onePoleFeedback = 1.0f - 2.0f * g;
    const float s = std::sin(kPi * g);
    const float c = std::cos(kPi * g);
    f.svfF = 2.0f * s + kDenormal;
    f.svfDamping = 1.0f - resonance + kDenormal;

    constexpr float K = 2.828427f;
    if (type == 9) {
        const float A = c / (s + 0.0015f) + kDenormal;
        const float B = 1.0f / ((K + A) * A + 1.001f) + kDenormal;
        f.b0 = B + kDenormal;
        f.b1 = 2.0f * B + kDenormal;
        f.b2 = B + kDenormal;
        f.a1 = 2.0f * (1.0f - A * A) * B + kDenormal;
        f.a2 = (1.0f - K * A + A * A) * B + kDenormal;
    } else if (type == 10) {
        const float A = s / std::fabs(c + 0.0015f) + kDenormal;
        const float B = 1.0f / ((K + A) * A + 1.0001f);
        f.b0 = B + kDenormal;
        f.b1 = -2.0f * B + kDenormal;
        f.b2 = B + kDenormal;
        f.a1 = 2.0f * (A * A - 1.0f) * B + kDenormal;
        f.a2 = (1.0f - K * A + A * A) * B + kDenormal;
    } else if (type == 11 || type == 12) {
        const float h = (2.0f - 2.0f * g) * 2.0f * g;
        const float l = 1.0f - 2.0f * g;
        f.ladderGain = h;
        f.ladderPole = 2.0f * h - 1.0f;
        f.ladderFeedback = ((l * l * 5.6f + (1.0f - l)) * l * 0.5f + 1.0f) * resonance;
    } else if (type == 13) {
        float delay = sampleRate * 256.0f / (std::fabs(frequencyHz) + 0.001f);
        delay = delay < 514.0f ? 514.0f : (delay > 2097150.0f ? 2097150.0f : delay);
        f.combDelay = static_cast<int32_t>(delay);
        f.combFeedback = std::pow(resonance, 0.25f) + kDenormal;
    }
}

}  // namespace filterbank
