// Shared helpers for tests that drive the plug-in through the host interface.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Sounds.h"
#include "host/APlugin.h"
#include "vsthost/PluginHost.h"

namespace testing_support {

struct Render {
    std::vector<float> left, right;
};

// A private settings directory for this test process (set before any plug-in loads).
const std::string& configHome();

// The program the tests turn into the default sound (every parameter at its
// default value); it stays selected.
constexpr int kDefaultSoundProgram = sounds::kDefaultSoundProgram;

// Loads Brennix.so as a host does; the test fails if it cannot. When
// `defaultSound` is set, program kDefaultSoundProgram is given the default
// sound through setParameter and selected again, so that it starts from it.
std::unique_ptr<vsthost::PluginHost> loadPlugin(float sampleRate = 44100.0f,
                                                int32_t blockSize = 512, bool defaultSound = true);

// An APlugin built directly (not through the library), for behaviour a host
// cannot observe. Its host callback answers the version and nothing else.
std::unique_ptr<APlugin> makePlugin(bool defaultSound = true);
// What makePlugin does for `defaultSound`: program kDefaultSoundProgram gets
// every parameter's default value and is selected again.
void selectDefaultSound(APlugin& plugin);
// Queues `events` (deltaFrames relative to this block) and processes `frames` samples.
Render processDirect(APlugin& plugin, int frames, const std::vector<VstMidiEvent>& events = {});

// Sets parameters for a plain, directly audible test sound: oscillator 1 alone
// as a sine at full volume, both filters bypassed, instant attack, full sustain,
// instant release, no velocity dependence.
void setPlainSine(vsthost::PluginHost& host);
void setPlainSine(APlugin& plugin);

// A note event (deltaFrames = absolute sample position for renderFrames).
VstMidiEvent noteOn(int position, int key, int velocity = 100);
VstMidiEvent noteOff(int position, int key);
VstMidiEvent controller(int position, int number, int value);

// A file name in this test process's private directory.
std::string tempPath(const std::string& name);
std::string readText(const std::string& path);
void writeText(const std::string& path, const std::string& text);

// Renders `frames` samples in blocks of `block`, sending `events` at their
// absolute sample positions (deltaFrames is taken as absolute).
Render renderFrames(vsthost::PluginHost& host, int frames, int block,
                    std::vector<VstMidiEvent> events = {});

}  // namespace testing_support
