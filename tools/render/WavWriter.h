// Streams stereo audio into a RIFF WAVE file: 32-bit IEEE float or 24-bit PCM.
// Samples go to disk as they come; the sizes in the header are filled in by close().
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace render {

enum class WavFormat { Float32, Pcm24 };

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    bool open(const std::string& path, int sampleRate, WavFormat format);
    // Appends frames; NaN and infinite samples are written as silence (and counted).
    bool write(const float* left, const float* right, size_t frames);
    // Completes the header and closes the file.
    bool close();

    const std::string& error() const { return error_; }
    uint64_t frames() const { return frames_; }
    uint64_t nonFiniteSamples() const { return nonFinite_; }

    // The most frames a file can hold: RIFF sizes are 32-bit.
    static uint64_t maxFrames(WavFormat format);

private:
    bool fail(const std::string& what);

    std::FILE* file_ = nullptr;
    WavFormat format_ = WavFormat::Float32;
    uint64_t frames_ = 0;
    uint64_t nonFinite_ = 0;
    std::string error_;
    std::vector<uint8_t> buffer_;
};

}  // namespace render
