// Oscillators: decoding (512 ticks), pitch (128 and 16 ticks), levels and
// modulation amounts (16 ticks), pulse width (4 ticks), drift (128 ticks) and
// the per-tick step with oversampling, spread, sub, FM, ring and sync.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"
#include "engine/OscillatorParams.h"

namespace {
constexpr uint32_t kPhaseMask = 0x7FFFFF;
constexpr float kPhaseScale = 8388607.0f;


// Rounded to the nearest phase unit, the closest pitch the 23-bit phase can
// hold. Increments beyond a few hundred cycles per sample only alias; the
// bound keeps the float-to-integer conversion defined for any pitch.
int32_t toIncrement(float x) {
    if (!(x > 0.0f)) return 0;
    return x > 1.0e9f ? 1000000000 : static_cast<int32_t>(x + 0.5f);
}

float decibelGain(float v, float range) {
    return v < 0.001f ? 0.0f : std::pow(10.0f, (range * v - range) / 20.0f);
}
}  // namespace

void Engine::loadWave(int slot, int waveIndex) {
    tables.loadWave(oscSlots[slot].waveBuffer, waveIndex);
    oscSlots[slot].waveIndex = waveIndex;
    ++oscSlots[slot].waveVersion;
}

void Engine::decodeOscillators() {
    const float sampleRate = ctx.rates.sampleRate;
    overSamplingFilter = param(prm::OverSamplingFilter) > 0.5f;
    for (int n = 0; n < 3; ++n) {
        const OscillatorParams& p = kOscillatorParams[n];
        OscillatorSlot& s = oscSlots[n];
        s.on = param(p.on) > 0.5f;
        s.output = p.output < 0 || param(p.output) > 0.5f;
        s.tracking = param(p.tracking) > 0.5f;
        s.freeRunning = param(p.freeRunning) > 0.5f;
        const float spread = param(p.spread);
        s.spreadOn = spread >= 0.01f;
        s.spreadUp = std::exp2(spread / 30.0f);
        s.spreadDown = std::exp2(-spread / 30.0f);
        s.sync = p.sync >= 0 && param(p.sync) > 0.5f;
        if (n == 1) {
            s.fmMode = static_cast<int>(param(p.fmMode) * 2.99f);
            s.ringFlag = s.fmMode == 1;
            s.fmFlag = s.fmMode == 2;
        } else if (n == 2) {
            s.fmMode = static_cast<int>(param(p.fmMode) * 6.99f);
            s.ringFlag = s.fmMode == 1 || s.fmMode == 3 || s.fmMode == 5;
            s.fmFlag = s.fmMode == 2 || s.fmMode == 4 || s.fmMode == 6;
        }
        const int wave = static_cast<int>(param(p.type) * 127.99f);
        if (wave != s.waveIndex) loadWave(n, wave);
        s.whiteNoise = wave == 14;
        s.pinkNoise = wave == 15;
        const float speed = param(p.pwmSpeed);
        s.pwmRate = speed < 0.001f ? 0.0f : std::exp2(10.0f * speed) / sampleRate * 0.4296875f;
        oscSampleFn[n] = selectSampleFunction(s, n);
    }
    oscEnableMask = static_cast<uint8_t>((oscSlots[0].on ? 4 : 0) | (oscSlots[1].on ? 1 : 0) |
                                         (oscSlots[2].on ? 2 : 0));
    anySync = oscSlots[1].sync || oscSlots[2].sync;
}

void Engine::updateOscillatorGlobals() {
    bend = 0.9f * bend + 0.1f * pitchBendOffset;
    const float tuning = std::exp2((2.0f * param(prm::GlobalTuning) - 1.0f) / 12.0f) * 110.0f /
                         ctx.rates.sampleRate;
    for (int n = 0; n < 3; ++n) {
        const OscillatorParams& p = kOscillatorParams[n];
        const float semi =
            static_cast<float>(static_cast<int>(param(p.semi) * 96.99f) - 48) / 12.0f;
        const float fine =
            static_cast<float>(static_cast<int>((2.0f * param(p.fine) - 1.0f) * 100.0f)) *
            0.00083333335f;
        oscSlots[n].baseIncrement =
            std::exp2(bend + semi + fine) * oversampleScale * tuning * lfos.pitchLfoFactor() * kPhaseScale;
    }
}

void Engine::updateOscillatorLevels(Voice& v) {
    for (int n = 0; n < 3; ++n) {
        // A silent oscillator's levels are made anew in the block that turns it on.
        if (!oscSlots[n].on) continue;
        const OscillatorParams& p = kOscillatorParams[n];
        OscillatorVoice& o = v.osc[n];
        const int vol = moddst::osc(n, moddst::OscVol);
        const float volume = clamp01(param(p.volume) + v.ctrlAdd[vol]);
        if (volume != o.volumeInput) {
            o.volumeInput = volume;
            o.volumeGain = decibelGain(volume, 60.0f);
        }
        o.levelDelta = (o.volumeGain * v.mod[vol] - o.level) * 0.0625f;
        const float sub = clamp01(param(p.sub) + v.mod[moddst::osc(n, moddst::OscSub)]);
        if (sub != o.subInput) {
            o.subInput = sub;
            o.subGain = decibelGain(sub, 30.0f);
        }
        o.subLevel = o.subGain;
        o.subOn = sub > 0.01f;
    }
}

void Engine::updateOscillatorVoice(Voice& v) {
    const float common = v.mod[moddst::MainPitch];
    for (int n = 0; n < 3; ++n) {
        const OscillatorSlot& s = oscSlots[n];
        OscillatorVoice& o = v.osc[n];
        // A silent oscillator's increments are made anew in the block that
        // turns it on; the first one's also drives sync.
        if (s.on || (n == 0 && anySync)) {
            const float x = o.driftOffset + v.mod[moddst::osc(n, moddst::OscSemi)] +
                            v.mod[moddst::osc(n, moddst::OscFine)] +
                            (s.tracking ? v.glidePitch : 0.0f) + common;
            if (x != o.pitchInput) {
                o.pitchInput = x;
                o.pitchFactor = std::exp2(x);
            }
            const float increment = o.pitchFactor * s.baseIncrement;
            o.increment = toIncrement(increment);
            if (s.spreadOn) {
                o.incrementSpreadUp = toIncrement(increment * s.spreadUp);
                o.incrementSpreadDown = toIncrement(increment * s.spreadDown);
            }
            const float perSample = increment * static_cast<float>(oversampleFactor_);
            o.incrementSub = toIncrement(perSample * 0.5f);
            if (n == 0) v.incrementSyncMaster = toIncrement(perSample);
        }
        const float sym =
            clamp01(param(kOscillatorParams[n].symmetry) + v.mod[moddst::osc(n, moddst::OscSym)]);
        o.symmetrySmoothed = 0.00999999f * sym + 0.99f * o.symmetrySmoothed + 1e-15f;

        if (n > 0 && (s.fmFlag || s.ringFlag)) {
            const int fm = moddst::osc(n, moddst::OscFm);
            const float m = clamp01(param(kOscillatorParams[n].fmAmount) + v.ctrlAdd[fm]);
            if (s.fmFlag) {
                const float target = (std::exp2(2.99f * m) - 1.0f) * 6291440.5f * v.mod[fm];
                o.fmDelta = (target - o.fmAmount) * 0.0625f;
            } else {
                o.ringDelta = (m * v.mod[fm] - o.ringAmount) * 0.0625f;
            }
        }
    }
}

void Engine::setModulationAmountsDirect(Voice& v) {
    for (int n = 1; n < 3; ++n) {
        OscillatorVoice& o = v.osc[n];
        const int fm = moddst::osc(n, moddst::OscFm);
        const float m = clamp01(param(kOscillatorParams[n].fmAmount) + v.ctrlAdd[fm]);
        o.fmAmount = oscSlots[n].fmFlag ? (std::exp2(2.99f * m) - 1.0f) * 6291440.5f : 0.0f;
        o.ringAmount = oscSlots[n].ringFlag ? m : 0.0f;
        o.fmDelta = o.ringDelta = 0.0f;
    }
}

void Engine::updatePwmSteps(Voice& v) {
    for (int n = 0; n < 3; ++n) {
        OscillatorVoice& o = v.osc[n];
        o.pwmStep = oscSlots[n].pwmRate * v.mod[moddst::osc(n, moddst::OscPwmSpd)] * 16384.0f;
        o.pwmDepth =
            clamp01(param(kOscillatorParams[n].pwm) + v.mod[moddst::osc(n, moddst::OscPwm)]) *
            0.49f;
    }
}

void Engine::updateOscillatorVoiceFast(Voice& v) {
    for (int n = 0; n < 3; ++n) {
        if (!oscSlots[n].on) continue;
        OscillatorVoice& o = v.osc[n];
        o.pwmPhase += o.pwmStep;
        if (o.pwmPhase >= 65536.0f) o.pwmPhase -= 65536.0f;
        // Steps of several cycles (very low sample rates) and non-finite ones
        // must not hold up the tick.
        if (!(o.pwmPhase < 65536.0f && o.pwmPhase > -65536.0f))
            o.pwmPhase = std::isfinite(o.pwmPhase) ? std::fmod(o.pwmPhase, 65536.0f) : 0.0f;
        // Without depth the modulation is a signed zero, which adds nothing.
        const float r =
            o.pwmDepth == 0.0f ? 0.0f : tables.sineTable[static_cast<int>(o.pwmPhase) & 0xFFFF] * o.pwmDepth;
        o.tableRow = static_cast<int>(clamp01(o.symmetrySmoothed + r) * 255.999f);
        o.subThreshold = static_cast<uint32_t>(clamp01(r + 0.5f) * kPhaseScale);
    }
}

void Engine::updateDrift(Voice& v) {
    const float amount = param(prm::AnalogDrift);
    const float sampleRate = ctx.rates.sampleRate;
    for (int i = 0; i < 3; ++i) {
        OscillatorVoice& o = v.osc[i];
        o.driftPhase += 0.02685546875f * (256.0f - 128.0f * o.driftRandom) / sampleRate;
        if (o.driftPhase > 1.0f) {
            o.driftPhase -= 1.0f;
            o.driftRandom = static_cast<float>(random.next()) / 32767.0f;
        }
        const float sine = tables.sineTable[static_cast<int>(o.driftPhase * 65536.0f) & 0xFFFF];
        o.driftOffset = sine * static_cast<float>(i + 1) * 0.00375f * amount;
    }
}

void Engine::resetOscillatorPhases(Voice& v) {
    for (int n = 0; n < 3; ++n) {
        const OscillatorSlot& s = oscSlots[n];
        OscillatorVoice& o = v.osc[n];
        if (s.freeRunning) {
            o.phase = s.freePhase;
            o.phaseSpreadUp = s.freePhaseSpreadUp;
            o.phaseSpreadDown = s.freePhaseSpreadDown;
            o.phaseSub = s.freePhaseSub;
        } else {
            o.phase = o.phaseSpreadUp = o.phaseSpreadDown = o.phaseSub = 0;
        }
    }
    v.syncMasterPhase = 0;
}

void Engine::syncMasterStep(Voice& v) {
    v.syncMasterPhase += static_cast<uint32_t>(v.incrementSyncMaster);
    if (v.syncMasterPhase < kPhaseMask) return;
    for (int n = 1; n < 3; ++n) {
        if (!oscSlots[n].sync) continue;
        OscillatorVoice& o = v.osc[n];
        o.phase = o.phaseSpreadUp = o.phaseSpreadDown = o.phaseSub = 0;
    }
    v.syncMasterPhase &= kPhaseMask;
}

// Table reads, specialised on the choices decoded every 512 ticks.
template <bool Spread, bool Filter, bool Fm>
float Engine::tableSample(Engine& e, OscillatorVoice& o, const OscillatorSlot& s) {
    const float* wave = s.waveBuffer;
    const uint16_t* warp = e.tables.symmetryWarp[o.tableRow];
    const int n = e.oversampleFactor_;
    uint32_t offset = 0;
    if constexpr (Fm) {
        float d = o.fmInput * o.fmAmount;
        d = d > 2.0e9f ? 2.0e9f : (d < -2.0e9f ? -2.0e9f : d);
        offset = static_cast<uint32_t>(static_cast<int32_t>(d));
        o.phase += offset;
        if constexpr (Spread) {
            o.phaseSpreadUp += offset;
            o.phaseSpreadDown += offset;
        }
    }
    float history = o.oversampleHistory;
    float acc = 0.0f;
    for (int i = 0; i < n; ++i) {
        o.phase = (o.phase + static_cast<uint32_t>(o.increment)) & kPhaseMask;
        float x = wave[warp[o.phase >> 11]];
        if constexpr (Spread) {
            o.phaseSpreadUp = (o.phaseSpreadUp + static_cast<uint32_t>(o.incrementSpreadUp)) &
                              kPhaseMask;
            o.phaseSpreadDown =
                (o.phaseSpreadDown + static_cast<uint32_t>(o.incrementSpreadDown)) & kPhaseMask;
            x += wave[warp[o.phaseSpreadUp >> 11]] + wave[warp[o.phaseSpreadDown >> 11]];
        }
        if constexpr (Filter) {
            x = (x + history) * 0.5f + 1e-15f;
            history = x;
        }
        acc += x;
    }
    o.oversampleHistory = history;
    if constexpr (Fm) {
        o.phase = (o.phase - offset) & kPhaseMask;
        if constexpr (Spread) {
            o.phaseSpreadUp = (o.phaseSpreadUp - offset) & kPhaseMask;
            o.phaseSpreadDown = (o.phaseSpreadDown - offset) & kPhaseMask;
        }
    }
    return acc * (Spread ? 0.3333f * e.oversampleScale : e.oversampleScale);
}

float Engine::whiteNoiseSample(Engine& e, OscillatorVoice& /*o*/, const OscillatorSlot&) {
    return e.random.bipolar();
}

// Synced noise repeats with the sync master's period: it reads the fixed noise
// table from an index that the master resets.
float Engine::syncedNoiseSample(Engine& e, OscillatorVoice& o, const OscillatorSlot&) {
    const float x = e.tables.noiseTable[o.phase & 0xFFFF];
    o.phase = (o.phase + 1) & 0xFFFF;
    return x;
}

float Engine::pinkNoiseSample(Engine& e, OscillatorVoice& o, const OscillatorSlot&) {
    return o.pink.next(e.sampleCounterNow, e.random);
}

Engine::SampleFn Engine::selectSampleFunction(const OscillatorSlot& s, int n) const {
    if (s.whiteNoise) return n > 0 && s.sync ? &Engine::syncedNoiseSample : &Engine::whiteNoiseSample;
    if (s.pinkNoise) return &Engine::pinkNoiseSample;
    const bool fm = n > 0 && s.fmFlag;
    static constexpr SampleFn kTable[8] = {
        &Engine::tableSample<false, false, false>, &Engine::tableSample<false, false, true>,
        &Engine::tableSample<false, true, false>,  &Engine::tableSample<false, true, true>,
        &Engine::tableSample<true, false, false>,  &Engine::tableSample<true, false, true>,
        &Engine::tableSample<true, true, false>,   &Engine::tableSample<true, true, true>};
    return kTable[(s.spreadOn ? 4 : 0) | (overSamplingFilter ? 2 : 0) | (fm ? 1 : 0)];
}

float Engine::oscillatorStep(Voice& v, int n) {
    OscillatorVoice& o = v.osc[n];
    const OscillatorSlot& s = oscSlots[n];
    o.level += o.levelDelta;
    if (n > 0) {
        o.fmAmount += o.fmDelta;
        o.ringAmount += o.ringDelta;
    }
    float x = oscSampleFn[n](*this, o, s);
    if (o.subOn) {
        o.phaseSub = (o.phaseSub + static_cast<uint32_t>(o.incrementSub)) & kPhaseMask;
        x += o.phaseSub < o.subThreshold ? -o.subLevel : o.subLevel;
    }
    float out = o.level * x;
    if (n > 0) {
        // Modulators are this tick's outputs of oscillators 1 and 2 (after level).
        float modulator = 0.0f;
        switch (s.fmMode) {
            case 1:
            case 2:
                modulator = v.osc[0].output;
                break;
            case 3:
            case 4:
                modulator = v.osc[1].output;
                break;
            case 5:
            case 6:
                modulator = v.osc[0].output + v.osc[1].output;
                break;
            default:
                break;
        }
        if (s.ringFlag) out = (modulator * o.ringAmount + (1.0f - o.ringAmount)) * out;
        o.fmInput = s.fmFlag ? modulator : 0.0f;
    }
    o.output = out;
    if (tick16 && s.freeRunning) {
        OscillatorSlot& slot = oscSlots[n];
        slot.freePhase = o.phase;
        slot.freePhaseSpreadUp = o.phaseSpreadUp;
        slot.freePhaseSpreadDown = o.phaseSpreadDown;
        slot.freePhaseSub = o.phaseSub;
    }
    return out;
}
