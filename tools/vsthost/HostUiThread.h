// The host's user-interface thread while its audio thread renders: the
// plug-in's editor opened in a window of the host's own on the X display (or
// left closed), effEditIdle every 15 ms, and a few knobs the editor shows
// automated through setParameter, as a host replaying automation does.
#pragma once

#include <atomic>
#include <future>
#include <string>
#include <thread>

#include "vsthost/PluginHost.h"

class HostUiThread {
public:
    static constexpr int kIdleMs = 15;

    // Whether an X display is reachable (DISPLAY set and the server answers);
    // `why` says what is missing when not.
    static bool displayAvailable(std::string& why);

    // Starts the thread and returns once the editor is open (`openEditor`) or
    // the thread runs without it; ok() is false when the editor did not open.
    HostUiThread(vsthost::PluginHost& host, bool openEditor);
    // Stops the thread, which closes the editor and its window first.
    ~HostUiThread();
    HostUiThread(const HostUiThread&) = delete;
    HostUiThread& operator=(const HostUiThread&) = delete;

    bool ok() const { return opened || !withEditor; }
    const std::string& error() const { return failure; }
    // effEditIdle calls made so far, and the CPU time the thread has used.
    long idles() const { return idleCount.load(std::memory_order_relaxed); }
    double cpuSeconds();

private:
    void run();
    void automate(long tick);

    vsthost::PluginHost& host;
    const bool withEditor;
    bool opened = false;
    std::string failure;
    std::promise<void> started;
    std::atomic<bool> stop{false};
    std::atomic<long> idleCount{0};
    std::thread thread;
};
