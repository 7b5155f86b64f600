#include "params/DisplayFormats.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "params/ParameterTable.h"

namespace params::display {

void print(char* text, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, kDisplayCapacity, format, args);
    va_end(args);
}

void copy(char* text, const char* source) { print(text, "%s", source); }

void choice(char* text, const Enumeration& list, float v, const char* suffix) {
    print(text, "%s%s", list.name(v), suffix);
}

void integer(char* text, float v, float factor, int offset, const char* format) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    print(text, format, static_cast<int>(v * factor) + offset);
#pragma GCC diagnostic pop
}

void decibels(char* text, float v) { print(text, "%+.1f dB", v * 60.0f - 60.0f); }

void balance(char* text, float v, char left, char right) {
    if (v >= 0.5f)
        print(text, "%.0f%c/100%c", (1.0f - v) * 200.0f, left, right);
    else
        print(text, "100%c/%.0f%c", left, v * 200.0f, right);
}

void frequency(char* text, float v) {
    float hz = 20.0f * std::exp2(10.0f * v);
    if (hz < 1000.0f)
        print(text, "%.0f Hz", hz);
    else
        print(text, "%.1f kHz", hz * 0.001f);
}

void rate(char* text, float v, float divisor) {
    if (v == 0.0f) return copy(text, "Off");
    float hz = std::exp2(10.0f * v) / divisor * 55.0f;
    if (hz < 1000.0f)
        print(text, "%4.2f Hz", hz);
    else
        print(text, "%4.1f kHz", hz * 0.001f);
}

void time(char* text, float v) {
    float ms = std::floor(std::exp2(14.0f * v));
    if (ms == 0.0f)
        copy(text, "Off");
    else if (ms < 1000.0f)
        print(text, "%.0f ms", ms);
    else
        print(text, "%.1f sec", ms * 0.001f);
}

namespace {
void fadeTime(char* text, const char* direction, float ms) {
    if (ms < 1000.0f)
        print(text, "%s %.0f ms", direction, ms);
    else
        print(text, "%s %.1f sec", direction, ms * 0.001f);
}
}  // namespace

void fade(char* text, float v, float sustain) {
    if (std::fabs(v - 0.5f) < 0.002f) return copy(text, "Off");
    float a = 2.0f * v - 1.0f;
    if (a > 0.0f)
        fadeTime(text, "up", std::floor(std::exp2(18.0f - 18.0f * a)) * (1.0f - sustain));
    else
        fadeTime(text, "down", sustain * std::floor(std::exp2(18.0f + 18.0f * a)));
}

namespace {
// Destinations whose amount is a pitch offset, and those that scale a rate.
constexpr int kPitchDestinations[] = {1, 6, 14, 22};
constexpr int kSpeedDestinations[] = {3, 33, 34, 38, 39, 40, 43, 44};

template <size_t N>
bool contains(const int (&set)[N], int k) {
    for (int member : set)
        if (member == k) return true;
    return false;
}
}  // namespace

void amount(char* text, float v, float destinationValue) {
    // A destination past the list acts as "None" in the matrix and reads so here.
    int k = kModDestination.index(destinationValue);
    if (k == 0)
        copy(text, " None ");
    else if (contains(kPitchDestinations, k))
        print(text, "%+.2f semi", static_cast<int>(v * 7200.0f - 3600.0f) * 0.01f);
    else if (contains(kSpeedDestinations, k))
        print(text, "%+.0f %%", std::floor(std::exp2(4.0f * v - 2.0f) * 100.0f));
    else
        integer(text, v, 200.0f, -100, "%+d %%");
}

void tuning(char* text, float v) {
    // The oscillators tune by one semitone either way around A = 440 Hz.
    print(text, "%+.0f hz", 440.0f * std::exp2((2.0f * v - 1.0f) / 12.0f));
}

void roundedPercent(char* text, float v) { print(text, "%.0f %%", v * 100.0f); }

void signedPercent(char* text, float v) { print(text, "%+.0f %%", v * 200.0f - 100.0f); }

void gain(char* text, float decibels) {
    print(text, decibels > 0.0f ? "+%.1f dB" : "%.1f dB", decibels);
}

}  // namespace params::display
