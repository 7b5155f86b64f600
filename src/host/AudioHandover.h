// Where work that rewrites the audio thread's state runs (whole programs, the
// sample rate). One thread holds that state at a time: the audio thread for
// the length of each block, or another thread that found the audio thread
// idle. Work from another thread is handed to the start of the audio thread's
// next block and waited for; when the audio thread has stopped processing, the
// caller runs the work itself. The audio thread never waits: a block that
// starts while another thread holds the state leaves it alone.
// docs/threads.md describes the whole protocol.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <type_traits>

class AudioHandover {
public:
    // A resumed audio thread that has started no block for this long counts as stopped.
    static constexpr int64_t kIdleMs = 200;

    // Audio thread, at the start of every processing call: false while another
    // thread holds the state (the block must then leave it alone and needs no
    // leaveBlock). Otherwise runs the work handed over, if any.
    bool enterBlock();
    void leaveBlock();
    // True on the audio thread between enterBlock and leaveBlock.
    bool insideBlock() const { return blockOwner == this; }
    // True on the thread that ran the latest block, inside a block or not.
    bool onAudioThread() const;
    // Work waiting for the audio thread or running.
    bool busy() const { return handed.load(std::memory_order_acquire) != nullptr; }
    // Blocks left silent because another thread held the state (wrapping).
    uint32_t skippedBlocks() const { return skipped.load(std::memory_order_relaxed); }

    // resume (true) and suspend (false): a suspended host sends no blocks.
    void setProcessing(bool resumed) { processing.store(resumed, std::memory_order_relaxed); }

    // Any thread: runs `work` while holding the audio state; returns when it has run.
    template <typename Work>
    void run(Work&& work) {
        Job job{&call<std::remove_reference_t<Work>>, &work};
        run(job);
    }

private:
    struct Job {
        void (*function)(void*);
        void* context;
        std::atomic<bool> done{false};
    };
    template <typename Work>
    static void call(void* work) {
        (*static_cast<Work*>(work))();
    }
    void run(Job& job);
    bool audioIdle() const;
    bool tryHold();
    void release();

    static constexpr uint32_t kAudio = 1;  // the audio thread is in a block
    static constexpr uint32_t kOther = 2;  // another thread holds the state
    static thread_local const AudioHandover* blockOwner;

    std::atomic<uint32_t> holders{0};
    std::atomic<Job*> handed{nullptr};
    std::atomic<int64_t> lastBlockMs{INT64_MIN / 2};
    std::atomic<uintptr_t> audioThread{0};
    std::atomic<bool> processing{false};
    std::atomic<uint32_t> skipped{0};  // one writer: the audio thread
    std::mutex senders;  // one job in hand at a time; never taken on the audio thread's block
};
