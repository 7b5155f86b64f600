#include "vsthost/PluginHost.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

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

void PluginHost::unload() {
    if (effect_) {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
        effect_ = nullptr;
    }
    if (library_) {
        dlclose(library_);
        library_ = nullptr;
    }
}

int PluginHost::countCalls(int32_t opcode) const {
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
    if (recordCalls_) calls_.push_back(HostCall{opcode, index, value, opt});
    switch (opcode) {
        case audioMasterVersion:
            return hostVersion_;
        case audioMasterGetTime:
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

void PluginHost::sendMidi(const std::vector<VstMidiEvent>& events) {
    if (events.empty()) return;
    // VstEvents ends in a variable-length pointer array.
    std::vector<char> storage(sizeof(VstEvents) + events.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<int32_t>(events.size());
    list->reserved = 0;
    std::vector<VstMidiEvent> copies = events;
    for (size_t i = 0; i < copies.size(); ++i)
        list->events[i] = reinterpret_cast<VstEvent*>(&copies[i]);
    dispatch(effProcessEvents, 0, 0, list);
}

void PluginHost::process(int32_t frames, std::vector<float>& left, std::vector<float>& right) {
    if (frames < 0) frames = 0;
    left.assign(static_cast<size_t>(frames), 0.0f);
    right.assign(static_cast<size_t>(frames), 0.0f);
    silence_.assign(static_cast<size_t>(frames) + 1, 0.0f);
    float* inputs[2] = {silence_.data(), silence_.data()};
    float* outputs[2] = {left.data(), right.data()};
    if (effect_) effect_->processReplacing(effect_, inputs, outputs, frames);
}

}  // namespace vsthost
