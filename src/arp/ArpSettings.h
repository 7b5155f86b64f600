// The arpeggiator's parameters as decoded every 512 ticks, and the 16 steps
// of the pattern as stored in the program's hidden step parameters.
#pragma once

#include "params/ParameterTable.h"

struct ArpSettings {
    static constexpr int kSteps = 16;

    int steps = 16;           // 1..16
    int octaves = 1;          // 1..4
    float noteLength = 1.05f;  // in steps; above 1 a note is held into the next step
    float swing[2] = {1.0f, 1.0f};  // phase speeds of even (index 1) and odd (index 0) steps
    float velMix = 0.0f;      // share of the key's velocity in a step's velocity
    float rateFactor = 1.0f;  // steps per sixteenth note
    bool sync = true;
    bool tiedMode = false;

    void decode(const ParamValue* values);
};

struct ArpStep {
    bool tie = false;
    bool on = true;
    bool slide = false;
    float velocity = 1.0f;  // 0..1; notes take 127 times it
    int tune = 0;           // -36..36 semitones
    float free = 0.0f;      // the "Arp Free" value, -1..1

    static ArpStep read(const ParamValue* values, int index);
};
