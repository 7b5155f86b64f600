// The two passes of a voice span: oscillators rendered a block at a time
// between the 4-sample ticks, and the filters of all voices sample by sample.
#include "engine/Engine.h"

namespace {
constexpr uint32_t kPhaseMask = 0x7FFFFF;
}

// Block rendering needs oscillators whose samples depend only on their own
// phases: no sync, FM or ring modulation, no noise, no oversampling filter.
bool Engine::blockOscillators() const {
    if (anySync || overSamplingFilter) return false;
    for (int n = 0; n < 3; ++n) {
        const OscillatorSlot& s = oscSlots[n];
        if (!s.on) continue;
        if (s.whiteNoise || s.pinkNoise || s.fmFlag || s.ringFlag) return false;
    }
    return true;
}

// K ticks of one table oscillator at once. Each tick's oversampled points are
// summed in the same order as one tick at a time; the K sums are independent
// and run side by side. Tick k starts from phase + k x factor x increment.
template <bool Spread, bool Composed, int K>
void Engine::tableBlock(OscillatorVoice& o, const OscillatorSlot& s, const float* table,
                        float* out) const {
    const float* wave = s.waveBuffer;
    const uint16_t* warp = tables.symmetryWarp[o.tableRow];
    auto read = [&](uint32_t phase) {
        if constexpr (Composed)
            return table[phase >> 11];
        else
            return wave[warp[phase >> 11]];
    };
    const int n = oversampleFactor_;
    const uint32_t inc = static_cast<uint32_t>(o.increment);
    const uint32_t incUp = static_cast<uint32_t>(o.incrementSpreadUp);
    const uint32_t incDown = static_cast<uint32_t>(o.incrementSpreadDown);
    const uint32_t un = static_cast<uint32_t>(n);
    uint32_t p[K], pu[K], pd[K];
    float acc[K];
    for (int k = 0; k < K; ++k) {
        const uint32_t ticks = static_cast<uint32_t>(k) * un;
        p[k] = o.phase + ticks * inc;
        pu[k] = o.phaseSpreadUp + ticks * incUp;
        pd[k] = o.phaseSpreadDown + ticks * incDown;
        acc[k] = 0.0f;
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < K; ++k) {
            p[k] = (p[k] + inc) & kPhaseMask;
            float x = read(p[k]);
            if constexpr (Spread) {
                pu[k] = (pu[k] + incUp) & kPhaseMask;
                pd[k] = (pd[k] + incDown) & kPhaseMask;
                x += read(pu[k]) + read(pd[k]);
            }
            acc[k] += x;
        }
    }
    o.phase = p[K - 1];
    if constexpr (Spread) {
        o.phaseSpreadUp = pu[K - 1];
        o.phaseSpreadDown = pd[K - 1];
    }
    const float scale = Spread ? 0.3333f * oversampleScale : oversampleScale;
    for (int k = 0; k < K; ++k) out[k] = acc[k] * scale;
}

template <bool Spread, bool Composed>
void Engine::tableBlocks(OscillatorVoice& o, const OscillatorSlot& s, const float* table, int count,
                         float* out) const {
    switch (count) {
        case 1: tableBlock<Spread, Composed, 1>(o, s, table, out); break;
        case 2: tableBlock<Spread, Composed, 2>(o, s, table, out); break;
        case 3: tableBlock<Spread, Composed, 3>(o, s, table, out); break;
        default: tableBlock<Spread, Composed, 4>(o, s, table, out); break;
    }
}

const float* Engine::composedWave(OscillatorSlot& s, int row) {
    ComposedWaves& c = s.composed;
    for (int t = 0; t < ComposedWaves::kTables; ++t)
        if (c.row[t] == row && c.version[t] == s.waveVersion) return c.table[t];
    if (row != c.candidateRow) {
        c.candidateRow = row;
        c.candidateCount = 0;
    }
    if (++c.candidateCount < ComposedWaves::kSteady) return nullptr;
    const int t = c.replace;
    c.replace = (t + 1) % ComposedWaves::kTables;
    const uint16_t* warp = tables.symmetryWarp[row];
    for (int i = 0; i < 4096; ++i) c.table[t][i] = s.waveBuffer[warp[i]];
    c.row[t] = row;
    c.version[t] = s.waveVersion;
    c.candidateCount = 0;
    return c.table[t];
}

void Engine::renderOscillatorBlock(OscillatorVoice& o, OscillatorSlot& s, int count, float* out) {
    const float* table = composedWave(s, o.tableRow);
    if (s.spreadOn) {
        if (table)
            tableBlocks<true, true>(o, s, table, count, out);
        else
            tableBlocks<true, false>(o, s, table, count, out);
    } else {
        if (table)
            tableBlocks<false, true>(o, s, table, count, out);
        else
            tableBlocks<false, false>(o, s, table, count, out);
    }
}

void Engine::voiceSpanFast(Voice& v, int index, uint32_t first, int n) {
    VoiceSpan& d = spanVoices[index];
    float raw[3][kMaxSpan];
    int j = 0;
    while (j < n) {
        // Up to the next 4-sample tick: nothing the oscillators read changes inside.
        int end = j + 1;
        while (end < n && ((first + static_cast<uint32_t>(end)) & 3) != 0) ++end;
        const bool saveFree = ((first + static_cast<uint32_t>(j)) & 15) == 0;
        int m = j;
        for (; m < end; ++m) {
            if (!voiceControl(v, index, first + static_cast<uint32_t>(m))) break;
            d.panLeft[m] = v.panAmpLeft;
            d.panRight[m] = v.panAmpRight;
        }
        int from = j;
        while (from < m) {
            const int to = std::min(m, from + 4);
            // Free-running phases are kept after the first tick of a 16-tick block.
            uint32_t afterFirst[3][3];
            for (int k = 0; k < 3; ++k) {
                if (!oscSlots[k].on) continue;
                OscillatorVoice& o = v.osc[k];
                if (saveFree && from == j) {
                    const uint32_t n = static_cast<uint32_t>(oversampleFactor_);
                    const bool spread = oscSlots[k].spreadOn;
                    afterFirst[k][0] = (o.phase + n * static_cast<uint32_t>(o.increment)) & kPhaseMask;
                    afterFirst[k][1] = spread ? (o.phaseSpreadUp + n * static_cast<uint32_t>(o.incrementSpreadUp)) & kPhaseMask
                                              : o.phaseSpreadUp;
                    afterFirst[k][2] = spread ? (o.phaseSpreadDown + n * static_cast<uint32_t>(o.incrementSpreadDown)) & kPhaseMask
                                              : o.phaseSpreadDown;
                }
                renderOscillatorBlock(o, oscSlots[k], to - from, raw[k] + from);
            }
            for (int t = from; t < to; ++t) {
                float mix = 0.0f;
                float levelSum = 0.0f;
                for (int k : {0, 1, 2}) {
                    OscillatorVoice& o = v.osc[k];
                    const OscillatorSlot& s = oscSlots[k];
                    if (!s.on) {
                        o.output = 0.0f;
                        continue;
                    }
                    o.level += o.levelDelta;
                    if (k > 0) {
                        o.fmAmount += o.fmDelta;
                        o.ringAmount += o.ringDelta;
                        o.fmInput = 0.0f;
                    }
                    float x = raw[k][t];
                    if (o.subOn) {
                        o.phaseSub = (o.phaseSub + static_cast<uint32_t>(o.incrementSub)) & kPhaseMask;
                        x += o.phaseSub < o.subThreshold ? -o.subLevel : o.subLevel;
                    }
                    const float out = o.level * x;
                    o.output = out;
                    if (saveFree && t == j && s.freeRunning) {
                        OscillatorSlot& slot = oscSlots[k];
                        slot.freePhase = afterFirst[k][0];
                        slot.freePhaseSpreadUp = afterFirst[k][1];
                        slot.freePhaseSpreadDown = afterFirst[k][2];
                        slot.freePhaseSub = o.phaseSub;
                    }
                    if (s.output) {
                        mix += out;
                        levelSum += o.level;
                    }
                }
                d.mix[t] = mix;
                d.levelSum[t] = levelSum;
            }
            from = to;
        }
        d.active = m;
        if (m < end) return;
        j = end;
    }
}

void Engine::filterSpan(uint32_t first, int n) {
    // The sounding voices, highest first (the order of the sums).
    int sounding[kVoices];
    int count = 0;
    for (int index = kVoices - 1; index >= 0; --index)
        if (spanVoices[index].active > 0) sounding[count++] = index;
    const bool secondary = secondaryFilterCode != 0;
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
            float out = filterMain(v, index, d.mix[j], d.levelSum[j]);
            if (secondary) out = filterSecondary(v, index, out);
            sumLeft += out * d.panLeft[j];
            sumRight += out * d.panRight[j];
        }
        spanLeft[j] = sumLeft;
        spanRight[j] = sumRight;
    }
}
