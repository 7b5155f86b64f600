// Sample import costs: loading the longest sample (2,999,999 stereo 24-bit
// frames, 18 MB) with our WAV parser beside libsndfile reading the same file
// into 16-bit frames, and the player's per-sample cost as a real-time factor.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <string>
#include <vector>

#include "params/SampleFileLoad.h"
#include "params/SampleLoader.h"
#include "params/SamplePlayer.h"
#include "vst/AudioEffect.h"

namespace {

const std::string& longWav() {
    static const std::string path = [] {
        std::string p = "/tmp/brennix-bench-" + std::to_string(getpid()) + ".wav";
        SF_INFO info{};
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
        std::vector<float> chunk(2 * 44100);
        for (int s = 0; s < 69; ++s) {
            for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = 0.5f * std::sin(float(i) * 0.01f + float(s));
            sf_writef_float(f, chunk.data(), 44100);
        }
        sf_close(f);
        std::atexit([] { unlink(("/tmp/brennix-bench-" + std::to_string(getpid()) + ".wav").c_str()); });
        return p;
    }();
    return path;
}

void BM_LoadLongWav_Brennix(benchmark::State& state) {
    auto buffer = samples::makeSampleBuffer();
    samples::SamplePathFields fields;
    fields.pathKind = 1.0f;
    const std::string path = longWav();
    samples::encodeStoredText(path.substr(0, path.size() - 4), fields.text);
    for (auto _ : state) {
        samples::LoadOutcome outcome = samples::loadWav(fields, "", *buffer);
        if (outcome.result.frames != samples::kMaxFrames) state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * samples::kMaxFrames * 6);
}
BENCHMARK(BM_LoadLongWav_Brennix)->Unit(benchmark::kMillisecond);

void BM_LoadLongWav_Libsndfile(benchmark::State& state) {
    std::vector<short> frames(2 * size_t(samples::kMaxFrames));
    for (auto _ : state) {
        SF_INFO info{};
        SNDFILE* f = sf_open(longWav().c_str(), SFM_READ, &info);
        sf_readf_short(f, frames.data(), samples::kMaxFrames);
        sf_close(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * samples::kMaxFrames * 6);
}
BENCHMARK(BM_LoadLongWav_Libsndfile)->Unit(benchmark::kMillisecond);

struct NoPlugin : AudioEffect {
    NoPlugin() : AudioEffect(nullptr, 1, 799) {}
    void processReplacing(float**, float**, int32_t) override {}
};

// "realtime": seconds of 44.1 kHz sample playback per second of CPU.
void BM_PlayerRealtime(benchmark::State& state) {
    static ParamValue values[prm::kCount];
    static NoPlugin plugin;
    samples::SampleLoader loader;
    loader.start("");
    samples::SamplePlayer player(loader, values, plugin);
    const std::string path = longWav();
    for (size_t i = 0; i + 4 < path.size(); ++i)
        values[prm::SamplePathFirst + int(i)] = samples::encodeCharacter(uint8_t(path[i]));
    values[prm::SamplePathKind] = 1.0f;
    values[prm::SampleLooping] = 1.0f;
    player.setVocoderInSlots(true);
    while (!player.sampleLoaded()) {
        player.controlBlock(44100.0f);
        usleep(1000);
    }
    player.setPitchFactor(1.0234f);
    float sum = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < 44100; ++i) sum += player.nextSample();
        benchmark::DoNotOptimize(sum);
    }
    state.counters["realtime"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayerRealtime)->Unit(benchmark::kMillisecond);

}  // namespace
