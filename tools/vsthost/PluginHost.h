// Loads a VST 2.4 plug-in the way a DAW does (dlopen, VSTPluginMain or main,
// dispatcher calls) and drives it: parameters, programs, MIDI, audio blocks.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "vst/Vst2.h"

namespace vsthost {

struct HostCall {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
    std::thread::id thread;  // the thread the plug-in called from
};

class PluginHost {
public:
    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the library and creates one plug-in instance; false with error() set on failure.
    bool load(const std::string& path);
    // Closes the plug-in (suspending it first unless `suspendFirst` is false,
    // as a careless host does) and releases the library.
    void unload(bool suspendFirst = true);
    const std::string& error() const { return error_; }
    AEffect* effect() const { return effect_; }

    // Host-side settings answered through the callback.
    void setHostProduct(const std::string& product) { hostProduct_ = product; }
    void setVersion(intptr_t version) { hostVersion_ = version; }
    VstTimeInfo& timeInfo() { return timeInfo_; }
    void setTimeInfoAvailable(bool available) { timeInfoAvailable_ = available; }
    // Runs on every audioMasterGetTime request, on the asking thread (inside
    // processReplacing), before the answer: a host that does its own work there.
    void setTimeRequestHook(std::function<void()> hook) { timeRequestHook_ = std::move(hook); }

    // Calls made by the plug-in into the host, in order (long renders switch
    // this off). The plug-in may call from several threads at once.
    void setRecordCalls(bool record) { recordCalls_ = record; }
    std::vector<HostCall> calls() const;
    void clearCalls();
    int countCalls(int32_t opcode) const;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    // Convenience wrappers over the dispatcher.
    void start(float sampleRate, int32_t blockSize);  // open, rate, block size, resume
    std::string effectName();
    std::string vendor();
    std::string product();
    std::string parameterName(int32_t index);
    std::string parameterDisplay(int32_t index);
    std::string programName();
    std::string programNameIndexed(int32_t index);
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    bool canDo(const char* capability);

    // Sends MIDI events (3 bytes each) for the next process call.
    void sendMidi(const std::vector<VstMidiEvent>& events);
    static VstMidiEvent midi(int32_t deltaFrames, uint8_t status, uint8_t d1, uint8_t d2);

    // Audio for the plug-in's two inputs: the following blocks read it on from
    // where the previous one stopped, and silence after its end (empty vectors:
    // silence from now on).
    void setInputSignal(std::vector<float> left, std::vector<float> right);

    // Runs one block through processReplacing into the two output vectors.
    void process(int32_t frames, std::vector<float>& left, std::vector<float>& right);

    // One block as a sequencer plays it: `time` is what audioMasterGetTime answers
    // during this block, `events` (deltaFrames within the block, sorted) go to
    // effProcessEvents first, then the plug-in renders `frames` samples into
    // left and right. Buffers are reused, so a steady block size allocates nothing.
    void processBlock(const VstTimeInfo& time, const VstMidiEvent* events, size_t count,
                      float* left, float* right, int32_t frames);

private:
    static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    void* library_ = nullptr;
    AEffect* effect_ = nullptr;
    std::string error_;
    std::string hostProduct_ = "brennix-render";
    intptr_t hostVersion_ = 2400;
    VstTimeInfo timeInfo_{};
    bool timeInfoAvailable_ = true;
    std::function<void()> timeRequestHook_;
    float sampleRate_ = 44100.0f;
    int32_t blockSize_ = 512;
    mutable std::mutex callsMutex_;
    std::vector<HostCall> calls_;
    std::atomic<bool> recordCalls_{true};
    std::vector<float> silence_;
    std::vector<float> inputSignal_[2];
    size_t inputAt_ = 0;
    std::vector<float> inputBlock_[2];
    std::vector<float> spareOutputs_;
    std::vector<float*> inputPointers_, outputPointers_;
    std::vector<VstMidiEvent> eventCopies_;
    std::vector<char> eventList_;

    void queueEvents(const VstMidiEvent* events, size_t count);
    void render(float* left, float* right, int32_t frames);
};

}  // namespace vsthost
