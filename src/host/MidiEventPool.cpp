#include "host/MidiEventPool.h"

bool MidiEventPool::queue(const VstMidiEvent& event) {
    if (pending_.load(std::memory_order_acquire) >= kMaxPending) return drop();
    for (int r = 1; r < kRecords; ++r) {
        MidiEventRecord& record = records_[r];
        if (record.deltaFrames.load(std::memory_order_acquire) != MidiEventRecord::kFree) continue;
        record.type = event.type;
        record.byteSize = event.byteSize;
        record.flags = event.flags;
        record.noteLength = event.noteLength;
        record.noteOffset = event.noteOffset;
        for (int i = 0; i < 4; ++i) record.midiData[i] = static_cast<uint8_t>(event.midiData[i]);
        record.detune = static_cast<int8_t>(event.detune);
        record.noteOffVelocity = static_cast<uint8_t>(event.noteOffVelocity);
        record.reserved1 = 99;
        record.reserved2 = static_cast<uint8_t>(event.reserved2);
        // Hosts must not send negative offsets; such an event runs at once rather
        // than holding its record forever.
        const int32_t delta = event.deltaFrames < 0 ? 0 : event.deltaFrames;
        pending_.fetch_add(1, std::memory_order_acq_rel);
        record.deltaFrames.store(delta, std::memory_order_release);
        return true;
    }
    return drop();
}

bool MidiEventPool::drop() {
    dropped_.store(dropped_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
    return false;
}
