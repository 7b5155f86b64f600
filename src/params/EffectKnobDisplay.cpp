#include "params/EffectKnobDisplay.h"

#include <cmath>

#include "params/DisplayFormats.h"

namespace params {
namespace {
using namespace display;

using KnobText = void (*)(char* text, float v);

// The shorthands shared by many types.
void P(char* t, float v) { roundedPercent(t, v); }
void S(char* t, float v) { signedPercent(t, v); }
void Fr(char* t, float v) { frequency(t, v); }
void R(char* t, float v) { rate(t, v, 4096.0f); }
void G20(char* t, float v) { gain(t, v * 40.0f - 20.0f); }
void G40(char* t, float v) { gain(t, v * 40.0f - 40.0f); }
void Sync(char* t, float v) { choice(t, kSyncDivision, v); }
void Beat(char* t, float v) { choice(t, kBeat, v); }
void Ms50(char* t, float v) { print(t, "%.1f ms", v * 50.0f); }

// Texts particular to one type.
void feedEqual(char* t, float v) { choice(t, kOffOn, v); }
void reverbPreDelay(char* t, float v) { print(t, "%.1f ms", (std::exp2(10.0f * v) - 1.0f) * 0.5f); }
void reverbSize(char* t, float v) { print(t, "%.2f m", std::floor(v * 30.75f + 1.0f) * 0.25f); }
void phaserStages(char* t, float v) { integer(t, v, 7.99f, 1, "%d"); }
void distortBoost(char* t, float v) { print(t, "%+.0f db", v * 40.0f - 20.0f); }
void lofiBits(char* t, float v) { print(t, "%d", 16 - static_cast<int>(v * 15.99f)); }
// The nominal rate at 44.1 kHz, whatever the current sample rate.
void lofiRate(char* t, float v) { print(t, "%d", 44100 / static_cast<int>(std::exp2(5.0f * v))); }
void ampType(char* t, float v) { choice(t, kAmpSimType, v); }
void gatorMode(char* t, float v) { choice(t, kGatorMode, v); }
void gatorSync(char* t, float v) { choice(t, kGatorSync, v); }
void vocoderShift(char* t, float v) { print(t, "%+d semi", static_cast<int>(v * 72.99f - 36.0f)); }
void vocoderPitch(char* t, float v) {
    print(t, "%+.2f semi", static_cast<int>(v * 2400.9f - 1200.0f) * 0.01f);
}
void filterType(char* t, float v) { choice(t, kFilterType, v); }
void compressorRatio(char* t, float v) {
    if (v == 0.0f)
        copy(t, " : None");
    else if (v == 1.0f)
        copy(t, " : Limiter");
    else
        print(t, "%.0f:1", std::exp2(7.0f * v));
}

// Knobs A..H by type; nullptr shows nothing.
constexpr KnobText kKnobText[kFxTypeCount][kFxKnobs] = {
    /* None         */ {},
    /* Mono Delay   */ {Beat, S, Fr, Fr, P, P, R, nullptr},
    /* Stereo Delay */ {Beat, Beat, S, S, Fr, Fr, P, feedEqual},
    /* Comb Filter  */ {Fr, S, P, Sync, Fr, S, P, Sync},
    /* Reverb       */ {reverbPreDelay, reverbSize, P, Fr, Fr, P, nullptr, nullptr},
    /* Chorus       */ {Ms50, P, R, P, Fr, P, nullptr, nullptr},
    /* Chorus/Delay */ {Ms50, P, R, P, Beat, P, P, nullptr},
    /* Flanger      */ {Ms50, P, Sync, S, P, Fr, Fr, nullptr},
    /* Phaser       */ {phaserStages, Fr, P, P, Sync, P, P, nullptr},
    /* WahWah Delay */ {Fr, Fr, Sync, P, Beat, P, P, nullptr},
    /* Distort      */ {P, S, P, Fr, P, distortBoost, S, nullptr},
    /* Low Fi       */ {lofiBits, lofiRate, Fr, S, nullptr, nullptr, nullptr, nullptr},
    /* Amp Sim      */ {ampType, P, G20, G20, G20, nullptr, nullptr, nullptr},
    /* Waveshaper   */ {P, P, S, Fr, P, Sync, nullptr, nullptr},
    /* Widener      */ {P, P, R, Fr, Fr, nullptr, nullptr, nullptr},
    /* AutoPan      */ {P, Sync, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    /* Gator        */ {Sync, P, gatorMode, gatorSync, nullptr, nullptr, nullptr, nullptr},
    /* Vocoder      */ {P, P, vocoderShift, Fr, Fr, G40, G20, vocoderPitch},
    /* FX Filt      */ {filterType, Fr, P, P, nullptr, nullptr, nullptr, nullptr},
    /* Equalizer    */ {G20, G20, G20, G20, G20, G20, G20, G20},
    /* Compressor   */ {G40, compressorRatio, P, P, G20, nullptr, nullptr, nullptr},
    /* Ensemble     */ {Ms50, P, R, P, P, P, nullptr, nullptr},
};
}  // namespace

void effectKnobDisplay(int type, int knob, float v, char* text) {
    text[0] = 0;
    if (type < 0 || type >= kFxTypeCount || knob < 0 || knob >= kFxKnobs) return;
    if (KnobText write = kKnobText[type][knob]) write(text, v);
}

}  // namespace params
