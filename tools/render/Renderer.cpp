#include "Renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace render {

int64_t latencyFrames(vsthost::PluginHost& host) {
    AEffect* e = host.effect();
    return e ? std::clamp<int64_t>(e->initialDelay, 0, 1 << 24) : 0;
}

bool renderSong(vsthost::PluginHost& host, Sequencer& sequencer, WavWriter& wav,
                const Progress& progress, RenderResult& result, std::string& error,
                const AudioTap& tap) {
    result = RenderResult{};
    const uint64_t framesBefore = wav.frames(), invalidBefore = wav.nonFiniteSamples();
    host.setRecordCalls(false);
    host.dispatch(effStartProcess);

    const double total = static_cast<double>(std::max<int64_t>(sequencer.totalFrames(), 1));
    int64_t skip = latencyFrames(host);
    std::vector<float> left, right;
    Sequencer::Block block;
    bool ok = true;
    while (ok && sequencer.next(block)) {
        const auto frames = static_cast<size_t>(block.frames);
        if (left.size() < frames) {
            left.resize(frames);
            right.resize(frames);
        }
        host.processBlock(block.time, block.events.data(), block.events.size(), left.data(),
                          right.data(), block.frames);
        const auto dropped = static_cast<size_t>(std::min<int64_t>(skip, block.frames));
        skip -= static_cast<int64_t>(dropped);
        for (size_t i = dropped; i < frames; ++i) {
            for (float x : {left[i], right[i]})
                if (std::isfinite(x)) result.peak = std::max(result.peak, std::fabs(x));
        }
        if (frames > dropped && !wav.write(left.data() + dropped, right.data() + dropped, frames - dropped)) {
            error = wav.error();
            ok = false;
        }
        if (ok && frames > dropped && tap) tap(left.data() + dropped, right.data() + dropped, frames - dropped);
        if (progress) progress(static_cast<double>(block.start + block.frames) / total);
    }
    host.dispatch(effStopProcess);
    result.frames = wav.frames() - framesBefore;
    result.nonFiniteSamples = wav.nonFiniteSamples() - invalidBefore;
    return ok;
}

}  // namespace render
