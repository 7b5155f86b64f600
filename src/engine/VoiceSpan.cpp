// The first pass of a voice span: control blocks, ramps and the oscillators,
// rendered a block at a time between the 4-sample ticks. The second pass,
// the filters, is Engine::filterSpan (Filters.cpp).
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
// Scalar on purpose: the loads dominate, and the vectoriser's shuffles cost more.
template <bool Spread, bool Composed, int K>
__attribute__((optimize("no-tree-vectorize"))) void Engine::tableBlock(OscillatorVoice& o, const OscillatorSlot& s,
                                                                      const float* table, float* out) const {
    const float* wave = s.waveBuffer;
    const uint16_t* warp = tables.symmetryWarp[o.tableRow];
    auto read = [&](uint32_t i) {
        if constexpr (Composed)
            return table[i];
        else
            return wave[warp[i]];
    };
    const int n = oversampleFactor_;
    // A phase held in the top 23 bits of a word wraps with the word (no mask),
    // and its table index is the top 12 bits.
    const uint32_t inc = static_cast<uint32_t>(o.increment) << 9;
    const uint32_t incUp = static_cast<uint32_t>(o.incrementSpreadUp) << 9;
    const uint32_t incDown = static_cast<uint32_t>(o.incrementSpreadDown) << 9;
    const uint32_t un = static_cast<uint32_t>(n);
    uint32_t p[K], pu[K], pd[K];
    float acc[K];
    for (int k = 0; k < K; ++k) {
        const uint32_t ticks = static_cast<uint32_t>(k) * un;
        p[k] = (o.phase << 9) + ticks * inc;
        pu[k] = (o.phaseSpreadUp << 9) + ticks * incUp;
        pd[k] = (o.phaseSpreadDown << 9) + ticks * incDown;
        acc[k] = 0.0f;
    }
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < K; ++k) {
            p[k] += inc;
            float x = read(p[k] >> 20);
            if constexpr (Spread) {
                pu[k] += incUp;
                pd[k] += incDown;
                x += read(pu[k] >> 20) + read(pd[k] >> 20);
            }
            acc[k] += x;
        }
    }
    o.phase = p[K - 1] >> 9;
    if constexpr (Spread) {
        o.phaseSpreadUp = pu[K - 1] >> 9;
        o.phaseSpreadDown = pd[K - 1] >> 9;
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
    int j = 0;
    while (j < n) {
        // Up to the next 4-sample tick: nothing the oscillators read changes inside.
        int end = j + 1;
        while (end < n && ((first + static_cast<uint32_t>(end)) & 3) != 0) ++end;
        const bool saveFree = ((first + static_cast<uint32_t>(j)) & 15) == 0;

        // The first sample may hold control blocks; the others only ramp.
        if (!voiceControl(v, index, first + static_cast<uint32_t>(j))) return;
        d.panLeft[j] = v.panAmpLeft;
        d.panRight[j] = v.panAmpRight;
        int m = j + 1;
        float amp = v.ampLevel;
        for (; m < end; ++m) {
            if (!v.gate && !(amp > 0.0001f)) break;
            amp += v.ampDelta;
            d.panLeft[m] = v.gainLeft * amp;
            d.panRight[m] = v.gainRight * amp;
        }
        const int ramped = m - j - 1;
        if (ramped > 0) {
            v.ampLevel = amp;
            v.panAmpLeft = d.panLeft[m - 1];
            v.panAmpRight = d.panRight[m - 1];
            for (EnvelopeState& e : v.env) e.stepCounter += ramped;
            v.oscLevelCounter += ramped;
        }

        const int count = m - j;
        float mix[4] = {}, levelSum[4] = {};
        for (int k = 0; k < 3; ++k) {
            OscillatorVoice& o = v.osc[k];
            OscillatorSlot& s = oscSlots[k];
            if (!s.on) {
                o.output = 0.0f;
                continue;
            }
            // Free-running phases are kept after the first tick of a 16-tick block.
            uint32_t afterFirst[3] = {};
            if (saveFree && s.freeRunning) {
                const uint32_t factor = static_cast<uint32_t>(oversampleFactor_);
                auto advance = [&](uint32_t phase, int32_t increment) {
                    return (phase + factor * static_cast<uint32_t>(increment)) & kPhaseMask;
                };
                afterFirst[0] = advance(o.phase, o.increment);
                afterFirst[1] = s.spreadOn ? advance(o.phaseSpreadUp, o.incrementSpreadUp) : o.phaseSpreadUp;
                afterFirst[2] =
                    s.spreadOn ? advance(o.phaseSpreadDown, o.incrementSpreadDown) : o.phaseSpreadDown;
            }
            float raw[4];
            renderOscillatorBlock(o, s, count, raw);
            float level = o.level;
            uint32_t sub = o.phaseSub;
            float out = 0.0f;
            for (int t = 0; t < count; ++t) {
                level += o.levelDelta;
                float x = raw[t];
                if (o.subOn) {
                    sub = (sub + static_cast<uint32_t>(o.incrementSub)) & kPhaseMask;
                    x += sub < o.subThreshold ? -o.subLevel : o.subLevel;
                }
                out = level * x;
                if (t == 0 && saveFree && s.freeRunning) {
                    s.freePhase = afterFirst[0];
                    s.freePhaseSpreadUp = afterFirst[1];
                    s.freePhaseSpreadDown = afterFirst[2];
                    s.freePhaseSub = sub;
                }
                if (s.output) {
                    mix[t] += out;
                    levelSum[t] += level;
                }
            }
            o.level = level;
            o.phaseSub = sub;
            o.output = out;
            if (k > 0) {
                for (int t = 0; t < count; ++t) {
                    o.fmAmount += o.fmDelta;
                    o.ringAmount += o.ringDelta;
                }
                o.fmInput = 0.0f;
            }
        }
        for (int t = 0; t < count; ++t) {
            d.mix[j + t] = mix[t];
            d.levelSum[j + t] = levelSum[t];
        }
        d.active = m;
        if (m < end) {
            v.note = -1;
            return;
        }
        j = end;
    }
}
