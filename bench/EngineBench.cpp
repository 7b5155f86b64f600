// Real-time factor of a full voice load at 44.1 kHz: 16 held voices of the
// default sound, of three saw oscillators each with spread through the 24 dB
// low-pass, and of those with every modulation running. "realtime" is seconds
// of audio rendered per second of CPU.
#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

#include "host/APlugin.h"
#include "params/ParamIds.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int kBlock = 512;

intptr_t versionOnly(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Block {
    std::vector<float> inL = std::vector<float>(kBlock), inR = std::vector<float>(kBlock);
    std::vector<float> outL = std::vector<float>(kBlock), outR = std::vector<float>(kBlock);
    void process(APlugin& plugin) {
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        plugin.processReplacing(in, out, kBlock);
    }
};

float choice(int index, int count) { return (float(index) + 0.5f) / (float(count) - 0.01f); }

void holdSixteenNotes(APlugin& plugin) {
    std::vector<VstMidiEvent> notes(16);
    std::vector<char> storage(sizeof(VstEvents) + 16 * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = 16;
    for (int i = 0; i < 16; ++i) {
        VstMidiEvent& n = notes[size_t(i)];
        n = {};
        n.type = kVstMidiType;
        n.byteSize = sizeof(VstMidiEvent);
        n.midiData[0] = char(0x90);
        n.midiData[1] = char(36 + 3 * i);
        n.midiData[2] = 100;
        list->events[i] = reinterpret_cast<VstEvent*>(&n);
    }
    plugin.processEvents(list);
}

// Starts from the default sound, applies `sound`, holds 16 notes and measures
// the blocks that follow.
void renderSixteenVoices(benchmark::State& state, const std::vector<std::pair<int, float>>& sound) {
    auto plugin = std::make_unique<APlugin>(versionOnly);
    plugin->setSampleRate(kRate);
    for (int i = 0; i < APlugin::kNumParams; ++i)
        plugin->setParameter(i, plugin->parameters().defaultValue[i]);
    for (const auto& [index, value] : sound) plugin->setParameter(index, value);

    Block block;
    block.process(*plugin);
    holdSixteenNotes(*plugin);
    for (int i = 0; i < 8; ++i) block.process(*plugin);
    int sounding = 0;
    for (int v = 0; v < 16; ++v) sounding += plugin->voiceEngine().voice(v).gate;
    if (sounding != 16) state.SkipWithError("not all 16 voices sound");

    for (auto _ : state) {
        block.process(*plugin);
        benchmark::DoNotOptimize(block.outL.data());
    }
    state.counters["realtime"] = benchmark::Counter(double(state.iterations()) * kBlock / kRate,
                                                    benchmark::Counter::kIsRate);
}

// Three saws with spread through the 24 dB low-pass, at oversampling choice
// `oversampling` (0 = 1x .. 4 = 16x).
std::vector<std::pair<int, float>> threeSpreadSaws(int oversampling) {
    return {
        {prm::PlayMode, 0.0f},          {prm::OverSampling, choice(oversampling, 5)},
        {prm::Osc1On, 1.0f},            {prm::Osc2On, 1.0f},
        {prm::Osc3On, 1.0f},            {prm::Osc1Output, 1.0f},
        {prm::Osc2Output, 1.0f},        {prm::Osc1Type, choice(1, 128)},
        {prm::Osc2Type, choice(1, 128)}, {prm::Osc3Type, choice(1, 128)},
        {prm::Osc1Spread, 0.5f},        {prm::Osc2Spread, 0.5f},
        {prm::Osc3Spread, 0.5f},        {prm::FilterType, choice(9, 14)},
        {prm::FilterFrequency, 0.6f},   {prm::FilterResonance, 0.3f},
        {prm::VolumeEnvelopeAttack, 0.0f}, {prm::VolumeEnvelopeSustain, 1.0f},
    };
}

// Argument: oversampling choice (0 = 1x, 4 = 16x).
void BM_SixteenVoicesThreeOscillators(benchmark::State& state) {
    renderSixteenVoices(state, threeSpreadSaws(int(state.range(0))));
    state.counters["oversampling"] = double(1 << state.range(0));
}
BENCHMARK(BM_SixteenVoicesThreeOscillators)->Arg(0)->Arg(4)->Unit(benchmark::kMicrosecond);

// The three-oscillator sound at 1x with everything modulating: poly filter and
// free LFOs, both free envelopes and all four "Mod" slots routed, vibrato on.
void BM_SixteenVoicesModulated(benchmark::State& state) {
    auto modulation = [](int source, int destination) {
        return std::pair{(float(source) + 0.5f) / 99.99f, (float(destination) + 0.5f) / 99.99f};
    };
    const auto [velocity, vol1] = modulation(5, 5);
    const auto [wheel, fine2] = modulation(1, 15);
    const auto [lfo1, semi3] = modulation(25, 22);
    const auto [env2, lfo1Speed] = modulation(24, 43);
    const auto [offset, filterFrequency] = modulation(30, 29);
    const auto [none, panning] = modulation(0, 37);
    const float pwm2 = 18.5f / 99.99f, filterQ = 30.5f / 99.99f;
    auto sound = threeSpreadSaws(0);
    sound.insert(sound.end(), {
        {prm::PitchLfoAmt, 0.3f},
        {prm::FilterLfoMode, choice(0, 3)}, {prm::FilterLfoSync, 0.0f},
        {prm::FilterLfoSpeed, 0.6f},    {prm::FilterLfoAmt, 0.7f},
        {prm::FreeLfo1Mode, choice(0, 3)}, {prm::FreeLfo2Mode, choice(0, 3)},
        {prm::FreeLfo1Speed, 0.55f},    {prm::FreeLfo2Speed, 0.65f},
        {prm::FreeLfo1Dest, pwm2},      {prm::FreeLfo1ModAmt, 0.8f},
        {prm::FreeLfo2Dest, filterQ},   {prm::FreeLfo2ModAmt, 0.7f},
        {prm::FreeEnvelope1Dest, filterFrequency}, {prm::FreeEnvelope1Amount, 0.8f},
        {prm::FreeEnvelope2Dest, panning}, {prm::FreeEnvelope2Amount, 0.9f},
        {prm::Mod1Source, velocity},    {prm::Mod1Destination, vol1},    {prm::Mod1Amt, 0.9f},
        {prm::Mod1Source + 1, wheel},   {prm::Mod1Destination + 1, fine2}, {prm::Mod1Amt + 1, 0.7f},
        {prm::Mod1Source + 2, lfo1},    {prm::Mod1Destination + 2, semi3}, {prm::Mod1Amt + 2, 0.51f},
        {prm::Mod1Source + 3, env2},    {prm::Mod1Destination + 3, lfo1Speed}, {prm::Mod1Amt + 3, 0.8f},
        {prm::Mod1ModSource, offset},   {prm::Mod1ModSource + 1, none},
    });
    renderSixteenVoices(state, sound);
}
BENCHMARK(BM_SixteenVoicesModulated)->Unit(benchmark::kMicrosecond);

// The default sound: one sine through the 24 dB low-pass at 16x oversampling.
void BM_SixteenVoicesDefaultSound(benchmark::State& state) { renderSixteenVoices(state, {}); }
BENCHMARK(BM_SixteenVoicesDefaultSound)->Unit(benchmark::kMicrosecond);

}  // namespace
