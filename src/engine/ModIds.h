// Modulation sources and destinations by index.
#pragma once

namespace modsrc {
constexpr int None = 0;
constexpr int ModWhl = 1;
constexpr int ModAft = 2;
constexpr int ChAftr = 3;
constexpr int PolyAftr = 4;
constexpr int Velocity = 5;
constexpr int Pitchbend = 6;
constexpr int Breath = 7;
constexpr int Foot = 8;
constexpr int Expressn = 9;
constexpr int CC16 = 10;  // CC16..CC21 at 10..15
constexpr int CC84 = 16;  // CC84..CC90 at 16..22
constexpr int Env1 = 23;
constexpr int Env2 = 24;
constexpr int Lfo1 = 25;
constexpr int Lfo2 = 26;
constexpr int ArpFree = 27;
constexpr int ArpVel = 28;
constexpr int Note = 29;
constexpr int Offset = 30;
constexpr int kCount = 32;  // row size (31 sources)
constexpr int kSources = 31;

// A stored source choice; an index that names no source acts as "None".
inline int decode(float value) {
    const int i = static_cast<int>(value * 99.99f);
    return i > 0 && i < kSources ? i : None;
}
// Sources MIDI intake supplies from controllers, aftertouch and pitch bend
// (1..22 but "Velocity", which belongs to the note).
constexpr bool isController(int s) { return s >= ModWhl && s <= CC84 + 6 && s != Velocity; }
}  // namespace modsrc

namespace moddst {
constexpr int None = 0;
constexpr int MainPitch = 1;
constexpr int Port = 2;
constexpr int PitLfoSpd = 3;
constexpr int PitLfoAmt = 4;
// Oscillator n (0..2) destinations start at 5 + 8n: Vol, Semi, Fine, Sym, Sub, PWM, PWM Spd, FM.
constexpr int OscBase = 5;
constexpr int OscStride = 8;
constexpr int OscVol = 0;
constexpr int OscSemi = 1;
constexpr int OscFine = 2;
constexpr int OscSym = 3;
constexpr int OscSub = 4;
constexpr int OscPwm = 5;
constexpr int OscPwmSpd = 6;
constexpr int OscFm = 7;
constexpr int FiltFreq = 29;
constexpr int FiltQ = 30;
constexpr int FiltDist = 31;
constexpr int FEnvAmt = 32;
constexpr int FEnvSpd = 33;
constexpr int FLfoSpd = 34;
constexpr int Filt2Freq = 35;
constexpr int Volume = 36;
constexpr int Panning = 37;
constexpr int AmpSpd = 38;
constexpr int Env1Spd = 39;
constexpr int Env2Spd = 40;
constexpr int Lfo1Amt = 41;
constexpr int Lfo2Amt = 42;
constexpr int Lfo1Spd = 43;
constexpr int Lfo2Spd = 44;
constexpr int Fx1Mix = 45;  // effect slot s: mix 45 + 10s, pan 46 + 10s, knobs a..H 47 + 10s ..
constexpr int Env1Amt = 75;
constexpr int Env2Amt = 76;
constexpr int kCount = 100;  // row size (77 destinations)
constexpr int kDestinations = 77;

// A stored destination choice; an index that names no destination acts as "None".
inline int decode(float value) {
    const int i = static_cast<int>(value * 99.99f);
    return i > 0 && i < kDestinations ? i : None;
}

constexpr int osc(int n, int which) { return OscBase + OscStride * n + which; }

// Destinations whose untouched value is 1.0 (factors), not 0.0 (offsets).
constexpr bool isMultiplicative(int d) {
    return d == 3 || d == 11 || d == 19 || d == 27 || d == 33 || d == 34 || d == 38 || d == 39 ||
           d == 40 || d == 43 || d == 44 || d == 5 || d == 13 || d == 21 || d == 20 || d == 28 ||
           d == 36;
}
}  // namespace moddst
