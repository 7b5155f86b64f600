// Voice filters: control values (16 and 128 ticks), cutoff and cached
// coefficients (4 ticks), and the per-tick main and secondary filters on the
// shared filter bank.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"
#include "engine/FilterBank.h"

namespace {
constexpr float kDenormal = 1e-15f;

// Secondary filter codes, indexed by the decoded "Filter 2 Type".
constexpr int kSecondaryCodes[7] = {0, 1, 2, 3, 4, 9, 10};
}  // namespace

static_assert(Voice::kNoiseLength == filterbank::kCombLength, "the comb type runs on the voice's noise buffer");

void Engine::setFilterCoefficients(int type, int slot, float frequencyHz, float resonance) {
    filterbank::setCoefficients(filterSlots[slot], type, frequencyHz, resonance, ctx.rates.sampleRate);
}

void Engine::decodeFilters() {
    mainFilterType = static_cast<int>(param(prm::FilterType) * 13.99f);
    secondaryFilterCode = kSecondaryCodes[static_cast<int>(param(prm::Filter2Type) * 6.99f)];
    filterSmoothing = param(prm::FilterSmoothing) >= 0.5f;
    mainFilterFn = filterbank::mainFunction(mainFilterType);
    secondaryFilterFn = filterbank::secondaryFunction(secondaryFilterCode);
}

void Engine::updateFilterDrive(Voice& v) {
    const float d =
        std::exp2(6.0f * clamp01(param(prm::FilterDistortion) + v.mod[moddst::FiltDist])) - 1.0f;
    v.filter.drive = d;
    v.filter.driveOn = d > 0.01f;
}

void Engine::updateFilterTargets(Voice& v) {
    FilterVoice& f = v.filter;
    f.resonance = clamp01(param(prm::FilterResonance) + v.mod[moddst::FiltQ]);
    f.driveSmoothed = 0.024999976f * f.drive + 0.975f * f.driveSmoothed + kDenormal;
    const float key = std::exp2(v.targetPitch * (2.0f * param(prm::FilterKeytracking) - 1.0f));
    f.keyFactor = 0.975f * f.keyFactor + 0.024999976f * key + kDenormal;
    const float amount = clamp01(param(prm::FilterEnvelopeAmt) + v.mod[moddst::FEnvAmt]);
    f.envAmount = 0.975f * f.envAmount + 0.024999976f * amount + kDenormal;
    f.wheelTerm = modWheelSmoothed * wheelAmount;
    f.velocityTerm = (v.velocityShaped - 0.5f) * velocityAmount;
    f.cutoffBase = 0.975f * f.cutoffBase +
                   0.024999976f * (param(prm::FilterFrequency) + v.mod[moddst::FiltFreq]) +
                   kDenormal;
    f.cutoffStep = (clamp01(f.lfoTerm + f.cutoffBase) - f.cutoff) * 0.25f;
    f.f2 = 0.975f * f.f2 + 0.024999976f * clamp01(param(prm::Filter2Frequency)) + kDenormal;
    f.filt2ModDelta = (v.mod[moddst::Filt2Freq] - f.filt2Mod) * 0.0625f;
}

void Engine::updateCutoff(Voice& v, int index) {
    FilterVoice& f = v.filter;
    f.cutoff += f.cutoffStep;
    const float c = clamp01(f.wheelTerm + f.velocityTerm + f.cutoff +
                            (2.0f * f.envAmount - 1.0f) * v.filterEnvLevel);
    setFilterCoefficients(mainFilterType, index, std::exp2(10.0f * c) * f.keyFactor * 20.0f,
                          f.resonance);
    const float s = clamp01(f.filt2Mod + f.f2);
    setFilterCoefficients(secondaryFilterCode, index + kVoices, std::exp2(10.0f * s) * 20.0f, 0.0f);
}

float Engine::filterMain(Voice& v, int index, float x, float levelSum) {
    if (std::fabs(levelSum) < 0.001f) return 0.0f;
    if (filterSmoothing) x /= levelSum;
    const FilterVoice& fv = v.filter;
    if (fv.driveOn) x = filterbank::drive(x, fv.driveSmoothed);
    const float y = filterbank::limit100(mainFilterFn(filterSlots[index], combLine(v), x));
    return filterSmoothing ? y * levelSum : y;
}

float Engine::filterSecondary(Voice& v, int index, float x) {
    return secondaryFilterFn(filterSlots[index + kVoices], combLine(v), x);
}
