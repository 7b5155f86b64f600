// Writes changed MIDI controller bindings to the settings from a background
// thread, so that learning a controller on the audio thread never touches a file.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Relaxed.h"
#include "platform/SettingsStore.h"

class BindingWriter {
public:
    static constexpr int kControllers = 128;

    // `map` is the live controller-to-parameter map the writer reads from.
    BindingWriter(platform::SettingsStore& settings, const Relaxed<int32_t>* map);
    ~BindingWriter();  // writes what is still pending

    BindingWriter(const BindingWriter&) = delete;
    BindingWriter& operator=(const BindingWriter&) = delete;

    // Lock-free; safe on the audio thread.
    void markChanged(int controller);
    // Writes everything pending now (used by tests and at shutdown).
    void flush();

private:
    void run();

    platform::SettingsStore& settings;
    const Relaxed<int32_t>* map;
    std::atomic<bool> dirty[kControllers] = {};
    std::atomic<bool> anyDirty{false};
    std::mutex writeMutex;  // serialises flushes from the worker and other threads
    std::mutex wakeMutex;
    std::condition_variable wake;
    bool stopping = false;
    std::thread worker;
};
