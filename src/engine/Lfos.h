// The engine's four LFOs: the pitch LFO (shared only), the filter LFO and the
// two free LFOs (one shared instance and one per voice each; the mode chooses
// which one a voice hears).
#pragma once

#include "engine/Lfo.h"
#include "params/ParameterTable.h"
#include "platform/Random15.h"

class Lfos {
public:
    static constexpr int kVoices = 16;
    // The LFOs that exist per voice, in this order.
    static constexpr int Filter = 0;
    static constexpr int Free1 = 1;
    static constexpr int Free2 = 2;
    static constexpr int kPerVoice = 3;

    // Every 512 ticks: waves, modes, sync switches, control sources and the
    // shared rates (with the shared speed modulation `sharedDest`).
    void decode(const ParamValue* values, const float* sharedDest, float sampleRate, float tempo);

    // Every 128 ticks: advances the shared instances.
    void advanceShared(Random15& random);
    // After the global evaluation (every 128 ticks and at note starts): the
    // pitch factor and the shared filter LFO's output.
    void updateShared(const ParamValue* values, const float* sharedSources, const float* sharedDest);

    // Every 128 ticks per sounding voice: its rates (from its speed modulation) and phases.
    void advanceVoice(int voice, const float* voiceDest, float sampleRate, float tempo,
                      Random15& random);
    // The filter LFO output a voice hears (its own in "Poly" mode, the shared one
    // otherwise), with its amount control read from the voice's sources.
    float filterOutput(int voice, const ParamValue* values, const float* voiceSources) const;
    // The raw value 0..1 of free LFO k (0, 1) that a voice hears, and the shared one.
    float freeRaw(int k, int voice) const;
    float sharedFreeRaw(int k) const { return shared[Free1 + k].raw; }

    // A note starts on `voice`: its own instances and the shared "Mono" ones restart.
    void noteStarted(int voice, Random15& random);

    // Multiplies every oscillator's base increment: 1 when the pitch LFO rests.
    float pitchLfoFactor() const { return pitchFactor; }

private:
    struct Settings {
        int wave = 0;
        int mode = lfomode::Poly;
        bool sync = false;
        float speed = 0.0f;
        int controlSource = 0;
    };
    float filterAmount(const ParamValue* values, const float* sources) const;

    Settings pitchSettings;
    Settings routable[kPerVoice];
    LfoState pitch;
    LfoState shared[kPerVoice];
    LfoState voices[kVoices][kPerVoice];
    float pitchFactor = 1.0f;
    float sharedFilterOutput = 0.0f;
};
