#include "engine/WaveTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "engine/HarmonicsParser.h"
#include "platform/Random15.h"
#include "platform/Resources.h"

namespace {

constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr int kN = WaveTables::kWaveLength;

enum BasicWave { Sine, Saw, Square, Triangle, Rez1, Rez2, Rez3, HalfSine };

double basicSample(int wave, int i) {
    const double x = i / static_cast<double>(kN);
    const double e = (std::sin(8.0 * kTwoPi * x) + 1.0) * 0.5;  // eight bumps per cycle
    switch (wave) {
        case Sine: return std::sin(kTwoPi * x);
        case Saw: return 2.0 * x - 1.0;
        case Square: return i <= 2047 ? -1.0 : 1.0;
        case Triangle: return 1.0 - std::fabs(2.0 - 4.0 * x);
        case Rez1: return 2.0 * e * (1.0 - x);  // one-sided, 0..2
        case Rez2: return 2.0 * e * (1.0 - std::fabs(1.0 - 2.0 * x)) - 1.0;
        case Rez3: return 2.0 * e * std::min(1.0, 2.0 - 2.0 * x) - 1.0;
        case HalfSine: return i <= 2048 ? std::fabs(std::sin(kTwoPi * x)) : 0.0;
    }
    return 0.0;
}

}  // namespace

void WaveTables::buildWaveTables(Random15& random) {
    buildSineTables();
    buildBasicWaves();
    buildHarmonicTables();
    buildSymmetryWarp();
    buildNoiseTable(random);
}

void WaveTables::buildSineTables() {
    for (int i = 0; i < kSineLength; ++i) {
        sineTable[i] = static_cast<float>(std::sin(i * kTwoPi / kSineLength));
        sineTableUnipolar[i] = (sineTable[i] + 1.0f) * 0.5f;
    }
}

void WaveTables::buildBasicWaves() {
    for (int w = Sine; w <= HalfSine; ++w)
        for (int i = 0; i < kN; ++i) basicWaves[w][i] = static_cast<float>(basicSample(w, i));

    // Two-part waves: each half plays one whole cycle of its wave at double speed.
    static constexpr int kParts[6][2] = {{Sine, Saw}, {Sine, Square}, {Sine, Rez1},
                                         {Saw, Square}, {Saw, Rez1}, {Square, Rez1}};
    for (int w = 0; w < 6; ++w) {
        float* out = basicWaves[8 + w];
        for (int j = 0; j < kN / 2; ++j) {
            out[j] = basicWaves[kParts[w][0]][2 * j];
            out[kN / 2 + j] = basicWaves[kParts[w][1]][2 * j];
        }
    }

    // White and pink noise are generated live; their tables stay silent.
    std::memset(basicWaves[14], 0, sizeof basicWaves[14]);
    std::memset(basicWaves[15], 0, sizeof basicWaves[15]);
}

void WaveTables::buildHarmonicTables() {
    std::memset(harmonicAmplitude, 0, sizeof harmonicAmplitude);
    std::memset(harmonicPhase, 0, sizeof harmonicPhase);
    platform::Resource data = platform::findResource("WAVES", 1);
    if (!data) return;
    spectra::parse(std::string_view(reinterpret_cast<const char*>(data.data), data.size), harmonicAmplitude,
                   harmonicPhase);
}

void WaveTables::buildSymmetryWarp() {
    for (int g = 0; g < kWarpRows; ++g) {
        // h: the fraction of the cycle that plays the first half of the wave.
        const float h = static_cast<float>(g) * 0.0038431373f + 0.01f;
        const int c = static_cast<int>(h * 4096.0f);
        const float rise = 0.5f / h;
        const float fall = 0.5f / (1.0f - h);
        for (int o = 0; o < kN; ++o) {
            int warp = o < c ? static_cast<int>(rise * static_cast<float>(o))
                             : static_cast<int>(fall * static_cast<float>(o - c) + 2048.0f);
            symmetryWarp[g][o] = static_cast<uint16_t>(std::clamp(warp, 0, kN - 1));
        }
    }
}

void WaveTables::buildNoiseTable(Random15& random) {
    for (int i = 0; i < kNoiseLength - 1; ++i) noiseTable[i] = random.bipolar();
    noiseTable[kNoiseLength - 1] = 0.0f;
}

void WaveTables::loadWave(float* waveBuffer, int waveIndex) const {
    waveIndex = std::clamp(waveIndex, 0, kWaveCount - 1);
    if (waveIndex < kBasicWaveCount) {
        std::memcpy(waveBuffer, basicWaves[waveIndex], sizeof basicWaves[waveIndex]);
        return;
    }
    const int row = waveIndex - kBasicWaveCount;
    synthesiseSpectrum(waveBuffer, harmonicAmplitude[row], harmonicPhase[row]);
}

void WaveTables::synthesiseSpectrum(float* waveBuffer, const float* amplitude, const float* phase) const {
    float strongest = 0.0f;
    for (int k = 0; k < kHarmonics; ++k) strongest = std::max(strongest, amplitude[k]);
    if (!(strongest >= kSilentAmplitude)) {
        std::fill(waveBuffer, waveBuffer + kN, 0.0f);
        return;
    }

    // Harmonic k goes into bin k; a forward transform of that spectrum gives
    // sum a_k cos(2 pi k n / N - theta_k) in the real part. The real part
    // lives in the caller's buffer, so only the imaginary part needs space.
    float* re = waveBuffer;
    float im[kN];
    std::fill(re, re + kN, 0.0f);
    std::fill(im, im + kN, 0.0f);
    for (int k = 0; k < kHarmonics; ++k) {
        const float theta = static_cast<float>(kTwoPi) * (phase[k] - 0.5f);
        re[k + 1] = amplitude[k] * std::cos(theta);
        im[k + 1] = amplitude[k] * std::sin(theta);
    }

    // Radix-2 decimation in time: bit-reversed order first, then butterflies
    // with twiddles e^(-2 pi i j / len) read from the sine table.
    for (int i = 1, j = 0; i < kN; ++i) {
        int bit = kN >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    for (int len = 2; len <= kN; len <<= 1) {
        const int half = len >> 1;
        const int stride = kSineLength / len;
        for (int j = 0; j < half; ++j) {
            const int t = j * stride;
            const float wr = sineTable[(t + kSineLength / 4) & (kSineLength - 1)];
            const float wi = -sineTable[t];
            for (int a = j; a < kN; a += len) {
                const int b = a + half;
                const float tr = wr * re[b] - wi * im[b];
                const float ti = wr * im[b] + wi * re[b];
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
        }
    }

    // The peak follows the strongest harmonic.
    float peak = 0.0f;
    for (int n = 0; n < kN; ++n) peak = std::max(peak, std::fabs(re[n]));
    const float scale = peak > 0.0f ? strongest / peak : 0.0f;
    for (int n = 0; n < kN; ++n) re[n] *= scale;
}
