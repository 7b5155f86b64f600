// Counts the changes that rewrite whole programs; odd while one is being
// written. A thread beside those changes uses it to read programs whole.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

class ChangeEpoch {
public:
    uint32_t now() const { return count.load(std::memory_order_acquire); }

    // The thread holding the audio state, around a whole-program change.
    void begin() {
        count.fetch_add(1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_seq_cst);
    }
    void end() { count.fetch_add(1, std::memory_order_release); }

    // Runs `read` until it ran with no change in between.
    template <typename Read>
    void readWhole(Read&& read) const {
        for (;;) {
            const uint32_t seen = settled();
            read();
            std::atomic_thread_fence(std::memory_order_acquire);
            if (count.load(std::memory_order_relaxed) == seen) return;
        }
    }

private:
    // Changes are short copies; a thread beside one waits for its end.
    uint32_t settled() const {
        for (;;) {
            const uint32_t seen = count.load(std::memory_order_acquire);
            if (!(seen & 1)) return seen;
            std::this_thread::yield();
        }
    }

    std::atomic<uint32_t> count{0};
};
