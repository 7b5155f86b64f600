#include "Sounds.h"

#include "params/ParamIds.h"
#include "params/ParameterTable.h"
#include "vsthost/PluginHost.h"

namespace sounds {

void selectDefaultSound(vsthost::PluginHost& host) {
    host.dispatch(effSetProgram, 0, kDefaultSoundProgram);
    for (int i = 0; i < prm::kCount; ++i) host.setParameter(i, params::defaultValue(i));
    host.dispatch(effSetProgram, 0, kDefaultSoundProgram - 1);
    host.dispatch(effSetProgram, 0, kDefaultSoundProgram);
}

float choice(int index, int count) {
    return (static_cast<float>(index) + 0.5f) / (static_cast<float>(count) - 0.01f);
}

float modulation(int index) { return (static_cast<float>(index) + 0.5f) / 99.99f; }

Sound with(Sound base, const Sound& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

Sound light() {
    return {
        {prm::OverSampling, choice(0, 5)},   {prm::Osc1Type, choice(1, 128)},
        {prm::FilterType, choice(3, 14)},    {prm::FilterFrequency, 0.6f},
        {prm::FilterResonance, 0.3f},        {prm::VolumeEnvelopeSustain, 1.0f},
    };
}

Sound heavyVoices() {
    return {
        {prm::PlayMode, 0.0f},           {prm::OverSampling, choice(4, 5)},
        {prm::Osc1On, 1.0f},             {prm::Osc2On, 1.0f},
        {prm::Osc3On, 1.0f},             {prm::Osc1Output, 1.0f},
        {prm::Osc2Output, 1.0f},         {prm::Osc1Type, choice(1, 128)},
        {prm::Osc2Type, choice(1, 128)}, {prm::Osc3Type, choice(1, 128)},
        {prm::Osc2Semi, choice(55, 97)}, {prm::Osc3Fine, 0.55f},
        {prm::Osc1Spread, 0.5f},         {prm::Osc2Spread, 0.5f},
        {prm::Osc3Spread, 0.5f},         {prm::FilterType, choice(9, 14)},
        {prm::FilterFrequency, 0.6f},    {prm::FilterResonance, 0.3f},
        {prm::FilterEnvelopeAmt, 0.7f},  {prm::VolumeEnvelopeAttack, 0.0f},
        {prm::VolumeEnvelopeSustain, 1.0f},
    };
}

namespace {
// Slot `slot` holds effect `type` at mix `mix`.
Sound slot(int slot, int type, float mix) {
    return {{prm::Fx1Type + slot, choice(type, 25)}, {prm::Fx1Mix + slot, mix}};
}
}  // namespace

Sound heavy() {
    Sound s = heavyVoices();
    for (const Sound& fx : {slot(0, 4, 0.3f), slot(1, 5, 0.5f), slot(2, 2, 0.3f)})
        s = with(s, fx);
    return s;
}

Sound heavyWithoutReverb() {
    Sound s = heavyVoices();
    for (const Sound& fx : {slot(0, 2, 0.3f), slot(1, 5, 0.5f), slot(2, 1, 0.3f)})
        s = with(s, fx);
    return s;
}

Sound restingEffects() {
    Sound s = defaultSound();
    for (int k = 0; k < 3; ++k) {
        s = with(s, slot(k, 8, 0.5f));
        // Sections, pitch, feedback, sweep width, rate and pan depth, so that
        // the sweep is heard.
        const float knobs[8] = {0.5f, 0.4f, 0.3f, 0.6f, 0.45f, 0.0f, 0.5f, 0.0f};
        for (int knob = 0; knob < 8; ++knob) s.push_back({prm::FxKnobFirst + 3 * knob + k, knobs[knob]});
    }
    return s;
}

Sound modulated() {
    Sound s = with(heavyVoices(), {{prm::OverSampling, choice(0, 5)}});
    return with(s, {
        {prm::PitchLfoAmt, 0.3f},
        {prm::FilterLfoMode, choice(0, 3)}, {prm::FilterLfoSync, 0.0f},
        {prm::FilterLfoSpeed, 0.6f},        {prm::FilterLfoAmt, 0.7f},
        {prm::FreeLfo1Mode, choice(0, 3)},  {prm::FreeLfo2Mode, choice(0, 3)},
        {prm::FreeLfo1Speed, 0.55f},        {prm::FreeLfo2Speed, 0.65f},
        {prm::FreeLfo1Dest, modulation(18)}, {prm::FreeLfo1ModAmt, 0.8f},   // PWM 2
        {prm::FreeLfo2Dest, modulation(30)}, {prm::FreeLfo2ModAmt, 0.7f},   // filter Q
        {prm::FreeEnvelope1Dest, modulation(29)}, {prm::FreeEnvelope1Amount, 0.8f},  // cutoff
        {prm::FreeEnvelope2Dest, modulation(37)}, {prm::FreeEnvelope2Amount, 0.9f},  // panning
        {prm::Mod1Source, modulation(5)},       {prm::Mod1Destination, modulation(5)},
        {prm::Mod1Amt, 0.9f},                                            // velocity > vol 1
        {prm::Mod1Source + 1, modulation(1)},   {prm::Mod1Destination + 1, modulation(15)},
        {prm::Mod1Amt + 1, 0.7f},                                        // wheel > fine 2
        {prm::Mod1Source + 2, modulation(25)},  {prm::Mod1Destination + 2, modulation(22)},
        {prm::Mod1Amt + 2, 0.51f},                                       // LFO 1 > semi 3
        {prm::Mod1Source + 3, modulation(24)},  {prm::Mod1Destination + 3, modulation(43)},
        {prm::Mod1Amt + 3, 0.8f},                                        // env 2 > LFO 1 speed
        {prm::Mod1ModSource, modulation(30)},   {prm::Mod1ModSource + 1, modulation(0)},
    });
}

}  // namespace sounds
