// The oscillator waveforms as they come out of the tables: sample values,
// measured spectra, peak levels, the symmetry warp, the noise table and the
// embedded spectra data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/HarmonicsParser.h"
#include "engine/WaveTables.h"
#include "platform/Random15.h"
#include "platform/Resources.h"

namespace {

constexpr int N = WaveTables::kWaveLength;
constexpr double kPi = 3.14159265358979323846;

const WaveTables& tables() {
    static const std::unique_ptr<WaveTables> built = [] {
        auto t = std::make_unique<WaveTables>();
        Random15 random;
        random.seed(12345);
        t->buildWaveTables(random);
        return t;
    }();
    return *built;
}

std::vector<float> wave(int index) {
    std::vector<float> buffer(N);
    tables().loadWave(buffer.data(), index);
    return buffer;
}

// Complex amplitude of harmonic k of one cycle: a_k e^(-i theta_k).
std::complex<double> harmonic(const std::vector<float>& x, int k) {
    std::complex<double> sum;
    for (int n = 0; n < N; ++n) sum += double(x[n]) * std::polar(1.0, -2.0 * kPi * k * n / N);
    return sum * (2.0 / N);
}

double magnitude(const std::vector<float>& x, int k) { return std::abs(harmonic(x, k)); }

float peakOf(const std::vector<float>& x) {
    float peak = 0.0f;
    for (float v : x) peak = std::max(peak, std::fabs(v));
    return peak;
}

double largestAbove64(const std::vector<float>& x) {
    double m = 0.0;
    for (int k = 65; k < N / 2; ++k) m = std::max(m, magnitude(x, k));
    return m;
}

const char* kBasicNames[16] = {"Sine", "Saw", "Square", "Triangle", "Rez 1", "Rez 2", "Rez 3", "HalfSine",
                              "SineSaw", "SineSqr", "SineRez", "SawSqr", "SawRez", "SqrRez", "W. Noise", "P. Noise"};

std::string expectedName(int index) {
    static const char* named[] = {"Harmc1", "Harmc2", "Harmc3", "Harmc4", "Saw 2", "Saw 3", "Saw 4", "Saw 5",
                                  "Sqr 2", "Sqr 3", "Sqr 4", "Sqr 5", "Triang 2", "Triang 3", "Glass", "Hollow",
                                  "Octave", "Overtone", "Rez 4", "Rez 5", "Digix", "Organ 1", "Organ 2", "Organ 3",
                                  "Ch. Organ", "Whistle", "Vocal A", "Vocal E", "Vocal O", "Vocal U"};
    char text[16];
    if (index < 46) return named[index - 16];
    if (index < 55) std::snprintf(text, sizeof text, "Vox %02d", index - 45);
    else std::snprintf(text, sizeof text, "Spec %02d", index == 104 ? 30 : index - 54);
    return text;
}

}  // namespace

TEST(WaveTables, BasicWavesAtKeyPositions) {
    auto sine = wave(0), saw = wave(1), square = wave(2), triangle = wave(3);
    EXPECT_FLOAT_EQ(sine[0], 0.0f);
    EXPECT_FLOAT_EQ(sine[1024], 1.0f);
    EXPECT_NEAR(sine[2048], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(sine[3072], -1.0f);
    EXPECT_FLOAT_EQ(saw[0], -1.0f);
    EXPECT_FLOAT_EQ(saw[2048], 0.0f);
    EXPECT_FLOAT_EQ(saw[4095], 2.0f * 4095 / 4096 - 1.0f);
    EXPECT_EQ(square[0], -1.0f);
    EXPECT_EQ(square[2047], -1.0f);
    EXPECT_EQ(square[2048], 1.0f);
    EXPECT_EQ(square[4095], 1.0f);
    EXPECT_FLOAT_EQ(triangle[0], -1.0f);
    EXPECT_FLOAT_EQ(triangle[1024], 0.0f);
    EXPECT_FLOAT_EQ(triangle[2048], 1.0f);
    EXPECT_FLOAT_EQ(triangle[3072], 0.0f);

    // The resonant waves: eight bumps per cycle under a falling, a peaked and
    // a late-falling envelope. Rez 1 is one-sided (0..2).
    auto rez1 = wave(4), rez2 = wave(5), rez3 = wave(6);
    EXPECT_FLOAT_EQ(rez1[0], 1.0f);
    EXPECT_FLOAT_EQ(rez1[128], 2.0f * (1.0f - 128.0f / 4096));  // top of the first bump
    EXPECT_NEAR(rez1[384], 0.0f, 1e-6);                          // bottom of the second
    EXPECT_GE(*std::min_element(rez1.begin(), rez1.end()), 0.0f);
    EXPECT_LE(*std::max_element(rez1.begin(), rez1.end()), 2.0f);
    EXPECT_FLOAT_EQ(rez2[0], -1.0f);
    EXPECT_FLOAT_EQ(rez2[2176], 0.875f);
    EXPECT_FLOAT_EQ(rez3[128], 1.0f);
    EXPECT_FLOAT_EQ(rez3[1152], 1.0f);
    EXPECT_FLOAT_EQ(rez3[2176], 0.875f);
    EXPECT_FLOAT_EQ(rez3[3200], 2.0f * (2.0f - 2.0f * 3200 / 4096) - 1.0f);

    auto half = wave(7);
    EXPECT_FLOAT_EQ(half[1024], 1.0f);
    EXPECT_EQ(half[2049], 0.0f);
    EXPECT_EQ(half[3072], 0.0f);

    for (int noise : {14, 15}) EXPECT_EQ(peakOf(wave(noise)), 0.0f) << kBasicNames[noise];
}

TEST(WaveTables, TwoPartWavesHoldAWholeCycleInEachHalf) {
    const int parts[6][2] = {{0, 1}, {0, 2}, {0, 4}, {1, 2}, {1, 4}, {2, 4}};
    for (int w = 8; w <= 13; ++w) {
        auto both = wave(w), first = wave(parts[w - 8][0]), second = wave(parts[w - 8][1]);
        for (int j = 0; j < N / 2; ++j) {
            ASSERT_EQ(both[j], first[2 * j]) << kBasicNames[w] << " sample " << j;
            ASSERT_EQ(both[N / 2 + j], second[2 * j]) << kBasicNames[w] << " sample " << N / 2 + j;
        }
    }
    auto sineSaw = wave(8);
    EXPECT_FLOAT_EQ(sineSaw[512], 1.0f);    // the sine's crest a quarter into the first half
    EXPECT_FLOAT_EQ(sineSaw[1536], -1.0f);  // and its trough
    EXPECT_FLOAT_EQ(sineSaw[2048], -1.0f);  // the saw starts over
    EXPECT_NEAR(sineSaw[4095], 1.0f, 1e-3);
}

TEST(WaveTables, SpectralWavesHaveTheirSpectra) {
    // Saw 2: every harmonic up to 64 at 1/k, nothing above; peak = 1.
    auto saw = wave(20);
    EXPECT_NEAR(peakOf(saw), 1.0f, 1e-5);
    double fundamental = magnitude(saw, 1);
    for (int k = 2; k <= 64; ++k) EXPECT_NEAR(magnitude(saw, k) * k / fundamental, 1.0, 0.01) << "harmonic " << k;
    EXPECT_LT(largestAbove64(saw), 1e-4 * fundamental);
    // Sine-phase series: a ramp falling from its crest at the start.
    EXPECT_GT(saw[20], 0.8f);
    EXPECT_NEAR(saw[1024], 0.42f, 0.03f);
    EXPECT_NEAR(saw[2048], 0.0f, 0.03f);
    EXPECT_NEAR(saw[3072], -0.42f, 0.03f);

    // Sqr 2: odd harmonics at 1/k, no even ones.
    auto square = wave(24);
    fundamental = magnitude(square, 1);
    for (int k = 2; k <= 64; ++k) {
        if (k % 2) EXPECT_NEAR(magnitude(square, k) * k / fundamental, 1.0, 0.01) << "harmonic " << k;
        else EXPECT_LT(magnitude(square, k), 1e-4 * fundamental) << "harmonic " << k;
    }

    // Harmc1: a pure sine, peak 0.9955.
    auto sine = wave(16);
    EXPECT_NEAR(peakOf(sine), 0.9955f, 1e-5);
    EXPECT_NEAR(sine[1024], 0.9955f, 1e-4);
    for (int k = 2; k <= 128; ++k) EXPECT_LT(magnitude(sine, k), 1e-5);

    // Triang 2: odd harmonics 1/k^2 to the 9th in cosine phase: a triangle
    // from its trough at 0 to its crest half way.
    auto triangle = wave(28);
    EXPECT_NEAR(triangle[0], -1.0f, 1e-3);
    EXPECT_NEAR(triangle[2048], 1.0f, 1e-3);
    EXPECT_NEAR(triangle[1024], 0.0f, 0.01);
    EXPECT_NEAR(magnitude(triangle, 9) / magnitude(triangle, 1), 1.0 / 81, 1e-4);
    EXPECT_LT(magnitude(triangle, 11), 1e-5);

    // Octave: harmonics 1, 2, 4, ..., 64 only.
    auto octave = wave(32);
    for (int k = 1; k <= 64; ++k) {
        bool power = (k & (k - 1)) == 0;
        if (power) EXPECT_NEAR(magnitude(octave, k) * k / magnitude(octave, 1), 1.0, 0.01) << k;
        else EXPECT_LT(magnitude(octave, k), 1e-4) << k;
    }
}

TEST(WaveTables, PeakFollowsTheStrongestHarmonic) {
    const WaveTables& t = tables();
    for (int w = 16; w < 128; ++w) {
        const float* a = t.harmonicAmplitude[w - 16];
        float strongest = *std::max_element(a, a + 64);
        auto x = wave(w);
        ASSERT_TRUE(std::all_of(x.begin(), x.end(), [](float v) { return std::isfinite(v); })) << w;
        EXPECT_NEAR(peakOf(x), strongest, 1e-5) << expectedName(w);
    }
    EXPECT_NEAR(peakOf(wave(17)), 0.955f, 1e-5);  // Harmc2
    EXPECT_NEAR(peakOf(wave(19)), 1.0f, 1e-5);    // Harmc4

    // The peak rule applies to any spectrum; below 0.0001 it is silence.
    float amplitude[64] = {}, phase[64] = {};
    std::vector<float> x(N, 1.0f);
    amplitude[2] = 0.5f;
    amplitude[6] = 0.25f;
    t.synthesiseSpectrum(x.data(), amplitude, phase);
    EXPECT_NEAR(peakOf(x), 0.5f, 1e-6);
    EXPECT_NEAR(magnitude(x, 7) / magnitude(x, 3), 0.5, 1e-4);
    std::fill(amplitude, amplitude + 64, 0.00009f);
    t.synthesiseSpectrum(x.data(), amplitude, phase);
    EXPECT_EQ(peakOf(x), 0.0f);
    amplitude[40] = 0.0001f;
    t.synthesiseSpectrum(x.data(), amplitude, phase);
    EXPECT_NEAR(peakOf(x), 0.0001f, 1e-9);
}

TEST(WaveTables, WaveIndexIsClamped) {
    EXPECT_EQ(wave(-7), wave(0));
    EXPECT_EQ(wave(128), wave(127));
    EXPECT_EQ(wave(1 << 30), wave(127));
}

TEST(WaveTables, VowelsHavePeaksAtTheirFormants) {
    // First two formants of each vowel (Hz) for a voice at 110 Hz: the
    // spectrum must peak within one harmonic of each.
    struct Vowel {
        int index;
        double f1, f2;
    };
    for (Vowel v : {Vowel{42, 730, 1090}, Vowel{43, 480, 2090}, Vowel{44, 500, 910}, Vowel{45, 300, 870}}) {
        auto x = wave(v.index);
        std::vector<double> m(66, 0.0);
        for (int k = 1; k <= 65; ++k) m[k] = magnitude(x, k);
        auto peakNear = [&](double formant) {
            int centre = int(std::lround(formant / 110.0));
            for (int k = std::max(1, centre - 1); k <= centre + 1; ++k)
                if (m[k] >= m[k - 1] && m[k] >= m[k + 1]) return true;
            return false;
        };
        EXPECT_TRUE(peakNear(v.f1)) << expectedName(v.index) << " F1";
        EXPECT_TRUE(peakNear(v.f2)) << expectedName(v.index) << " F2";
    }
    // The front vowel carries energy up around 2 kHz; the back vowel does not.
    auto e = wave(43), u = wave(45);
    EXPECT_GT(magnitude(e, 19) / magnitude(e, 1), 20 * magnitude(u, 19) / magnitude(u, 1));
}

TEST(WaveTables, SymmetryWarp) {
    const WaveTables& t = tables();
    for (int g = 0; g < 256; ++g) {
        const uint16_t* row = t.symmetryWarp[g];
        EXPECT_EQ(row[0], 0);
        for (int o = 1; o < N; ++o) ASSERT_LE(row[o - 1], row[o]) << "row " << g;
        EXPECT_GE(row[N - 1], 4040);
        EXPECT_LE(row[N - 1], 4095);
    }
    // Near the middle rows the warp is almost the identity.
    for (int g : {127, 128})
        for (int o = 0; o < N; ++o) ASSERT_LE(std::abs(int(t.symmetryWarp[g][o]) - o), 10) << g << " " << o;
    // Row 0 plays the first half of the wave in the first 1 % of the cycle,
    // row 255 in the first 99 %.
    auto firstHalfLength = [&](int g) {
        return int(std::count_if(t.symmetryWarp[g], t.symmetryWarp[g] + N, [](uint16_t p) { return p < 2048; }));
    };
    EXPECT_NEAR(firstHalfLength(0), 41, 1);
    EXPECT_NEAR(firstHalfLength(255), 4055, 1);
    EXPECT_EQ(t.symmetryWarp[0][41], 2048);
}

TEST(WaveTables, SineAndNoiseTables) {
    const WaveTables& t = tables();
    EXPECT_EQ(t.sineTable[0], 0.0f);
    EXPECT_FLOAT_EQ(t.sineTable[16384], 1.0f);
    EXPECT_FLOAT_EQ(t.sineTable[49152], -1.0f);
    EXPECT_NEAR(t.sineTable[8192], std::sqrt(0.5), 1e-7);
    EXPECT_FLOAT_EQ(t.sineTableUnipolar[0], 0.5f);
    EXPECT_FLOAT_EQ(t.sineTableUnipolar[16384], 1.0f);
    EXPECT_FLOAT_EQ(t.sineTableUnipolar[49152], 0.0f);

    // The noise comes from the given generator, 65535 draws, last entry 0.
    Random15 reference;
    reference.seed(12345);
    double sum = 0.0, squares = 0.0;
    for (int i = 0; i < 65535; ++i) {
        ASSERT_EQ(t.noiseTable[i], reference.next() / 16384.0f - 1.0f) << i;
        ASSERT_GE(t.noiseTable[i], -1.0f);
        ASSERT_LT(t.noiseTable[i], 1.0f);
        sum += t.noiseTable[i];
        squares += t.noiseTable[i] * t.noiseTable[i];
    }
    EXPECT_EQ(t.noiseTable[65535], 0.0f);
    EXPECT_NEAR(sum / 65535, 0.0, 0.01);
    EXPECT_NEAR(squares / 65535, 1.0 / 3.0, 0.01);  // uniform over -1..1

    Random15 used;
    used.seed(12345);
    auto scratch = std::make_unique<WaveTables>();
    scratch->buildWaveTables(used);
    EXPECT_EQ(used.state(), reference.state());
}

TEST(SpectraData, EmbeddedFileHoldsAll112Waves) {
    platform::Resource data = platform::findResource("WAVES", 1);
    ASSERT_TRUE(data);
    static float amplitude[112][64], phase[112][64];
    std::string names[112];
    std::fill(&amplitude[0][0], &amplitude[0][0] + 112 * 64, -1.0f);
    std::fill(&phase[0][0], &phase[0][0] + 112 * 64, -1.0f);
    EXPECT_EQ(spectra::parse({reinterpret_cast<const char*>(data.data), data.size}, amplitude, phase, names), 112);
    for (int row = 0; row < 112; ++row) {
        EXPECT_EQ(names[row], expectedName(row + 16));
        for (int k = 0; k < 64; ++k) {
            ASSERT_TRUE(amplitude[row][k] >= 0.0f && amplitude[row][k] <= 1.0f) << names[row] << " " << k;
            ASSERT_TRUE(phase[row][k] >= 0.0f && phase[row][k] <= 1.0f) << names[row] << " " << k;
        }
        // Designed waves have their strongest harmonic at full level.
        if (row >= 4) {
            EXPECT_FLOAT_EQ(*std::max_element(amplitude[row], amplitude[row] + 64), 1.0f) << names[row];
        }
    }
    // The rows the sound design refers to.
    EXPECT_EQ(amplitude[1][0], 0.955f);
    EXPECT_EQ(amplitude[1][1], 0.955f);
    EXPECT_EQ(amplitude[1][2], 0.0f);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(amplitude[2][k], 0.9955f);
    EXPECT_EQ(amplitude[2][3], 0.0f);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(amplitude[3][k], 1.0f);
    EXPECT_EQ(phase[4][0], 0.75f);
    EXPECT_NEAR(phase[4][63] - phase[4][0], 63 * 0.0005f, 1e-4);
    for (int k = 0; k < 5; ++k) {
        float p = phase[12][2 * k];
        EXPECT_TRUE(k % 2 == 0 ? p < 0.01f : p > 0.99f) << "Triang 2 harmonic " << 2 * k + 1 << " phase " << p;
    }
}

TEST(SpectraData, MalformedRecordsAreSkipped) {
    auto record = [](int index, const char* name, const std::string& amp, const std::string& phase) {
        return "wave " + std::to_string(index) + " \"" + name + "\"\namp " + amp + "\nphase " + phase + "\n";
    };
    auto values = [](int count, const char* v) {
        std::string s;
        for (int i = 0; i < count; ++i) s += std::string(v) + " ";
        return s;
    };
    std::string text = "# comment\n" + record(16, "Good", values(64, "0.5"), values(64, "0.25")) +
                       record(17, "Short", values(63, "0.5"), values(64, "0.25")) +  // truncated
                       record(18, "Nan", values(63, "0.5") + "nan", values(64, "0.25")) +
                       record(19, "Big", values(64, "1.5"), values(64, "0.25")) +
                       record(200, "Index", values(64, "0.5"), values(64, "0.25")) +
                       record(16, "Again", values(64, "0.1"), values(64, "0.1")) +
                       record(127, "Last, comma", values(64, "0,5"), values(64, "0")) +
                       "garbage tokens\n" + record(127, "Last", values(64, "1e-3"), values(64, "1"));
    static float amplitude[112][64], phase[112][64];
    std::string names[112];
    EXPECT_EQ(spectra::parse(text, amplitude, phase, names), 2);
    EXPECT_EQ(names[0], "Good");
    EXPECT_EQ(amplitude[0][63], 0.5f);
    EXPECT_EQ(phase[0][0], 0.25f);
    for (int row = 1; row < 111; ++row) EXPECT_EQ(amplitude[row][0], 0.0f) << row;
    EXPECT_EQ(names[111], "Last");
    EXPECT_EQ(amplitude[111][5], 0.001f);
    EXPECT_EQ(spectra::parse("", amplitude, phase), 0);
    EXPECT_EQ(spectra::parse("wave 16 \"Open", amplitude, phase), 0);
}
