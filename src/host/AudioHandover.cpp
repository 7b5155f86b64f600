#include "host/AudioHandover.h"

#include <chrono>
#include <thread>

thread_local const AudioHandover* AudioHandover::blockOwner = nullptr;

namespace {
int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Unique among the threads alive at the same time.
uintptr_t threadToken() {
    static thread_local char marker;
    return reinterpret_cast<uintptr_t>(&marker);
}

// How long a thread waiting for the audio thread sleeps between looks.
constexpr auto kPoll = std::chrono::microseconds(100);
}  // namespace

bool AudioHandover::enterBlock() {
    const uint32_t before = holders.fetch_or(kAudio, std::memory_order_acq_rel);
    lastBlockMs.store(nowMs(), std::memory_order_relaxed);
    audioThread.store(threadToken(), std::memory_order_relaxed);
    processing.store(true, std::memory_order_relaxed);
    if (before & kOther) {
        holders.fetch_and(~kAudio, std::memory_order_release);
        skipped.store(skipped.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        return false;
    }
    blockOwner = this;
    if (handed.load(std::memory_order_acquire)) {
        Job* job = handed.exchange(nullptr, std::memory_order_acq_rel);
        job->function(job->context);
        job->done.store(true, std::memory_order_release);
    }
    return true;
}

void AudioHandover::leaveBlock() {
    blockOwner = nullptr;
    holders.fetch_and(~kAudio, std::memory_order_release);
}

bool AudioHandover::onAudioThread() const {
    return audioThread.load(std::memory_order_relaxed) == threadToken();
}

bool AudioHandover::audioIdle() const {
    return !processing.load(std::memory_order_relaxed) ||
           nowMs() - lastBlockMs.load(std::memory_order_relaxed) > kIdleMs;
}

bool AudioHandover::tryHold() {
    const uint32_t before = holders.fetch_or(kOther, std::memory_order_acq_rel);
    if (!(before & kAudio)) return true;
    holders.fetch_and(~kOther, std::memory_order_release);
    return false;
}

void AudioHandover::release() { holders.fetch_and(~kOther, std::memory_order_release); }

void AudioHandover::run(Job& job) {
    if (insideBlock()) {
        job.function(job.context);
        return;
    }
    std::lock_guard<std::mutex> lock(senders);
    // A host that processes and calls us from the same thread, or an audio
    // thread that is not running: nobody to hand over to.
    if ((onAudioThread() || audioIdle()) && tryHold()) {
        job.function(job.context);
        release();
        return;
    }
    handed.store(&job, std::memory_order_release);
    while (!job.done.load(std::memory_order_acquire)) {
        std::this_thread::sleep_for(kPoll);
        if (!audioIdle() || !tryHold()) continue;
        // The audio thread stopped before taking the job: run it here.
        if (Job* mine = handed.exchange(nullptr, std::memory_order_acq_rel)) {
            mine->function(mine->context);
            mine->done.store(true, std::memory_order_relaxed);
        }
        release();
    }
}
