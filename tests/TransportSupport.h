// Driving the plug-in as a sequencer with a transport does: every block gets
// the host time (tempo, position, playing) that audioMasterGetTime answers.
#pragma once

#include <functional>
#include <vector>

#include "TestSupport.h"

namespace testing_support {

struct Transport {
    double sampleRate = 44100.0;
    double tempo = 120.0;
    double ppq = 0.0;  // the position of the next block's first sample
    bool playing = true;
    bool timeInfo = true;       // false: the host answers getTime with null
    bool tempoValid = true;
    bool positionValid = true;

    double samplesPerSixteenth() const { return sampleRate * 15.0 / tempo; }
};

// Renders `frames` samples in blocks of `block` with `events` at their
// absolute positions. Before each block `beforeBlock(start, transport)` may
// change the transport (stop it, jump, change tempo); afterwards the position
// advances by the block at the transport's tempo while it plays.
Render renderTransport(vsthost::PluginHost& host, Transport& transport, int frames, int block,
                       std::vector<VstMidiEvent> events = {},
                       const std::function<void(int, Transport&)>& beforeBlock = {});

// Sample positions where sound starts after at least `gap` quiet samples: a
// start is the first sample whose difference to the previous one exceeds
// `threshold` (the DC blocker's slow drift stays far below it).
std::vector<long> onsets(const std::vector<float>& x, double threshold = 7e-4, int gap = 200);

// The value the editor writes for entry `index` of an `entries`-way choice.
inline float choice(int index, int entries) { return (float(index) + 0.5f) / (float(entries) - 0.01f); }
// Modulation sources and destinations decode with x 99.99.
inline float modChoice(int index) { return (float(index) + 0.5f) / 99.99f; }

}  // namespace testing_support
