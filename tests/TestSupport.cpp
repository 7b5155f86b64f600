#include "TestSupport.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Sounds.h"
#include "params/ParameterTable.h"

namespace testing_support {

const std::string& configHome() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/brennix-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        std::string d = made ? made : "/tmp";
        setenv("XDG_CONFIG_HOME", d.c_str(), 1);
        if (made) {
            // Kept apart from `dir`, which is destroyed before exit handlers run.
            static char removeAtExit[64];
            std::snprintf(removeAtExit, sizeof removeAtExit, "%s", made);
            std::atexit([] {
                std::error_code ignored;
                std::filesystem::remove_all(removeAtExit, ignored);
            });
        }
        return d;
    }();
    return dir;
}

namespace {
// Make sure the environment is set before main() runs any test.
const bool configured = !configHome().empty();
}  // namespace

std::unique_ptr<vsthost::PluginHost> loadPlugin(float sampleRate, int32_t blockSize,
                                                bool defaultSound) {
    (void)configured;
    auto host = std::make_unique<vsthost::PluginHost>();
    EXPECT_TRUE(host->load(BRENNIX_PLUGIN_PATH)) << host->error();
    host->start(sampleRate, blockSize);
    if (defaultSound) sounds::selectDefaultSound(*host);
    return host;
}

namespace {
intptr_t versionOnly(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}
}  // namespace

std::unique_ptr<APlugin> makePlugin(bool defaultSound) {
    (void)configured;
    auto plugin = std::make_unique<APlugin>(versionOnly);
    if (defaultSound) selectDefaultSound(*plugin);
    return plugin;
}

void selectDefaultSound(APlugin& plugin) {
    plugin.setProgram(kDefaultSoundProgram);
    for (int i = 0; i < prm::kCount; ++i) plugin.setParameter(i, params::defaultValue(i));
    plugin.setProgram(kDefaultSoundProgram - 1);
    plugin.setProgram(kDefaultSoundProgram);
}

Render processDirect(APlugin& plugin, int frames, const std::vector<VstMidiEvent>& events) {
    if (!events.empty()) {
        std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
        auto* list = reinterpret_cast<VstEvents*>(storage.data());
        list->numEvents = int32_t(events.size());
        std::vector<VstMidiEvent> copies = events;
        for (size_t i = 0; i < copies.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&copies[i]);
        plugin.processEvents(list);
    }
    Render out;
    out.left.assign(size_t(frames), 0.0f);
    out.right.assign(size_t(frames), 0.0f);
    std::vector<float> silence(size_t(frames) + 1, 0.0f);
    float* in[2] = {silence.data(), silence.data()};
    float* o[2] = {out.left.data(), out.right.data()};
    plugin.processReplacing(in, o, frames);
    return out;
}

namespace {
const std::pair<int, float> kPlainSine[] = {
        {17, 1.0f},  {18, 0.0f},  {19, 0.0f},   // oscillator 1 alone
        {20, 0.0f},  {21, 1.0f},  {29, 1.0f},   // sine, full volume, heard
        {25, 0.0f},  {26, 0.0f},  {27, 0.0f},   // no sub, spread or PWM
        {24, 0.5f},  {22, 0.5f},  {23, 0.5f},   // symmetry, semi and fine centred
        {60, 0.0f},  {80, 0.0f},                // both filters bypassed
        {63, 0.0f},  {9, 0.0f},                 // no drive, no drift
        {91, 0.0f},  {92, 0.0f},  {93, 1.0f},  {94, 0.5f}, {95, 0.0f},  // volume envelope
        {3, 0.0f},   {1, 1.0f},   {2, 0.5f},   {5, 0.0f},   // velocity, volume, pan, no glide
        {324, 0.0f}, {786, 0.5f},               // 1x oversampling, concert pitch
        {788, 0.5f}, {789, 0.5f},               // straight envelope segments
        {99, 0.0f},  {100, 0.0f},               // no vibrato, not even from the wheel
};
}  // namespace

std::string tempPath(const std::string& name) {
    return configHome() + "/" + std::to_string(getpid()) + "-" + name;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

void setPlainSine(vsthost::PluginHost& host) {
    for (const auto& [index, value] : kPlainSine) host.setParameter(index, value);
}

void setPlainSine(APlugin& plugin) {
    for (const auto& [index, value] : kPlainSine) plugin.setParameter(index, value);
}

VstMidiEvent noteOn(int position, int key, int velocity) {
    return vsthost::PluginHost::midi(position, 0x90, uint8_t(key), uint8_t(velocity));
}

VstMidiEvent noteOff(int position, int key) {
    return vsthost::PluginHost::midi(position, 0x80, uint8_t(key), 0);
}

VstMidiEvent controller(int position, int number, int value) {
    return vsthost::PluginHost::midi(position, 0xB0, uint8_t(number), uint8_t(value));
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
