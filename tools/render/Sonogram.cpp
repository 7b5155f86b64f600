#include "Sonogram.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTiny = 1e-30;  // keeps the logarithm of silence finite

// About 93 ms per frame: 10.8 Hz per bin at 44.1 kHz, fine enough for the
// low octaves without smearing notes.
size_t fftSizeFor(int sampleRate) {
    size_t n = 1024;
    while (n < static_cast<size_t>(0.09 * sampleRate)) n *= 2;
    return n;
}

}  // namespace

Spectrogram::Spectrogram(int sampleRate, uint64_t totalFrames, int columns, int rows, double lowHz,
                         double highHz)
    : sampleRate_(std::max(sampleRate, 1)),
      totalFrames_(std::max<uint64_t>(totalFrames, 1)),
      columns_(std::max(columns, 1)),
      rows_(std::max(rows, 1)),
      lowHz_(lowHz),
      highHz_(std::min(highHz, 0.5 * sampleRate_)),
      fft_(fftSizeFor(sampleRate_)),
      window_(fft_.size()),
      history_(fft_.size(), 0.0f),
      buffer_(fft_.size()),
      power_(fft_.size() / 2 + 1),
      rowLowBin_(static_cast<size_t>(rows_)),
      rowHighBin_(static_cast<size_t>(rows_)),
      sums_(static_cast<size_t>(rows_) * columns_, 0.0),
      counts_(static_cast<size_t>(columns_), 0),
      levels_(static_cast<size_t>(rows_) * columns_, kFloorDb) {
    const size_t n = fft_.size();
    double windowSum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        window_[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * double(i) / double(n));
        windowSum += window_[i];
    }
    reference_ = 0.25 * windowSum * windowSum;  // |sum of w x sin| at the sine's bin, squared
    // At least one frame per column, at most a quarter frame apart.
    const double framesPerColumn = static_cast<double>(totalFrames_) / columns_;
    hop_ = static_cast<size_t>(std::clamp(framesPerColumn, 1.0, double(n / 4)));
    // The first frame is centred on sample 0 (the window reaches back into silence).
    nextFrameEnd_ = n / 2;

    const double binHz = double(sampleRate_) / double(n);
    for (int r = 0; r < rows_; ++r) {
        auto hz = [&](double row) { return lowHz_ * std::pow(highHz_ / lowHz_, row / rows_); };
        rowLowBin_[static_cast<size_t>(r)] = hz(r) / binHz;
        rowHighBin_[static_cast<size_t>(r)] = hz(r + 1) / binHz;
    }
}

double Spectrogram::rowOf(double hz) const { return rows_ * std::log(hz / lowHz_) / std::log(highHz_ / lowHz_); }

void Spectrogram::add(const float* left, const float* right, size_t frames) {
    const size_t n = fft_.size();
    for (size_t i = 0; i < frames; ++i) {
        const float l = left ? left[i] : 0.0f, r = right ? right[i] : 0.0f;
        const float mix = 0.5f * ((std::isfinite(l) ? l : 0.0f) + (std::isfinite(r) ? r : 0.0f));
        history_[head_] = mix;
        head_ = (head_ + 1) % n;
        ++received_;
        if (received_ == nextFrameEnd_) {
            analyseFrame();
            nextFrameEnd_ += hop_;
        }
    }
}

void Spectrogram::finish() {
    // Frames centred up to the end: pad with silence.
    const size_t n = fft_.size();
    const float silence[256] = {};
    while (nextFrameEnd_ - n / 2 < totalFrames_ && received_ < totalFrames_ + n) {
        const uint64_t due = nextFrameEnd_ - received_;
        add(silence, silence, static_cast<size_t>(std::min<uint64_t>(due, 256)));
    }
    // Columns no frame landed in take their left neighbour's levels.
    for (int c = 0; c < columns_; ++c) {
        const int from = counts_[static_cast<size_t>(c)] ? c : std::max(c - 1, 0);
        for (int r = 0; r < rows_; ++r) {
            const size_t cell = static_cast<size_t>(r) * columns_ + c;
            const uint32_t count = counts_[static_cast<size_t>(from)];
            if (from != c) {
                levels_[cell] = levels_[static_cast<size_t>(r) * columns_ + from];
                continue;
            }
            const double power = count ? sums_[cell] / count : 0.0;
            levels_[cell] = power > 0.0 ? std::max(kFloorDb, float(10.0 * std::log10(power / reference_))) : kFloorDb;
        }
    }
}

void Spectrogram::analyseFrame() {
    const size_t n = fft_.size();
    for (size_t i = 0; i < n; ++i) buffer_[i] = window_[i] * history_[(head_ + i) % n];
    fft_.transform(buffer_);
    for (size_t k = 0; k <= n / 2; ++k) power_[k] = std::norm(buffer_[k]);

    const uint64_t centre = nextFrameEnd_ - n / 2;
    if (centre >= totalFrames_) return;
    const int column = std::min(columns_ - 1, static_cast<int>(centre * static_cast<uint64_t>(columns_) / totalFrames_));
    ++counts_[static_cast<size_t>(column)];
    for (int r = 0; r < rows_; ++r) {
        const double low = rowLowBin_[static_cast<size_t>(r)], high = rowHighBin_[static_cast<size_t>(r)];
        double p = 0.0;
        const auto first = static_cast<size_t>(std::ceil(low)), last = static_cast<size_t>(std::floor(high));
        if (last >= first && last <= n / 2) {
            // The row spans whole bins: its strongest.
            for (size_t k = first; k <= last; ++k) p = std::max(p, power_[k]);
        } else {
            // Narrower than a bin: a parabola through the log powers of the
            // stronger of the two bins around its middle and their neighbours,
            // so that a low tone peaks in its own row.
            const double middle = std::clamp(0.5 * (low + high), 1.0, double(n / 2) - 2.0);
            size_t k = static_cast<size_t>(middle);
            if (power_[k + 1] > power_[k]) ++k;
            const double d = middle - double(k);
            const double a = std::log(power_[k - 1] + kTiny), b = std::log(power_[k] + kTiny),
                         c = std::log(power_[k + 1] + kTiny);
            p = std::exp(b + 0.5 * d * (c - a) + 0.5 * d * d * (a - 2.0 * b + c));
        }
        sums_[static_cast<size_t>(r) * columns_ + column] += p;
    }
}

}  // namespace render
