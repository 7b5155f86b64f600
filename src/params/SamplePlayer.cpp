#include "params/SamplePlayer.h"

#include <atomic>
#include <cmath>

#include "vst/AudioEffect.h"

namespace samples {

SamplePlayer::SamplePlayer(SampleLoader& loader, const ParamValue* values, AudioEffect& plugin)
    : loader(loader), values(values), plugin(plugin), seenGeneration(loader.generation()) {}

void SamplePlayer::followProgramSelection() {
    const uint32_t generation = loader.generation();
    if (generation == seenGeneration) return;
    seenGeneration = generation;
    loaded = false;
    retryHold = 0;
}

void SamplePlayer::effectTypeChanged() {
    loaded = false;
    retryHold = 0;
}

void SamplePlayer::controlBlock(float sampleRate) {
    followProgramSelection();
    LoadResult result;
    if (loading && loader.collect(result)) {
        loading = false;
        install(result, sampleRate);
    }
    if (retryHold > 0) --retryHold;
    looping = values[prm::SampleLooping] > 0.5f;
    rateRatio = fileRate / sampleRate;
    if (loading) return;

    if (!loaded && vocoderInSlots && retryHold == 0) {
        request(true);
    } else if (values[prm::SampleLoadRequest] > 0.5f) {
        plugin.setParameter(prm::SampleLoadRequest, 0.0f);
        request(false);
    }
}

void SamplePlayer::request(bool automatic) {
    // Pairs with the release fence of chooseSample: once its load request is
    // seen, so is the path written before it.
    std::atomic_thread_fence(std::memory_order_acquire);
    LoadRequest r;
    r.path = SamplePathFields::read(values);
    r.generation = seenGeneration;
    r.automatic = automatic;
    if (!loader.post(r)) return;
    loading = true;
    loaded = false;  // the buffer is the loader's until the load finishes
}

void SamplePlayer::install(const LoadResult& result, float sampleRate) {
    // A load asked for before a program selection belongs to the old program.
    if (result.generation != seenGeneration) return;
    if (result.automatic) plugin.setParameter(prm::SampleLoadRequest, 0.0f);
    if (!result.ok) {
        // A missing or broken file is tried again after about a second, not at
        // every block.
        retryHold = int(sampleRate / 512.0f) + 1;
        return;
    }
    loaded = true;
    frames = result.frames;
    fileRate = result.fileSampleRate;
    rateRatio = fileRate / sampleRate;
    pitchFactor = 1.0f;
    // An automatic load starts one step before the first frame, so that the
    // first value played is frame 0.
    samplePosition = result.automatic ? -1.0 : 0.0;
}

void SamplePlayer::setPitchFactor(float factor) {
    // The position must stay finite and move forward whatever the caller passes.
    if (std::isnan(factor)) factor = 1.0f;
    pitchFactor = factor < 0.0f ? 0.0f : (factor > 64.0f ? 64.0f : factor);
}

float SamplePlayer::nextSample() {
    followProgramSelection();
    if (!loaded) return 0.0f;
    samplePosition += double(rateRatio) * double(pitchFactor);
    if (samplePosition >= double(frames)) {
        if (!looping) {
            // A sample that has ended stays silent until it is restarted.
            samplePosition = double(frames);
            return 0.0f;
        }
        samplePosition = std::fmod(samplePosition, double(frames));
    }
    const int16_t* data = loader.buffer()->values;
    if (samplePosition < 0.0) return float(data[0]) * (1.0f / 32768.0f) + 1e-15f;
    const int i = int(samplePosition);
    const float fraction = float(samplePosition - double(i));
    const float a = data[i];
    const float b = i + 1 >= frames ? data[0] : data[i + 1];
    return (a + (b - a) * fraction) * (1.0f / 32768.0f) + 1e-15f;
}

}  // namespace samples
