// The imported sample: one channel of 16-bit values, filled by the sample
// loader and read by the sample player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace samples {

constexpr int kBufferValues = 3000000;
// One value stays free beyond the longest sample.
constexpr int kMaxFrames = 2999999;

struct SampleBuffer {
    int16_t values[kBufferValues];
};

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
using SampleBufferPtr = std::unique_ptr<SampleBuffer, FreeDeleter>;

// A cleared buffer. calloc hands out pages the system zeroes on first use, so
// an instance that never loads a sample does not keep 6 MB resident.
inline SampleBufferPtr makeSampleBuffer() {
    return SampleBufferPtr(static_cast<SampleBuffer*>(std::calloc(1, sizeof(SampleBuffer))));
}

}  // namespace samples
