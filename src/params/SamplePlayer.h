// The sample player: the audio thread's side of sample import. Every 512
// samples it asks the loader for a load when a vocoder slot has no sample or
// the program asks for one (parameter 325), and installs finished loads; per
// sample it plays the loaded sample for the vocoder. Audio thread only.
#pragma once

#include "params/ParameterTable.h"
#include "params/SampleLoader.h"

class AudioEffect;

namespace samples {

class SamplePlayer {
public:
    // `values` are the live parameter values; the load request is cleared
    // through `plugin` so that the program keeps it.
    SamplePlayer(SampleLoader& loader, const ParamValue* values, AudioEffect& plugin);

    // The engine's 512-sample block.
    void controlBlock(float sampleRate);

    // From the effect slots' type check: whether a slot holds the vocoder
    // (it keeps a sample loaded), and that a slot's type changed (the sample
    // is loaded again when the vocoder is chosen).
    void setVocoderInSlots(bool present) { vocoderInSlots = present; }
    void effectTypeChanged();
    // Both at once from the slots' own count of type changes.
    void followSlots(bool vocoderPresent, uint32_t typeChanges) {
        vocoderInSlots = vocoderPresent;
        if (typeChanges != seenTypeChanges) {
            seenTypeChanges = typeChanges;
            effectTypeChanged();
        }
    }

    // The vocoder's sample source: advances the playback position and returns
    // the sample there (-1 .. 1), or 0 while no sample is loaded.
    float nextSample();
    // The vocoder's "In Pitch" as a playback-rate factor (1 after every load).
    void setPitchFactor(float factor);
    // "Sample Reset": a note-on restarts the sample.
    void resetPosition() { samplePosition = 0.0; }

    bool sampleLoaded() const { return loaded; }
    bool sampleLoading() const { return loading; }
    int sampleFrames() const { return frames; }
    double position() const { return samplePosition; }
    float sampleRateRatio() const { return rateRatio; }
    float fileSampleRate() const { return fileRate; }

private:
    void followProgramSelection();
    void install(const LoadResult& result, float sampleRate);
    void request(bool automatic);

    SampleLoader& loader;
    const ParamValue* values;
    AudioEffect& plugin;

    bool vocoderInSlots = false;
    bool loaded = false;
    bool loading = false;
    bool looping = false;
    uint32_t seenGeneration = 0;
    uint32_t seenTypeChanges = 0;
    // 512-sample blocks to wait before a failed automatic load is tried again.
    int retryHold = 0;

    int frames = 0;
    // Kept in double: a float position loses its fraction far into a long sample.
    double samplePosition = 0.0;
    float rateRatio = 1.0f;  // file rate / plug-in rate
    float pitchFactor = 1.0f;
    float fileRate = 44100.0f;
};

}  // namespace samples
