// Display updates raised where the host and the editor may not be called (the
// audio thread) and delivered later from a user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>

class DisplayNotices {
public:
    static constexpr uint32_t kHost = 1;           // audioMasterUpdateDisplay
    static constexpr uint32_t kEditorRefresh = 2;  // every control
    static constexpr uint32_t kEditorName = 4;     // the program name

    void raise(uint32_t which) { bits.fetch_or(which, std::memory_order_release); }
    uint32_t take() {
        return bits.load(std::memory_order_relaxed) ? bits.exchange(0, std::memory_order_acq_rel) : 0;
    }

private:
    std::atomic<uint32_t> bits{0};
};
