// The filter pass for the state-variable types, four voices side by side: the
// coefficients hold between the 4-sample ticks, so each stretch between two
// ticks loads four voices' coefficients and states into the lanes of SSE
// registers, runs the stretch and stores the states back. Every lane computes
// exactly what the one-voice code computes (same operations, same order);
// a lane whose voice is silent or quiet at a sample keeps its states.
#include <xmmintrin.h>
#include <emmintrin.h>

#include "engine/Engine.h"

namespace {
constexpr float kDenormal = 1e-15f;

inline __m128 set1(float x) { return _mm_set1_ps(x); }
inline __m128 select(__m128 mask, __m128 a, __m128 b) {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
}
// x < lo ? lo : (x > hi ? hi : x), as the scalar code (NaN passes).
inline __m128 limit(__m128 x, float lo, float hi) {
    const __m128 l = set1(lo), h = set1(hi);
    __m128 r = select(_mm_cmpgt_ps(x, h), h, x);
    return select(_mm_cmplt_ps(x, l), l, r);
}
inline __m128 absolute(__m128 x) { return _mm_andnot_ps(set1(-0.0f), x); }

// Four voices' coefficients, states and inputs for one stretch.
struct Group {
    FilterSlot* f[4];
    int lanes;
    int used;  // the lanes in use, as a movemask
    __m128 svfF, damping, low, band, high;
    __m128 b0, b1, b2, a1, a2, x1, x2, y1, y2;
    __m128 driving, driveAmount;
    __m128i sounds;
    __m128 xs[4], ls[4], ys[4];
};

template <typename Get>
inline __m128 gather(const FilterSlot* const* f, Get get) {
    return _mm_setr_ps(get(*f[0]), get(*f[1]), get(*f[2]), get(*f[3]));
}
}  // namespace

template <bool Biquad, bool High>
void Engine::filterPassLanes(uint32_t first, int n, const int* sounding, int count, float gain) {
    float out[kVoices][kMaxSpan + 3];
    const bool smoothing = filterSmoothing;
    // A spare slot for the unused lanes of the last group.
    FilterSlot spare;
    int j = 0;
    while (j < n) {
        int end = j + 1;
        while (end < n && ((first + static_cast<uint32_t>(end)) & 3) != 0) ++end;
        const bool atTick4 = ((first + static_cast<uint32_t>(j)) & 3) == 0;
        // The ramps of every sample, with the cutoff update after the first.
        for (int c = 0; c < count; ++c) {
            const int index = sounding[c];
            const VoiceSpan& d = spanVoices[index];
            Voice& v = voices[index];
            for (int t = j; t < end && t < d.active; ++t) {
                v.filterEnvLevel += v.filterEnvDelta;
                v.filter.filt2Mod += v.filter.filt2ModDelta;
                if (t == j && atTick4) updateCutoff(v, index);
            }
        }
        // The groups run side by side, sample after sample, so that their
        // recursions overlap.
        Group groups[4];
        const int groupCount = (count + 3) / 4;
        for (int g = 0; g < groupCount; ++g) {
            Group& q = groups[g];
            q.lanes = count - 4 * g < 4 ? count - 4 * g : 4;
            q.used = (1 << q.lanes) - 1;
            const VoiceSpan* d[4] = {&spanVoices[sounding[4 * g]]};
            const FilterVoice* fv[4] = {&voices[sounding[4 * g]].filter};
            for (int l = 0; l < 4; ++l) {
                if (l < q.lanes) {
                    const int index = sounding[4 * g + l];
                    q.f[l] = &filterSlots[index];
                    d[l] = &spanVoices[index];
                    fv[l] = &voices[index].filter;
                } else {
                    q.f[l] = &spare;
                    d[l] = d[0];
                    fv[l] = fv[0];
                }
            }
            const FilterSlot* const* cf = q.f;
            q.svfF = gather(cf, [](const FilterSlot& s) { return s.svfF; });
            q.damping = gather(cf, [](const FilterSlot& s) { return s.svfDamping; });
            q.low = gather(cf, [](const FilterSlot& s) { return s.low; });
            q.band = gather(cf, [](const FilterSlot& s) { return s.band; });
            q.high = gather(cf, [](const FilterSlot& s) { return s.high; });
            if constexpr (Biquad) {
                q.b0 = gather(cf, [](const FilterSlot& s) { return s.b0; });
                q.b1 = gather(cf, [](const FilterSlot& s) { return s.b1; });
                q.b2 = gather(cf, [](const FilterSlot& s) { return s.b2; });
                q.a1 = gather(cf, [](const FilterSlot& s) { return s.a1; });
                q.a2 = gather(cf, [](const FilterSlot& s) { return s.a2; });
                q.x1 = gather(cf, [](const FilterSlot& s) { return s.x1; });
                q.x2 = gather(cf, [](const FilterSlot& s) { return s.x2; });
                q.y1 = gather(cf, [](const FilterSlot& s) { return s.y1; });
                q.y2 = gather(cf, [](const FilterSlot& s) { return s.y2; });
            }
            q.driving = _mm_castsi128_ps(_mm_setr_epi32(fv[0]->driveOn ? -1 : 0, fv[1]->driveOn ? -1 : 0,
                                                        fv[2]->driveOn ? -1 : 0, fv[3]->driveOn ? -1 : 0));
            q.driveAmount = _mm_setr_ps(fv[0]->driveSmoothed, fv[1]->driveSmoothed, fv[2]->driveSmoothed,
                                        fv[3]->driveSmoothed);
            q.sounds = _mm_setr_epi32(d[0]->active, q.lanes > 1 ? d[1]->active : 0,
                                      q.lanes > 2 ? d[2]->active : 0, q.lanes > 3 ? d[3]->active : 0);
            // Four samples of four voices, turned so that each register holds one sample.
            for (int l = 0; l < 4; ++l) {
                q.xs[l] = _mm_loadu_ps(d[l]->mix + j);
                q.ls[l] = _mm_loadu_ps(d[l]->levelSum + j);
                q.ys[l] = _mm_setzero_ps();
            }
            _MM_TRANSPOSE4_PS(q.xs[0], q.xs[1], q.xs[2], q.xs[3]);
            _MM_TRANSPOSE4_PS(q.ls[0], q.ls[1], q.ls[2], q.ls[3]);
        }

        for (int t = j; t < end; ++t) {
            for (int g = 0; g < groupCount; ++g) {
                Group& q = groups[g];
                const __m128 levelSum = q.ls[t - j];
                const __m128 active =
                    _mm_and_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(q.sounds, _mm_set1_epi32(t))),
                               _mm_cmpnlt_ps(absolute(levelSum), set1(0.001f)));
                // Lanes that sound keep their states as computed; the others
                // (a voice gone silent, a quiet voice, an unused lane) keep
                // the old ones. Mostly every used lane sounds.
                const bool all = (_mm_movemask_ps(active) & q.used) == q.used;
                auto keep = [&](__m128 next, __m128 old) { return all ? next : select(active, next, old); };
                __m128 x = q.xs[t - j];
                if (smoothing) x = _mm_div_ps(x, levelSum);
                if (_mm_movemask_ps(q.driving) != 0) {
                    const __m128 kx = _mm_mul_ps(q.driveAmount, x);
                    __m128 driven = _mm_div_ps(_mm_add_ps(x, kx), _mm_add_ps(absolute(kx), set1(1.0f)));
                    driven = _mm_add_ps(limit(driven, -1.0f, 1.0f), set1(kDenormal));
                    x = select(q.driving, driven, x);
                }
                __m128 in = x;
                if constexpr (Biquad) {
                    __m128 y = _mm_mul_ps(q.b0, x);
                    y = _mm_add_ps(y, _mm_mul_ps(q.b1, q.x1));
                    y = _mm_add_ps(y, _mm_mul_ps(q.b2, q.x2));
                    y = _mm_sub_ps(y, _mm_mul_ps(q.a1, q.y1));
                    y = _mm_sub_ps(y, _mm_mul_ps(q.a2, q.y2));
                    y = _mm_add_ps(y, set1(kDenormal));
                    q.x2 = keep(q.x1, q.x2);
                    q.x1 = keep(x, q.x1);
                    q.y2 = keep(q.y1, q.y2);
                    q.y1 = keep(y, q.y1);
                    in = y;
                }
                // The state-variable stage with its saturated band state.
                __m128 b = limit(q.band, -18.257419f, 18.257419f);
                __m128 s = _mm_mul_ps(set1(0.001f), b);
                s = _mm_mul_ps(s, b);
                s = _mm_sub_ps(set1(1.0f), s);
                b = _mm_add_ps(_mm_mul_ps(s, b), set1(kDenormal));
                const __m128 h = _mm_sub_ps(_mm_sub_ps(in, q.low), _mm_mul_ps(q.damping, b));
                const __m128 bn = _mm_add_ps(_mm_add_ps(_mm_mul_ps(q.svfF, h), b), set1(kDenormal));
                const __m128 ln = _mm_add_ps(_mm_add_ps(_mm_mul_ps(q.svfF, bn), q.low), set1(kDenormal));
                q.high = keep(h, q.high);
                q.band = keep(bn, q.band);
                q.low = keep(ln, q.low);
                __m128 y = _mm_mul_ps(set1(gain), High ? h : ln);
                y = limit(y, -100.0f, 100.0f);
                if (smoothing) y = _mm_mul_ps(y, levelSum);
                q.ys[t - j] = _mm_and_ps(active, y);
            }
        }

        for (int g = 0; g < groupCount; ++g) {
            Group& q = groups[g];
            _MM_TRANSPOSE4_PS(q.ys[0], q.ys[1], q.ys[2], q.ys[3]);
            for (int l = 0; l < q.lanes; ++l) _mm_storeu_ps(out[4 * g + l] + j, q.ys[l]);
            alignas(16) float st[7][4];
            _mm_store_ps(st[0], q.low);
            _mm_store_ps(st[1], q.band);
            _mm_store_ps(st[2], q.high);
            if constexpr (Biquad) {
                _mm_store_ps(st[3], q.x1);
                _mm_store_ps(st[4], q.x2);
                _mm_store_ps(st[5], q.y1);
                _mm_store_ps(st[6], q.y2);
            }
            for (int l = 0; l < q.lanes; ++l) {
                FilterSlot& f = *q.f[l];
                f.low = st[0][l];
                f.band = st[1][l];
                f.high = st[2][l];
                if constexpr (Biquad) {
                    f.x1 = st[3][l];
                    f.x2 = st[4][l];
                    f.y1 = st[5][l];
                    f.y2 = st[6][l];
                }
            }
        }
        j = end;
    }
    for (int t = 0; t < n; ++t) {
        float sumLeft = 0.0f;
        float sumRight = 0.0f;
        for (int c = 0; c < count; ++c) {
            const VoiceSpan& d = spanVoices[sounding[c]];
            if (t >= d.active) continue;
            sumLeft += out[c][t] * d.panLeft[t];
            sumRight += out[c][t] * d.panRight[t];
        }
        spanLeft[t] = sumLeft;
        spanRight[t] = sumRight;
    }
}

template void Engine::filterPassLanes<false, false>(uint32_t, int, const int*, int, float);
template void Engine::filterPassLanes<false, true>(uint32_t, int, const int*, int, float);
template void Engine::filterPassLanes<true, false>(uint32_t, int, const int*, int, float);
template void Engine::filterPassLanes<true, true>(uint32_t, int, const int*, int, float);
