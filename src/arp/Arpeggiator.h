// The 16-step arpeggiator. In play mode "Arp" it plays the held notes as a
// pattern in time with the host (modes "Up" .. "O Down/Up" one note per step,
// "Chord" all of them); in the other play modes, arpeggiator mode "Mod" runs
// the same steps as the modulation sources "Arp Free" and "Arp Vel".
#pragma once

#include <atomic>

#include "arp/ArpNoteList.h"
#include "arp/ArpSettings.h"
#include "arp/ArpStart.h"
#include "arp/ArpVoices.h"
#include "arp/HostTime.h"
#include "params/ParameterTable.h"
#include "platform/Random15.h"

class Arpeggiator {
public:
    // Engine reset: no held notes, pattern and sources back to their start.
    void reset();
    // Every 512 ticks.
    void decode(const ParamValue* values) { settings.decode(values); }
    // Every 128 ticks and at each arpeggiated note-on: true when "Arp Mode" changed.
    bool updateMode(const ParamValue* values);

    // Keys in play mode "Arp". `position16` is the host position of the key
    // (NaN when the transport is not playing). Returns true for the first note
    // of a pattern.
    bool addNote(int note, float velocity, double position16, const ParamValue* values);
    void removeNote(int note, const ParamValue* values);
    // A latched pattern gives way to the next phrase.
    void clearNotes() { notes_.clear(); }

    // The transport started again or jumped: the pattern restarts on the next boundary.
    void resync(const HostTime& time);
    bool syncOn() const { return settings.sync; }

    // Every 16 ticks, after the host-time update. Returns true when it ran and
    // "Arp Free" / "Arp Vel" were updated.
    bool clock(bool arpPlayMode, const HostTime& time, float sampleRate, const ParamValue* values,
               ArpVoices& voices, Random15& random);

    float freeSource() const { return freeOut; }
    float velSource() const { return velOut; }

    // The step the editor's step display shows (-1 before the first); any thread may read it.
    int displayedStep() const { return displayStep.load(std::memory_order_relaxed); }
    int mode() const { return mode_; }
    const ArpNoteList& notes() const { return notes_; }

private:
    void startPattern(double position16);
    void showStep(int step) { displayStep.store(step, std::memory_order_relaxed); }
    void publish(const ArpStep& step);
    // Modes 0..9.
    void stepClock(double advance16, double lead16, const ParamValue* values, ArpVoices& voices,
                   Random15& random);
    void noteStep(const ArpStep& step, bool restarted, ArpVoices& voices, Random15& random);
    void chordStep(const ArpStep& step, bool restarted, ArpVoices& voices);
    void startAddedChordNotes(ArpVoices& voices);
    // Listed note k at the current step's mix of step and key velocity.
    float chordVelocity(int k) const;
    void startChordNote(int k, ArpVoices& voices);
    // Mode 10.
    void modClock(double advance16, const ParamValue* values);
    bool holdsIntoNextStep(const ParamValue* values) const;

    ArpSettings settings;
    ArpStart start;
    ArpNoteList notes_;
    int mode_ = 0;

    // Step clock.
    int stepIndex = -1;
    double stepPhase = 0.0;
    int swingToggle = 0;
    bool restart = false;
    int patternCounter = -1;
    int octave = 0;
    int currentVoice = 0;
    int currentNote = 0;
    float currentTranspose = 0.0f;
    float currentVelocity = 0.0f;
    float targetVelocity = 0.0f;
    float averageVelocity = 0.0f;
    float stepVelocity = 0.0f;  // of the current step, for chord notes added during it

    // "Chord": the voice of each listed note, and notes added since the last step.
    int chordVoices[ArpNoteList::kCapacity] = {};
    float chordVelocities[ArpNoteList::kCapacity] = {};
    int chordCount = 0;
    int addedChordNotes = 0;

    // "Mod" sequencer.
    double modPosition = 0.0;
    int modStepShown = 0;

    // "Arp Free" and "Arp Vel": published targets and the smoothed outputs.
    float freeTarget = 0.0f;
    float velTarget = 0.0f;
    float freeOut = 0.0f;
    float velOut = 0.0f;

    std::atomic<int> displayStep{-1};
};
