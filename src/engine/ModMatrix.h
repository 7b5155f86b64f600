// The modulation matrix: ten routing slots (two free envelopes, two free LFOs,
// "Mod 1".."Mod 4", "FX Mod 1" and "FX Mod 2") from 31 sources to 77
// destinations, evaluated per voice every 16 ticks and globally every 128.
// It also holds the shared rows: the sources every voice copies from, and the
// destinations that act on shared things (glide, pitch LFO, master volume,
// LFO rates and amounts, effect parameters).
#pragma once

#include "engine/ModIds.h"
#include "params/ParameterTable.h"

class ModMatrix {
public:
    static constexpr int kSlots = 10;

    ModMatrix();

    // Every 128 ticks: slot sources, destinations and amounts; the amount
    // controls read the shared sources.
    void updateAmountControls(const ParamValue* values);
    // Every 128 ticks: the shared destination and controller rows.
    void evaluateGlobal();
    // Every 16 ticks per voice: the voice's destination and controller rows
    // from its own source row (and the shared values of the control sources).
    void evaluateVoice(const float* sources, float* dest, float* ctrlAdd) const;

    // A voice's rows before any modulation: factors 1, offsets 0.
    void resetRows(float* dest, float* ctrlAdd) const;

    void setSharedSource(int source, float value) { sharedSources_[source] = value; }
    const float* sharedSources() const { return sharedSources_; }
    const float* sharedDest() const { return sharedDest_; }
    const float* sharedCtrlAdd() const { return sharedCtrlAdd_; }

private:
    struct Slot {
        int source = 0;       // slots 4..9: the main source
        int control = 0;      // slots 4..7: the amount control's source, added to the signal
        int destination = 0;
        float amount = 0.0f;  // -1..1, amount control included
    };
    void apply(bool global, const float* sources, float* dest, float* ctrlAdd) const;

    Slot slots[kSlots];
    float base[moddst::kCount] = {};
    float sharedSources_[modsrc::kCount] = {};
    float sharedDest_[moddst::kCount] = {};
    float sharedCtrlAdd_[moddst::kCount] = {};
};
