// The host's musical time: tempo, position and transport, copied from the
// host's time information once per processing block and brought up to the
// current sample every 16 ticks. A block without time information, or
// without a usable tempo, keeps the last tempo the host gave (120 beats per
// minute before any); without a position the arpeggiator runs free.
#pragma once

#include <cstdint>

#include "engine/ProcessContext.h"

class HostTime {
public:
    static constexpr float kDefaultTempo = 120.0f;

    // At the start of every processing block: `counter` is the sample counter
    // before the block's first tick.
    void beginBlock(const VstTimeInfo* info, uint64_t counter);

    // Every 16 ticks (`tick` is the current tick's sample counter): publishes
    // the tempo and what depends on it to `rates`, follows the position and
    // notes transport changes.
    void update(RateConstants& rates, uint64_t tick);

    float tempo() const { return tempo_; }
    // The transport plays and the host gives a usable position.
    bool synced() const { return synced_; }
    // Host position in sixteenth notes at the last update (when synced).
    double position16() const { return position16_; }
    // Sixteenths since the previous update: the host's own advance while synced,
    // otherwise what the tempo gives.
    double advance16() const { return advance16_; }
    // Sixteenths in one control period (16 ticks) at the current tempo.
    double period16() const { return period16_; }
    // At this update the transport stopped.
    bool stopped() const { return stopped_; }
    // At this update the position became usable again (transport start) or jumped (loop, locate).
    bool resynced() const { return resynced_; }

    // The host position in sixteenths of the sample that the tick with counter
    // `tick` renders, or NaN when the transport is not playing with a usable position.
    double positionAt(uint64_t tick, float sampleRate) const;
    // The host position in quarter notes of the sample that the tick with
    // counter `tick` renders: moving while the transport plays, standing while
    // it is stopped; NaN when the host gives no usable position.
    double quartersAt(uint64_t tick, float sampleRate) const;
    // The host's transport plays (with or without a position).
    bool transportPlaying() const { return playing; }

private:
    double sixteenthsPerSample(float sampleRate) const;

    // The current block's snapshot.
    bool playing = false;
    bool positionValid = false;
    double ppq = 0.0;
    float hostTempo = kDefaultTempo;  // the last usable one, limited to 1..300, or the default
    uint64_t blockStart = 0;

    float tempo_ = kDefaultTempo;
    bool synced_ = false;
    bool wasPlaying = false;
    bool stopped_ = false;
    bool resynced_ = false;
    double position16_ = 0.0;
    double advance16_ = 0.0;
    double period16_ = 0.0;
};
