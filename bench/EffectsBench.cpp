// Real-time factor of one effect slot per type: a steady four-note chord of
// the default sound, recorded once from the plug-in, runs through the effect
// bus with the type in slot 1 and the other slots empty. Arg 0 uses the
// type's own knob, mix and pan values (those the editor gives a slot that
// changes to it), arg 1 every knob at 1 (the phaser's eight stages, the
// longest lines). Type 0 is the empty bus. The vocoder runs on the host
// input, fed with the chord from a bar later.
// "realtime" is seconds of stereo audio per second of CPU.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "effects/EffectRegistry.h"
#include "effects/StandaloneEffectBus.h"
#include "host/APlugin.h"
#include "params/EffectTypeDefaults.h"
#include "params/ParamIds.h"
#include "params/ParameterTable.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr int kBlock = 512;
constexpr int kChordFrames = 1 << 16;

intptr_t versionOnly(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Chord {
    std::vector<float> left, right;
};

// The plug-in's default sound holding C, E, G and C'.
const Chord& chord() {
    static const Chord recorded = [] {
        auto plugin = std::make_unique<APlugin>(versionOnly);
        plugin->setSampleRate(kRate);
        for (int i = 0; i < APlugin::kNumParams; ++i) plugin->setParameter(i, params::defaultValue(i));
        std::vector<VstMidiEvent> notes(4);
        std::vector<char> storage(sizeof(VstEvents) + 4 * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = 4;
        for (int i = 0; i < 4; ++i) {
            VstMidiEvent& n = notes[size_t(i)];
            n = {};
            n.type = kVstMidiType;
            n.byteSize = sizeof(VstMidiEvent);
            n.midiData[0] = char(0x90);
            n.midiData[1] = char(48 + (i == 3 ? 12 : 4 * i - (i == 2 ? 1 : 0)));
            n.midiData[2] = 100;
            list->events[i] = reinterpret_cast<VstEvent*>(&n);
        }
        plugin->processEvents(list);
        Chord c;
        c.left.resize(kChordFrames + 4096);
        c.right.resize(kChordFrames + 4096);
        std::vector<float> silence(kChordFrames + 4096, 0.0f);
        float* in[2] = {silence.data(), silence.data()};
        float* out[2] = {c.left.data(), c.right.data()};
        plugin->processReplacing(in, out, kChordFrames + 4096);
        c.left.erase(c.left.begin(), c.left.begin() + 4096);  // past the attack
        c.right.erase(c.right.begin(), c.right.begin() + 4096);
        return c;
    }();
    return recorded;
}

void effectType(benchmark::State& state, int type) {
    const Chord& c = chord();
    auto b = std::make_unique<StandaloneEffectBus>();
    for (int i = 0; i < prm::kCount; ++i) b->values[i] = params::defaultValue(i);
    b->values[prm::Fx1Type] = (float(type) + 0.5f) / 24.99f;
    b->values[prm::VocoderSource] = 1.0f;  // "Input"
    if (state.range(0) == 0) {
        for (int k = 0; k < 8; ++k) b->values[prm::FxKnobFirst + 3 * k] = params::effectTypeDefault(type, k);
        b->values[prm::Fx1Mix] = params::effectTypeDefault(type, params::kFxTypeMix);
        b->values[prm::Fx1Pan] = params::effectTypeDefault(type, params::kFxTypePan);
    } else {
        for (int k = 0; k < 8; ++k) b->values[prm::FxKnobFirst + 3 * k] = 1.0f;
    }
    b->bus.reset();
    size_t at = 0;
    float sink = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < kBlock; ++i) {
            float left = c.left[at], right = c.right[at];
            b->ctx.inputMono = c.left[(at + 88200) & (kChordFrames - 1)];
            b->process(left, right);
            sink += left + right;
            at = (at + 1) & (kChordFrames - 1);
        }
        benchmark::DoNotOptimize(sink);
    }
    state.counters["realtime"] =
        benchmark::Counter(double(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
}

const bool registered = [] {
    std::vector<int> types = builtEffectTypes();
    types.insert(types.begin(), 0);
    for (int type : types)
        benchmark::RegisterBenchmark(("BM_EffectType/" + std::to_string(type)).c_str(),
                                     [type](benchmark::State& s) { effectType(s, type); })
            ->Arg(0)
            ->Arg(1)
            ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace
