#include "TransportSupport.h"

#include <algorithm>
#include <cmath>

namespace testing_support {

Render renderTransport(vsthost::PluginHost& host, Transport& t, int frames, int block,
                       std::vector<VstMidiEvent> events,
                       const std::function<void(int, Transport&)>& beforeBlock) {
    std::stable_sort(events.begin(), events.end(), [](const VstMidiEvent& a, const VstMidiEvent& b) {
        return a.deltaFrames < b.deltaFrames;
    });
    Render out;
    out.left.assign(size_t(frames), 0.0f);
    out.right.assign(size_t(frames), 0.0f);
    size_t next = 0;
    std::vector<VstMidiEvent> due;
    for (int start = 0; start < frames; start += block) {
        if (beforeBlock) beforeBlock(start, t);
        const int n = std::min(block, frames - start);
        due.clear();
        while (next < events.size() && events[next].deltaFrames < start + n) {
            VstMidiEvent e = events[next++];
            e.deltaFrames -= start;
            due.push_back(e);
        }
        VstTimeInfo time{};
        time.sampleRate = t.sampleRate;
        time.samplePos = start;
        time.tempo = t.tempo;
        time.ppqPos = t.ppq;
        time.flags = (t.playing ? kVstTransportPlaying : 0) | (t.tempoValid ? kVstTempoValid : 0) |
                     (t.positionValid ? kVstPpqPosValid : 0);
        host.setTimeInfoAvailable(t.timeInfo);
        host.processBlock(time, due.data(), due.size(), out.left.data() + start,
                          out.right.data() + start, n);
        if (t.playing && std::isfinite(t.tempo)) t.ppq += n * t.tempo / (60.0 * t.sampleRate);
    }
    return out;
}

std::vector<long> onsets(const std::vector<float>& x, double threshold, int gap) {
    std::vector<long> found;
    int quiet = gap;
    for (size_t i = 1; i < x.size(); ++i) {
        if (std::fabs(double(x[i]) - double(x[i - 1])) > threshold) {
            if (quiet >= gap) found.push_back(long(i));
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    return found;
}

}  // namespace testing_support
