// Parameters whose controls must be brought up to date at the editor's next
// idle, marked from any thread: one bit per parameter, set with an atomic OR
// and taken word by word with an atomic exchange. Never blocks, never allocates.
#pragma once

#include <atomic>
#include <cstdint>

namespace editor {

template <int Count>
class DirtyTags {
public:
    void mark(int index) {
        if (index < 0 || index >= Count) return;
        words[index / 64].fetch_or(uint64_t(1) << (index % 64), std::memory_order_relaxed);
        any.store(true, std::memory_order_release);
    }
    bool pending() const { return any.load(std::memory_order_acquire); }
    void clear() {
        any.store(false, std::memory_order_relaxed);
        for (auto& w : words) w.store(0, std::memory_order_relaxed);
    }
    // Calls f(index) for every marked index and unmarks it (the user-interface thread).
    template <typename F>
    void take(F&& f) {
        if (!any.exchange(false, std::memory_order_acq_rel)) return;
        for (int w = 0; w < kWords; ++w) {
            uint64_t bits = words[w].exchange(0, std::memory_order_acq_rel);
            while (bits) {
                int bit = __builtin_ctzll(bits);
                bits &= bits - 1;
                f(w * 64 + bit);
            }
        }
    }

private:
    static constexpr int kWords = (Count + 63) / 64;
    std::atomic<uint64_t> words[kWords] = {};
    std::atomic<bool> any{false};
};

}  // namespace editor
