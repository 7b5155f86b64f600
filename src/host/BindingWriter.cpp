#include "host/BindingWriter.h"

#include <chrono>
#include <utility>
#include <vector>

BindingWriter::BindingWriter(platform::SettingsStore& settings, const Relaxed<int32_t>* map)
    : settings(settings), map(map), worker(&BindingWriter::run, this) {}

BindingWriter::~BindingWriter() {
    {
        std::lock_guard<std::mutex> lock(wakeMutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
    flush();
}

void BindingWriter::markChanged(int controller) {
    if (controller < 0 || controller >= kControllers) return;
    dirty[controller].store(true, std::memory_order_release);
    anyDirty.store(true, std::memory_order_release);
}

void BindingWriter::flush() {
    std::lock_guard<std::mutex> lock(writeMutex);
    if (!anyDirty.exchange(false, std::memory_order_acq_rel)) return;
    std::vector<std::pair<int, uint32_t>> changed;
    for (int c = 0; c < kControllers; ++c)
        if (dirty[c].exchange(false, std::memory_order_acq_rel))
            changed.emplace_back(c, static_cast<uint32_t>(map[c].load()));
    settings.writeBindings(changed);
}

void BindingWriter::run() {
    std::unique_lock<std::mutex> lock(wakeMutex);
    while (!stopping) {
        wake.wait_for(lock, std::chrono::milliseconds(100));
        lock.unlock();
        flush();
        lock.lock();
    }
}
