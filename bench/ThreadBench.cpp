// What the sharing between the user-interface and audio threads costs: the
// fixed work at the start of every block (tiny blocks, nothing sounding), and
// how long a program selection from the user-interface thread takes while an
// audio thread renders 64-sample blocks (it waits for the next block boundary).
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "host/APlugin.h"

namespace {

intptr_t versionOnly(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void render(APlugin& plugin, std::vector<float>& buffer, int frames) {
    float* in[2] = {buffer.data(), buffer.data()};
    float* out[2] = {buffer.data(), buffer.data()};
    plugin.processReplacing(in, out, frames);
}

// Argument: block length. "realtime" is seconds of audio per second of CPU.
void BM_SilentBlocks(benchmark::State& state) {
    auto plugin = std::make_unique<APlugin>(versionOnly);
    const int frames = int(state.range(0));
    std::vector<float> buffer(static_cast<size_t>(frames));
    for (auto _ : state) {
        render(*plugin, buffer, frames);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["realtime"] =
        benchmark::Counter(double(state.iterations()) * frames / 44100.0, benchmark::Counter::kIsRate);
}

void BM_ProgramSelectionWhileRendering(benchmark::State& state) {
    auto plugin = std::make_unique<APlugin>(versionOnly);
    plugin->resume();
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> buffer(64);
        while (!stop.load(std::memory_order_relaxed)) render(*plugin, buffer, 64);
    });
    int program = 0;
    for (auto _ : state) plugin->setProgram(program = (program + 1) % 128);
    stop = true;
    audio.join();
}

}  // namespace

BENCHMARK(BM_SilentBlocks)->Arg(1)->Arg(16)->Arg(256);
BENCHMARK(BM_ProgramSelectionWhileRendering)->UseRealTime()->Unit(benchmark::kMicrosecond);
