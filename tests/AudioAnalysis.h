// Measurements on rendered audio.
#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

namespace analysis {

inline double rms(const std::vector<float>& x, size_t begin, size_t end) {
    if (end > x.size()) end = x.size();
    if (end <= begin) return 0.0;
    double sum = 0.0;
    for (size_t i = begin; i < end; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(end - begin));
}

inline double peak(const std::vector<float>& x, size_t begin = 0, size_t end = size_t(-1)) {
    if (end > x.size()) end = x.size();
    double p = 0.0;
    for (size_t i = begin; i < end; ++i) p = std::fmax(p, std::fabs(x[i]));
    return p;
}

// Index of the first sample whose magnitude exceeds `threshold`, or -1.
inline long firstAbove(const std::vector<float>& x, double threshold, size_t begin = 0) {
    for (size_t i = begin; i < x.size(); ++i)
        if (std::fabs(x[i]) > threshold) return long(i);
    return -1;
}

// Frequency from rising zero crossings (interpolated) between begin and end.
inline double frequency(const std::vector<float>& x, double sampleRate, size_t begin, size_t end) {
    if (end > x.size()) end = x.size();
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (size_t i = begin + 1; i < end; ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            double t = double(i - 1) + double(-x[i - 1]) / double(x[i] - x[i - 1]);
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return sampleRate * double(crossings - 1) / (last - first);
}

inline double cents(double f, double reference) { return 1200.0 * std::log2(f / reference); }

// RMS envelope in windows of `window` samples.
inline std::vector<double> envelope(const std::vector<float>& x, size_t window) {
    std::vector<double> e;
    for (size_t i = 0; i + window <= x.size(); i += window) e.push_back(rms(x, i, i + window));
    return e;
}

// Peak magnitude in windows of `window` samples (use at least one period).
inline std::vector<double> peakEnvelope(const std::vector<float>& x, size_t window) {
    std::vector<double> e;
    for (size_t i = 0; i + window <= x.size(); i += window) e.push_back(peak(x, i, i + window));
    return e;
}

}  // namespace analysis
