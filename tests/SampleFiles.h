// Builds WAV and AIFF file images for the sample import tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace sample_files {

inline void put16le(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put32le(std::vector<uint8_t>& b, uint32_t v) {
    put16le(b, v & 0xFFFF);
    put16le(b, v >> 16);
}
inline void put16be(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}
inline void put32be(std::vector<uint8_t>& b, uint32_t v) {
    put16be(b, v >> 16);
    put16be(b, v & 0xFFFF);
}
inline void putTag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

// A canonical PCM WAV; `dataSize` overrides the data chunk's size field.
inline std::vector<uint8_t> wav(int channels, uint32_t rate, int bits, const std::vector<uint8_t>& data,
                                int64_t dataSize = -1) {
    std::vector<uint8_t> b;
    putTag(b, "RIFF");
    put32le(b, uint32_t(36 + data.size()));
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32le(b, 16);
    put16le(b, 1);
    put16le(b, uint32_t(channels));
    put32le(b, rate);
    put32le(b, rate * uint32_t(channels * bits / 8));
    put16le(b, uint32_t(channels * bits / 8));
    put16le(b, uint32_t(bits));
    putTag(b, "data");
    put32le(b, dataSize < 0 ? uint32_t(data.size()) : uint32_t(dataSize));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// The 80-bit extended value of a positive rate.
inline std::vector<uint8_t> extended(double rate) {
    int exponent = 0;
    const double fraction = std::frexp(rate, &exponent);  // rate = fraction * 2^exponent, 0.5 <= f < 1
    const uint64_t mantissa = uint64_t(std::ldexp(fraction, 64));
    std::vector<uint8_t> b;
    put16be(b, uint32_t(exponent - 1 + 16383));
    put32be(b, uint32_t(mantissa >> 32));
    put32be(b, uint32_t(mantissa));
    return b;
}

inline std::vector<uint8_t> aiff(int channels, double rate, int bits, uint32_t frames,
                                 const std::vector<uint8_t>& data) {
    std::vector<uint8_t> b;
    putTag(b, "FORM");
    put32be(b, uint32_t(4 + 26 + 16 + data.size()));
    putTag(b, "AIFF");
    putTag(b, "COMM");
    put32be(b, 18);
    put16be(b, uint32_t(channels));
    put32be(b, frames);
    put16be(b, uint32_t(bits));
    const std::vector<uint8_t> r = extended(rate);
    b.insert(b.end(), r.begin(), r.end());
    putTag(b, "SSND");
    put32be(b, uint32_t(8 + data.size()));
    put32be(b, 0);
    put32be(b, 0);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// 16-bit little-endian frames from signed values, one channel after another.
inline std::vector<uint8_t> pcm16le(const std::vector<int>& values) {
    std::vector<uint8_t> b;
    for (int v : values) put16le(b, uint32_t(v) & 0xFFFF);
    return b;
}

inline std::vector<uint8_t> pcm16be(const std::vector<int>& values) {
    std::vector<uint8_t> b;
    for (int v : values) put16be(b, uint32_t(v) & 0xFFFF);
    return b;
}

}  // namespace sample_files
