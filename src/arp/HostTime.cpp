#include "arp/HostTime.h"

#include <cmath>

namespace {
// Positions beyond this (about 15 years at 120 BPM) are taken as garbage.
constexpr double kMaxPpq = 1.0e9;
// A difference between where the host is and where its tempo should have
// taken it, in sixteenths, beyond which the host is taken to have jumped.
constexpr double kJumpTolerance = 0.5;
}  // namespace

void HostTime::beginBlock(const VstTimeInfo* info, uint64_t counter) {
    blockStart = counter;
    playing = info && (info->flags & kVstTransportPlaying);
    // A block without a usable tempo keeps the last one: a host whose time
    // information drops out for a block must not jolt synced delays and LFOs.
    if (info && (info->flags & kVstTempoValid) && std::isfinite(info->tempo) && info->tempo > 0.0)
        hostTempo = static_cast<float>(info->tempo < 1.0 ? 1.0 : (info->tempo > 300.0 ? 300.0 : info->tempo));
    positionValid = info && (info->flags & kVstPpqPosValid) && std::isfinite(info->ppqPos) &&
                    std::fabs(info->ppqPos) < kMaxPpq;
    ppq = positionValid ? info->ppqPos : 0.0;
}

double HostTime::sixteenthsPerSample(float sampleRate) const {
    return static_cast<double>(hostTempo) / (15.0 * static_cast<double>(sampleRate));
}

double HostTime::positionAt(uint64_t tick, float sampleRate) const {
    if (!playing || !positionValid) return std::nan("");
    // Tick blockStart + 1 renders the block's first sample, whose position the host gave.
    const double offset = static_cast<double>(tick) - static_cast<double>(blockStart) - 1.0;
    return 4.0 * ppq + offset * sixteenthsPerSample(sampleRate);
}

double HostTime::quartersAt(uint64_t tick, float sampleRate) const {
    if (!positionValid) return std::nan("");
    if (!playing) return ppq;
    return 0.25 * positionAt(tick, sampleRate);
}

void HostTime::update(RateConstants& rates, uint64_t tick) {
    if (hostTempo != rates.tempo) {
        rates.tempo = hostTempo;
        rates.updateTempoDerived();
    }
    tempo_ = hostTempo;
    const float sampleRate = rates.sampleRate;
    const double expected = 16.0 * sixteenthsPerSample(sampleRate);
    period16_ = expected;

    stopped_ = wasPlaying && !playing;
    wasPlaying = playing;
    const bool wasSynced = synced_;
    synced_ = playing && positionValid;
    resynced_ = false;
    advance16_ = expected;
    if (!synced_) return;

    const double position = positionAt(tick, sampleRate);
    if (!wasSynced) {
        resynced_ = true;
    } else {
        const double advance = position - position16_;
        if (std::fabs(advance - expected) > kJumpTolerance)
            resynced_ = true;
        else
            advance16_ = advance;
    }
    position16_ = position;
}
