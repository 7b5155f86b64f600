// The voice engine: renders one stereo sample per tick from 16 voices, with
// control-rate work scheduled on the low bits of the sample counter.
#pragma once

#include <cstdint>

#include "arp/Arpeggiator.h"
#include "arp/ArpVoices.h"
#include "arp/HostTime.h"
#include "engine/Envelope.h"
#include "engine/FilterBank.h"
#include "engine/FilterSlot.h"
#include "engine/Lfos.h"
#include "effects/EffectBus.h"
#include "engine/ModIds.h"
#include "engine/ModMatrix.h"
#include "engine/OscillatorState.h"
#include "engine/ProcessContext.h"
#include "engine/Voice.h"
#include "engine/WaveTables.h"
#include "params/ParameterTable.h"
#include "platform/Random15.h"

class AudioEffect;

class Engine : private ArpVoices {
public:
    static constexpr int kVoices = 16;
    static constexpr int kMaxHeldNotes = 100;
    static constexpr int kMaxChordNotes = 9;

    // `values` are the live parameter values; chord learning writes parameters
    // back through `plugin` so that they travel with the program.
    Engine(const ParamValue* values, ProcessContext& ctx, AudioEffect& plugin);

    // Construction-time tables (waveforms, noise); `random` is the constructing thread's.
    void buildTables(Random15& random);

    // At the start of every processing block, after the host's time information was fetched.
    void beginBlock() { hostTime.beginBlock(ctx.timeInfo, ctx.sampleCounter64); }

    // The engine tick, a span at a time. A span is 1 .. kMaxSpan samples that
    // start at the current sample (its counters already advanced), cross no
    // 16-sample boundary after their first sample and hold no MIDI event after
    // it. renderVoices runs the control-rate work due at the first sample and
    // the voices for the whole span; then, sample by sample with the counters
    // advanced, finishSample(j) sums voice mix j through the DC blocker, the
    // effects and the master gain into ctx.outLeft / outRight.
    static constexpr int kMaxSpan = 16;
    void renderVoices(int n);
    void finishSample(int j);
    void resetEngine();
    void releaseAll();
    void noteOffVoice(int voice);
    void noteOnVoice(int note, int voice, float velocity, float detuneSemitones, float portSpeed,
                     bool retrigger, bool skipGlobalUpdate, bool glideEnabled);

    // Note events from MIDI intake: chord memory, then the play-mode rules.
    void noteOn(int note, int velocity);
    void noteOff(int note);

    // Controller-type modulation sources, written globally and for every voice.
    void setSource(int source, float value);

    // MIDI-fed engine inputs.
    float pitchBendOffset = 0.0f;  // octaves
    float midiVolume = 1.0f;       // controller 7 as 0..1
    float modWheel = 0.0f;         // controller 1 as 0..1
    bool sustainHeld = false;
    bool arpHold = false;


    int playMode() const { return playMode_; }
    int heldKeys() const { return heldKeys_; }
    const Voice& voice(int v) const { return voices[v]; }
    float masterGain() const { return masterGain_; }
    float envelopeSum() const { return envelopeSum_; }
    int oversampleFactor() const { return oversampleFactor_; }
    const EffectBus& effectBus() const { return effects; }
    // The vocoder's sample source (the plug-in's player); set once at construction.
    void attachSamplePlayer(samples::SamplePlayer& player) { effects.attachSamplePlayer(&player); }
    // The shared modulation destinations (moddst), evaluated every 128 ticks;
    // the effect slots read 45..74 as offsets.
    const float* sharedModRow() const { return matrix.sharedDest(); }
    // The arpeggiator's current step for the editor's step display (any thread).
    int arpDisplayedStep() const { return arp.displayedStep(); }

private:
    float param(int index) const { return values[index]; }

    // Control-rate blocks.
    void globalBlock16();
    void globalBlock128();
    void decodeParameters();
    void voiceBlock16(Voice& v, int index);
    void voiceBlock4(Voice& v, int index);
    void voiceBlock128(Voice& v, int index);
    // A voice's span is run in two passes. The first runs its control blocks,
    // ramps and oscillators and keeps, per sample, the oscillator mix, the
    // level sum and the pan gains; the second runs the filters of all voices
    // sample by sample (their states are separate, so the voices' filter
    // chains can overlap) and sums the voices.
    struct VoiceSpan {
        int active = 0;  // samples the voice sounds in this span
        // Three spare entries: the filter lanes read four samples from any start.
        float mix[kMaxSpan + 3];
        float levelSum[kMaxSpan + 3];
        float panLeft[kMaxSpan];
        float panRight[kMaxSpan];
    };
    // The first pass for one sample; false when the voice is silent (and stays
    // so for the rest of the span).
    bool voiceSample(Voice& v, int index, uint32_t counter, int j);
    // The first pass for the whole span where the oscillators allow block
    // rendering (see blockOscillators).
    void voiceSpanFast(Voice& v, int index, uint32_t first, int n);
    // The control work of one sample up to the oscillators; false when silent.
    bool voiceControl(Voice& v, int index, uint32_t counter);
    bool blockOscillators() const;
    // K ticks of one table oscillator; `table` is the composed wave of the
    // voice's warp row or null (then the wave is read through the warp).
    template <bool Spread, bool Composed, int K>
    void tableBlock(OscillatorVoice& o, const OscillatorSlot& s, const float* table, float* out) const;
    template <bool Spread, bool Composed>
    void tableBlocks(OscillatorVoice& o, const OscillatorSlot& s, const float* table, int count,
                     float* out) const;
    void renderOscillatorBlock(OscillatorVoice& o, OscillatorSlot& s, int count, float* out);
    const float* composedWave(OscillatorSlot& s, int row);
    // The second pass: filters and the sum, sample by sample over all voices.
    void filterSpan(uint32_t first, int n);
    // Transport stops and jumps, and the arpeggiator clock (every 16 ticks).
    void followTransport();
    void runArpeggiator();

    // What the arpeggiator asks of the voices.
    void arpReleaseAll() override { releaseAll(); }
    void arpReleaseVoice(int voice) override { noteOffVoice(voice); }
    int arpNextVoice() override;
    void arpStartNote(int voice, int note, float velocity, float transpose, bool retrigger,
                      bool slide) override;
    void arpRefreshVelocity(int voice, float current, float average) override;

    // Voice allocation and play modes.
    int allocateVoice();
    void advanceCursor() { voiceCursor = (voiceCursor + 1) & 15; }
    void startVoice(int voice, int note, float velocity, float detune, bool retrigger);
    void playModeNoteOn(int note, int velocity);
    void playModeNoteOff(int note);
    void pushHeldNote(int note);
    bool removeHeldNote(int note);  // true when it was the top note
    void applyModeChanges();
    void syncPlayMode();
    void updateChordMode();
    void decodeChoices();
    // The notes a key plays: itself, or the learned chord transposed onto it.
    int chordNotes(int note, int* notes, bool isNoteOn);
    void chordLearn(int note);

    // Envelopes.
    void updateEnvelopeSettings();
    void stepVoiceEnvelopes(Voice& v, int index);
    void stepSharedEnvelopes();
    void computeEnvelopeSpeeds(Voice& v);
    void refreshEnvelopeSpeeds(Voice& v);

    // Pan, glide, master.
    void updateGlide(Voice& v);
    void updatePan(Voice& v);
    void updateMasterVolume();
    void initialiseVoice(Voice& v);

    // Oscillators.
    void loadWave(int slot, int waveIndex);
    void decodeOscillators();
    void updateOscillatorGlobals();
    void updateOscillatorLevels(Voice& v);
    void updateOscillatorVoice(Voice& v);
    void updateOscillatorVoiceFast(Voice& v);
    void updatePwmSteps(Voice& v);
    void updateDrift(Voice& v);
    void setModulationAmountsDirect(Voice& v);
    void syncMasterStep(Voice& v);
    float oscillatorStep(Voice& v, int n);
    void resetOscillatorPhases(Voice& v);

    // Raw oscillator samples, one function per waveform kind and decoded choice.
    using SampleFn = float (*)(Engine&, OscillatorVoice&, const OscillatorSlot&);
    template <bool Spread, bool Filter, bool Fm>
    static float tableSample(Engine& e, OscillatorVoice& o, const OscillatorSlot& s);
    static float whiteNoiseSample(Engine& e, OscillatorVoice& o, const OscillatorSlot& s);
    static float syncedNoiseSample(Engine& e, OscillatorVoice& o, const OscillatorSlot& s);
    static float pinkNoiseSample(Engine& e, OscillatorVoice& o, const OscillatorSlot& s);
    SampleFn selectSampleFunction(const OscillatorSlot& s, int n) const;

    // Filters.
    void setFilterCoefficients(int type, int slot, float frequencyHz, float resonance);
    // Recomputes what depends on the sample rate when the host changed it.
    void followSampleRate();
    void decodeFilters();
    void updateFilterDrive(Voice& v);
    void updateFilterTargets(Voice& v);
    void updateCutoff(Voice& v, int index);
    float filterSecondary(Voice& v, int index, float input);

    // Filter structures, one function per type (engine/FilterBank.h); the
    // comb type runs on the voice's noise buffer.
    using FilterFn = float (*)(FilterSlot&, CombLine, float);
    static CombLine combLine(Voice& v) { return {v.noiseBuffer, &v.filter.combWritePos}; }
    // The filter pass for any main type, through its structure's function.
    void filterPass(uint32_t first, int n, const int* sounding, int count);
    // The same for the state-variable types (with the biquad before it for
    // the 24 dB ones), four voices at a time in the lanes of SSE registers.
    template <bool Biquad, bool High>
    void filterPassLanes(uint32_t first, int n, const int* sounding, int count, float gain);

    const ParamValue* values;
    ProcessContext& ctx;
    AudioEffect& plugin;
    Random15 random;  // the audio thread's generator

    Voice voices[kVoices];
    OscillatorSlot oscSlots[3];
    SampleFn oscSampleFn[3] = {};
    FilterSlot filterSlots[34];
    WaveTables tables;

    // The voice mix of the current span.
    float spanLeft[kMaxSpan] = {};
    float spanRight[kMaxSpan] = {};
    VoiceSpan spanVoices[kVoices];

    // The counter of the sample the voices are at (pink noise reads it).
    uint32_t sampleCounterNow = 0;
    // Tick flags.
    bool tick4 = false;
    bool tick16 = false;
    bool tick128 = false;

    int voiceCursor = 0;
    int playMode_ = 0;
    int portMode = 0;
    int heldKeys_ = 0;
    bool firstKeyOfPhrase = false;  // no key was held when the current note-on came
    float portSpeed = 0.0f;
    float lastPitch = -10.0f;
    int chordMode = 0;
    int previousChordMode = 0;
    bool chordLearnStarted = false;
    // The notes each key started (its chord while "Chord Mode" played one), so
    // that its note-off releases exactly those even after the chord memory or
    // the mode changed; a count of 0 after a reset or once released.
    int keyNotes[128][kMaxChordNotes] = {};
    int keyNoteCount[128] = {};
    float velocityExponent = 1.0f;

    // Held-note stack of the mono modes (-1 count when empty).
    int heldNotes[kMaxHeldNotes] = {};
    int heldCount = -1;
    int lastVelocity = 0;
    float legatoVelocity = 0.0f;

    // Master section.
    float masterGain_ = 0.0f;
    float masterTarget = 0.0f;
    float dcStateLeft = 0.0f;
    float dcStateRight = 0.0f;
    float dcCoefIn = 0.0f;
    float dcCoefFeedback = 1.0f;
    float envelopeSum_ = 0.0f;
    float modWheelSmoothed = 0.0f;

    // Envelopes.
    EnvelopeSettings envSettings[env::kCount];
    EnvelopeCurves curves;
    EnvelopeState sharedEnv[2];  // the shared free envelopes
    bool sharedGate = false;

    // Modulation: LFOs, the matrix with its shared rows, host time and the arpeggiator.
    Lfos lfos;
    ModMatrix matrix;
    HostTime hostTime;
    Arpeggiator arp;

    // Oscillator globals.
    int oversampleFactor_ = 1;
    float oversampleScale = 1.0f;
    int previousOversampleIndex = -1;
    bool overSamplingFilter = false;
    uint8_t oscEnableMask = 0;
    bool anySync = false;
    float bend = 0.0f;
    float analogDrift = 0.0f;

    // Filter globals.
    int mainFilterType = 0;
    int secondaryFilterCode = 0;
    FilterFn mainFilterFn = nullptr;
    FilterFn secondaryFilterFn = nullptr;
    bool filterSmoothing = false;
    float wheelAmount = 0.0f;     // 2 * "Mod > Filter Frequency Amt" - 1
    float velocityAmount = 0.0f;  // 2 * "Vel > Filter Frequency Amt" - 1
    float coefficientRate = 0.0f;  // the sample rate the filter coefficients were made for

    // The three effect slots after the DC blocker.
    EffectBus effects;
};
