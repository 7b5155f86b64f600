// The three effect slots in series: the per-sample bus the engine runs after
// its DC blocker, with the type check every 512 samples, the control update
// every 16 and "FX Bypass".
#pragma once

#include "effects/EffectFamily.h"
#include "effects/EffectSlot.h"
#include "params/ParameterTable.h"

class EffectBus {
public:
    static constexpr int kSlots = 3;

    EffectBus(const ParamValue* values, const EffectEnvironment& env);
    EffectBus(const EffectBus&) = delete;
    EffectBus& operator=(const EffectBus&) = delete;

    // Processes one sample of the bus in place (the DC-free voice mix in, the
    // input of the master gain out).
    void process(float& left, float& right);
    // Clears all three slots and applies the current types (construction and
    // engine reset).
    void reset();
    // The sample player the vocoder plays from; set once, before processing starts.
    void attachSamplePlayer(samples::SamplePlayer* player) { env.samplePlayer = player; }

    int slotType(int slot) const { return slots[slot].type(); }
    bool slotActive(int slot) const { return slots[slot].isActive(); }
    const EffectControls& slotControls(int slot) const { return slots[slot].controls(); }
    // Whether a slot runs the vocoder (the engine then keeps a modulator sample loaded).
    bool vocoderRunning() const { return vocoder; }
    // Counts the slots' type changes (the sample player reloads its sample after one).
    uint32_t typeChanges() const { return typeChangeCount; }

private:
    struct Rates {
        float sampleRate;
        float samplesPerBar;
    };
    Rates currentRates() const;
    void checkTypes(bool resetAll);
    void updateAll();

    const ParamValue* values;
    EffectEnvironment env;
    EffectSlot slots[kSlots];
    bool vocoder = false;
    uint32_t typeChangeCount = 0;
};
