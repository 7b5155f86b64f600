// When the pattern may run, and where a synced pattern starts.
//
// The start rule: with "Arp Sync" on and the host's transport playing, a
// pattern (re)starts exactly on the first host sixteenth-note boundary at or
// after the moment it was asked to start (its first note, a transport start,
// a jump of the transport). The boundary is found from the position of that
// moment, not by looking for a position near a boundary, so no boundary can
// be missed whatever the tempo or sample rate. The pattern starts at the
// 16-tick update from which the boundary is less than `lead` away (the notes
// a step starts sound one control period later) and the update reports where
// it lies relative to the boundary, so that the following steps keep to the
// grid. Otherwise (sync off, transport stopped, no usable host time) the
// pattern starts at once.
#pragma once

#include "arp/HostTime.h"

class ArpStart {
public:
    // Asks for a (re)start from host position `position16` (sixteenths), or
    // from the next update's position when it is NaN.
    void arm(double position16);

    // Every 16 ticks: true while the pattern may run. On the update at which
    // an armed start happens, `started` is set and `late16` holds the time
    // since the start boundary in sixteenths (down to -lead16 ahead of it; 0
    // when not synced).
    bool update(const HostTime& time, bool syncOn, float sampleRate, double lead16);

    bool started() const { return started_; }
    double late16() const { return late16_; }

private:
    bool enabled = true;
    bool armed = false;
    double armPosition = 0.0;
    bool armPositionKnown = false;
    bool started_ = false;
    double late16_ = 0.0;
};
