// The voice engine's side of the arpeggiator: transport changes, the clock
// every 16 ticks, and the notes the arpeggiator starts.
#include <cmath>

#include "engine/Engine.h"
#include "engine/ModeIds.h"

void Engine::followTransport() {
    if (!arp.syncOn()) return;
    if (hostTime.stopped()) {
        // A stop ends a synced arpeggio. Other play modes keep their notes (the
        // host ends them), so that releases are not cut at every stop.
        if (playMode_ == playmode::Arp)
            resetEngine();
        else
            arp.reset();
    } else if (hostTime.resynced()) {
        arp.resync(hostTime);
    }
}

void Engine::runArpeggiator() {
    if (!arp.clock(playMode_ == playmode::Arp, hostTime, ctx.rates.sampleRate, values, *this, random))
        return;
    setSource(modsrc::ArpFree, arp.freeSource());
    setSource(modsrc::ArpVel, arp.velSource());
}

int Engine::arpNextVoice() {
    advanceCursor();
    voices[voiceCursor].gate = 1;
    return voiceCursor;
}

void Engine::arpStartNote(int voice, int note, float velocity, float transpose, bool retrigger,
                          bool slide) {
    // Slide steps need a glide; the others glide at one octave per 16 ticks.
    if (portMode == portmode::Off) portMode = portmode::ConstRate;
    noteOnVoice(note, voice, velocity, transpose, param(prm::ArpSlide), retrigger, true, slide);
}

void Engine::arpRefreshVelocity(int index, float current, float average) {
    Voice& v = voices[index];
    v.velocityShaped = std::pow(current / 127.0f, velocityExponent);
    v.sources[modsrc::Velocity] = v.velocityShaped;
    const float m = param(prm::VelocityToVolume);
    v.velocityVolume = m * average / 127.0f + (1.0f - m);
}
