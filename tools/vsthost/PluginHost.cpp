#include "vsthost/PluginHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace vsthost {
namespace {
using EntryProc = AEffect* (*)(audioMasterCallback);

// The plug-in asks for the host's version before an AEffect exists.
thread_local PluginHost* loadingHost = nullptr;

std::string text(PluginHost& host, int32_t opcode, int32_t index = 0) {
    char buffer[256] = {};
    host.dispatch(opcode, index, 0, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}
}  // namespace

PluginHost::~PluginHost() { unload(); }

bool PluginHost::load(const std::string& path) {
    unload();
    library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        const char* why = dlerror();
        error_ = std::string("cannot load ") + path + ": " + (why ? why : "unknown error");
        return false;
    }
    auto entry = reinterpret_cast<EntryProc>(dlsym(library_, "VSTPluginMain"));
    if (!entry) entry = reinterpret_cast<EntryProc>(dlsym(library_, "main"));
    if (!entry) {
        error_ = path + " exports neither VSTPluginMain nor main";
        unload();
        return false;
    }
    loadingHost = this;
    effect_ = entry(&PluginHost::callback);
    loadingHost = nullptr;
    if (!effect_ || effect_->magic != kEffectMagic) {
        error_ = path + " did not create a VST 2 plug-in";
        effect_ = nullptr;
        unload();
        return false;
    }
    effect_->resvd1 = reinterpret_cast<intptr_t>(this);
    return true;
}

void PluginHost::unload(bool suspendFirst) {
    if (effect_) {
        if (suspendFirst) dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
        effect_ = nullptr;
    }
    if (library_) {
        dlclose(library_);
        library_ = nullptr;
    }
}

std::vector<HostCall> PluginHost::calls() const {
    std::lock_guard<std::mutex> lock(callsMutex_);
    return calls_;
}

void PluginHost::clearCalls() {
    std::lock_guard<std::mutex> lock(callsMutex_);
    calls_.clear();
}

int PluginHost::countCalls(int32_t opcode) const {
    std::lock_guard<std::mutex> lock(callsMutex_);
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

intptr_t PluginHost::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

intptr_t PluginHost::callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                              void* ptr, float opt) {
    PluginHost* host = effect && effect->resvd1 ? reinterpret_cast<PluginHost*>(effect->resvd1)
                                                : loadingHost;
    if (!host) return opcode == audioMasterVersion ? 2400 : 0;
    return host->answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (recordCalls_) {
        std::lock_guard<std::mutex> lock(callsMutex_);
        calls_.push_back(HostCall{opcode, index, value, opt, std::this_thread::get_id()});
    }
    switch (opcode) {
        case audioMasterVersion:
            return hostVersion_;
        case audioMasterGetTime:
            if (timeRequestHook_) timeRequestHook_();
            if (!timeInfoAvailable_) return 0;
            timeInfo_.sampleRate = sampleRate_;
            return reinterpret_cast<intptr_t>(&timeInfo_);
        case audioMasterGetSampleRate:
            return static_cast<intptr_t>(sampleRate_);
        case audioMasterGetBlockSize:
            return blockSize_;
        case audioMasterGetProductString:
            if (ptr) {
                std::strncpy(static_cast<char*>(ptr), hostProduct_.c_str(), 63);
                static_cast<char*>(ptr)[63] = 0;
            }
            return 1;
        case audioMasterGetVendorString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "Ardeko");
            return 1;
        case audioMasterGetVendorVersion:
            return 1;
        case audioMasterCanDo: {
            const char* what = static_cast<const char*>(ptr);
            if (!what) return 0;
            for (const char* yes : {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                    "sizeWindow"})
                if (std::strcmp(what, yes) == 0) return 1;
            return 0;
        }
        case audioMasterWantMidi:
        case audioMasterAutomate:
        case audioMasterUpdateDisplay:
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterSizeWindow:
        case audioMasterIOChanged:
            return 1;
        default:
            return 0;
    }
}

void PluginHost::start(float sampleRate, int32_t blockSize) {
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

std::string PluginHost::effectName() { return text(*this, effGetEffectName); }
std::string PluginHost::vendor() { return text(*this, effGetVendorString); }
std::string PluginHost::product() { return text(*this, effGetProductString); }
std::string PluginHost::parameterName(int32_t index) { return text(*this, effGetParamName, index); }
std::string PluginHost::parameterDisplay(int32_t index) {
    return text(*this, effGetParamDisplay, index);
}
std::string PluginHost::programName() { return text(*this, effGetProgramName); }
std::string PluginHost::programNameIndexed(int32_t index) {
    char buffer[256] = {};
    dispatch(effGetProgramNameIndexed, index, -1, buffer);
    return buffer;
}

void PluginHost::setParameter(int32_t index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}

float PluginHost::getParameter(int32_t index) {
    return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

bool PluginHost::canDo(const char* capability) {
    return dispatch(effCanDo, 0, 0, const_cast<char*>(capability)) == 1;
}

VstMidiEvent PluginHost::midi(int32_t deltaFrames, uint8_t status, uint8_t d1, uint8_t d2) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = deltaFrames;
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(d1);
    e.midiData[2] = static_cast<char>(d2);
    return e;
}

void PluginHost::queueEvents(const VstMidiEvent* events, size_t count) {
    if (count == 0) return;
    // VstEvents ends in a variable-length pointer array.
    eventCopies_.assign(events, events + count);
    size_t bytes = sizeof(VstEvents) + count * sizeof(VstEvent*);
    if (eventList_.size() < bytes) eventList_.resize(bytes);
    auto* list = reinterpret_cast<VstEvents*>(eventList_.data());
    list->numEvents = static_cast<int32_t>(count);
    list->reserved = 0;
    for (size_t i = 0; i < count; ++i)
        list->events[i] = reinterpret_cast<VstEvent*>(&eventCopies_[i]);
    dispatch(effProcessEvents, 0, 0, list);
}

void PluginHost::sendMidi(const std::vector<VstMidiEvent>& events) {
    queueEvents(events.data(), events.size());
}

void PluginHost::render(float* left, float* right, int32_t frames) {
    if (frames < 0) frames = 0;
    if (frames > 0) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
    }
    if (!effect_) return;
    // Every pin the plug-in declares gets a buffer, even beyond the stereo pair kept
    // here: a plug-in with four outputs writes four channels.
    constexpr int32_t kMaxPins = 256;
    const int32_t ins = std::clamp(effect_->numInputs, 2, kMaxPins);
    const int32_t outs = std::clamp(effect_->numOutputs, 2, kMaxPins);
    const size_t n = static_cast<size_t>(std::max(frames, 1));
    if (silence_.size() < n) silence_.resize(n);
    std::fill(silence_.begin(), silence_.begin() + frames, 0.0f);
    const size_t spare = static_cast<size_t>(outs - 2) * n;
    if (spareOutputs_.size() < spare) spareOutputs_.resize(spare);
    std::fill(spareOutputs_.begin(), spareOutputs_.begin() + static_cast<std::ptrdiff_t>(spare), 0.0f);
    inputPointers_.assign(static_cast<size_t>(ins), silence_.data());
    if (!inputSignal_[0].empty() || !inputSignal_[1].empty()) {
        for (int c = 0; c < 2; ++c) {
            const std::vector<float>& signal = inputSignal_[c];
            std::vector<float>& block = inputBlock_[c];
            block.assign(n, 0.0f);
            for (size_t i = 0; i < size_t(frames) && inputAt_ + i < signal.size(); ++i) block[i] = signal[inputAt_ + i];
            inputPointers_[size_t(c)] = block.data();
        }
        inputAt_ += size_t(frames);
    }
    outputPointers_.assign(static_cast<size_t>(outs), nullptr);
    outputPointers_[0] = left;
    outputPointers_[1] = right;
    for (int32_t i = 2; i < outs; ++i)
        outputPointers_[static_cast<size_t>(i)] = spareOutputs_.data() + static_cast<size_t>(i - 2) * n;
    // Old plug-ins without processReplacing only have the accumulating entry;
    // the outputs are zeroed above, so both give the same result.
    if ((effect_->flags & effFlagsCanReplacing) && effect_->processReplacing)
        effect_->processReplacing(effect_, inputPointers_.data(), outputPointers_.data(), frames);
    else if (effect_->process)
        effect_->process(effect_, inputPointers_.data(), outputPointers_.data(), frames);
}

void PluginHost::setInputSignal(std::vector<float> left, std::vector<float> right) {
    inputSignal_[0] = std::move(left);
    inputSignal_[1] = std::move(right);
    inputAt_ = 0;
}

void PluginHost::process(int32_t frames, std::vector<float>& left, std::vector<float>& right) {
    if (frames < 0) frames = 0;
    left.assign(static_cast<size_t>(frames), 0.0f);
    right.assign(static_cast<size_t>(frames), 0.0f);
    render(left.data(), right.data(), frames);
}

void PluginHost::processBlock(const VstTimeInfo& time, const VstMidiEvent* events, size_t count,
                              float* left, float* right, int32_t frames) {
    timeInfo_ = time;
    queueEvents(events, count);
    render(left, right, frames);
}

}  // namespace vsthost
