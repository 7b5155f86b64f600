#include "arp/Arpeggiator.h"

#include <cmath>

#include "arp/ArpModes.h"

namespace {
constexpr double kNoPosition = NAN;
// Rounding must not move a step that falls exactly on an update to the next one.
constexpr double kPhaseTolerance = 1e-9;
// The sorted copy is kept sorted only while notes are held into the next step.
bool sortCopy(const ParamValue* values) { return values[prm::ArpNoteLength] * 1.05f > 1.0f; }
}  // namespace

void Arpeggiator::reset() {
    notes_.clear();
    startPattern(kNoPosition);
    modPosition = 0.0;
    modStepShown = 0;
    freeTarget = velTarget = freeOut = velOut = 0.0f;
    showStep(-1);
}

void Arpeggiator::startPattern(double position16) {
    restart = true;
    stepIndex = -1;
    patternCounter = -1;
    octave = 0;
    swingToggle = 0;
    currentVelocity = targetVelocity = averageVelocity = 0.0f;
    chordCount = 0;
    addedChordNotes = 0;
    start.arm(position16);
}

void Arpeggiator::resync(const HostTime& time) {
    // From the start of the control period just past, so that a boundary the
    // transport started or jumped to is not missed.
    startPattern(time.position16() - time.period16());
}

bool Arpeggiator::updateMode(const ParamValue* values) {
    const int m = arpmode::decode(values[prm::ArpMode]);
    if (m == mode_) return false;
    mode_ = m;
    return true;
}

bool Arpeggiator::addNote(int note, float velocity, double position16, const ParamValue* values) {
    const bool first = notes_.noteCount == 0;
    if (!notes_.addArpNote(note, velocity, sortCopy(values))) return false;  // the list is full
    if (first) {
        startPattern(position16);
        return true;
    }
    if (mode_ == arpmode::Chord && !restart) ++addedChordNotes;
    return false;
}

void Arpeggiator::removeNote(int note, const ParamValue* values) {
    notes_.removeArpNote(note, sortCopy(values));
    if (addedChordNotes > notes_.noteCount) addedChordNotes = notes_.noteCount;
}

bool Arpeggiator::clock(bool arpPlayMode, const HostTime& time, float sampleRate,
                        const ParamValue* values, ArpVoices& voices, Random15& random) {
    // The notes of a step sound from the control period after the one that
    // starts them, so steps run one period ahead; "Mod" acts at once.
    const double lead16 = arpPlayMode ? time.period16() : 0.0;
    if (!start.update(time, settings.sync, sampleRate, lead16)) return false;
    if (arpPlayMode)
        stepClock(time.advance16(), lead16, values, voices, random);
    else if (mode_ == arpmode::Mod)
        modClock(time.advance16(), values);
    else
        return false;
    freeOut = (freeOut + freeTarget) * 0.5f + 1e-15f;
    velOut = (velOut + velTarget) * 0.5f + 1e-15f;
    return true;
}

void Arpeggiator::publish(const ArpStep& step) {
    freeTarget = step.free;
    velTarget = step.velocity;
}

// A note is held into the next step when that step is tied to it.
bool Arpeggiator::holdsIntoNextStep(const ParamValue* values) const {
    if (stepIndex < 0) return false;
    const ArpStep next = ArpStep::read(values, (stepIndex + 1) % settings.steps);
    return next.on && next.tie;
}

void Arpeggiator::stepClock(double advance16, double lead16, const ParamValue* values,
                            ArpVoices& voices, Random15& random) {
    if (notes_.noteCount == 0) {
        voices.arpReleaseAll();
        return;
    }
    const double speed = settings.swing[swingToggle] * settings.rateFactor;
    stepPhase += speed * advance16;
    // The phase the next update will have: what is due before it happens now.
    const double ahead = stepPhase + speed * lead16 + kPhaseTolerance;
    if (!restart && ahead > settings.noteLength && !holdsIntoNextStep(values)) {
        if (mode_ == arpmode::Chord)
            voices.arpReleaseAll();
        else
            voices.arpReleaseVoice(currentVoice);
    }
    if (ahead >= 1.0 || restart) {
        swingToggle = 1 - swingToggle;
        const bool restarted = restart;
        restart = false;
        // A synced start lies a little off its boundary, and a step ends a little
        // before or after the update; the part of the new step already due is
        // kept, at the new step's speed, so that the steps keep to the grid.
        const double newSpeed = settings.swing[swingToggle] * settings.rateFactor;
        stepPhase = restarted ? (start.started() ? start.late16() : -lead16) * newSpeed
                              : (stepPhase - 1.0) * newSpeed / speed;
        // Steps shorter than the control period are dropped, not queued.
        if (stepPhase >= 1.0) stepPhase -= std::floor(stepPhase);
        stepIndex = (stepIndex + 1) % settings.steps;
        showStep(stepIndex);
        const ArpStep step = ArpStep::read(values, stepIndex);
        if (mode_ == arpmode::Chord)
            chordStep(step, restarted, voices);
        else
            noteStep(step, restarted, voices, random);
    } else if (mode_ == arpmode::Chord && addedChordNotes > 0) {
        startAddedChordNotes(voices);
    }
}

void Arpeggiator::noteStep(const ArpStep& step, bool restarted, ArpVoices& voices,
                           Random15& random) {
    if (!step.on) {
        voices.arpReleaseVoice(currentVoice);
        return;
    }
    const bool newNote = restarted || !step.tie;
    if (newNote) ++patternCounter;
    // Without "Tied Mode" a tie continues the sounding note as it is.
    if (!newNote && !settings.tiedMode) return;

    const int count = notes_.noteCount;
    const int counter = patternCounter < 0 ? 0 : patternCounter;
    const int position = arpPosition(mode_, count, counter, random);
    // Each pass through the held notes moves one octave up, then back to the first.
    if (newNote && counter > 0 && counter % arpCycleLength(mode_, count) == 0)
        octave = (octave + 1) % settings.octaves;

    // The key's velocity comes from the same list as the note, so that it
    // belongs to the key that is played.
    const bool sorted = arpmode::usesSortedList(mode_);
    const float keyVelocity = sorted ? notes_.sortedVelocity[position] : notes_.noteVelocity[position];
    const float v = (1.0f - settings.velMix) * step.velocity * 127.0f + settings.velMix * keyVelocity;
    if (newNote) {
        targetVelocity = currentVelocity = averageVelocity = v;
    } else {
        targetVelocity = v;
        currentVelocity = 0.100000024f * v + 0.9f * currentVelocity + 1e-15f;
        averageVelocity = (averageVelocity + v) * 0.5f + 1e-15f;
    }
    currentNote = sorted ? notes_.sortedList[position] : notes_.noteList[position];
    currentTranspose = static_cast<float>(12 * (octave % settings.octaves) + step.tune);
    publish(step);

    if (newNote) {
        voices.arpReleaseAll();
        currentVoice = voices.arpNextVoice();
    }
    voices.arpStartNote(currentVoice, currentNote, currentVelocity, currentTranspose, newNote,
                        step.slide);
    if (!newNote) voices.arpRefreshVelocity(currentVoice, currentVelocity, averageVelocity);
}

void Arpeggiator::chordStep(const ArpStep& step, bool restarted, ArpVoices& voices) {
    addedChordNotes = 0;
    stepVelocity = step.velocity * 127.0f;
    if (!step.on) {
        voices.arpReleaseAll();
        chordCount = 0;
        return;
    }
    const bool newNote = restarted || !step.tie;
    currentTranspose = static_cast<float>(12 * (octave % settings.octaves) + step.tune);
    publish(step);
    const int count = notes_.noteCount;
    if (newNote) {
        voices.arpReleaseAll();
        for (int k = 0; k < count; ++k) startChordNote(k, voices);
        chordCount = count;
    } else {
        const int tied = chordCount < count ? chordCount : count;
        for (int k = 0; k < tied; ++k) {
            if (settings.tiedMode)
                chordVelocities[k] = 0.100000024f * chordVelocity(k) + 0.9f * chordVelocities[k] + 1e-15f;
            voices.arpStartNote(chordVoices[k], notes_.noteList[k], chordVelocities[k],
                                currentTranspose, false, false);
            if (settings.tiedMode)
                voices.arpRefreshVelocity(chordVoices[k], chordVelocities[k], chordVelocities[k]);
        }
    }
    octave = (octave + 1) % settings.octaves;
}

float Arpeggiator::chordVelocity(int k) const {
    return (1.0f - settings.velMix) * stepVelocity + settings.velMix * notes_.noteVelocity[k];
}

void Arpeggiator::startChordNote(int k, ArpVoices& voices) {
    chordVoices[k] = voices.arpNextVoice();
    chordVelocities[k] = chordVelocity(k);
    voices.arpStartNote(chordVoices[k], notes_.noteList[k], chordVelocities[k], currentTranspose, true,
                        false);
}

void Arpeggiator::startAddedChordNotes(ArpVoices& voices) {
    const int count = notes_.noteCount;
    for (int k = count - addedChordNotes; k < count; ++k) startChordNote(k, voices);
    chordCount = count;
    addedChordNotes = 0;
}

void Arpeggiator::modClock(double advance16, const ParamValue* values) {
    const int steps = settings.steps;
    const bool restarted = restart;
    if (restarted) {
        restart = false;
        swingToggle = 1;  // step 0 is an even, long step
        modPosition = (start.started() ? start.late16() : 0.0) * settings.rateFactor *
                      settings.swing[swingToggle];
    } else {
        const double speed = settings.swing[swingToggle] * settings.rateFactor;
        const double before = std::floor(modPosition);
        modPosition += speed * advance16;
        // The part past a step boundary runs at the next step's speed.
        if (std::floor(modPosition) != before) {
            const double boundary = std::floor(modPosition);
            const double newSpeed = settings.swing[1 - swingToggle] * settings.rateFactor;
            modPosition = boundary + (modPosition - boundary) * newSpeed / speed;
        }
    }
    if (!(modPosition >= 0.0)) modPosition = 0.0;
    if (modPosition >= steps) modPosition = std::fmod(modPosition, static_cast<double>(steps));
    int step = static_cast<int>(modPosition);
    if (step >= steps) step = steps - 1;
    if (restarted || step != modStepShown) {
        if (!restarted) swingToggle = 1 - swingToggle;
        modStepShown = step;
        showStep(step);
    }
    const ArpStep s = ArpStep::read(values, step);
    if (!s.tie || settings.tiedMode) publish(s);
}
