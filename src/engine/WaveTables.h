// The oscillators' construction-time tables: sine tables, the 16 basic
// waveforms, the harmonic spectra of waves 16..127, the symmetry (phase-warp)
// table and a table of white noise. Built once when the plug-in is created and
// read-only afterwards, so any thread may read them.
//
// About 3.5 MB: hold it as a member of a heap object, never on the stack.
#pragma once

#include <cstdint>

class Random15;

class WaveTables {
public:
    static constexpr int kWaveCount = 128;
    static constexpr int kBasicWaveCount = 16;
    static constexpr int kSpectralWaveCount = kWaveCount - kBasicWaveCount;
    static constexpr int kHarmonics = 64;
    static constexpr int kWaveLength = 4096;
    static constexpr int kSineLength = 65536;
    static constexpr int kWarpRows = 256;
    static constexpr int kNoiseLength = 65536;

    // Below this, the strongest harmonic counts as none and the wave is silent.
    static constexpr float kSilentAmplitude = 0.0001f;

    float sineTable[kSineLength];          // sin(2 pi i / 65536)
    float sineTableUnipolar[kSineLength];  // (sineTable + 1) / 2
    float basicWaves[kBasicWaveCount][kWaveLength];
    float harmonicAmplitude[kSpectralWaveCount][kHarmonics];  // 0..1
    float harmonicPhase[kSpectralWaveCount][kHarmonics];      // cycles, 0..1
    uint16_t symmetryWarp[kWarpRows][kWaveLength];            // read positions 0..4095
    float noiseTable[kNoiseLength];

    // Fills every table; the noise is drawn from the given generator
    // (65535 values).
    void buildWaveTables(Random15& random);

    // Writes one cycle (4096 samples) of wave waveIndex (clamped to 0..127)
    // into waveBuffer. Does not allocate; safe on the audio thread once the
    // tables are built. Waves 14 and 15 (the noises) come out silent: they
    // are generated live.
    void loadWave(float* waveBuffer, int waveIndex) const;

    // One cycle from 64 harmonic amplitudes and phases (harmonics 1..64),
    // peak-scaled to the largest amplitude; silent if that is below
    // kSilentAmplitude. loadWave uses it for waves 16..127.
    void synthesiseSpectrum(float* waveBuffer, const float* amplitude, const float* phase) const;

private:
    void buildSineTables();
    void buildBasicWaves();
    void buildHarmonicTables();
    void buildSymmetryWarp();
    void buildNoiseTable(Random15& random);
};
