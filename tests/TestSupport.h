// Shared helpers for tests that drive the plug-in through the host interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vsthost/PluginHost.h"

namespace testing_support {

// A private settings directory for this test process (set before any plug-in loads).
const std::string& configHome();

// Loads Brennix.so as a host does; the test fails if it cannot.
std::unique_ptr<vsthost::PluginHost> loadPlugin(float sampleRate = 44100.0f,
                                                int32_t blockSize = 512);

// Renders `frames` samples in blocks of `block`, sending `events` at their
// absolute sample positions (deltaFrames is taken as absolute).
struct Render {
    std::vector<float> left, right;
};
Render renderFrames(vsthost::PluginHost& host, int frames, int block,
                    std::vector<VstMidiEvent> events = {});

}  // namespace testing_support
