// Oscillator state: one slot per oscillator shared by all voices (waveform,
// decoded switches, base increment, free-running phases) and one record per
// voice and oscillator (phases, increments, levels, modulation amounts).
#pragma once

#include <cstdint>

#include "engine/PinkNoise.h"

// The wave read through one row of the symmetry warp, composed once so that
// an oscillator reads one table instead of two in a row. Kept for the rows in
// steady use: a row is composed after it has been asked for kSteady times in
// a row (pulse-width modulation, which moves the rows all the time, keeps
// reading through the warp).
struct ComposedWaves {
    static constexpr int kTables = 2;
    static constexpr int kSteady = 64;
    float table[kTables][4096];
    int row[kTables] = {-1, -1};
    uint32_t version[kTables] = {};
    int replace = 0;
    int candidateRow = -1;
    int candidateCount = 0;
};

struct OscillatorSlot {
    float waveBuffer[4096] = {};
    int waveIndex = -1;  // -1: not loaded yet
    uint32_t waveVersion = 0;  // counts the loads, for the composed waves
    ComposedWaves composed;
    // Increment for MIDI note 57, kept unrounded: with 16x oversampling the
    // increments are small and rounding twice would detune low notes.
    float baseIncrement = 0.0f;

    // Decoded every 512 ticks.
    bool on = false;
    bool output = true;
    bool tracking = true;
    bool freeRunning = false;
    bool spreadOn = false;
    bool sync = false;
    int fmMode = 0;
    bool ringFlag = false;
    bool fmFlag = false;
    bool whiteNoise = false;
    bool pinkNoise = false;
    float spreadUp = 1.0f;
    float spreadDown = 1.0f;
    float pwmRate = 0.0f;

    // Phases kept by free-running oscillators between notes.
    uint32_t freePhase = 0;
    uint32_t freePhaseSpreadUp = 0;
    uint32_t freePhaseSpreadDown = 0;
    uint32_t freePhaseSub = 0;
};

struct OscillatorVoice {
    uint32_t phase = 0;
    uint32_t phaseSpreadUp = 0;
    uint32_t phaseSpreadDown = 0;
    uint32_t phaseSub = 0;
    int32_t increment = 0;
    int32_t incrementSpreadUp = 0;
    int32_t incrementSpreadDown = 0;
    int32_t incrementSub = 0;

    float symmetrySmoothed = 0.5f;
    int tableRow = 128;
    uint32_t subThreshold = 4194303;
    float pwmPhase = 0.0f;
    float pwmStep = 0.0f;
    float pwmDepth = 0.0f;

    float level = 0.0f;
    float levelDelta = 0.0f;
    float subLevel = 0.0f;
    bool subOn = false;

    float fmAmount = 0.0f;
    float fmDelta = 0.0f;
    float ringAmount = 0.0f;
    float ringDelta = 0.0f;

    float output = 0.0f;
    float fmInput = 0.0f;
    float oversampleHistory = 0.0f;

    // The last exponentials computed and their inputs: the control blocks
    // mostly see the same inputs again and reuse the results.
    float pitchInput = 0.0f;
    float pitchFactor = 1.0f;  // exp2(pitchInput)
    float volumeInput = -1.0f;
    float volumeGain = 0.0f;
    float subInput = -1.0f;
    float subGain = 0.0f;

    float driftPhase = 0.0f;
    float driftRandom = 0.0f;
    float driftOffset = 0.0f;

    PinkNoise pink;
};
