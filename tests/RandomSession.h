// A long random session as a hostile host and a restless player make it:
// random MIDI of every kind, random automation of all 799 parameters, and a
// schedule that walks every play mode, oversampling mode and effect type
// value (all 25, so types added later are covered without edits). The soak,
// the audio-thread allocation test and the thread stress tests share it.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "vsthost/PluginHost.h"
#include "vst/Vst2.h"

namespace session {

constexpr int kPlayModes = 8;      // "Play Mode", decoded with 7.99
constexpr int kOversampling = 5;   // "Oversampling", decoded with 4.99
constexpr int kEffectTypes = 25;   // every value the type parameters decode to
constexpr int kArpPlayMode = 4;

inline float playModeValue(int mode) { return (float(mode) + 0.5f) / 7.99f; }
inline float oversamplingValue(int index) { return (float(index) + 0.5f) / 4.99f; }
inline float effectTypeValue(int type) { return (float(type) + 0.5f) / 24.99f; }

using Automation = std::vector<std::pair<int, float>>;

// Step k of the coverage schedule: slot s holds type (3k + s) mod 25 (each
// slot meets every type within 25 steps), the play mode is k mod 8 and the
// oversampling mode (k / 8) mod 5 (every pairing within 40 steps).
struct Modes {
    int playMode, oversampling, types[3];
};
Modes modesAt(int step);
// The parameter writes that select `modes`.
void select(const Modes& modes, Automation& out);

// A vocoder in slot 1 reading the sample (its path absolute, kept to
// `path` without extension) and a load request: the sample path through the
// loader thread and the player.
void vocoderOnSample(const char* pathWithoutExtension, Automation& out);

// Values for automation: mostly in 0..1, some at the ends, a few outside the
// range and not numbers (a host may send anything; the plug-in clamps).
float randomValue(std::mt19937& random, bool hostile);
// `count` writes of random parameters (any of the 799).
void randomAutomation(std::mt19937& random, int count, bool hostile, Automation& out);
// Every parameter once, at random: a random program.
void randomProgram(std::mt19937& random, Automation& out);

// Random MIDI on any channel: notes (with the keys it holds remembered),
// controllers (sustain, modulation, volume, all notes off, ...), pitch bend,
// channel and key aftertouch, program changes.
class RandomMidi {
public:
    explicit RandomMidi(std::mt19937& random) : random(random) {}
    // Events for a block of `frames` (> 0), deltaFrames inside it, in order.
    void block(int frames, std::vector<VstMidiEvent>& out);
    // Note-offs for every note-on not yet answered (a key struck twice gets two)
    // and the sustain pedal lifted, at frame 0.
    void releaseAll(std::vector<VstMidiEvent>& out);
    // Program changes on or off (off for tests that keep one program).
    void allowProgramChanges(bool allow) { programChanges = allow; }

private:
    void forgetHeldKeys();

    std::mt19937& random;
    int held[16][128] = {};  // note-ons not yet answered by a note-off
    bool programChanges = true;
};

VstMidiEvent midi(int delta, int status, int d1, int d2);

// The VstEvents list for `events`, kept in `storage`.
VstEvents* eventList(std::vector<VstMidiEvent>& events, std::vector<char>& storage);

// The host's transport for the next block: tempo wandering between 40 and 240
// BPM, the transport starting, stopping and jumping, sometimes no tempo at all.
void advanceTime(std::mt19937& random, VstTimeInfo& time, int frames, double sampleRate);

// Drives a loaded plug-in through its entry points as a host's audio thread
// does, one block at a time: the host's time, MIDI, automation, processing.
class Player {
public:
    static constexpr int kMaxFrames = 8192;

    Player(vsthost::PluginHost& host, uint32_t seed, double sampleRate);
    // A plug-in driven directly; its host callback answers audioMasterGetTime with `time`.
    Player(AEffect* effect, VstTimeInfo& time, uint32_t seed, double sampleRate);
    // Called around every call into the plug-in (the allocation test watches inside).
    void (*enter)() = nullptr;
    void (*leave)() = nullptr;

    void automate(const Automation& writes);  // setParameter, one write after another
    void send(std::vector<VstMidiEvent>& events);  // effProcessEvents
    void render(int frames);  // advances the host time, then processReplacing
    // Every key released and the pedals lifted (see RandomMidi::releaseAll), in
    // as many short blocks as the events need.
    void releaseAll();
    // A block of random playing: MIDI, `automationCount` random writes, audio.
    void play(int frames, int automationCount, bool hostile);

    std::mt19937 random;
    RandomMidi midi;
    std::vector<float> left, right;  // the last block's output: `frames` samples
    int frames = 0;

private:
    AEffect* effect;
    VstTimeInfo& time;
    double sampleRate;
    std::vector<float> silence;
    std::vector<VstMidiEvent> events;
    std::vector<char> storage;
    Automation writes;
};

}  // namespace session
