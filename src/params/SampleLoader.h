// The sample loader: a thread owned by the plug-in that runs the WAV and AIFF
// parsers away from the audio thread. The audio thread asks for a load at its
// 512-sample boundary and collects the result at a later one; it never waits.
#pragma once

#include <semaphore.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "params/SampleBuffer.h"
#include "params/SamplePath.h"

namespace samples {

// A load as the audio thread asked for it.
struct LoadRequest {
    SamplePathFields path;  // the path parameters at the moment of asking
    uint32_t generation = 0;  // program selections counted at that moment
    bool automatic = false;   // a vocoder slot wants a sample (not the load request 325)
};

struct LoadResult {
    bool ok = false;
    int frames = 0;
    float fileSampleRate = 0.0f;
    uint32_t generation = 0;
    bool automatic = false;
};

class SampleLoader {
public:
    SampleLoader();
    ~SampleLoader();
    SampleLoader(const SampleLoader&) = delete;
    SampleLoader& operator=(const SampleLoader&) = delete;

    // Starts the thread; relative sample paths are taken from `baseDirectory`
    // (ending in '/'). Called once, by the constructing thread.
    void start(const std::string& baseDirectory);
    // Stops the thread (a load in progress is cut short) and joins it.
    void stop();

    // Any thread: a program was selected. A failure message may be shown again,
    // and a load asked for before is not installed.
    void programSelected() { generation_.fetch_add(1, std::memory_order_relaxed); }
    uint32_t generation() const { return generation_.load(std::memory_order_relaxed); }

    // Audio thread. `post` hands a request to the loader (false while one is
    // outstanding or when there is no loader thread); `collect` gives the
    // result once when the load has finished. Between the two the buffer
    // belongs to the loader and must not be read.
    bool post(const LoadRequest& request);
    bool collect(LoadResult& result);
    const SampleBuffer* buffer() const { return buffer_.get(); }

private:
    void run();
    void load();

    // Shared between the audio thread and the loader thread:
    // - `phase_` says who owns `request_`, `result_` and the buffer:
    //   Idle: the audio thread may write `request_`, then stores Requested
    //   (release) and posts `wake_`. Requested: the loader reads `request_`,
    //   writes the buffer and `result_`, then stores Done (release). Done: the
    //   audio thread reads `result_` (acquire) and stores Idle. While a load is
    //   outstanding the audio thread reads nothing of the buffer.
    // - `generation_`: counted up by program selection on any thread, read by
    //   the audio thread (to tag a request and to drop a stale result).
    // - `running_`: raised by start once the thread exists, lowered by stop;
    //   read by the audio thread before it posts.
    // - `stopping_`: raised by stop; the loader stops between reads.
    // - `wake_`: posted by the audio thread (sem_post neither blocks nor locks)
    //   and by the destructor; the loader thread sleeps on it.
    // Loader thread only: `messageShownFor_`, the generation whose failure
    // message has been shown (one message until the next program selection).
    // Constant after start: `baseDirectory_`, `buffer_` (the pointer).
    enum Phase : uint8_t { Idle, Requested, Done };
    std::atomic<uint8_t> phase_{Idle};
    std::atomic<uint32_t> generation_{0};
    std::atomic<bool> running_{false};
    std::atomic<bool> stopping_{false};
    sem_t wake_;
    LoadRequest request_;
    LoadResult result_;
    SampleBufferPtr buffer_;
    uint32_t messageShownFor_ = ~0u;
    std::string baseDirectory_;
    std::thread thread_;
};

}  // namespace samples
