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

struct Lanes {
    __m128 v;
};

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
        for (int g = 0; g < count; g += 4) {
            FilterSlot* f[4];
            const VoiceSpan* d[4];
            const FilterVoice* fv[4];
            int lanes = count - g < 4 ? count - g : 4;
            for (int l = 0; l < 4; ++l) {
                if (l < lanes) {
                    const int index = sounding[g + l];
                    f[l] = &filterSlots[index];
                    d[l] = &spanVoices[index];
                    fv[l] = &voices[index].filter;
                } else {
                    f[l] = &spare;
                    d[l] = d[0];
                    fv[l] = fv[0];
                }
            }
            const FilterSlot* const* cf = f;
            const __m128 svfF = gather(cf, [](const FilterSlot& s) { return s.svfF; });
            const __m128 damping = gather(cf, [](const FilterSlot& s) { return s.svfDamping; });
            __m128 low = gather(cf, [](const FilterSlot& s) { return s.low; });
            __m128 band = gather(cf, [](const FilterSlot& s) { return s.band; });
            __m128 high = gather(cf, [](const FilterSlot& s) { return s.high; });
            __m128 b0{}, b1{}, b2{}, a1{}, a2{}, x1{}, x2{}, y1{}, y2{};
            if constexpr (Biquad) {
                b0 = gather(cf, [](const FilterSlot& s) { return s.b0; });
                b1 = gather(cf, [](const FilterSlot& s) { return s.b1; });
                b2 = gather(cf, [](const FilterSlot& s) { return s.b2; });
                a1 = gather(cf, [](const FilterSlot& s) { return s.a1; });
                a2 = gather(cf, [](const FilterSlot& s) { return s.a2; });
                x1 = gather(cf, [](const FilterSlot& s) { return s.x1; });
                x2 = gather(cf, [](const FilterSlot& s) { return s.x2; });
                y1 = gather(cf, [](const FilterSlot& s) { return s.y1; });
                y2 = gather(cf, [](const FilterSlot& s) { return s.y2; });
            }
            const __m128 driving = _mm_castsi128_ps(_mm_setr_epi32(
                fv[0]->driveOn ? -1 : 0, fv[1]->driveOn ? -1 : 0, fv[2]->driveOn ? -1 : 0, fv[3]->driveOn ? -1 : 0));
            const __m128 driveAmount =
                _mm_setr_ps(fv[0]->driveSmoothed, fv[1]->driveSmoothed, fv[2]->driveSmoothed, fv[3]->driveSmoothed);
            const __m128i sounds = _mm_setr_epi32(d[0]->active, lanes > 1 ? d[1]->active : 0,
                                                  lanes > 2 ? d[2]->active : 0, lanes > 3 ? d[3]->active : 0);
            // Four samples of four voices, turned so that each register holds one sample.
            __m128 xs[4] = {_mm_loadu_ps(d[0]->mix + j), _mm_loadu_ps(d[1]->mix + j),
                            _mm_loadu_ps(d[2]->mix + j), _mm_loadu_ps(d[3]->mix + j)};
            __m128 ls[4] = {_mm_loadu_ps(d[0]->levelSum + j), _mm_loadu_ps(d[1]->levelSum + j),
                            _mm_loadu_ps(d[2]->levelSum + j), _mm_loadu_ps(d[3]->levelSum + j)};
            _MM_TRANSPOSE4_PS(xs[0], xs[1], xs[2], xs[3]);
            _MM_TRANSPOSE4_PS(ls[0], ls[1], ls[2], ls[3]);
            __m128 ys[4] = {_mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps(), _mm_setzero_ps()};

            for (int t = j; t < end; ++t) {
                const __m128 levelSum = ls[t - j];
                const __m128 active = _mm_and_ps(
                    _mm_castsi128_ps(_mm_cmpgt_epi32(sounds, _mm_set1_epi32(t))),
                    _mm_cmpnlt_ps(absolute(levelSum), set1(0.001f)));
                __m128 x = xs[t - j];
                if (smoothing) x = _mm_div_ps(x, levelSum);
                {
                    const __m128 kx = _mm_mul_ps(driveAmount, x);
                    __m128 driven = _mm_div_ps(_mm_add_ps(x, kx), _mm_add_ps(absolute(kx), set1(1.0f)));
                    driven = _mm_add_ps(limit(driven, -1.0f, 1.0f), set1(kDenormal));
                    x = select(driving, driven, x);
                }
                __m128 in = x;
                if constexpr (Biquad) {
                    __m128 y = _mm_mul_ps(b0, x);
                    y = _mm_add_ps(y, _mm_mul_ps(b1, x1));
                    y = _mm_add_ps(y, _mm_mul_ps(b2, x2));
                    y = _mm_sub_ps(y, _mm_mul_ps(a1, y1));
                    y = _mm_sub_ps(y, _mm_mul_ps(a2, y2));
                    y = _mm_add_ps(y, set1(kDenormal));
                    x2 = select(active, x1, x2);
                    x1 = select(active, x, x1);
                    y2 = select(active, y1, y2);
                    y1 = select(active, y, y1);
                    in = y;
                }
                // The state-variable stage with its saturated band state.
                __m128 b = limit(band, -18.257419f, 18.257419f);
                __m128 s = _mm_mul_ps(set1(0.001f), b);
                s = _mm_mul_ps(s, b);
                s = _mm_sub_ps(set1(1.0f), s);
                b = _mm_add_ps(_mm_mul_ps(s, b), set1(kDenormal));
                const __m128 h = _mm_sub_ps(_mm_sub_ps(in, low), _mm_mul_ps(damping, b));
                const __m128 bn = _mm_add_ps(_mm_add_ps(_mm_mul_ps(svfF, h), b), set1(kDenormal));
                const __m128 ln = _mm_add_ps(_mm_add_ps(_mm_mul_ps(svfF, bn), low), set1(kDenormal));
                high = select(active, h, high);
                band = select(active, bn, band);
                low = select(active, ln, low);
                __m128 y = _mm_mul_ps(set1(gain), High ? h : ln);
                y = limit(y, -100.0f, 100.0f);
                if (smoothing) y = _mm_mul_ps(y, levelSum);
                ys[t - j] = _mm_and_ps(active, y);
            }
            _MM_TRANSPOSE4_PS(ys[0], ys[1], ys[2], ys[3]);
            for (int l = 0; l < lanes; ++l) _mm_storeu_ps(out[g + l] + j, ys[l]);

            alignas(16) float st[9][4];
            _mm_store_ps(st[0], low);
            _mm_store_ps(st[1], band);
            _mm_store_ps(st[2], high);
            if constexpr (Biquad) {
                _mm_store_ps(st[3], x1);
                _mm_store_ps(st[4], x2);
                _mm_store_ps(st[5], y1);
                _mm_store_ps(st[6], y2);
            }
            for (int l = 0; l < lanes; ++l) {
                f[l]->low = st[0][l];
                f[l]->band = st[1][l];
                f[l]->high = st[2][l];
                if constexpr (Biquad) {
                    f[l]->x1 = st[3][l];
                    f[l]->x2 = st[4][l];
                    f[l]->y1 = st[5][l];
                    f[l]->y2 = st[6][l];
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
