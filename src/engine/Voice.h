// One of the 16 voices: key and pitch, velocity, pan and level, envelopes,
// modulation rows, oscillators and filters.
#pragma once

#include <cstdint>

#include "engine/Envelope.h"
#include "engine/FilterSlot.h"
#include "engine/ModIds.h"
#include "engine/OscillatorState.h"

// Envelope indexes.
namespace env {
constexpr int Volume = 0;
constexpr int Filter = 1;
constexpr int Free1 = 2;
constexpr int Free2 = 3;
constexpr int kCount = 4;
}  // namespace env

struct Voice {
    static constexpr int kNoiseLength = 8192;

    uint8_t gate = 0;
    int note = -1;

    // Pitch in octaves relative to MIDI note 57.
    float targetPitch = 0.0f;
    float glidePitch = 0.0f;
    float glideStep = 0.0f;
    float glideDirection = 0.0f;

    float velocityShaped = 0.0f;
    float velocityVolume = 1.0f;

    float panSmoothed = 0.5f;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;

    float ampLevel = 0.0f;
    float ampDelta = 0.0f;
    float filterEnvLevel = 0.0f;  // the filter envelope's output, ramped like ampLevel
    float filterEnvDelta = 0.0f;
    float panAmpLeft = 0.0f;
    float panAmpRight = 0.0f;

    EnvelopeState env[env::kCount];
    int oscLevelCounter = 0;

    float sources[modsrc::kCount] = {};  // this voice's copy of the source row
    float mod[moddst::kCount] = {};      // destination values (offsets or factors)
    float ctrlAdd[moddst::kCount] = {};  // controller contributions to level destinations

    OscillatorVoice osc[3];
    uint32_t syncMasterPhase = 0;
    int32_t incrementSyncMaster = 0;

    FilterVoice filter;

    // Private noise, refilled at every retriggered start; also the comb filter's delay line.
    float noiseBuffer[kNoiseLength] = {};
};
