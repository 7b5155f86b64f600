#include "params/SampleLoader.h"

#include <pthread.h>

#include <cerrno>
#include <system_error>

#include "params/SampleFileLoad.h"
#include "platform/MessageBox.h"

namespace samples {

SampleLoader::SampleLoader() : buffer_(makeSampleBuffer()) { sem_init(&wake_, 0, 0); }

SampleLoader::~SampleLoader() {
    stop();
    sem_destroy(&wake_);
}

void SampleLoader::stop() {
    if (!thread_.joinable()) return;
    running_.store(false, std::memory_order_relaxed);
    stopping_.store(true, std::memory_order_relaxed);
    sem_post(&wake_);
    thread_.join();
}

void SampleLoader::start(const std::string& baseDirectory) {
    if (thread_.joinable() || !buffer_) return;
    baseDirectory_ = baseDirectory;
    try {
        thread_ = std::thread([this] { run(); });
        pthread_setname_np(thread_.native_handle(), "brennix-samples");
        running_.store(true, std::memory_order_release);
    } catch (const std::system_error&) {
        // Without a thread no load is ever taken on; the sample source stays silent.
    }
}

bool SampleLoader::post(const LoadRequest& request) {
    if (!running_.load(std::memory_order_acquire) || phase_.load(std::memory_order_acquire) != Idle)
        return false;
    request_ = request;
    phase_.store(Requested, std::memory_order_release);
    sem_post(&wake_);
    return true;
}

bool SampleLoader::collect(LoadResult& result) {
    if (phase_.load(std::memory_order_acquire) != Done) return false;
    result = result_;
    phase_.store(Idle, std::memory_order_release);
    return true;
}

void SampleLoader::run() {
    while (!stopping_.load(std::memory_order_relaxed)) {
        if (sem_wait(&wake_) != 0 && errno == EINTR) continue;
        if (stopping_.load(std::memory_order_relaxed)) break;
        if (phase_.load(std::memory_order_acquire) == Requested) load();
    }
}

void SampleLoader::load() {
    const LoadOutcome outcome = loadSample(request_.path, baseDirectory_, *buffer_, &stopping_);
    if (!outcome.message.empty() && messageShownFor_ != request_.generation) {
        messageShownFor_ = request_.generation;
        platform::showMessage(outcome.message);
    }
    result_.ok = outcome.result.ok;
    result_.frames = outcome.result.frames;
    result_.fileSampleRate = outcome.result.fileSampleRate;
    result_.generation = request_.generation;
    result_.automatic = request_.automatic;
    phase_.store(Done, std::memory_order_release);
}

}  // namespace samples
