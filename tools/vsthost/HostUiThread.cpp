#include "vsthost/HostUiThread.h"

#include <pthread.h>
#include <time.h>

#include <chrono>
#include <cstdlib>

#include "params/ParamIds.h"

#include <X11/Xlib.h>

namespace {

// A triangle between lo and hi over `period` idle ticks.
float triangle(long tick, long period, float lo, float hi) {
    const float phase = float(tick % period) / float(period);
    const float up = phase < 0.5f ? 2.0f * phase : 2.0f - 2.0f * phase;
    return lo + (hi - lo) * up;
}

}  // namespace

bool HostUiThread::displayAvailable(std::string& why) {
    if (!std::getenv("DISPLAY")) {
        why = "DISPLAY is not set";
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        why = std::string("cannot open display ") + std::getenv("DISPLAY");
        return false;
    }
    XCloseDisplay(display);
    return true;
}

double HostUiThread::cpuSeconds() {
    clockid_t clock;
    timespec t{};
    if (pthread_getcpuclockid(thread.native_handle(), &clock) != 0 || clock_gettime(clock, &t) != 0) return 0.0;
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

HostUiThread::HostUiThread(vsthost::PluginHost& h, bool openEditor) : host(h), withEditor(openEditor) {
    std::future<void> ready = started.get_future();
    thread = std::thread([this] { run(); });
    ready.wait();
}

HostUiThread::~HostUiThread() {
    stop.store(true, std::memory_order_relaxed);
    thread.join();
}

// Three knobs, each sweeping at its own pace: the filter's frequency and
// resonance and the first oscillator's volume.
void HostUiThread::automate(long tick) {
    host.setParameter(prm::FilterFrequency, triangle(tick, 133, 0.35f, 0.85f));
    host.setParameter(prm::FilterResonance, triangle(tick, 200, 0.05f, 0.45f));
    host.setParameter(prm::Osc1Volume, triangle(tick, 90, 0.6f, 1.0f));
}

void HostUiThread::run() {
    Display* display = nullptr;
    Window window = 0;
    if (withEditor) {
        display = XOpenDisplay(nullptr);
        if (display) {
            window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1000, 600, 0, 0, 0x202020);
            XMapWindow(display, window);
            XSync(display, False);
            opened = host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 1;
            if (!opened) failure = "the editor did not open";
        } else {
            failure = "cannot open the X display";
        }
    }
    started.set_value();
    if (ok()) {
        auto next = std::chrono::steady_clock::now();
        for (long tick = 0; !stop.load(std::memory_order_relaxed); ++tick) {
            automate(tick);
            host.dispatch(effEditIdle);
            idleCount.fetch_add(1, std::memory_order_relaxed);
            next += std::chrono::milliseconds(kIdleMs);
            std::this_thread::sleep_until(next);
        }
    }
    if (opened) host.dispatch(effEditClose);
    if (display) {
        if (window) XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
}
