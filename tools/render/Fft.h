// A radix-2 complex FFT of a fixed power-of-two size, with its twiddle factors
// and bit reversal computed once.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace render {

class Fft {
public:
    explicit Fft(size_t size);  // a power of two, 2 or more
    size_t size() const { return size_; }
    // In place, forward (e^-2pi i k n / N).
    void transform(std::vector<std::complex<double>>& data) const;

private:
    size_t size_;
    std::vector<std::complex<double>> twiddles_;  // e^-2pi i k / N, k < N/2
    std::vector<size_t> reversed_;
};

}  // namespace render
