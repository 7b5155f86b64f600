// Helpers for driving the effect slots through the plug-in: type and knob
// values, test sources, and the measurements the effect tests share.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "effects/StandaloneEffectBus.h"
#include "params/ParamIds.h"

namespace fxtest {

// The value the editor writes for effect type t.
inline float typeValue(int type) { return (float(type) + 0.5f) / 24.99f; }
inline int knobParameter(int slot, int knob) { return prm::FxKnobFirst + 3 * knob + slot; }
// The value that selects entry i of a list decoded with factor `count - 0.01`.
inline float entry(int i, int count) { return (float(i) + 0.5f) / (float(count) - 0.01f); }

// Puts `type` in `slot` with knobs A.. from `knobs` (the rest at 0).
inline void setEffect(vsthost::PluginHost& host, int slot, int type,
                      std::initializer_list<float> knobs, float mix = 1.0f, float pan = 0.5f) {
    host.setParameter(prm::Fx1Type + slot, typeValue(type));
    host.setParameter(prm::Fx1Mix + slot, mix);
    host.setParameter(prm::Fx1Pan + slot, pan);
    int k = 0;
    for (float v : knobs) host.setParameter(knobParameter(slot, k++), v);
    for (; k < 8; ++k) host.setParameter(knobParameter(slot, k), 0.0f);
}

// The plug-in at `rate` with the plain sine of TestSupport (or white noise),
// the host reporting `tempo` beats per minute (0: no tempo at all).
inline std::unique_ptr<vsthost::PluginHost> loadSource(float rate, bool noise, double tempo = 120.0) {
    auto host = testing_support::loadPlugin(rate);
    testing_support::setPlainSine(*host);
    if (noise) host->setParameter(prm::Osc1Type, entry(14, 128));  // "W. Noise"
    VstTimeInfo& time = host->timeInfo();
    time.tempo = tempo;
    time.flags = tempo > 0.0 ? kVstTempoValid : 0;
    return host;
}

// Sends enough audio for the type check (every 512 samples) to pick up new types.
inline void settle(vsthost::PluginHost& host, int frames = 1024) {
    testing_support::renderFrames(host, frames, 256);
}

// The lag in [minLag, maxLag] at which `y` best matches `x` over [begin, end).
inline int bestLag(const std::vector<float>& x, const std::vector<float>& y, size_t begin, size_t end,
                   int minLag, int maxLag, double* fraction = nullptr) {
    auto score = [&](int lag) {
        double s = 0.0;
        for (size_t i = begin; i < end; ++i) s += double(x[i - size_t(lag)]) * y[i];
        return s;
    };
    int best = minLag;
    double bestScore = -1e300;
    std::vector<double> scores;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        scores.push_back(score(lag));
        if (scores.back() > bestScore) {
            bestScore = scores.back();
            best = lag;
        }
    }
    if (fraction) {
        // Parabolic interpolation between the neighbours of the peak.
        *fraction = 0.0;
        const size_t i = size_t(best - minLag);
        if (i > 0 && i + 1 < scores.size()) {
            const double a = scores[i - 1], b = scores[i], c = scores[i + 1];
            const double d = a - 2.0 * b + c;
            if (d < 0.0) *fraction = 0.5 * (a - c) / d;
        }
    }
    return best;
}

inline std::vector<float> difference(const std::vector<float>& a, const std::vector<float>& b) {
    std::vector<float> d(a.size());
    for (size_t i = 0; i < a.size(); ++i) d[i] = a[i] - b[i];
    return d;
}

// The dry signal and a slot's wet output side by side, from one render: with
// mix 0.5 and the slot's pan at 0 (or 1) one channel carries the dry signal
// alone and the other dry plus wet.
struct Split {
    std::vector<float> dry, wet;
};

// A held noise note through `setup` (which chooses slot 1's type and knobs),
// rendered for `settle` samples that are dropped and `frames` that are kept.
inline Split renderSplit(float rate, double tempo, int settle, int frames, bool wetOnRight,
                         const std::function<void(vsthost::PluginHost&)>& setup) {
    auto host = loadSource(rate, true, tempo);
    setup(*host);
    host->setParameter(prm::Fx1Mix, 0.5f);
    host->setParameter(prm::Fx1Pan, wetOnRight ? 1.0f : 0.0f);
    testing_support::Render r =
        testing_support::renderFrames(*host, settle + frames, 512, {testing_support::noteOn(0, 57)});
    r.left.erase(r.left.begin(), r.left.begin() + settle);
    r.right.erase(r.right.begin(), r.right.begin() + settle);
    if (wetOnRight) return {r.left, difference(r.right, r.left)};
    return {r.right, difference(r.left, r.right)};
}

// A modulated delay read back from the output: the wet signal's lag behind
// the dry one, window by window.
struct Sweep {
    double lowest, highest;  // samples
    double hertz;            // from the crossings of the middle
};
inline Sweep measureSweep(const Split& s, double rate, int minLag, int maxLag, size_t window = 512) {
    constexpr size_t kHop = 256;
    std::vector<double> delay;
    for (size_t at = size_t(maxLag) + 1; at + window <= s.dry.size(); at += kHop) {
        double fraction = 0.0;
        const int lag = bestLag(s.dry, s.wet, at, at + window, minLag, maxLag, &fraction);
        delay.push_back(lag + fraction);
    }
    Sweep sweep{1e9, -1e9, 0.0};
    for (double d : delay) {
        sweep.lowest = std::min(sweep.lowest, d);
        sweep.highest = std::max(sweep.highest, d);
    }
    const double middle = 0.5 * (sweep.lowest + sweep.highest);
    int crossings = 0;
    double first = -1.0, last = -1.0;
    for (size_t i = 1; i < delay.size(); ++i)
        if ((delay[i - 1] - middle) * (delay[i] - middle) < 0.0) {
            const double t = double(i - 1) + (middle - delay[i - 1]) / (delay[i] - delay[i - 1]);
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    if (crossings >= 3) sweep.hertz = 0.5 * (crossings - 1) / ((last - first) * double(kHop) / rate);
    return sweep;
}

// The effect bus without the plug-in, for exact test signals: one type in
// slot 1, wet only, centred, the other slots empty.
struct SlotBus {
    std::unique_ptr<StandaloneEffectBus> b = std::make_unique<StandaloneEffectBus>();

    SlotBus(int type, std::initializer_list<float> knobs, float rate = 44100.0f) {
        b->ctx.rates.sampleRate = rate;
        b->ctx.rates.updateTempoDerived();
        b->values[prm::Fx1Type] = typeValue(type);
        b->values[prm::Fx1Mix] = 1.0f;
        b->values[prm::Fx1Pan] = 0.5f;
        int k = 0;
        for (float v : knobs) b->values[knobParameter(0, k++)] = v;
        b->bus.reset();
    }
    void knob(int k, float v) { b->values[knobParameter(0, k)] = v; }
    float step(float in) {
        float left = in, right = in;
        b->process(left, right);
        return left;
    }
    std::vector<float> run(const std::vector<float>& in) {
        std::vector<float> out(in.size());
        for (size_t i = 0; i < in.size(); ++i) out[i] = step(in[i]);
        return out;
    }
    // Amplitude of the output for a sine of `amplitude` at `hz` (after `settle` samples).
    double gainAt(double hz, double amplitude = 0.5, int settle = 8192, int frames = 16384) {
        const double rate = b->ctx.rates.sampleRate;
        std::vector<float> in(size_t(settle + frames));
        for (size_t i = 0; i < in.size(); ++i)
            in[i] = float(amplitude * std::sin(2.0 * 3.14159265358979 * hz * double(i) / rate));
        const std::vector<float> out = run(in);
        double a = 0.0, dot = 0.0;
        for (size_t i = size_t(settle); i < in.size(); ++i) {
            a += double(in[i]) * in[i];
            dot += double(out[i]) * out[i];
        }
        return std::sqrt(dot / a);
    }
};

// A slow ramp from -peak to +peak.
inline std::vector<float> ramp(int frames, float peak = 1.0f) {
    std::vector<float> x(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) x[size_t(i)] = peak * (2.0f * float(i) / float(frames - 1) - 1.0f);
    return x;
}

}  // namespace fxtest
