#include "engine/Clamp.h"
#include "engine/Envelope.h"

#include <cmath>

bool EnvelopeState::step(const EnvelopeSettings& s, const EnvelopeCurves& c, bool held,
                         bool isVolume) {
    bool fadeEnded = false;
    if (held) {
        if (stage == 0) {
            linear += s.attackRate * speed;
            if (linear > 1.0f) {
                linear = 1.0f;
                stage = 1;
            }
        } else if (stage == 1) {
            linear -= s.decayRate * speed;
            if (linear < s.sustain) {
                linear = s.sustain;
                stage = 2;
            }
        } else {
            linear = clamp01(linear + s.fadeRate * speed);
            if (isVolume && !s.fadeUp && linear < 0.0001f) {
                linear = 0.0f;
                fadeEnded = true;
            }
        }
    } else {
        linear = clamp01(linear - s.releaseRate * speed);
    }

    if (linear == 0.0f) {
        output = 0.0f;
    } else if (held && stage == 0 && c.attackCurved) {
        output = std::pow(linear, c.attackExponent);
    } else if (held && stage == 1 && c.decayCurved) {
        output = linear <= s.sustain
                     ? s.sustain
                     : s.sustain + s.oneMinusSustain *
                                       std::pow((linear - s.sustain) * s.inverseRange,
                                                c.decayExponent);
    } else if (!held && c.releaseCurved) {
        output = releaseStart * std::pow(linear * releaseStartInverse, c.releaseExponent);
    } else {
        output = linear;
    }

    if (held) {
        releaseStart = output;
        releaseStartInverse = output <= 0.0f ? 1.0f : 1.0f / output;
    }
    // The release starts from the value last heard, when it really starts: a
    // key's trigger waits while the sustain pedal holds (taken then, it set
    // `linear` back to the curved output, so a curved attack restarted from
    // almost nothing), and a release without a trigger (the pedal lifted, a
    // shared envelope's gate) does the same. The curved release formula
    // assumes `linear` and `releaseStart` agree; apart, it overflowed.
    if (!held && (releaseTrigger || wasHeld)) {
        linear = output = releaseStart;
        releaseTrigger = 0;
    }
    wasHeld = held;
    return fadeEnded;
}
