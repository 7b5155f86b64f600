// The analysis behind --spectrogram: the render, streamed in as it is
// written, cut into overlapping Hann-windowed frames whose power spectra are
// gathered into a grid of time columns and frequency rows (log-spaced). Only
// the grid is kept, so a render of any length costs the same memory.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Fft.h"

namespace render {

class Spectrogram {
public:
    // `totalFrames`: how long the render will be; `columns` x `rows` the grid;
    // rows cover lowHz .. highHz (row 0 the lowest).
    Spectrogram(int sampleRate, uint64_t totalFrames, int columns, int rows, double lowHz, double highHz);

    // Appends frames (the two channels are mixed; NaN and infinity count as silence).
    void add(const float* left, const float* right, size_t frames);
    // Analyses what is left once the whole render has been added.
    void finish();

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    double lowHz() const { return lowHz_; }
    double highHz() const { return highHz_; }
    double seconds() const { return static_cast<double>(totalFrames_) / sampleRate_; }
    // Level of a cell in dB relative to a full-scale sine (after finish()).
    float level(int column, int row) const { return levels_[static_cast<size_t>(row) * columns_ + column]; }
    // The row a frequency falls in (may lie outside 0 .. rows - 1).
    double rowOf(double hz) const;
    static constexpr float kFloorDb = -140.0f;  // silence

private:
    void analyseFrame();

    int sampleRate_;
    uint64_t totalFrames_;
    int columns_, rows_;
    double lowHz_, highHz_;
    Fft fft_;
    size_t hop_;
    std::vector<double> window_;
    std::vector<float> history_;  // the last fft size samples, oldest first at `head_`
    size_t head_ = 0;
    uint64_t received_ = 0;       // samples added (padding included)
    uint64_t nextFrameEnd_;       // the sample count at which the next frame is due
    std::vector<std::complex<double>> buffer_;
    std::vector<double> power_;
    // Per row: the FFT bins it takes the largest power of, or the two it interpolates.
    std::vector<double> rowLowBin_, rowHighBin_;
    std::vector<double> sums_;        // per cell, power summed over the column's frames
    std::vector<uint32_t> counts_;    // frames per column
    std::vector<float> levels_;
    double reference_;                // power of a full-scale sine's peak bin
};

}  // namespace render
