#include "arp/ArpNoteList.h"

#include <utility>

bool ArpNoteList::addArpNote(int note, float velocity, bool sortCopy) {
    if (noteCount >= kCapacity) return false;
    noteList[noteCount] = note;
    noteVelocity[noteCount] = velocity;
    ++noteCount;
    rebuildSorted(sortCopy);
    return true;
}

bool ArpNoteList::removeArpNote(int note, bool sortCopy) {
    int kept = 0;
    for (int i = 0; i < noteCount; ++i) {
        if (noteList[i] == note) continue;
        noteList[kept] = noteList[i];
        noteVelocity[kept] = noteVelocity[i];
        ++kept;
    }
    bool changed = kept != noteCount;
    noteCount = kept;
    if (changed) rebuildSorted(sortCopy);
    return changed;
}

void ArpNoteList::rebuildSorted(bool sortCopy) {
    for (int i = 0; i < noteCount; ++i) {
        sortedList[i] = noteList[i];
        sortedVelocity[i] = noteVelocity[i];
    }
    if (!sortCopy) return;
    // Bubble sort: the list is short and velocities move with their notes.
    for (int pass = 0; pass + 1 < noteCount; ++pass)
        for (int i = 0; i + 1 < noteCount - pass; ++i)
            if (sortedList[i] > sortedList[i + 1]) {
                std::swap(sortedList[i], sortedList[i + 1]);
                std::swap(sortedVelocity[i], sortedVelocity[i + 1]);
            }
}
