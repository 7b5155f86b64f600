// A tiny instrument for testing hosts: it shows in its output what it was sent.
// Left: velocity / 128 at each note-on's sample. Right: 0.1 per event at its
// sample, on top of a constant program * 0.01 + parameter 0 * 0.001, and -1 at a
// block's first sample when the transport information does not match the
// samples processed since processing (re)started (effStartProcess). Parameter 1
// above 0.5 puts a NaN into the first sample processed; parameter 2 above 0.5
// makes the outputs a copy of the two inputs instead (what the host played in).
// BRENNIX_PROBE_LATENCY reports that much latency and delays the left channel by it.
// Its four programs have names a file system would not take as they are; the
// third has none in the list, and only its current-program name ("Probe 2").
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "vst/Vst2.h"

namespace {

struct Probe {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    int32_t program = 0;
    float params[3] = {0, 0, 0};
    std::vector<VstMidiEvent> pending;
    double processed = 0;
    std::vector<float> delay;
    size_t delayPos = 0;
};

Probe* self(AEffect* e) { return static_cast<Probe*>(e->object); }

intptr_t dispatcher(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float) {
    Probe* p = self(e);
    switch (opcode) {
        case effClose: delete p; return 1;
        case effSetProgram: p->program = static_cast<int32_t>(value); return 1;
        case effStartProcess: p->processed = 0; return 1;
        case effGetProgram: return p->program;
        case effGetProgramName:
            std::strcpy(static_cast<char*>(ptr), ("Probe " + std::to_string(p->program)).c_str());
            return 1;
        case effGetProgramNameIndexed: {
            static const char* const kNames[4] = {"Plain", "Odd/Name: 1?", "", "R\xC3\xA9  mineur"};
            if (index < 0 || index >= 4) return 0;
            std::strcpy(static_cast<char*>(ptr), kNames[index]);
            return 1;
        }
        case effGetEffectName: std::strcpy(static_cast<char*>(ptr), "Probe"); return 1;
        case effGetPlugCategory: return kPlugCategSynth;
        case effGetVstVersion: return 2400;
        case effCanDo: return ptr && std::strcmp(static_cast<char*>(ptr), "receiveVstEvents") == 0;
        case effProcessEvents: {
            auto* list = static_cast<VstEvents*>(ptr);
            for (int32_t i = 0; i < list->numEvents; ++i)
                p->pending.push_back(*reinterpret_cast<VstMidiEvent*>(list->events[i]));
            return 1;
        }
        default: return 0;
    }
}

void setParameter(AEffect* e, int32_t i, float v) { if (i >= 0 && i < 3) self(e)->params[i] = v; }
float getParameter(AEffect* e, int32_t i) { return i >= 0 && i < 3 ? self(e)->params[i] : 0.0f; }

void processReplacing(AEffect* e, float** in, float** out, int32_t frames) {
    Probe* p = self(e);
    auto* time = reinterpret_cast<VstTimeInfo*>(p->host(e, audioMasterGetTime, 0, 0x600, nullptr, 0));
    const int32_t needed = kVstTransportPlaying | kVstPpqPosValid | kVstTempoValid;
    bool timeOk = time && time->samplePos == p->processed && (time->flags & needed) == needed;
    for (int32_t c = 0; c < 4; ++c) std::memset(out[c], 0, sizeof(float) * static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) out[1][i] = p->program * 0.01f + p->params[0] * 0.001f;
    for (const VstMidiEvent& m : p->pending) {
        if (m.deltaFrames < 0 || m.deltaFrames >= frames) continue;  // a host fault: shows as missing
        out[1][m.deltaFrames] += 0.1f;
        if ((m.midiData[0] & 0xF0) == 0x90 && m.midiData[2] > 0) out[0][m.deltaFrames] = m.midiData[2] / 128.0f;
    }
    p->pending.clear();
    if (p->params[1] > 0.5f && p->processed == 0 && frames > 0) out[0][0] = __builtin_nanf("");
    if (!p->delay.empty())
        for (int32_t i = 0; i < frames; ++i) {
            float in = out[0][i];
            out[0][i] = p->delay[p->delayPos];
            p->delay[p->delayPos] = in;
            p->delayPos = (p->delayPos + 1) % p->delay.size();
        }
    if (!timeOk && frames > 0) out[1][0] = -1.0f;
    if (p->params[2] > 0.5f)
        for (int32_t c = 0; c < 2; ++c) std::memcpy(out[c], in[c], sizeof(float) * static_cast<size_t>(frames));
    p->processed += frames;
}

}  // namespace

VST_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    auto* p = new Probe;
    p->host = host;
    AEffect& e = p->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.processReplacing = processReplacing;
    e.numPrograms = 4;
    e.numParams = 3;
    e.numInputs = 2;
    e.numOutputs = 4;  // more than a stereo pair: the host must still give every pin a buffer
    e.flags = effFlagsCanReplacing | effFlagsIsSynth;
    e.object = p;
    e.uniqueID = vstFourCC('P', 'r', 'b', 'e');
    if (const char* latency = std::getenv("BRENNIX_PROBE_LATENCY")) {
        e.initialDelay = std::atoi(latency);
        if (e.initialDelay > 0) p->delay.assign(static_cast<size_t>(e.initialDelay), 0.0f);
    }
    return &e;
}
