#include "engine/Lfo.h"

#include <cmath>

#include "engine/SyncDivisions.h"

float lfoRate(float speed, bool sync, float speedFactor, float sampleRate, float tempo) {
    if (!(speed >= 0.0001f)) return 0.0f;
    if (!sync) return std::exp2(10.0f * speed) / sampleRate * 1.71875f * speedFactor;
    const float bars = kSyncDivisionBars[syncDivisionIndex(speed)];
    if (bars <= 0.0f) return 0.0f;
    // One cycle lasts `bars` bars of 240 x sampleRate / tempo samples.
    return 128.0f * speedFactor * tempo / (bars * 240.0f * sampleRate);
}

float lfoWave(int wave, float previousRaw, bool wrapped, float x, Random15& random) {
    constexpr float kTwoPi = 6.28318530718f;
    switch (wave) {
        case lfowave::Sine:
            return (std::sin(kTwoPi * x) + 1.0f) * 0.5f;
        case lfowave::Triangle:
            return std::fabs(1.0f - 2.0f * x);
        case lfowave::SawUp:
            return x;
        case lfowave::SawDown:
            return 1.0f - x;
        case lfowave::Square:
            return x < 0.5f ? 0.0f : 1.0f;
        default:
            return wrapped ? static_cast<float>(random.next()) / 32767.0f : previousRaw;
    }
}

void LfoState::step(int wave, Random15& random) {
    if (rate == 0.0f) {
        raw = 0.0f;
        return;
    }
    phase += rate;
    wrapped = phase >= 1.0f;
    phase -= std::floor(phase);
    raw = lfoWave(wave, raw, wrapped, phase, random);
}

void LfoState::restart(int wave, Random15& random) {
    phase = 0.0f;
    wrapped = true;
    raw = rate == 0.0f ? 0.0f : lfoWave(wave, raw, true, 0.0f, random);
}
