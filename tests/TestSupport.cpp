#include "TestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>

namespace testing_support {

const std::string& configHome() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/brennix-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        std::string d = made ? made : "/tmp";
        setenv("XDG_CONFIG_HOME", d.c_str(), 1);
        return d;
    }();
    return dir;
}

namespace {
// Make sure the environment is set before main() runs any test.
const bool configured = !configHome().empty();
}  // namespace

std::unique_ptr<vsthost::PluginHost> loadPlugin(float sampleRate, int32_t blockSize) {
    (void)configured;
    auto host = std::make_unique<vsthost::PluginHost>();
    EXPECT_TRUE(host->load(BRENNIX_PLUGIN_PATH)) << host->error();
    host->start(sampleRate, blockSize);
    return host;
}

Render renderFrames(vsthost::PluginHost& host, int frames, int block,
                    std::vector<VstMidiEvent> events) {
    Render out;
    std::stable_sort(events.begin(), events.end(), [](const VstMidiEvent& a, const VstMidiEvent& b) {
        return a.deltaFrames < b.deltaFrames;
    });
    size_t next = 0;
    std::vector<float> l, r;
    for (int start = 0; start < frames; start += block) {
        int n = std::min(block, frames - start);
        std::vector<VstMidiEvent> due;
        while (next < events.size() && events[next].deltaFrames < start + n) {
            VstMidiEvent e = events[next++];
            e.deltaFrames -= start;
            due.push_back(e);
        }
        host.sendMidi(due);
        host.process(n, l, r);
        out.left.insert(out.left.end(), l.begin(), l.end());
        out.right.insert(out.right.end(), r.begin(), r.end());
    }
    return out;
}

}  // namespace testing_support
