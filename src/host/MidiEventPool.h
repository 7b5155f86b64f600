// A fixed pool of queued MIDI events. effProcessEvents copies each event into
// a free record; the per-sample loop counts the records down and executes an
// event when its sample comes up. One thread queues (the host's
// effProcessEvents thread) and one executes (the audio thread); each record's
// deltaFrames publishes it between them (-99 marks a free record).
#pragma once

#include <atomic>
#include <cstdint>

#include "vst/Vst2.h"

struct MidiEventRecord {
    static constexpr int32_t kFree = -99;

    std::atomic<int32_t> deltaFrames{kFree};
    int32_t type = kVstMidiType;
    int32_t byteSize = 0;
    int32_t flags = 0;
    int32_t noteLength = 0;
    int32_t noteOffset = 0;
    uint8_t midiData[4] = {};
    int8_t detune = 0;
    uint8_t noteOffVelocity = 0;
    uint8_t reserved1 = 99;
    uint8_t reserved2 = 0;
};

class MidiEventPool {
public:
    static constexpr int kRecords = 251;  // record 0 is never used
    static constexpr int kMaxPending = 250;

    // Queues a copy; false when the pool is full and the event is dropped.
    bool queue(const VstMidiEvent& event);

    int pendingCount() const { return pending_.load(std::memory_order_acquire); }
    // Events executed since construction (wrapping); the audio thread counts,
    // any thread may read. With the pending count it tells whether every
    // event that was queued has been played.
    uint32_t executedCount() const { return executed_.load(std::memory_order_relaxed); }
    // Events refused because the pool was full (wrapping).
    uint32_t droppedCount() const { return dropped_.load(std::memory_order_relaxed); }

    // One sample: executes the records that are due, counts the others down.
    // An event queued with deltaFrames d runs at sample d of its block.
    template <typename Execute>
    void runStep(Execute&& execute) {
        for (int r = 1; r < kRecords; ++r) {
            MidiEventRecord& record = records_[r];
            int32_t d = record.deltaFrames.load(std::memory_order_acquire);
            if (d == MidiEventRecord::kFree) continue;
            if (d > 0) {
                record.deltaFrames.store(d - 1, std::memory_order_relaxed);
                continue;
            }
            if (pending_.fetch_sub(1, std::memory_order_acq_rel) <= 0) {
                pending_.store(0, std::memory_order_release);
                return;
            }
            execute(static_cast<const MidiEventRecord&>(record));
            executed_.store(executed_.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
            record.deltaFrames.store(MidiEventRecord::kFree, std::memory_order_release);
        }
    }

    // After a step: how many following samples hold no event (`limit` at most).
    int quietSteps(int limit) const {
        int quiet = limit;
        for (int r = 1; r < kRecords; ++r) {
            const int32_t d = records_[r].deltaFrames.load(std::memory_order_acquire);
            if (d != MidiEventRecord::kFree && d < quiet) quiet = d < 0 ? 0 : d;
        }
        return quiet;
    }

    // Counts the waiting records down by `steps` samples that hold no event
    // (at most quietSteps() of them), as that many runStep calls would.
    void skipSteps(int steps) {
        if (steps <= 0) return;
        for (int r = 1; r < kRecords; ++r) {
            MidiEventRecord& record = records_[r];
            const int32_t d = record.deltaFrames.load(std::memory_order_acquire);
            if (d == MidiEventRecord::kFree) continue;
            // A record queued meanwhile by another thread is at most due at once.
            record.deltaFrames.store(d > steps ? d - steps : 0, std::memory_order_relaxed);
        }
    }

private:
    bool drop();

    MidiEventRecord records_[kRecords];
    std::atomic<int> pending_{0};
    std::atomic<uint32_t> executed_{0};  // one writer: the audio thread
    std::atomic<uint32_t> dropped_{0};   // one writer: the queueing thread
};
