#include "RenderOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace render {
namespace {
// The picture's frequency range.
constexpr double kLowHz = 20.0, kHighHz = 20000.0;
}  // namespace

bool RenderOutput::open(const std::string& wavPath, const std::string& picturePath, int sampleRate,
                        WavFormat format, uint64_t frames, const std::vector<TimeMark>& marks, std::string& error) {
    wavPath_ = wavPath;
    picturePath_ = picturePath;
    sampleRate_ = sampleRate;
    format_ = format;
    marks_ = marks;
    total_ = RenderResult{};
    if (!wav_.open(wavPath, sampleRate, format)) {
        error = wav_.error();
        return false;
    }
    if (!picturePath.empty()) {
        layout_ = pictureLayout(static_cast<double>(frames) / sampleRate, marks);
        spectrogram_ = std::make_unique<Spectrogram>(sampleRate, frames, layout_.plotWidth, layout_.plotHeight,
                                                     kLowHz, kHighHz);
    }
    return true;
}

AudioTap RenderOutput::tap() {
    if (!spectrogram_) return {};
    Spectrogram* s = spectrogram_.get();
    return [s](const float* left, const float* right, size_t frames) { s->add(left, right, frames); };
}

void RenderOutput::count(const RenderResult& part) {
    total_.frames += part.frames;
    total_.peak = std::max(total_.peak, part.peak);
    total_.nonFiniteSamples += part.nonFiniteSamples;
}

bool RenderOutput::finish(const std::string& title, std::string& summary, std::string& error) {
    if (!wav_.close()) {
        error = wav_.error();
        abandon();
        return false;
    }
    char peak[32] = "-inf dBFS";
    if (total_.peak > 0.0f) std::snprintf(peak, sizeof peak, "%.1f dBFS", 20.0 * std::log10(total_.peak));
    const bool clipped = format_ == WavFormat::Pcm24 && total_.peak > 1.0f;
    char line[512];
    std::snprintf(line, sizeof line, "wrote %s: %.2f s, %d Hz, %s, peak %s%s\n", wavPath_.c_str(),
                  static_cast<double>(total_.frames) / sampleRate_, sampleRate_,
                  format_ == WavFormat::Float32 ? "32-bit float" : "24-bit PCM", peak, clipped ? " (clipped)" : "");
    summary = line;
    if (total_.nonFiniteSamples)
        std::fprintf(stderr,
                     "brennix-render: warning: the plug-in produced %llu invalid samples (NaN or infinity) in %s, "
                     "written as silence\n",
                     static_cast<unsigned long long>(total_.nonFiniteSamples), wavPath_.c_str());
    if (spectrogram_) {
        spectrogram_->finish();
        if (!writeSpectrogramPicture(*spectrogram_, layout_, marks_, title, picturePath_, error)) {
            std::remove(picturePath_.c_str());
            return false;
        }
        std::snprintf(line, sizeof line, "wrote %s: %d x %d pixels\n", picturePath_.c_str(), layout_.width,
                      layout_.height);
        summary += line;
    }
    return true;
}

void RenderOutput::abandon() {
    wav_.close();
    std::remove(wavPath_.c_str());
}

}  // namespace render
