// The parameters of each oscillator (-1 where an oscillator has none).
#pragma once

#include "params/ParamIds.h"

struct OscillatorParams {
    int on, type, volume, semi, fine, symmetry, sub, spread, pwm, pwmSpeed;
    int output, tracking, freeRunning, fmAmount, fmMode, sync;
};

constexpr OscillatorParams kOscillatorParams[3] = {
    {prm::Osc1On, prm::Osc1Type, prm::Osc1Volume, prm::Osc1Semi, prm::Osc1Fine,
     prm::Osc1Symmetry, prm::Osc1SubOscVol, prm::Osc1Spread, prm::Osc1Pwm, prm::Osc1PwmSpeed,
     prm::Osc1Output, prm::Osc1Tracking, prm::Osc1FreeRunning, -1, -1, -1},
    {prm::Osc2On, prm::Osc2Type, prm::Osc2Volume, prm::Osc2Semi, prm::Osc2Fine,
     prm::Osc2Symmetry, prm::Osc2SubOscVol, prm::Osc2Spread, prm::Osc2Pwm, prm::Osc2PwmSpeed,
     prm::Osc2Output, prm::Osc2Tracking, prm::Osc2FreeRunning, prm::Osc2FmAmount,
     prm::Osc2FmMode, prm::Osc2Sync},
    {prm::Osc3On, prm::Osc3Type, prm::Osc3Volume, prm::Osc3Semi, prm::Osc3Fine,
     prm::Osc3Symmetry, prm::Osc3SubOscVol, prm::Osc3Spread, prm::Osc3Pwm, prm::Osc3PwmSpeed,
     -1, prm::Osc3Tracking, prm::Osc3FreeRunning, prm::Osc3FmAmount, prm::Osc3FmMode,
     prm::Osc3Sync},
};
