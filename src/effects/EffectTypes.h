// Effect type numbers as the type parameters decode them.
#pragma once

namespace fxtype {
constexpr int None = 0;
constexpr int MonoDelay = 1;
constexpr int StereoDelay = 2;
constexpr int Comb = 3;
constexpr int Reverb = 4;
constexpr int Chorus = 5;
constexpr int ChorusDelay = 6;
constexpr int Flanger = 7;
constexpr int Phaser = 8;
constexpr int WahDelay = 9;
constexpr int Distort = 10;
constexpr int LowFi = 11;
constexpr int AmpSim = 12;
constexpr int Waveshaper = 13;
constexpr int Widener = 14;
constexpr int AutoPan = 15;
constexpr int Gator = 16;
constexpr int Vocoder = 17;
constexpr int FxFilter = 18;
constexpr int Equalizer = 19;
constexpr int Compressor = 20;
constexpr int Ensemble = 21;
// The type parameter's range decodes to 0..24; 22..24 have no effect and pass
// the signal like type 0.
constexpr int kNumbers = 25;

// Integer part of value x 24.99, for any value (NaN reads as 0).
inline int decode(float value) {
    if (!(value > 0.0f)) return 0;
    const int t = static_cast<int>(value * 24.99f);
    return t < kNumbers ? t : kNumbers - 1;
}
}  // namespace fxtype

// The eight generic knobs of a slot.
namespace fxknob {
constexpr int A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7;
constexpr int kCount = 8;
}  // namespace fxknob
