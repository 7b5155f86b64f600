// One effect slot: its type, the control update that turns its mix, pan and
// eight knobs (plus modulation) into gains and smoothed values, the silence
// detector, and the sample step that mixes the running type's output with
// the dry signal.
#pragma once

#include <memory>
#include <vector>

#include "effects/EffectFamily.h"
#include "effects/SilenceDetector.h"
#include "effects/SlotMemory.h"
#include "params/ParameterTable.h"

class EffectSlot {
public:
    // `index` is 0, 1 or 2; `values` the live parameter values.
    EffectSlot(int index, const ParamValue* values, const EffectEnvironment& env);

    int type() const { return type_; }
    // The type to run from the next reset on; types without a family
    // (0, the ones not built, 22..24) pass the signal unchanged.
    void setType(int type);
    // Clears every state of the slot; the running family is reset for the type.
    void reset();
    void update(float sampleRate, float samplesPerBar);
    // Processes the bus in place.
    void process(float& left, float& right, uint32_t counter, bool tick16);

    bool isActive() const { return silence.isActive(); }
    const EffectControls& controls() const { return controls_; }

private:
    float param(int index) const { return values[index]; }
    float input(int parameter, int destination) const;

    const int index;
    const ParamValue* values;
    const EffectEnvironment& env;

    SlotMemory memory;
    std::vector<std::unique_ptr<EffectFamily>> families;
    EffectFamily* familyOf[fxtype::kNumbers] = {};
    EffectFamily* family = nullptr;
    int type_ = 0;

    EffectControls controls_{};
    float wet = 0.0f;
    float dry = 0.0f;
    float wetLeft = 0.0f;
    float wetRight = 0.0f;
    bool resting = false;  // the type rests between ticks while the input is silent
    SilenceDetector silence;
};
