// The interface every family of effect types implements, and what a slot
// hands to it. A slot holds one instance of every family; when its type
// changes it picks the family that owns the new type, resets it for that type
// and from then on calls only that family.
#pragma once

#include <cstdint>

#include "effects/EffectTypes.h"
#include "engine/ProcessContext.h"
#include "params/ParameterTable.h"

class HostTime;
class SlotMemory;
namespace samples {
class SamplePlayer;
}

struct Stereo {
    float left;
    float right;
};

// What the engine offers the effects besides the parameter values. The
// pointers stay valid for the engine's life.
struct EffectEnvironment {
    const ProcessContext* ctx = nullptr;  // host input, counters
    const float* modRow = nullptr;        // shared modulation row; 45..74 are the effect offsets
    const float* modWheel = nullptr;      // the engine's wheel, 0..1
    const float* envelopeSum = nullptr;   // summed volume envelopes of the sounding voices, 0..1
    const HostTime* hostTime = nullptr;   // the host's tempo, position and transport (none: free running)
    const ParamValue* values = nullptr;   // the live parameters ("Vocoder Source", "Vocoder Mode")
    samples::SamplePlayer* samplePlayer = nullptr;  // the vocoder's sample source (none: silent)
};

// A slot's control update, as a type reads it.
struct EffectControls {
    float knob[fxknob::kCount];      // parameter plus modulation, limited to 0..1
    float smoothed[fxknob::kCount];  // the slot's smoothed knobs
    float sampleRate;              // 1 .. 512,000
    float samplesPerBar;           // 240 x rate / tempo
    const EffectEnvironment* env;
};

// One sample step, besides its input pair.
struct EffectTick {
    uint32_t counter;  // the running sample counter: write index of every line
    bool tick16;       // the 16-sample control tick
    bool active;       // false once the slot's input has been silent for 65,536 samples
    const EffectEnvironment* env;
};

class EffectFamily {
public:
    virtual ~EffectFamily() = default;
    // Makes `type` (one of the family's) the running type and clears every
    // line, memory, phase and coefficient; a control update follows at once.
    virtual void reset(int type) = 0;
    // Coefficients from the knobs, every 16 samples and after a reset.
    virtual void update(const EffectControls& controls) = 0;
    // The effect output pair for the input pair (which carries +1e-15).
    virtual Stereo process(Stereo in, const EffectTick& tick) = 0;
    // True when the running type, while its slot's input is silent, does
    // nothing between the 16-sample ticks but output (0, 0): the slot then
    // skips those calls.
    virtual bool restsBetweenTicks() const { return false; }
};
