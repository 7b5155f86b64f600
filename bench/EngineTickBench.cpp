// Cost of the engine with all 16 voices sounding, as a real-time factor
// (seconds of audio rendered per second of CPU time) at 44.1 kHz.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "host/APlugin.h"

namespace {
intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void holdSixteenVoices(APlugin& plugin) {
    std::vector<VstMidiEvent> notes(16);
    std::vector<char> storage(sizeof(VstEvents) + 16 * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = 16;
    for (int i = 0; i < 16; ++i) {
        notes[i] = VstMidiEvent{};
        notes[i].type = kVstMidiType;
        notes[i].byteSize = sizeof(VstMidiEvent);
        notes[i].midiData[0] = char(0x90);
        notes[i].midiData[1] = char(36 + 3 * i);
        notes[i].midiData[2] = 100;
        list->events[i] = reinterpret_cast<VstEvent*>(&notes[i]);
    }
    plugin.processEvents(list);
}

// `setup` shapes the sound before the notes start.
template <typename Setup>
void renderSixteenVoices(benchmark::State& state, Setup setup) {
    auto plugin = std::make_unique<APlugin>(hostCallback);
    plugin->setSampleRate(44100.0f);
    setup(*plugin);
    holdSixteenVoices(*plugin);
    constexpr int kBlock = 512;
    std::vector<float> in(kBlock, 0.0f), left(kBlock), right(kBlock);
    float* inputs[2] = {in.data(), in.data()};
    float* outputs[2] = {left.data(), right.data()};
    plugin->processReplacing(inputs, outputs, kBlock);  // let the notes start
    for (auto _ : state) {
        plugin->processReplacing(inputs, outputs, kBlock);
        benchmark::DoNotOptimize(left.data());
    }
    state.counters["realtime_factor"] = benchmark::Counter(
        double(state.iterations()) * kBlock / 44100.0, benchmark::Counter::kIsRate);
}

void BM_SixteenVoicesDefaultSound(benchmark::State& state) {
    renderSixteenVoices(state, [](APlugin& p) {
        for (int i = 0; i < APlugin::kNumParams; ++i) p.setParameter(i, p.parameters().defaultValue[i]);
    });
}
BENCHMARK(BM_SixteenVoicesDefaultSound)->Unit(benchmark::kMicrosecond);

void BM_SixteenVoicesThreeSaws(benchmark::State& state) {
    renderSixteenVoices(state, [](APlugin& p) {
        for (int i = 0; i < APlugin::kNumParams; ++i) p.setParameter(i, p.parameters().defaultValue[i]);
        for (int on : {17, 18, 19}) p.setParameter(on, 1.0f);
        for (int type : {20, 31, 45}) p.setParameter(type, 1.5f / 127.99f);  // "Saw"
        p.setParameter(95, 1.0f);  // voices keep sounding
    });
}
BENCHMARK(BM_SixteenVoicesThreeSaws)->Unit(benchmark::kMicrosecond);
}  // namespace
