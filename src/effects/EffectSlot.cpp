#include "effects/EffectSlot.h"

#include <algorithm>

#include "effects/EffectRegistry.h"
#include "engine/ModIds.h"
#include "params/ParamIds.h"

namespace {
// Limited to 0..1; NaN becomes 0.
float unit(float v) { return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f; }
}  // namespace

EffectSlot::EffectSlot(int index, const ParamValue* values, const EffectEnvironment& env)
    : index(index), values(values), env(env), memory(effectSlotMemoryFloats()) {
    for (const EffectFamilyEntry& entry : effectFamilies()) {
        families.push_back(entry.make(memory));
        for (int type : entry.types) familyOf[type] = families.back().get();
    }
    controls_.env = &env;
    silence.clear();
}

void EffectSlot::setType(int type) {
    type_ = type;
    family = familyOf[type];
}

void EffectSlot::reset() {
    silence.clear();
    wet = dry = wetLeft = wetRight = 0.0f;
    std::fill(std::begin(controls_.smoothed), std::end(controls_.smoothed), 0.0f);
    if (family) family->reset(type_);
}

// Parameter plus the slot's modulation offset.
float EffectSlot::input(int parameter, int destination) const {
    return unit(param(parameter) + env.modRow[destination + 10 * index]);
}

void EffectSlot::update(float sampleRate, float samplesPerBar) {
    const float mix = input(prm::Fx1Mix + index, moddst::Fx1Mix);
    const float pan = input(prm::Fx1Pan + index, moddst::Fx1Mix + 1);
    EffectControls& c = controls_;
    for (int k = 0; k < fxknob::kCount; ++k)
        c.knob[k] = input(prm::FxKnobFirst + 3 * k + index, moddst::Fx1Mix + 2 + k);

    // Balance of the wet signal; a mix of 0.5 gives full dry and full wet.
    const float left = std::min(1.0f, 2.0f - 2.0f * pan);
    const float right = std::min(1.0f, 2.0f * pan);
    wet = std::min(1.0f, 2.0f * mix);
    dry = std::min(1.0f, 2.0f - 2.0f * mix);
    wetLeft = left * wet;
    wetRight = right * wet;

    for (int k = 0; k < fxknob::kCount; ++k)
        c.smoothed[k] = 0.99f * c.smoothed[k] + 0.00999999f * c.knob[k] + 1e-15f;
    c.sampleRate = sampleRate;
    c.samplesPerBar = samplesPerBar;
    if (family) family->update(c);
    resting = family && family->restsBetweenTicks();
}

void EffectSlot::process(float& left, float& right, uint32_t counter, bool tick16) {
    const bool active = silence.feed(counter, left, right);
    if (!family) return;
    const Stereo x{left + 1e-15f, right + 1e-15f};
    const Stereo fx = !active && !tick16 && resting
                          ? Stereo{0.0f, 0.0f}
                          : family->process(x, EffectTick{counter, tick16, active, &env});
    left = fx.left * wetLeft + x.left * dry;
    right = fx.right * wetRight + x.right * dry;
}
