#include "ReferenceCases.h"

#include <algorithm>
#include <gnu/libc-version.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "params/ParamIds.h"

namespace reference {

using sounds::choice;
using sounds::Sound;
using sounds::with;

namespace {

constexpr int kRelease = 24576;  // where held keys are let go

struct Note {
    int on, off, key, velocity;
};

std::vector<Note> notes(Pattern pattern) {
    std::vector<Note> out;
    switch (pattern) {
        case Pattern::Held16:
            for (int i = 0; i < 16; ++i) out.push_back({100 + i, kRelease, 36 + 3 * i, 80 + i});
            break;
        case Pattern::Sequence:
            // A note every 1024 frames, each 15.5 of those long: 16 voices overlap.
            for (int i = 0; 1024 * i + 100 < kRelease; ++i)
                out.push_back({1024 * i + 100, 1024 * i + 100 + 15872, 36 + (7 * i) % 37, 64 + (i * 5) % 60});
            break;
        case Pattern::Chord:
            out = {{100, kRelease, 45, 90}, {100, kRelease, 52, 100}, {612, kRelease, 57, 110},
                   {1000, kRelease, 64, 70}};
            break;
        case Pattern::Notes2:
            out = {{100, 14000, 57, 100}, {12000, kRelease, 69, 60}};
            break;
        case Pattern::Return:
            out = {{100, 6000, 57, 100}, {4000, 9000, 69, 60}, {131072, 136000, 64, 90}};
            break;
    }
    return out;
}

// A filter case: the light sound through main filter `type` with enough
// resonance and envelope to move the coefficients.
Case filterCase(int type) {
    return {"filter-" + std::to_string(type),
            with(sounds::light(), {{prm::FilterType, choice(type, 14)},
                                   {prm::FilterResonance, 0.75f},
                                   {prm::FilterEnvelopeAmt, 0.85f},
                                   {prm::FilterEnvelopeDecay, 0.35f},
                                   {prm::FilterEnvelopeSustain, 0.3f}}),
            Pattern::Notes2};
}

Case secondaryFilterCase(int type) {
    return {"filter2-" + std::to_string(type),
            with(sounds::light(), {{prm::Filter2Type, choice(type, 7)},
                                   {prm::Filter2Frequency, 0.55f}}),
            Pattern::Notes2};
}

// Oscillator 1 as a saw and oscillator 2 on, for FM, ring and sync cases.
Sound twoOscillators() {
    return with(sounds::light(), {{prm::FilterType, choice(0, 14)},
                                  {prm::Osc2On, 1.0f},
                                  {prm::Osc2Type, choice(1, 128)},
                                  {prm::Osc2Semi, choice(55, 97)}});
}

Sound threeOscillators() {
    return with(twoOscillators(), {{prm::Osc3On, 1.0f},
                                   {prm::Osc3Type, choice(2, 128)},
                                   {prm::Osc3Semi, choice(36, 97)}});
}

std::vector<Case> makeCases() {
    std::vector<Case> c = {
        {"default-held16", sounds::defaultSound(), Pattern::Held16},
        {"default-sequence", sounds::defaultSound(), Pattern::Sequence},
        {"light-held16", sounds::light(), Pattern::Held16},
        {"light-sequence", sounds::light(), Pattern::Sequence},
        {"heavy-held16", sounds::heavyWithoutReverb(), Pattern::Held16},
        {"heavy-sequence", sounds::heavyWithoutReverb(), Pattern::Sequence},
        {"saws-spread-1x", with(sounds::heavyVoices(), {{prm::OverSampling, choice(0, 5)}}),
         Pattern::Chord},
        {"saws-spread-2x", with(sounds::heavyVoices(), {{prm::OverSampling, choice(1, 5)}}),
         Pattern::Chord},
        {"saws-spread-4x-osfilter",
         with(sounds::heavyVoices(),
              {{prm::OverSampling, choice(2, 5)}, {prm::OverSamplingFilter, 1.0f}}),
         Pattern::Chord},
        {"saws-spread-8x", with(sounds::heavyVoices(), {{prm::OverSampling, choice(3, 5)}}),
         Pattern::Chord},
        {"saw-16x-osfilter",
         with(sounds::light(), {{prm::OverSampling, choice(4, 5)}, {prm::OverSamplingFilter, 1.0f}}),
         Pattern::Chord},
        {"modulated", sounds::modulated(), Pattern::Chord},
    };
    for (int type = 0; type < 14; ++type) c.push_back(filterCase(type));
    for (int type = 1; type < 7; ++type) c.push_back(secondaryFilterCase(type));
    const std::vector<Case> more = {
        {"drive-smoothing",
         with(threeOscillators(), {{prm::FilterType, choice(9, 14)},
                                   {prm::FilterDistortion, 0.6f},
                                   {prm::FilterSmoothing, 1.0f}}),
         Pattern::Chord},
        {"unison4", with(sounds::light(), {{prm::PlayMode, choice(6, 8)}, {prm::UnisonAmount, 0.6f}}),
         Pattern::Chord},
        {"mono-glide", with(sounds::light(), {{prm::PlayMode, choice(1, 8)}, {prm::PortSpeed, 0.5f}}),
         Pattern::Notes2},
        {"legato", with(sounds::light(), {{prm::PlayMode, choice(3, 8)}, {prm::PortSpeed, 0.4f}}),
         Pattern::Notes2},
        {"arp", with(sounds::light(), {{prm::PlayMode, choice(4, 8)}}), Pattern::Chord},
        {"fm2", with(twoOscillators(), {{prm::Osc2FmMode, choice(2, 3)}, {prm::Osc2FmAmount, 0.5f},
                                        {prm::Osc1Output, 0.0f}}),
         Pattern::Chord},
        {"ring2", with(twoOscillators(), {{prm::Osc2FmMode, choice(1, 3)}, {prm::Osc2FmAmount, 0.7f}}),
         Pattern::Chord},
        {"fm3-both", with(threeOscillators(), {{prm::Osc3FmMode, choice(6, 7)},
                                               {prm::Osc3FmAmount, 0.4f},
                                               {prm::Osc2FmMode, choice(2, 3)},
                                               {prm::Osc2FmAmount, 0.3f}}),
         Pattern::Chord},
        {"ring3-osc2", with(threeOscillators(), {{prm::Osc3FmMode, choice(3, 7)},
                                                 {prm::Osc3FmAmount, 0.8f}}),
         Pattern::Chord},
        {"fm3-spread", with(threeOscillators(), {{prm::Osc3FmMode, choice(4, 7)},
                                                 {prm::Osc3FmAmount, 0.5f},
                                                 {prm::Osc3Spread, 0.6f}}),
         Pattern::Chord},
        {"sync", with(threeOscillators(), {{prm::Osc2Sync, 1.0f}, {prm::Osc3Sync, 1.0f},
                                           {prm::Osc3Semi, choice(60, 97)}}),
         Pattern::Chord},
        {"sub-pwm-symmetry",
         with(sounds::light(), {{prm::Osc1Type, choice(40, 128)},
                                {prm::Osc1Symmetry, 0.3f},
                                {prm::Osc1SubOscVol, 0.7f},
                                {prm::Osc1Pwm, 0.5f},
                                {prm::Osc1PwmSpeed, 0.5f}}),
         Pattern::Chord},
        {"noise-white", with(sounds::light(), {{prm::Osc1Type, choice(14, 128)}}), Pattern::Chord},
        {"noise-pink", with(sounds::light(), {{prm::Osc1Type, choice(15, 128)}}), Pattern::Chord},
        {"drift-free-running",
         with(threeOscillators(), {{prm::AnalogDrift, 0.8f},
                                   {prm::Osc1FreeRunning, 1.0f},
                                   {prm::Osc2FreeRunning, 1.0f}}),
         Pattern::Notes2},
        {"spectral-wave", with(sounds::light(), {{prm::Osc1Type, choice(77, 128)},
                                                 {prm::Osc1Spread, 0.3f}}),
         Pattern::Chord},
        {"envelope-curves",
         with(sounds::light(), {{prm::AttackShape, 0.2f},
                                {prm::DecayReleaseShape, 0.8f},
                                {prm::VolumeEnvelopeAttack, 0.3f},
                                {prm::VolumeEnvelopeDecay, 0.3f},
                                {prm::VolumeEnvelopeSustain, 0.5f},
                                {prm::VolumeEnvelopeFade, 0.3f},
                                {prm::VolumeEnvelopeRelease, 0.3f}}),
         Pattern::Notes2},
        {"effects-no-reverb", sounds::heavyWithoutReverb(), Pattern::Notes2},
        {"heavy-reverb-held16", sounds::heavy(), Pattern::Held16},
        // Choices changed while notes sound: the bypassed filter keeps no
        // coefficients, silent oscillators no increments, and sync and noise
        // leave the block-rendered oscillators.
        {"filter-type-changes", sounds::light(), Pattern::Chord,
         {{6000, prm::FilterType, choice(0, 14)}, {12000, prm::FilterType, choice(3, 14)},
          {18000, prm::FilterType, choice(0, 14)}, {22000, prm::FilterType, choice(3, 14)},
          {26000, prm::Filter2Type, choice(5, 7)}}},
        {"oscillator-changes", twoOscillators(), Pattern::Chord,
         {{5000, prm::Osc2On, 0.0f}, {9000, prm::Osc2Spread, 0.4f}, {13000, prm::Osc2On, 1.0f},
          {17000, prm::Osc2Sync, 1.0f}, {21000, prm::Osc1Type, choice(14, 128)},
          {25000, prm::Osc1Type, choice(3, 128)}, {27000, prm::Osc2Sync, 0.0f},
          {29000, prm::Osc1Type, choice(1, 128)}}},
        {"sync-silent-master", with(threeOscillators(), {{prm::Osc1On, 0.0f}, {prm::Osc2Sync, 1.0f},
                                                         {prm::Osc3Sync, 1.0f}}),
         Pattern::Chord},
        {"symmetry-sweep",
         with(sounds::light(), {{prm::FreeLfo1Mode, choice(0, 3)}, {prm::FreeLfo1Speed, 0.35f},
                                {prm::FreeLfo1Dest, sounds::modulation(8)}, {prm::FreeLfo1ModAmt, 0.9f}}),
         Pattern::Chord},
        // Spans cut by odd blocks and events, at another rate.
        {"odd-blocks-48k", sounds::defaultSound(), Pattern::Sequence, {}, 32768, 37, 48000.0f},
        // A phaser slot rests once its input has been silent for 65,536 samples.
        {"phasers-resting", sounds::restingEffects(), Pattern::Return, {}, 147456},
    };
    c.insert(c.end(), more.begin(), more.end());
    return c;
}

}  // namespace

const std::vector<Case>& cases() {
    static const std::vector<Case> list = makeCases();
    return list;
}

Audio render(vsthost::PluginHost& host, const Case& c) {
    host.setRecordCalls(false);
    host.start(c.rate, c.block);
    sounds::selectDefaultSound(host);
    for (const auto& [index, value] : c.sound) host.setParameter(index, value);

    std::vector<VstMidiEvent> events;
    for (const Note& n : notes(c.pattern)) {
        events.push_back(vsthost::PluginHost::midi(n.on, 0x90, uint8_t(n.key), uint8_t(n.velocity)));
        events.push_back(vsthost::PluginHost::midi(n.off, 0x80, uint8_t(n.key), 0));
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const VstMidiEvent& a, const VstMidiEvent& b) { return a.deltaFrames < b.deltaFrames; });

    Audio out;
    out.left.resize(size_t(c.frames));
    out.right.resize(size_t(c.frames));
    VstTimeInfo time{};
    time.sampleRate = c.rate;
    time.tempo = 120.0;
    time.timeSigNumerator = time.timeSigDenominator = 4;
    time.flags = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    size_t next = 0, nextChange = 0;
    std::vector<VstMidiEvent> due;
    for (int start = 0; start < c.frames; start += c.block) {
        const int n = std::min(c.block, c.frames - start);
        while (nextChange < c.changes.size() && c.changes[nextChange].frame < start + n) {
            host.setParameter(c.changes[nextChange].index, c.changes[nextChange].value);
            ++nextChange;
        }
        due.clear();
        while (next < events.size() && events[next].deltaFrames < start + n) {
            VstMidiEvent e = events[next++];
            e.deltaFrames -= start;
            due.push_back(e);
        }
        time.samplePos = start;
        time.ppqPos = start / (c.rate / 2.0);
        host.processBlock(time, due.data(), due.size(), out.left.data() + start,
                          out.right.data() + start, n);
    }
    return out;
}

uint64_t hash(const Audio& audio) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&](float x) {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        for (int i = 0; i < 4; ++i) {
            h ^= (bits >> (8 * i)) & 0xFF;
            h *= 1099511628211ull;
        }
    };
    for (size_t i = 0; i < audio.left.size(); ++i) {
        mix(audio.left[i]);
        mix(audio.right[i]);
    }
    return h;
}

std::vector<float> fingerprint(const Audio& audio) {
    std::vector<float> out;
    const size_t n = audio.left.size();
    for (size_t start = 0; start < n; start += kWindow) {
        const size_t end = std::min(n, start + kWindow);
        for (const std::vector<float>* channel : {&audio.left, &audio.right}) {
            double sum = 0.0;
            for (size_t i = start; i < end; ++i) sum += double((*channel)[i]) * (*channel)[i];
            const double rms = std::sqrt(sum / double(end - start));
            out.push_back(rms > 1e-10 ? float(20.0 * std::log10(rms)) : -200.0f);
        }
    }
    return out;
}

std::string toolchain() {
    return std::string("gcc ") + __VERSION__ + ", glibc " + gnu_get_libc_version();
}

bool readEntries(const std::string& path, std::vector<Entry>& entries, std::string& madeBy,
                 std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    entries.clear();
    madeBy.clear();
    static const std::string kToolchain = "# toolchain: ";
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(kToolchain, 0) == 0) madeBy = line.substr(kToolchain.size());
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Entry e;
        std::string hex;
        if (!(fields >> e.name >> hex)) {
            error = "bad line: " + line;
            return false;
        }
        e.hash = std::strtoull(hex.c_str(), nullptr, 16);
        float db;
        while (fields >> db) e.fingerprint.push_back(db);
        entries.push_back(std::move(e));
    }
    return true;
}

bool writeEntries(const std::string& path, const std::vector<Entry>& entries) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    std::fprintf(f,
                 "# Reference renders of the plug-in (brennix-reference --write; tools/reference/README.md).\n"
                 "# case, 64-bit FNV-1a of the samples, RMS dB per %d-frame window (left, right).\n"
                 "# toolchain: %s\n",
                 kWindow, toolchain().c_str());
    for (const Entry& e : entries) {
        std::fprintf(f, "%s %016" PRIx64, e.name.c_str(), e.hash);
        for (float db : e.fingerprint) std::fprintf(f, " %.4f", db);
        std::fprintf(f, "\n");
    }
    return std::fclose(f) == 0;
}

float fingerprintDistance(const std::vector<float>& a, const std::vector<float>& b, float floorDb) {
    if (a.size() != b.size()) return std::numeric_limits<float>::infinity();
    float worst = 0.0f;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] < floorDb && b[i] < floorDb) continue;
        worst = std::max(worst, std::fabs(a[i] - b[i]));
    }
    return worst;
}

float peakDifferenceDb(const Audio& a, const Audio& b) {
    float peak = 0.0f;
    const size_t n = std::min(a.left.size(), b.left.size());
    for (size_t i = 0; i < n; ++i)
        peak = std::max({peak, std::fabs(a.left[i] - b.left[i]), std::fabs(a.right[i] - b.right[i])});
    return peak > 0.0f ? 20.0f * std::log10(peak) : -std::numeric_limits<float>::infinity();
}

}  // namespace reference
