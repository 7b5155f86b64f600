// Reference renders: a fixed set of cases played through the plug-in as a
// host loads it, each kept as a hash of its exact samples and as a
// fingerprint (RMS level per window) for tolerant comparisons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Sounds.h"
#include "vsthost/PluginHost.h"

namespace reference {

// What is played: the MIDI part of a case.
enum class Pattern {
    Held16,    // 16 keys held, then released
    Sequence,  // a fast sequence of overlapping notes that keeps 16 voices busy
    Chord,     // four keys held, then released
    Notes2,    // two keys, one after the other
    Return,    // two keys, then a third after a long silence
};

// A parameter set just before the block that holds `frame`.
struct Change {
    int frame;
    int index;
    float value;
};

struct Case {
    std::string name;
    sounds::Sound sound;
    Pattern pattern;
    std::vector<Change> changes = {};
    int frames = 32768;
    int block = 512;
    float rate = 44100.0f;
};

struct Audio {
    std::vector<float> left, right;
};

// The cases, in file order.
const std::vector<Case>& cases();

constexpr int kWindow = 2048;  // fingerprint window

// Renders `c` through `host` (loaded, not yet started): default-sound program,
// the case's settings, its notes and changes, at its rate and block size.
Audio render(vsthost::PluginHost& host, const Case& c);

// 64-bit FNV-1a over the samples' bits, left and right interleaved.
uint64_t hash(const Audio& audio);
// RMS level in dB per window, left then right for each window (floor -200 dB).
std::vector<float> fingerprint(const Audio& audio);

struct Entry {
    std::string name;
    uint64_t hash = 0;
    std::vector<float> fingerprint;
};

// The compiler and C library this program was built with: the exact samples
// (and so the hashes) hold for the plug-in built with the same ones.
std::string toolchain();

// The reference file: "# toolchain: ..." (what made the hashes), then one
// line per case, "name hash dB dB ...", and '#' comments.
bool readEntries(const std::string& path, std::vector<Entry>& entries, std::string& toolchain,
                 std::string& error);
bool writeEntries(const std::string& path, const std::vector<Entry>& entries);

// The largest fingerprint difference in dB over windows louder than `floorDb`
// in either; +infinity when the lengths differ.
float fingerprintDistance(const std::vector<float>& a, const std::vector<float>& b, float floorDb);

// The largest sample difference of two renders in dBFS (-infinity when identical).
float peakDifferenceDb(const Audio& a, const Audio& b);

}  // namespace reference
