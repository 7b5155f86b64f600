// Envelope rates and curves (every 512 ticks), the per-voice and shared
// steps (every 16 ticks) and the key/velocity speed factors.
#include <cmath>

#include "engine/Engine.h"

namespace {
struct EnvelopeParams {
    int attack, decay, sustain, fade, release;
};
constexpr EnvelopeParams kEnvelopeParams[env::kCount] = {
    {prm::VolumeEnvelopeAttack, prm::VolumeEnvelopeDecay, prm::VolumeEnvelopeSustain,
     prm::VolumeEnvelopeFade, prm::VolumeEnvelopeRelease},
    {prm::FilterEnvelopeAttack, prm::FilterEnvelopeDecay, prm::FilterEnvelopeSustain,
     prm::FilterEnvelopeFade, prm::FilterEnvelopeRelease},
    {prm::FreeEnvelope1Attack, prm::FreeEnvelope1Decay, prm::FreeEnvelope1Sustain,
     prm::FreeEnvelope1Fade, prm::FreeEnvelope1Release},
    {prm::FreeEnvelope2Attack, prm::FreeEnvelope2Decay, prm::FreeEnvelope2Sustain,
     prm::FreeEnvelope2Fade, prm::FreeEnvelope2Release},
};
// The speed modulation destination of each envelope.
constexpr int kSpeedDestination[env::kCount] = {moddst::AmpSpd, moddst::FEnvSpd, moddst::Env1Spd,
                                                moddst::Env2Spd};

// Increment per 16-tick step; a full stage takes about 2^(14 p) milliseconds.
float stageRate(float p, float sampleRate) {
    return 16000.0f / (std::exp2(14.0f * p) * sampleRate + 32.0f);
}
}  // namespace

void Engine::updateEnvelopeSettings() {
    const float sampleRate = ctx.rates.sampleRate;
    for (int k = 0; k < env::kCount; ++k) {
        const EnvelopeParams& p = kEnvelopeParams[k];
        EnvelopeSettings& s = envSettings[k];
        s.attackRate = stageRate(param(p.attack), sampleRate);
        s.decayRate = stageRate(param(p.decay), sampleRate);
        const float release = param(p.release);
        s.releaseRate = release > 0.999f ? 0.0f : stageRate(release, sampleRate);
        s.sustain = 0.99f * param(p.sustain);
        s.oneMinusSustain = 1.0f - s.sustain;
        s.inverseRange = s.oneMinusSustain == 0.0f ? 1.0f : 1.0f / s.oneMinusSustain;
        const float fade = param(p.fade);
        const float f = std::fabs(1.0f - 2.0f * fade);
        const float g = 18.0f - 18.0f * f;
        s.fadeUp = fade > 0.5f;
        if (f < 0.002f)
            s.fadeRate = 0.0f;
        else
            s.fadeRate = (s.fadeUp ? 16000.0f : -16000.0f) / (std::exp2(g) * sampleRate);
    }
    const float attackShape = param(prm::AttackShape);
    const float decayShape = param(prm::DecayReleaseShape);
    curves.attackExponent = std::exp2(4.0f - 8.0f * attackShape);
    curves.decayExponent = curves.releaseExponent = std::exp2(4.0f - 8.0f * decayShape);
    curves.attackCurved = std::fabs(attackShape - 0.5f) > 0.01f;
    curves.decayCurved = curves.releaseCurved = std::fabs(decayShape - 0.5f) > 0.01f;
}

void Engine::computeEnvelopeSpeeds(Voice& v) {
    v.env[env::Volume].keyVelFactor = 1.0f;
    v.env[env::Filter].keyVelFactor = 1.0f;
    const int keyParams[2] = {prm::KeyToFreeEnvelope1Speed, prm::KeyToFreeEnvelope2Speed};
    const int velParams[2] = {prm::VelToFreeEnvelope1Speed, prm::VelToFreeEnvelope2Speed};
    for (int k = 0; k < 2; ++k) {
        const float key = 2.0f * param(keyParams[k]) - 1.0f;
        const float vel = 2.0f * param(velParams[k]) - 1.0f;
        v.env[env::Free1 + k].keyVelFactor =
            std::exp2(key * v.targetPitch) * std::exp2(vel * (1.0f - v.velocityShaped));
    }
    refreshEnvelopeSpeeds(v);
}

void Engine::refreshEnvelopeSpeeds(Voice& v) {
    for (int k = 0; k < env::kCount; ++k)
        v.env[k].speed = v.env[k].keyVelFactor * v.mod[kSpeedDestination[k]];
}

void Engine::stepVoiceEnvelopes(Voice& v, int index) {
    const bool held = v.gate || sustainHeld;
    for (int k = 0; k < env::kCount; ++k) {
        EnvelopeState& e = v.env[k];
        if (e.stepCounter < 15) continue;
        e.stepCounter = 0;
        const bool fadeEnded = e.step(envSettings[k], curves, held, k == env::Volume);
        if (fadeEnded) noteOffVoice(index);
    }
    // The ramps reach each new output over the next 16 ticks.
    v.ampDelta = (v.env[env::Volume].output - v.ampLevel) * 0.0625f;
    v.filterEnvDelta = (v.env[env::Filter].output - v.filterEnvLevel) * 0.0625f;
    v.sources[modsrc::Env1] = v.env[env::Free1].output;
    v.sources[modsrc::Env2] = v.env[env::Free2].output;
}

void Engine::stepSharedEnvelopes() {
    const bool held = sharedGate || sustainHeld;
    for (int k = 0; k < 2; ++k) {
        EnvelopeState& e = sharedEnv[k];
        e.speed = 1.0f;
        e.step(envSettings[env::Free1 + k], curves, held, false);
    }
    matrix.setSharedSource(modsrc::Env1, sharedEnv[0].output);
    matrix.setSharedSource(modsrc::Env2, sharedEnv[1].output);
}
