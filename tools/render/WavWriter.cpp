#include "WavWriter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace render {
namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kChannels = 2;

// Header layout. Float files carry an 18-byte format chunk and a fact chunk,
// as non-PCM WAVE files must; PCM files use the plain 16-byte format chunk.
struct Layout {
    uint32_t fmtSize, factOffset, dataSizeOffset, headerBytes;
    uint16_t bytesPerSample;
};

Layout layout(WavFormat format) {
    if (format == WavFormat::Float32) return Layout{18, 46, 54, 58, 4};
    return Layout{16, 0, 40, 44, 3};
}

void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
void putTag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

WavWriter::~WavWriter() {
    if (file_) close();
}

uint64_t WavWriter::maxFrames(WavFormat format) {
    const Layout l = layout(format);
    return (0xFFFFFFFFull - (l.headerBytes - 8)) / (kChannels * l.bytesPerSample);
}

bool WavWriter::fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    return false;
}

bool WavWriter::open(const std::string& path, int sampleRate, WavFormat format) {
    if (file_) close();
    format_ = format;
    frames_ = 0;
    nonFinite_ = 0;
    error_.clear();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return fail("cannot create " + path);
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);

    const Layout l = layout(format);
    const uint16_t blockAlign = kChannels * l.bytesPerSample;
    std::vector<uint8_t> h;
    putTag(h, "RIFF");
    put32(h, 0);  // completed by close()
    putTag(h, "WAVE");
    putTag(h, "fmt ");
    put32(h, l.fmtSize);
    put16(h, format == WavFormat::Float32 ? kFormatFloat : kFormatPcm);
    put16(h, kChannels);
    put32(h, static_cast<uint32_t>(sampleRate));
    put32(h, static_cast<uint32_t>(sampleRate) * blockAlign);
    put16(h, blockAlign);
    put16(h, uint16_t(l.bytesPerSample * 8));
    if (l.fmtSize == 18) put16(h, 0);  // no extension
    if (l.factOffset) {
        putTag(h, "fact");
        put32(h, 4);
        put32(h, 0);  // frames, completed by close()
    }
    putTag(h, "data");
    put32(h, 0);
    if (std::fwrite(h.data(), 1, h.size(), file_) != h.size()) return fail("cannot write " + path);
    return true;
}

bool WavWriter::write(const float* left, const float* right, size_t frames) {
    if (!file_) {
        error_ = "no file open";
        return false;
    }
    if (frames > maxFrames(format_) - frames_) {
        error_ = "the WAV file reached its 4 GiB size limit";
        return false;
    }
    const Layout l = layout(format_);
    buffer_.resize(frames * kChannels * l.bytesPerSample);
    uint8_t* out = buffer_.data();
    for (size_t i = 0; i < frames; ++i) {
        for (float x : {left[i], right[i]}) {
            if (!std::isfinite(x)) {
                x = 0.0f;
                ++nonFinite_;
            }
            if (format_ == WavFormat::Float32) {
                uint32_t bits;
                std::memcpy(&bits, &x, 4);
                for (int b = 0; b < 4; ++b) *out++ = uint8_t(bits >> (8 * b));
            } else {
                // Full scale is 2^23, as readers divide by it; +1.0 clips to the largest code.
                long v = std::lrint(static_cast<double>(x) * 8388608.0);
                v = std::clamp(v, -8388608L, 8388607L);
                for (int b = 0; b < 3; ++b) *out++ = uint8_t(static_cast<uint32_t>(v) >> (8 * b));
            }
        }
    }
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        return fail("cannot write the WAV file");
    frames_ += frames;
    return true;
}

bool WavWriter::close() {
    if (!file_) return error_.empty();
    const Layout l = layout(format_);
    const uint64_t dataBytes = frames_ * kChannels * l.bytesPerSample;
    bool ok = true;
    auto patch = [&](long offset, uint32_t value) {
        uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
        if (ok && (std::fseek(file_, offset, SEEK_SET) != 0 || std::fwrite(b, 1, 4, file_) != 4))
            ok = fail("cannot complete the WAV header");
    };
    patch(4, static_cast<uint32_t>(l.headerBytes - 8 + dataBytes));
    if (l.factOffset) patch(l.factOffset, static_cast<uint32_t>(frames_));
    patch(l.dataSizeOffset, static_cast<uint32_t>(dataBytes));
    if (std::fclose(file_) != 0 && ok) ok = fail("cannot write the WAV file");
    file_ = nullptr;
    return ok;
}

}  // namespace render
