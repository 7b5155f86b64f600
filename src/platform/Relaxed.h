// A value shared between the host's UI thread and its audio thread.
// Every access is a relaxed atomic load or store: on x86-64 this compiles to a
// plain move, but it keeps concurrent access well-defined.
#pragma once

#include <atomic>

template <typename T>
class Relaxed {
public:
    constexpr Relaxed() noexcept : value_(T()) {}
    constexpr Relaxed(T v) noexcept : value_(v) {}  // NOLINT: implicit by design
    Relaxed(const Relaxed& other) noexcept : value_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T v) noexcept {
        store(v);
        return *this;
    }
    operator T() const noexcept { return load(); }  // NOLINT: implicit by design

    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T v) noexcept { value_.store(v, std::memory_order_relaxed); }

private:
    static_assert(std::atomic<T>::is_always_lock_free, "shared state must be lock-free");
    std::atomic<T> value_;
};
