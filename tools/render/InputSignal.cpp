#include "InputSignal.h"

#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "Options.h"
#include "SpeechSignal.h"

namespace render {
namespace {

// Linear interpolation from `from` Hz to `to` Hz; past the last sample the
// signal falls towards the silence that follows it. Positions are exact
// fractions, so a long file does not drift.
std::vector<float> resample(const std::vector<float>& in, int from, int to) {
    const auto frames = static_cast<int64_t>(in.size());
    const int64_t out = (frames * to + from - 1) / from;
    std::vector<float> result(static_cast<size_t>(out));
    for (int64_t m = 0; m < out; ++m) {
        const int64_t scaled = m * from;
        const int64_t i = scaled / to;
        const float fraction = static_cast<float>(scaled % to) / static_cast<float>(to);
        const float a = in[static_cast<size_t>(i)];
        const float b = i + 1 < frames ? in[static_cast<size_t>(i + 1)] : 0.0f;
        result[static_cast<size_t>(m)] = a + (b - a) * fraction;
    }
    return result;
}

}  // namespace

bool readInputFile(const std::string& path, int sampleRate, StereoSignal& signal, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        // libsndfile says "System error : ..." for a file that cannot be opened at all.
        std::string why = sf_strerror(nullptr);
        std::error_code ignored;
        if (FILE* plain = std::fopen(path.c_str(), "rb"))
            std::fclose(plain);
        else
            why = std::strerror(errno);
        if (std::filesystem::is_directory(path, ignored)) why = "it is a directory";
        error = "cannot read " + path + ": " + why;
        return false;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        error = "cannot read " + path + ": no audio channels or no sample rate";
        return false;
    }
    signal = StereoSignal{};
    const auto channels = static_cast<size_t>(info.channels);
    // A file of unknown length (a pipe) says it is endless: reserve no more than a few minutes.
    const auto expected = static_cast<size_t>(std::clamp<sf_count_t>(info.frames, 0, sf_count_t(1) << 25));
    signal.left.reserve(expected);
    if (channels > 1) signal.right.reserve(expected);
    // Chunk by chunk, keeping only the first two channels of a wider file.
    constexpr sf_count_t kChunk = 4096;
    std::vector<float> chunk(static_cast<size_t>(kChunk) * channels);
    sf_count_t got = 0;
    while ((got = sf_readf_float(file, chunk.data(), kChunk)) > 0) {
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = chunk.data() + static_cast<size_t>(f) * channels;
            signal.left.push_back(frame[0]);
            if (channels > 1) signal.right.push_back(frame[1]);
        }
    }
    const int status = sf_error(file);
    const std::string why = status ? sf_strerror(file) : "";
    sf_close(file);
    if (status) {
        error = "cannot read " + path + ": " + why;
        return false;
    }
    if (channels == 1) signal.right = signal.left;
    if (info.samplerate != sampleRate) {
        signal.left = resample(signal.left, info.samplerate, sampleRate);
        signal.right = resample(signal.right, info.samplerate, sampleRate);
    }
    return true;
}

StereoSignal speechInput(int sampleRate, int64_t frames) {
    StereoSignal s;
    if (frames <= 0) return s;
    // A sample more than needed, so rounding in the seconds never comes up short.
    s.left = speech::phrase(sampleRate, static_cast<double>(frames + 1) / sampleRate);
    s.left.resize(static_cast<size_t>(frames), 0.0f);
    s.right = s.left;
    return s;
}

std::string inputTitle(const std::string& inputPath) {
    if (inputPath.empty()) return "";
    if (inputPath == kSpeechInput) return std::string(", input ") + kSpeechLabel;
    return ", input " + std::filesystem::path(inputPath).filename().string();
}

}  // namespace render
