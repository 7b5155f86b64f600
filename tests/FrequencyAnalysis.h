// Spectral measurements on rendered audio: single-frequency amplitudes,
// a windowed power spectrum, periods by autocorrelation.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <vector>

namespace spectrum {

constexpr double kPi = 3.14159265358979323846;

// Amplitude of the sinusoid at `hz` in x[begin, end) (Hann window, so
// neighbours a few cycles away barely leak in).
inline double amplitudeAt(const std::vector<float>& x, size_t begin, size_t end, double hz,
                          double sampleRate) {
    const size_t n = end - begin;
    std::complex<double> sum = 0.0;
    double windowSum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * kPi * double(i) / double(n));
        const double phase = 2.0 * kPi * hz * double(i) / sampleRate;
        sum += w * double(x[begin + i]) * std::complex<double>(std::cos(phase), -std::sin(phase));
        windowSum += w;
    }
    return 2.0 * std::abs(sum) / windowSum;
}

// Power per bin (0 .. n/2) of x[begin, begin + n) through a 4-term
// Blackman-Harris window, whose leakage stays below -90 dB. n is a power of two.
inline std::vector<double> powerSpectrum(const std::vector<float>& x, size_t begin, size_t n) {
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) {
        const double t = 2.0 * kPi * double(i) / double(n);
        const double w = 0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) -
                         0.01168 * std::cos(3 * t);
        a[i] = w * double(x[begin + i]);
    }
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * kPi / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
    std::vector<double> power(n / 2 + 1);
    for (size_t k = 0; k <= n / 2; ++k) power[k] = std::norm(a[k]);
    return power;
}

// The lag in [minLag, maxLag] at which x[begin, end) best matches itself.
inline int period(const std::vector<float>& x, size_t begin, size_t end, int minLag, int maxLag) {
    int best = minLag;
    double bestScore = -1e300;
    for (int lag = minLag; lag <= maxLag; ++lag) {
        double dot = 0.0, norm = 1e-30;
        for (size_t i = begin; i + size_t(lag) < end; ++i) {
            dot += double(x[i]) * x[i + size_t(lag)];
            norm += double(x[i + size_t(lag)]) * x[i + size_t(lag)];
        }
        const double score = dot / std::sqrt(norm);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

inline double decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace spectrum
