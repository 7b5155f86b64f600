// Cost of building the oscillator tables at plug-in construction, and of
// rebuilding an oscillator's wave buffer when its waveform changes (which
// happens on the audio thread).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/HarmonicsParser.h"
#include "engine/WaveTables.h"
#include "platform/Random15.h"
#include "platform/Resources.h"

namespace {

WaveTables& builtTables() {
    static const std::unique_ptr<WaveTables> tables = [] {
        auto t = std::make_unique<WaveTables>();
        Random15 random;
        t->buildWaveTables(random);
        return t;
    }();
    return *tables;
}

void BM_BuildWaveTables(benchmark::State& state) {
    auto tables = std::make_unique<WaveTables>();
    Random15 random;
    for (auto _ : state) {
        tables->buildWaveTables(random);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildWaveTables)->Unit(benchmark::kMillisecond);

void BM_ParseSpectra(benchmark::State& state) {
    platform::Resource data = platform::findResource("WAVES", 1);
    static float amplitude[spectra::kWaveCount][spectra::kHarmonics], phase[spectra::kWaveCount][spectra::kHarmonics];
    for (auto _ : state) {
        int rows = spectra::parse({reinterpret_cast<const char*>(data.data), data.size}, amplitude, phase);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_ParseSpectra)->Unit(benchmark::kMicrosecond);

// Argument: wave index (1 "Saw" is a copy, 20 "Saw 2" and 42 "Vocal A" are
// synthesised from their spectra).
void BM_LoadWave(benchmark::State& state) {
    const WaveTables& tables = builtTables();
    std::vector<float> buffer(WaveTables::kWaveLength);
    const int index = static_cast<int>(state.range(0));
    for (auto _ : state) {
        tables.loadWave(buffer.data(), index);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LoadWave)->Arg(1)->Arg(20)->Arg(42)->Unit(benchmark::kMicrosecond);

}  // namespace
