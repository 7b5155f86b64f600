#include "RandomSession.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "params/ParamIds.h"
#include "params/SamplePath.h"

namespace session {

Modes modesAt(int step) {
    Modes m{};
    m.playMode = step % kPlayModes;
    m.oversampling = (step / kPlayModes) % kOversampling;
    for (int s = 0; s < 3; ++s) m.types[s] = (3 * step + s) % kEffectTypes;
    return m;
}

void select(const Modes& modes, Automation& out) {
    out.emplace_back(prm::PlayMode, playModeValue(modes.playMode));
    out.emplace_back(prm::OverSampling, oversamplingValue(modes.oversampling));
    for (int s = 0; s < 3; ++s) out.emplace_back(prm::Fx1Type + s, effectTypeValue(modes.types[s]));
}

void vocoderOnSample(const char* pathWithoutExtension, Automation& out) {
    out.emplace_back(prm::Fx1Type, effectTypeValue(17));  // "Vocoder"
    out.emplace_back(prm::VocoderSource, 0.0f);           // "Samp"
    out.emplace_back(prm::SamplePathKind, 1.0f);           // absolute
    out.emplace_back(prm::SampleFileKind, 0.0f);           // .wav
    const size_t length = std::strlen(pathWithoutExtension);
    for (int i = 0; i < samples::kPathCharacters; ++i)
        out.emplace_back(prm::SamplePathFirst + i,
                         size_t(i) < length ? samples::encodeCharacter(uint8_t(pathWithoutExtension[i])) : 0.0f);
    out.emplace_back(prm::SampleLoadRequest, 0.9f);
}

float randomValue(std::mt19937& random, bool hostile) {
    const unsigned kind = random() % 100;
    if (kind < 5) return 0.0f;
    if (kind < 10) return 1.0f;
    if (hostile && kind < 12) {
        const float odd[] = {-0.5f, 1.5f, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                             1e30f, -1e-30f};
        return odd[random() % (sizeof odd / sizeof odd[0])];
    }
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

void randomAutomation(std::mt19937& random, int count, bool hostile, Automation& out) {
    for (int n = 0; n < count; ++n) out.emplace_back(int(random() % prm::kCount), randomValue(random, hostile));
}

void randomProgram(std::mt19937& random, Automation& out) {
    for (int i = 0; i < prm::kCount; ++i) out.emplace_back(i, randomValue(random, false));
}

VstMidiEvent midi(int delta, int status, int d1, int d2) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.deltaFrames = delta;
    e.midiData[0] = char(status);
    e.midiData[1] = char(d1 & 127);
    e.midiData[2] = char(d2 & 127);
    return e;
}

void RandomMidi::block(int frames, std::vector<VstMidiEvent>& out) {
    // About one event per 400 frames, at least one chance per block; made in
    // time order, so that the held keys counted here are the plug-in's.
    int times[16];
    const int events = std::min(16, int(random() % unsigned(2 + frames / 200)));
    for (int n = 0; n < events; ++n) times[n] = int(random() % unsigned(frames));
    std::sort(times, times + events);
    for (int n = 0; n < events; ++n) {
        const int at = times[n];
        const int channel = random() % 4 == 0 ? int(random() % 16) : 0;
        const unsigned kind = random() % 100;
        if (kind < 35) {
            const int key = 24 + int(random() % 84);
            ++held[channel][key];
            out.push_back(midi(at, 0x90 | channel, key, 1 + int(random() % 127)));
        } else if (kind < 70) {
            // Release a held key (or a random one: a stray note-off).
            int key = int(random() % 128);
            for (int k = 0; k < 128; ++k)
                if (held[channel][(key + k) % 128]) {
                    key = (key + k) % 128;
                    break;
                }
            if (held[channel][key] > 0) --held[channel][key];
            if (random() % 5 == 0)
                out.push_back(midi(at, 0x90 | channel, key, 0));  // note-on with velocity 0
            else
                out.push_back(midi(at, 0x80 | channel, key, int(random() % 128)));
        } else if (kind < 82) {
            static const int kControllers[] = {1, 2, 4, 7, 11, 16, 17, 21, 64, 64, 84, 90, 74, 10};
            const int number = random() % 3 == 0 ? int(random() % 128)
                                                 : kControllers[random() % (sizeof kControllers / sizeof(int))];
            if (number == 120 || number == 123) forgetHeldKeys();
            out.push_back(midi(at, 0xB0 | channel, number, int(random() % 128)));
        } else if (kind < 90) {
            out.push_back(midi(at, 0xE0 | channel, int(random() % 128), int(random() % 128)));
        } else if (kind < 94) {
            out.push_back(midi(at, 0xD0 | channel, int(random() % 128), 0));
        } else if (kind < 97) {
            out.push_back(midi(at, 0xA0 | channel, int(random() % 128), int(random() % 128)));
        } else if (kind < 98 || !programChanges) {
            // All notes off (a reset on any channel); every key counts as released.
            forgetHeldKeys();
            out.push_back(midi(at, 0xB0 | channel, 123, 0));
        } else {
            out.push_back(midi(at, 0xC0 | channel, int(random() % 128), 0));
        }
    }
}

void RandomMidi::forgetHeldKeys() {
    for (auto& channel : held)
        for (int& k : channel) k = 0;
}

void RandomMidi::releaseAll(std::vector<VstMidiEvent>& out) {
    for (int c = 0; c < 16; ++c) {
        for (int k = 0; k < 128; ++k)
            for (; held[c][k] > 0; --held[c][k]) out.push_back(midi(0, 0x80 | c, k, 64));
        out.push_back(midi(0, 0xB0 | c, 64, 0));
    }
}

VstEvents* eventList(std::vector<VstMidiEvent>& events, std::vector<char>& storage) {
    const size_t bytes = sizeof(VstEvents) + events.size() * sizeof(VstEvent*);
    if (storage.size() < bytes) storage.resize(bytes);
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = int32_t(events.size());
    list->reserved = 0;
    for (size_t i = 0; i < events.size(); ++i) list->events[i] = reinterpret_cast<VstEvent*>(&events[i]);
    return list;
}

void advanceTime(std::mt19937& random, VstTimeInfo& time, int frames, double sampleRate) {
    if (time.tempo <= 0.0) time.tempo = 120.0;
    switch (random() % 400) {
        case 0: time.flags ^= kVstTransportPlaying | kVstTransportChanged; break;
        case 1: time.ppqPos = double(random() % 64); break;  // a jump (a loop or a locate)
        case 2: time.flags ^= kVstTempoValid; break;
        case 3: time.tempo = 40.0 + double(random() % 200); break;
        default: break;
    }
    time.flags |= kVstPpqPosValid | kVstBarsValid;
    time.sampleRate = sampleRate;
    if (time.flags & kVstTransportPlaying) time.ppqPos += frames * time.tempo / (60.0 * sampleRate);
    time.samplePos += frames;
    time.barStartPos = std::floor(time.ppqPos / 4.0) * 4.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
}

Player::Player(vsthost::PluginHost& host, uint32_t seed, double sampleRate)
    : Player(host.effect(), host.timeInfo(), seed, sampleRate) {
    host.setRecordCalls(false);
    host.setTimeInfoAvailable(true);
}

Player::Player(AEffect* effect, VstTimeInfo& time, uint32_t seed, double sampleRate)
    : random(seed), midi(random), effect(effect), time(time), sampleRate(sampleRate) {
    time = VstTimeInfo{};
    time.tempo = 120.0;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstTransportPlaying;
    left.assign(kMaxFrames, 0.0f);
    right.assign(kMaxFrames, 0.0f);
    silence.assign(kMaxFrames, 0.0f);
    events.reserve(4096);
    storage.resize(sizeof(VstEvents) + 4096 * sizeof(VstEvent*));
}

void Player::automate(const Automation& writes) {
    for (const auto& [index, value] : writes) {
        if (enter) enter();
        effect->setParameter(effect, index, value);
        if (leave) leave();
    }
}

void Player::send(std::vector<VstMidiEvent>& list) {
    if (list.empty()) return;
    VstEvents* e = eventList(list, storage);
    if (enter) enter();
    effect->dispatcher(effect, effProcessEvents, 0, 0, e, 0.0f);
    if (leave) leave();
}

void Player::render(int frames) {
    if (frames > kMaxFrames) frames = kMaxFrames;
    this->frames = frames;
    advanceTime(random, time, frames, sampleRate);
    float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {left.data(), right.data()};
    if (enter) enter();
    effect->processReplacing(effect, in, out, frames);
    if (leave) leave();
}

void Player::releaseAll() {
    events.clear();
    midi.releaseAll(events);
    // In batches the plug-in's event pool (251 records) takes whole.
    for (size_t first = 0; first < events.size(); first += 200) {
        std::vector<VstMidiEvent> batch(events.begin() + std::ptrdiff_t(first),
                                        events.begin() + std::ptrdiff_t(std::min(events.size(), first + 200)));
        send(batch);
        render(16);
    }
}

void Player::play(int frames, int automationCount, bool hostile) {
    events.clear();
    midi.block(frames, events);
    send(events);
    writes.clear();
    randomAutomation(random, automationCount, hostile, writes);
    automate(writes);
    render(frames);
}

}  // namespace session
