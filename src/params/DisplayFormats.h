// Text helpers shared by every display rule. Each writes a terminated text of
// at most params::kDisplayCapacity bytes (terminator included) into `text`.
// Arithmetic is done in single precision, as the engine decodes the values, so
// a text and the sound it describes agree at band edges.
#pragma once

#include "params/Enumerations.h"

namespace params::display {

void print(char* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void copy(char* text, const char* source);

// list entry chosen by v, then `suffix` (may be empty).
void choice(char* text, const Enumeration& list, float v, const char* suffix = "");
// `format` (one %d) of trunc(v * factor) + offset.
void integer(char* text, float v, float factor, int offset, const char* format);
// "%+.1f dB" of v * 60 - 60.
void decibels(char* text, float v);
// Balance of two sides lettered `left`/`right`: "100L/40R", "40L/100R".
void balance(char* text, float v, char left, char right);
// 20 * 2^(10 v) Hz: "%.0f Hz" below 1 kHz, else "%.1f kHz".
void frequency(char* text, float v);
// 2^(10 v) / divisor * 55 Hz, "Off" at exactly 0.
void rate(char* text, float v, float divisor);
// floor(2^(14 v)) ms as "ms" or "sec".
void time(char* text, float v);
// Envelope fade towards or away from the sustain level `sustain`.
void fade(char* text, float v, float sustain);
// A modulation amount, shown in the unit of its destination (a ModDestination value).
void amount(char* text, float v, float destinationValue);
// Reference pitch of the tuning control.
void tuning(char* text, float v);
// "%.0f %%" of v * 100.
void roundedPercent(char* text, float v);
// "%+.0f %%" of v * 200 - 100.
void signedPercent(char* text, float v);
// Gain in dB with an explicit "+" above 0: "+3.5 dB", "0.0 dB", "-12.0 dB".
void gain(char* text, float decibels);

}  // namespace params::display
