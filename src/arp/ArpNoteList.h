// The notes the arpeggiator plays: held keys in the order they were pressed,
// and a copy sorted by note number.
#pragma once

class ArpNoteList {
public:
    static constexpr int kCapacity = 32;

    // Both return true when the list changed.
    bool addArpNote(int note, float velocity, bool sortCopy);
    bool removeArpNote(int note, bool sortCopy);
    void clear() { noteCount = 0; }

    int noteCount = 0;
    int noteList[kCapacity] = {};
    float noteVelocity[kCapacity] = {};
    int sortedList[kCapacity] = {};
    float sortedVelocity[kCapacity] = {};

private:
    void rebuildSorted(bool sortCopy);
};
