// Voice filters: control values (16 and 128 ticks), cutoff and cached
// coefficients (4 ticks), and the per-tick structures of the 14 main types
// and the secondary filter.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kDenormal = 1e-15f;

float clamp100(float v) { return v < -100.0f ? -100.0f : (v > 100.0f ? 100.0f : v); }
// Bounds the state-variable band state. The cubic rises only up to
// 1/sqrt(0.003) and would throw larger states further out, so they are held
// at that knee.
float sat(float v) {
    constexpr float kKnee = 18.257419f;
    v = v < -kKnee ? -kKnee : (v > kKnee ? kKnee : v);
    return (1.0f - 0.001f * v * v) * v + kDenormal;
}

// Secondary filter codes, indexed by the decoded "Filter 2 Type".
constexpr int kSecondaryCodes[7] = {0, 1, 2, 3, 4, 9, 10};

// Structures shared by several types.
inline float onePole(FilterSlot& f, float x) {
    f.onePole = f.onePoleIn * x + f.onePoleFeedback * f.onePole + kDenormal;
    return f.onePole;
}
inline void svf(FilterSlot& f, float x) {
    const float b = sat(f.band);
    f.high = x - f.low - f.svfDamping * b;
    f.band = f.svfF * f.high + b + kDenormal;
    f.low = f.svfF * f.band + f.low + kDenormal;
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
            clamp100((in + f.stageInput[k]) * f.ladderGain - f.ladderPole * f.stage[k]) + kDenormal;
        f.stageInput[k] = in;
        f.stage[k] = s;
        in = s;
    }
    const float s4 = f.stage[3];
    f.stage[3] = clamp100((1.0f - 0.166666f * s4 * s4) * s4);
}

float bypass(FilterSlot&, Voice&, float x) { return x; }
float lowPass6(FilterSlot& f, Voice&, float x) { return onePole(f, x); }
float highPass6(FilterSlot& f, Voice&, float x) { return x - onePole(f, x); }
float lowPass12(FilterSlot& f, Voice&, float x) { svf(f, x); return 1.41f * f.low; }
float highPass12(FilterSlot& f, Voice&, float x) { svf(f, x); return 1.41f * f.high; }
float bandPass12(FilterSlot& f, Voice&, float x) { svf(f, x); return 2.0f * f.band; }
// Low plus high taken from the same state (the low before this tick's
// update) cancel exactly at the cutoff.
float notch12(FilterSlot& f, Voice&, float x) {
    const float low = f.low;
    svf(f, x);
    return 1.41f * (low + f.high);
}
float lowPass18(FilterSlot& f, Voice&, float x) { svf(f, onePole(f, x)); return 1.41f * f.low; }
float highPass18(FilterSlot& f, Voice&, float x) { svf(f, x - onePole(f, x)); return 1.41f * f.high; }
float lowPass24(FilterSlot& f, Voice&, float x) { svf(f, biquad(f, x)); return 1.4142135f * f.low; }
float highPass24(FilterSlot& f, Voice&, float x) { svf(f, biquad(f, x)); return 1.4142135f * f.high; }
float bandPass24(FilterSlot& f, Voice&, float x) {
    ladder(f, clamp100(x - f.ladderFeedback * f.stage[3]));
    return 6.0f * (f.stage[2] - f.stage[3]);
}
float notch24(FilterSlot& f, Voice&, float x) {
    const float u = clamp100(x - f.ladderFeedback * f.stage[3]);
    ladder(f, u);
    return u - f.ladderFeedback * f.stage[3] - 6.0f * (f.stage[2] - f.stage[3]);
}
// The voice's noise buffer is the delay line, so a retriggered comb voice starts as a pluck.
float comb(FilterSlot& f, Voice& v, float x) {
    uint32_t& write = v.filter.combWritePos;
    write = (write + 256) & 0x1FFFFF;
    const uint32_t read = ((write - static_cast<uint32_t>(f.combDelay)) & 0x1FFFFF) >> 8;
    const float y = clamp100(v.noiseBuffer[read & 8191] * f.combFeedback + x) + kDenormal;
    v.noiseBuffer[(write >> 8) & 8191] = y;
    return y;
}
// The secondary 24 dB types limit the biquad before the state-variable stage.
float secondaryLowPass24(FilterSlot& f, Voice&, float x) {
    svf(f, clamp100(biquad(f, x)));
    return 1.4142135f * f.low;
}
float secondaryHighPass24(FilterSlot& f, Voice&, float x) {
    svf(f, clamp100(biquad(f, x)));
    return 1.4142135f * f.high;
}
}  // namespace

Engine::FilterFn Engine::mainFilterFunction(int type) {
    static constexpr FilterFn kTypes[14] = {bypass,     lowPass6,   highPass6,  lowPass12, highPass12,
                                            bandPass12, notch12,    lowPass18,  highPass18, lowPass24,
                                            highPass24, bandPass24, notch24,    comb};
    return kTypes[type < 0 ? 0 : (type > 13 ? 13 : type)];
}

Engine::FilterFn Engine::secondaryFilterFunction(int code) {
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

void Engine::setFilterCoefficients(int type, int slot, float frequencyHz, float resonance) {
    FilterSlot& f = filterSlots[slot];
    if (type == f.type && std::fabs(frequencyHz - f.lastFrequency) <= 0.01f &&
        std::fabs(resonance - f.lastResonance) <= 0.01f)
        return;
    if (type != f.type) f.clearStates();
    f.type = type;
    f.lastFrequency = frequencyHz;
    f.lastResonance = resonance;
    if (resonance > 0.9995f) resonance = 0.9995f;

    const float sampleRate = ctx.rates.sampleRate;
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

void Engine::decodeFilters() {
    mainFilterType = static_cast<int>(param(prm::FilterType) * 13.99f);
    secondaryFilterCode = kSecondaryCodes[static_cast<int>(param(prm::Filter2Type) * 6.99f)];
    filterSmoothing = param(prm::FilterSmoothing) >= 0.5f;
    mainFilterFn = mainFilterFunction(mainFilterType);
    secondaryFilterFn = secondaryFilterFunction(secondaryFilterCode);
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
    return secondaryFilterFn(filterSlots[index + kVoices], v, x);
}

// The second pass of a span: the filters of all sounding voices sample by
// sample, with the main filter structure compiled in.
template <Engine::FilterFn Main>
void Engine::filterPass(uint32_t first, int n, const int* sounding, int count) {
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
                if (fv.driveOn) {
                    const float kx = fv.driveSmoothed * x;
                    x = (x + kx) / (std::fabs(kx) + 1.0f);
                    x = (x < -1.0f ? -1.0f : (x > 1.0f ? 1.0f : x)) + kDenormal;
                }
                const float y = clamp100(Main(filterSlots[index], v, x));
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
    switch (mainFilterType) {
        case 1: filterPass<lowPass6>(first, n, sounding, count); break;
        case 2: filterPass<highPass6>(first, n, sounding, count); break;
        case 3: filterPass<lowPass12>(first, n, sounding, count); break;
        case 4: filterPass<highPass12>(first, n, sounding, count); break;
        case 5: filterPass<bandPass12>(first, n, sounding, count); break;
        case 6: filterPass<notch12>(first, n, sounding, count); break;
        case 7: filterPass<lowPass18>(first, n, sounding, count); break;
        case 8: filterPass<highPass18>(first, n, sounding, count); break;
        case 9: filterPass<lowPass24>(first, n, sounding, count); break;
        case 10: filterPass<highPass24>(first, n, sounding, count); break;
        case 11: filterPass<bandPass24>(first, n, sounding, count); break;
        case 12: filterPass<notch24>(first, n, sounding, count); break;
        case 13: filterPass<comb>(first, n, sounding, count); break;
        default: filterPass<bypass>(first, n, sounding, count); break;
    }
}
