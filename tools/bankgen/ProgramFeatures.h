// What a program's parameter values make of the engine: which oscillators,
// LFOs, modulation slots and effects actually act on the sound. Shared by the
// bank's coverage list and its near-duplicate measure.
#pragma once

namespace bankgen {

// A program's 799 parameter values, read as the engine decodes them.
class ProgramFeatures {
public:
    explicit ProgramFeatures(const float* values) : v_(values) {}

    float value(int index) const { return v_[index]; }
    bool switchOn(int index) const { return v_[index] > 0.5f; }
    // A bipolar amount (centre 0.5) set away from zero.
    bool amountSet(int index) const;

    int playMode() const;
    bool arpeggiates() const;  // play mode "Arp"
    // Oscillator n (0..2) is switched on, has a level and is heard directly or
    // through the ring modulation or FM it drives.
    bool oscillatorActive(int n) const;
    int waveform(int n) const;
    bool filterActive() const;  // main filter type other than "Bypass"
    bool filter2Active() const;
    bool filterEnvelopeActive() const;
    bool pitchLfoActive() const;
    bool filterLfoActive() const;
    bool freeEnvelopeActive(int k) const;  // k = 0, 1
    bool freeLfoActive(int k) const;
    bool modSlotActive(int k) const;  // "Mod 1" .. "Mod 4": k = 0..3
    bool fxModActive(int k) const;    // "FX Mod 1", "FX Mod 2": k = 0, 1
    // The slot's effect type, 0 ("None") when it is empty, bypassed or fully dry.
    int effectType(int slot) const;
    bool effectActive(int slot) const { return effectType(slot) != 0; }
    // "Arp Mode" "Mod" outside play mode "Arp", feeding an active modulation slot.
    bool modSequencerActive() const;

private:
    int source(int index) const;
    int destination(int index) const;
    const float* v_;
};

}  // namespace bankgen
