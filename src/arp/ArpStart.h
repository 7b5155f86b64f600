// When the pattern may run, and where a synced pattern starts.
//
// The start rule: with "Arp Sync" on and the host's transport playing, a
// pattern (re)starts exactly on the first host sixteenth-note boundary at or
// after the moment it was asked to start (its first note, a transport start,
// a jump of the transport). The boundary is found from the position of that
// moment, not by looking for a position near a boundary, so no boundary can
// be missed whatever the tempo or sample rate. The 16-tick update that first
// reaches the boundary starts the pattern and reports how far past the
// boundary it is, so that the following steps fall on the grid. Otherwise
// (sync off, transport stopped, no usable host time) the pattern starts at once.
#pragma once

#include "arp/HostTime.h"

class ArpStart {
public:
    // Asks for a (re)start from host position `position16` (sixteenths), or
    // from the next update's position when it is NaN.
    void arm(double position16);

    // Every 16 ticks: true while the pattern may run. On the update at which
    // an armed start happens, `started` is set and `late16` holds the time
    // since the start boundary in sixteenths (0 when not synced).
    bool update(const HostTime& time, bool syncOn, float sampleRate);

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
