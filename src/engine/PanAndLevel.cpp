// Per-voice pan (linear balance) and the master volume with its smoothing.
#include <cmath>

#include "engine/Clamp.h"
#include "engine/Engine.h"

void Engine::updatePan(Voice& v) {
    const float c = clamp01(v.mod[moddst::Panning] * 0.5f + param(prm::MainPanning));
    v.panSmoothed = 0.99f * v.panSmoothed + 0.00999999f * c + 1e-15f;
    const float d = 2.0f * v.panSmoothed;
    v.gainLeft = v.velocityVolume * clamp01(2.0f - d);
    v.gainRight = v.velocityVolume * clamp01(d);
}

void Engine::updateMasterVolume() {
    const float v = clamp01(param(prm::MainVolume) + matrix.sharedCtrlAdd()[moddst::Volume]);
    // -60 dB .. 0 dB taper.
    const float g = v < 0.001f ? 0.0f : std::pow(10.0f, (60.0f * v - 60.0f) / 20.0f);
    masterTarget = g * midiVolume * matrix.sharedDest()[moddst::Volume];
    masterGain_ = 0.00999999f * masterTarget + 0.99f * masterGain_ + 1e-15f;
}
