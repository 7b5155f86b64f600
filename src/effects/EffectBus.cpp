#include "effects/EffectBus.h"

#include <cmath>

#include "effects/EffectLfo.h"
#include "params/ParamIds.h"

EffectBus::EffectBus(const ParamValue* values, const EffectEnvironment& environment)
    : values(values),
      env(environment),
      slots{EffectSlot(0, values, env), EffectSlot(1, values, env), EffectSlot(2, values, env)} {
    env.values = values;
    fxlfo::sines();  // built here, on the constructing thread
}

// The one place the effects read the sample rate and the tempo. Values that
// another thread is halfway through publishing are held to sane ones.
EffectBus::Rates EffectBus::currentRates() const {
    const RateConstants& r = env.ctx->rates;
    float rate = r.sampleRate;
    if (!(rate >= 1.0f)) rate = 44100.0f;
    rate = std::fmin(rate, 512000.0f);
    float bar = r.samplesPerBar;
    // 240 x rate / tempo with the tempo in 1 .. 300 beats per minute.
    if (!(bar >= 0.8f * rate && bar <= 240.0f * rate)) bar = 2.0f * rate;
    return {rate, bar};
}

void EffectBus::updateAll() {
    const Rates rates = currentRates();
    for (EffectSlot& slot : slots) slot.update(rates.sampleRate, rates.samplesPerBar);
}

// Decodes the three type parameters; only one slot may run the vocoder, the
// lowest-numbered. A slot whose type changed (or every slot, on `resetAll`)
// is reset and updated at once.
void EffectBus::checkTypes(bool resetAll) {
    int previous[kSlots], current[kSlots];
    for (int s = 0; s < kSlots; ++s) {
        previous[s] = slots[s].type();
        current[s] = fxtype::decode(values[prm::Fx1Type + s]);
    }
    // A vocoder refused here leaves the slot at 0 without a reset, until its parameter changes.
    auto refuse = [&](int s) { current[s] = previous[s] = fxtype::None; };
    if (current[0] == fxtype::Vocoder) {
        for (int s = 1; s < kSlots; ++s)
            if (current[s] == fxtype::Vocoder) refuse(s);
    } else if (current[1] == fxtype::Vocoder && current[2] == fxtype::Vocoder) {
        refuse(2);
    }
    const Rates rates = currentRates();
    vocoder = false;
    for (int s = 0; s < kSlots; ++s) {
        EffectSlot& slot = slots[s];
        const bool changed = current[s] != previous[s];
        slot.setType(current[s]);
        if (changed) ++typeChangeCount;
        if (changed || resetAll) {
            slot.reset();
            slot.update(rates.sampleRate, rates.samplesPerBar);
        }
        vocoder = vocoder || current[s] == fxtype::Vocoder;
    }
}

void EffectBus::reset() { checkTypes(true); }

void EffectBus::process(float& left, float& right) {
    const uint32_t counter = env.ctx->sampleCounter;
    const bool tick16 = (counter & 15) == 0;
    if (tick16) {
        // Knobs act whether or not the host sends a tempo (the plug-in's own is 120).
        updateAll();
        if ((counter & 511) == 0) checkTypes(false);
    }
    if (values[prm::FxBypass] >= 0.5f) return;
    for (EffectSlot& slot : slots) slot.process(left, right, counter, tick16);
}
