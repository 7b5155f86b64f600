#include "arp/ArpStart.h"

#include <cmath>

void ArpStart::arm(double position16) {
    armed = true;
    enabled = false;
    armPositionKnown = std::isfinite(position16);
    armPosition = armPositionKnown ? position16 : 0.0;
}

bool ArpStart::update(const HostTime& time, bool syncOn, float sampleRate, double lead16) {
    started_ = false;
    late16_ = 0.0;
    if (!syncOn || !time.synced()) {
        started_ = armed;
        armed = false;
        enabled = true;
        return true;
    }
    if (!armed) return enabled;
    const double now = time.position16();
    if (!armPositionKnown) {
        armPosition = now;
        armPositionKnown = true;
    }
    // A note the host placed on a boundary may land up to a sample after it.
    const double oneSample = static_cast<double>(time.tempo()) / (15.0 * sampleRate);
    const double boundary = std::ceil(armPosition - oneSample - 1e-9);
    if (now + lead16 + 1e-9 < boundary) return false;
    armed = false;
    enabled = true;
    started_ = true;
    late16_ = now - boundary;
    return true;
}
