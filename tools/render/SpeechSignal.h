// A speech-like test phrase, made the same way every time: a voiced source
// (glottal pulses on a gliding pitch, tilted like a voice) through three
// formant resonators that move from vowel to vowel syllable by syllable,
// with a hiss at the start of some syllables. Its band energies move the way
// a spoken phrase's do: the whole level with the syllables, the middle bands
// with the vowels, the top bands with the hiss.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace speech {

struct Vowel {
    double f1, f2, f3;
};
// "a", "i", "u", "e", "o".
inline constexpr Vowel kVowels[] = {
    {730, 1090, 2440}, {270, 2290, 3010}, {300, 870, 2240}, {530, 1840, 2480}, {570, 840, 2410}};

// A two-pole resonator of unit gain at its centre.
struct Resonator {
    double y1 = 0.0, y2 = 0.0;
    double run(double x, double hz, double bandwidth, double rate) {
        const double r = std::exp(-M_PI * bandwidth / rate);
        const double c = 2.0 * r * std::cos(2.0 * M_PI * hz / rate);
        const double y = (1.0 - r) * x + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// `seconds` of the phrase at `rate`, peaking near 0.5.
inline std::vector<float> phrase(double rate, double seconds) {
    constexpr double kSyllable = 0.24;  // seconds
    // At least one, so that a phrase shorter than a syllable is that syllable's start.
    const int syllables = std::max(1, int(seconds / kSyllable));
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<float> out(size_t(seconds * rate), 0.0f);
    Resonator formant[3], hiss[2];
    double phase = 0.0, tilt = 0.0;
    for (size_t n = 0; n < out.size(); ++n) {
        const double t = double(n) / rate;
        const int s = std::min(int(t / kSyllable), syllables - 1);
        const double within = t / kSyllable - s;  // 0 .. 1 through the syllable
        // Vowels glide into the next over the syllable's last third.
        const Vowel& a = kVowels[(s * 3) % 5];
        const Vowel& b = kVowels[(s * 3 + 3) % 5];
        const double glide = within < 0.66 ? 0.0 : (within - 0.66) / 0.34;
        const Vowel v{a.f1 + (b.f1 - a.f1) * glide, a.f2 + (b.f2 - a.f2) * glide, a.f3 + (b.f3 - a.f3) * glide};
        // Pitch wanders between 100 and 150 Hz; a pulse per period.
        const double pitch = 125.0 + 25.0 * std::sin(2.0 * M_PI * 0.7 * t);
        phase += pitch / rate;
        double pulse = 0.0;
        if (phase >= 1.0) {
            phase -= 1.0;
            pulse = 1.0;
        }
        // The voice's falling spectrum, with breath between the partials.
        tilt = 0.9 * tilt + pulse + 0.05 * unit(random);
        // Syllables swell and fade; every third is quieter, one in four is silent.
        const double level = (s % 4 == 3 ? 0.0 : (s % 3 == 1 ? 0.4 : 1.0)) * std::sin(M_PI * within);
        const double voiced = tilt * level;
        double y = 8.0 * formant[0].run(voiced, v.f1, 90.0, rate) + 6.0 * formant[1].run(voiced, v.f2, 110.0, rate) +
                   4.0 * formant[2].run(voiced, v.f3, 150.0, rate);
        // A hiss leads every other syllable.
        if (s % 2 == 0 && within < 0.25) {
            const double h = hiss[1].run(hiss[0].run(unit(random), 5500.0, 2500.0, rate), 5500.0, 2500.0, rate);
            y += 3.0 * h * std::sin(M_PI * within / 0.25);
        }
        out[n] = float(0.5 * y);
    }
    // Peak at 0.5.
    double peak = 1e-9;
    for (float x : out) peak = std::max(peak, double(std::fabs(x)));
    for (float& x : out) x = float(x * 0.5 / peak);
    return out;
}

}  // namespace speech
