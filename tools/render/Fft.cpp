#include "Fft.h"

#include <cmath>
#include <utility>

namespace render {

Fft::Fft(size_t size) : size_(size), twiddles_(size / 2), reversed_(size) {
    const double step = -2.0 * 3.14159265358979323846 / double(size);
    for (size_t k = 0; k < size / 2; ++k) twiddles_[k] = std::polar(1.0, step * double(k));
    size_t bits = 0;
    while ((size_t(1) << bits) < size) ++bits;
    for (size_t i = 0; i < size; ++i) {
        size_t r = 0;
        for (size_t b = 0; b < bits; ++b)
            if (i & (size_t(1) << b)) r |= size_t(1) << (bits - 1 - b);
        reversed_[i] = r;
    }
}

void Fft::transform(std::vector<std::complex<double>>& a) const {
    for (size_t i = 0; i < size_; ++i)
        if (i < reversed_[i]) std::swap(a[i], a[reversed_[i]]);
    for (size_t half = 1; half < size_; half *= 2) {
        const size_t stride = size_ / (2 * half);
        for (size_t start = 0; start < size_; start += 2 * half)
            for (size_t k = 0; k < half; ++k) {
                const std::complex<double> t = twiddles_[k * stride] * a[start + k + half];
                a[start + k + half] = a[start + k] - t;
                a[start + k] += t;
            }
    }
}

}  // namespace render
