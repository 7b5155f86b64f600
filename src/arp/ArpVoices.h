// What the arpeggiator asks of the voice engine.
#pragma once

class ArpVoices {
public:
    virtual void arpReleaseAll() = 0;
    virtual void arpReleaseVoice(int voice) = 0;
    // Advances the voice cursor by one (no probing), gates that voice and returns it.
    virtual int arpNextVoice() = 0;
    // Starts `note` + `transpose` semitones on `voice` at `velocity` (0..127,
    // fractional); a slide glides at the "Arp Slide" speed.
    virtual void arpStartNote(int voice, int note, float velocity, float transpose, bool retrigger,
                              bool slide) = 0;
    // A tied note's velocity-dependent values follow the gliding velocity.
    virtual void arpRefreshVelocity(int voice, float current, float average) = 0;

protected:
    ~ArpVoices() = default;
};
