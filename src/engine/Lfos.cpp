#include "engine/Lfos.h"

#include <cmath>

#include "engine/Clamp.h"
#include "engine/ModIds.h"

namespace {
struct LfoParams {
    int wave, mode, sync, speed, controlSource;
};
constexpr LfoParams kPitchParams = {prm::PitchLfoWave, -1, prm::PitchLfoSync, prm::PitchLfoSpeed,
                                    prm::PitchLfoModSrc};
constexpr LfoParams kRoutableParams[Lfos::kPerVoice] = {
    {prm::FilterLfoWave, prm::FilterLfoMode, prm::FilterLfoSync, prm::FilterLfoSpeed,
     prm::FilterLfoModSrc},
    {prm::FreeLfo1Wave, prm::FreeLfo1Mode, prm::FreeLfo1Sync, prm::FreeLfo1Speed, -1},
    {prm::FreeLfo2Wave, prm::FreeLfo2Mode, prm::FreeLfo2Sync, prm::FreeLfo2Speed, -1},
};
// The speed modulation destination of each LFO.
constexpr int kSpeedDestination[Lfos::kPerVoice] = {moddst::FLfoSpd, moddst::Lfo1Spd,
                                                    moddst::Lfo2Spd};


// Every wave swings both ways around 0; an LFO at rest gives 0.
float bipolarOutput(const LfoState& lfo, float amount) {
    return lfo.rate == 0.0f ? 0.0f : (2.0f * lfo.raw - 1.0f) * amount;
}

template <typename Settings>
void decodeOne(Settings& s, const LfoParams& p, const ParamValue* values) {
    s.wave = static_cast<int>(values[p.wave] * 5.99f);
    s.mode = p.mode < 0 ? lfomode::Free : static_cast<int>(values[p.mode] * 2.99f);
    s.sync = values[p.sync] >= 0.5f;
    s.speed = values[p.speed];
    s.controlSource = p.controlSource < 0 ? 0 : modsrc::decode(values[p.controlSource]);
}
}  // namespace

void Lfos::decode(const ParamValue* values, const float* sharedDest, float sampleRate,
                  float tempo) {
    decodeOne(pitchSettings, kPitchParams, values);
    pitch.rate = lfoRate(pitchSettings.speed, pitchSettings.sync, sharedDest[moddst::PitLfoSpd],
                         sampleRate, tempo);
    for (int k = 0; k < kPerVoice; ++k) {
        Settings& s = routable[k];
        decodeOne(s, kRoutableParams[k], values);
        shared[k].rate =
            lfoRate(s.speed, s.sync, sharedDest[kSpeedDestination[k]], sampleRate, tempo);
    }
}

void Lfos::advanceShared(Random15& random) {
    pitch.step(pitchSettings.wave, random);
    for (int k = 0; k < kPerVoice; ++k) shared[k].step(routable[k].wave, random);
}

void Lfos::updateShared(const ParamValue* values, const float* sharedSources,
                        const float* sharedDest) {
    if (pitch.rate == 0.0f) {
        pitchFactor = 1.0f;
    } else {
        const float depth = clamp01(values[prm::PitchLfoAmountControl] *
                                        sharedSources[pitchSettings.controlSource] +
                                    sharedDest[moddst::PitLfoAmt] + values[prm::PitchLfoAmt]);
        // The saws and the square swing upwards only; the others both ways.
        const int w = pitchSettings.wave;
        const bool unipolar = w == lfowave::SawUp || w == lfowave::SawDown || w == lfowave::Square;
        const float v = unipolar ? pitch.raw : 2.0f * pitch.raw - 1.0f;
        pitchFactor = std::exp2(v * depth / 12.0f);
    }
    sharedFilterOutput = bipolarOutput(shared[Filter], filterAmount(values, sharedSources));
}

void Lfos::advanceVoice(int voice, const float* voiceDest, float sampleRate, float tempo,
                        Random15& random) {
    for (int k = 0; k < kPerVoice; ++k) {
        const Settings& s = routable[k];
        LfoState& lfo = voices[voice][k];
        lfo.rate = lfoRate(s.speed, s.sync, voiceDest[kSpeedDestination[k]], sampleRate, tempo);
        lfo.step(s.wave, random);
    }
}

float Lfos::filterAmount(const ParamValue* values, const float* sources) const {
    const float base = 2.0f * values[prm::FilterLfoAmt] - 1.0f;
    const float control = 2.0f * values[prm::FilterLfoAmountControl] - 1.0f;
    return clampBipolar(base + control * sources[routable[Filter].controlSource]);
}

float Lfos::filterOutput(int voice, const ParamValue* values, const float* voiceSources) const {
    if (routable[Filter].mode != lfomode::Poly) return sharedFilterOutput;
    return bipolarOutput(voices[voice][Filter], filterAmount(values, voiceSources));
}

float Lfos::freeRaw(int k, int voice) const {
    const int lfo = Free1 + k;
    return routable[lfo].mode == lfomode::Poly ? voices[voice][lfo].raw : shared[lfo].raw;
}

void Lfos::noteStarted(int voice, Random15& random) {
    for (int k = 0; k < kPerVoice; ++k) {
        voices[voice][k].restart(routable[k].wave, random);
        if (routable[k].mode == lfomode::Mono) shared[k].restart(routable[k].wave, random);
    }
}
