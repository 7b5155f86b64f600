// The audition button's presses and releases. The user-interface thread is the
// only writer; the audio thread plays them at the start of its next block.
#pragma once

#include <atomic>
#include <cstdint>

class AuditionRequests {
public:
    // User-interface thread. Presses and releases alternate: odd counts are presses.
    void press() { change(true); }
    void release() { change(false); }

    // Audio thread: what happened since the last look. A release comes first,
    // then the latest press if the button is down; a click that came and went
    // between two blocks leaves nothing to play.
    template <typename Start, typename Stop>
    void take(Start&& start, Stop&& stop) {
        const uint32_t now = count.load(std::memory_order_acquire);
        if (now == handled) return;
        if (handled & 1) stop();
        if (now & 1) start();
        handled = now;
    }

private:
    void change(bool down) {
        if (down == pressed) return;
        pressed = down;
        count.fetch_add(1, std::memory_order_release);
    }

    std::atomic<uint32_t> count{0};
    bool pressed = false;   // user-interface thread
    uint32_t handled = 0;   // audio thread
};
