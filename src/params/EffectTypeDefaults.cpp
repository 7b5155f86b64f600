#include "params/EffectTypeDefaults.h"

#include "params/Enumerations.h"

namespace params {
namespace {
// Per effect type: parameters 1..8, mix and pan.
constexpr float kDefaults[kFxTypeCount][kFxTypeValues] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0.166f, 0.5f},                          // None
    {0.54f, 0.6f, 0.92f, 0.19f, 0, 0, 0, 0.15f, 0.166f, 0.5f},       // Mono Delay
    {0.67f, 0.57f, 0.69f, 0.5f, 0.91f, 0.19f, 0, 1, 0.166f, 0.5f},   // Stereo Delay
    {0.1f, 0.75f, 0, 0.1f, 0.75f, 0, 0, 0, 0.166f, 0.5f},            // Comb Filter
    {0.69f, 0.79f, 0.09f, 0.97f, 0.06f, 0, 0, 0, 0.11f, 0.5f},       // Reverb
    {0.481f, 0.44f, 0.42f, 0.36f, 0.98f, 0, 0, 0, 0.166f, 0.5f},     // Chorus
    {0.41f, 0.34f, 0.65f, 0.35f, 0.56f, 0.36f, 0, 0, 0.37f, 0.5f},   // Chorus / Delay.
    {0.15f, 1, 0.43f, 0.09f, 0, 0.92f, 0.19f, 0, 0.25f, 0.5f},       // Flanger
    {0.5f, 0.53f, 0.57f, 0.85f, 0.44f, 0.91f, 0.68f, 0, 0.5f, 0.5f}, // Phaser
    {0, 1, 0.48f, 0.5f, 0, 0, 0, 0, 1, 0.5f},                        // WahWah Delay
    {0.88f, 0.72f, 0.57f, 0.46f, 0.81f, 0.28f, 0.5f, 0, 0.89f, 0.5f}, // Distort
    {0.52f, 0.95f, 1, 0.45f, 0, 0, 0, 1, 0.166f, 0.5f},              // Low Fi
    {0, 0, 0.5f, 0.5f, 0.5f, 0, 0, 1, 0.166f, 0.5f},                 // Amp Sim
    {0, 0, 0, 1, 0, 0, 0, 0, 1, 0.5f},                               // Waveshaper
    {1, 0.24f, 0.31f, 0.92f, 0.19f, 0, 0, 1, 0.166f, 0.5f},          // Widener
    {1, 0.48f, 0, 0, 0, 0, 0, 0, 1, 0.5f},                           // AutoPan
    {0.46f, 0.7f, 0, 0, 0.3333f, 0.3333f, 0, 0, 1, 0.5f},            // Gator
    {0, 0.4f, 0.5f, 1, 0, 0.5f, 0.5f, 0.5f, 1, 0.5f},                // Vocoder
    {0, 0.5f, 0, 0, 0, 0, 0, 0, 1, 0.5f},                            // FX Filt
    {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0, 0, 0, 0.53f, 0.5f},            // Equalizer
    {0.5f, 0.29f, 0.2f, 0.2f, 0.5f, 0, 0, 0, 1, 0.5f},               // Compressor
    {0.49f, 0.36f, 0.685f, 0.34f, 0.855f, 1, 0, 0, 0.166f, 0.5f},    // Ensemble
};
}  // namespace

float effectTypeDefault(int type, int k) {
    if (type < 0 || type >= kFxTypeCount) type = 0;
    return k >= 0 && k < kFxTypeValues ? kDefaults[type][k] : 0.0f;
}

}  // namespace params
