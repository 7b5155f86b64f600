// Chord memory: learning a chord into the program's hidden chord parameters
// and playing it transposed onto each received key.
#include "engine/Engine.h"
#include "vst/AudioEffect.h"

namespace {
constexpr int Learn = 1;
constexpr int Play = 2;
float encodeNote(int note) { return (static_cast<float>(note) + 0.5f) / 255.0f; }
float encodeCount(int count) { return (static_cast<float>(count) + 0.5f) * 0.1001001f; }
}  // namespace

void Engine::updateChordMode() {
    chordMode = static_cast<int>(param(prm::ChordMode) * 2.99f);
    if (chordMode != previousChordMode) {
        previousChordMode = chordMode;
        chordLearnStarted = false;
        releaseAll();
    }
}

void Engine::chordLearn(int note) {
    if (!chordLearnStarted) {
        chordLearnStarted = true;
        plugin.setParameter(prm::ChordNoteFirst, encodeNote(note));
        plugin.setParameter(prm::ChordCount, encodeCount(0));
        return;
    }
    int count = static_cast<int>(param(prm::ChordCount) * 9.99f) + 1;
    if (count > kMaxChordNotes - 1) count = kMaxChordNotes - 1;
    plugin.setParameter(prm::ChordNoteFirst + count, encodeNote(note));
    plugin.setParameter(prm::ChordCount, encodeCount(count));
}

int Engine::chordNotes(int note, int* notes, bool isNoteOn) {
    updateChordMode();
    if (chordMode == Learn && isNoteOn) chordLearn(note);
    if (chordMode != Play) {
        notes[0] = note;
        return 1;
    }
    int count = static_cast<int>(param(prm::ChordCount) * 9.99f);
    if (count > kMaxChordNotes - 1) count = kMaxChordNotes - 1;
    const int root = static_cast<int>(param(prm::ChordNoteFirst) * 255.0f);
    for (int k = 0; k <= count; ++k)
        notes[k] = note + static_cast<int>(param(prm::ChordNoteFirst + k) * 255.0f) - root;
    return count + 1;
}
