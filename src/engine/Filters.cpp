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
    const float keyInput = v.targetPitch * (2.0f * param(prm::FilterKeytracking) - 1.0f);
    if (keyInput != f.keyInput) {
        f.keyInput = keyInput;
        f.keyTarget = std::exp2(keyInput);
    }
    f.keyFactor = 0.975f * f.keyFactor + 0.024999976f * f.keyTarget + kDenormal;
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
    // A bypassed filter needs no coefficients: only the change to the bypass
    // (which clears the states) is made; the change away from it makes them anew.
    if (mainFilterType == 0) {
        if (filterSlots[index].type != 0) setFilterCoefficients(0, index, 20.0f, f.resonance);
    } else {
        const float c = clamp01(f.wheelTerm + f.velocityTerm + f.cutoff +
                                (2.0f * f.envAmount - 1.0f) * v.filterEnvLevel);
        if (c != f.cutoffInput) {
            f.cutoffInput = c;
            f.cutoffFactor = std::exp2(10.0f * c);
        }
        setFilterCoefficients(mainFilterType, index, f.cutoffFactor * f.keyFactor * 20.0f, f.resonance);
    }
    if (secondaryFilterCode == 0) {
        if (filterSlots[index + kVoices].type != 0) setFilterCoefficients(0, index + kVoices, 20.0f, 0.0f);
    } else {
        const float s = clamp01(f.filt2Mod + f.f2);
        if (s != f.f2Input) {
            f.f2Input = s;
            f.f2Factor = std::exp2(10.0f * s);
        }
        setFilterCoefficients(secondaryFilterCode, index + kVoices, f.f2Factor * 20.0f, 0.0f);
    }
}

float Engine::filterSecondary(Voice& v, int index, float x) {
    return secondaryFilterFn(filterSlots[index + kVoices], combLine(v), x);
}

// The second pass of a span: the filters of all sounding voices sample by
// sample (the voices' filter chains are independent and overlap).
void Engine::filterPass(uint32_t first, int n, const int* sounding, int count) {
    const FilterFn main = mainFilterFn;
    const bool secondary = secondaryFilterCode != 0;
    const bool smoothing = filterSmoothing;
    for (int j = 0; j < n; ++j) {
        const bool atTick4 = ((first + static_cast<uint32_t>(j)) & 3) == 0;
        float sumLeft = 0.0f;
        float sumRight = 0.0f;
        for (int c = 0; c < count; ++c) {
            const int index = sounding[c];
            const VoiceSpan& d = spanVoices[index];
            if (j >= d.active) continue;
            Voice& v = voices[index];
            v.filterEnvLevel += v.filterEnvDelta;
            v.filter.filt2Mod += v.filter.filt2ModDelta;
            if (atTick4) updateCutoff(v, index);
            // A voice whose oscillators are all silent gives silence.
            float out = 0.0f;
            const float levelSum = d.levelSum[j];
            if (!(std::fabs(levelSum) < 0.001f)) {
                float x = d.mix[j];
                if (smoothing) x /= levelSum;
                const FilterVoice& fv = v.filter;
                if (fv.driveOn) x = filterbank::drive(x, fv.driveSmoothed);
                const float y = filterbank::limit100(main(filterSlots[index], combLine(v), x));
                out = smoothing ? y * levelSum : y;
            }
            if (secondary) out = filterSecondary(v, index, out);
            sumLeft += out * d.panLeft[j];
            sumRight += out * d.panRight[j];
        }
        spanLeft[j] = sumLeft;
        spanRight[j] = sumRight;
    }
}

void Engine::filterSpan(uint32_t first, int n) {
    // The sounding voices, highest first (the order of the sums).
    int sounding[kVoices];
    int count = 0;
    for (int index = kVoices - 1; index >= 0; --index)
        if (spanVoices[index].active > 0) sounding[count++] = index;
    if (count == 0) {
        for (int j = 0; j < n; ++j) spanLeft[j] = spanRight[j] = 0.0f;
        return;
    }
    // The 24 dB and 12 dB state-variable types run four voices side by side.
    if (secondaryFilterCode == 0) {
        switch (mainFilterType) {
            case 3: filterPassLanes<false, false>(first, n, sounding, count, 1.41f); return;
            case 4: filterPassLanes<false, true>(first, n, sounding, count, 1.41f); return;
            case 9: filterPassLanes<true, false>(first, n, sounding, count, 1.4142135f); return;
            case 10: filterPassLanes<true, true>(first, n, sounding, count, 1.4142135f); return;
            default: break;
        }
    }
    filterPass(first, n, sounding, count);
}
