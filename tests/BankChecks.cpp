#include "BankChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "Sequencer.h"
#include "SpeechSignal.h"
#include "TestSupport.h"
#include "bankgen/FactorySource.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"

namespace bank_checks {
namespace {

constexpr double kTempo = 120.0;  // two beats a second
constexpr uint32_t kTicksPerBeat = 480;
constexpr int kBlock = 512;
constexpr double kHeldBeats = 3.0;  // 1.5 s
constexpr int kVelocity = 100;
// The pitch is read from this stretch of the held note, after most attacks.
constexpr double kPitchStart = 0.5;
constexpr size_t kPitchWindow = 32768;  // 0.74 s at 44.1 kHz, 1.3 Hz per bin
// Silence must last this long before the tail counts as over.
constexpr double kConfirmSilence = 1.5;
constexpr size_t kSilenceWindow = kSampleRate / 100;  // 10 ms

double toDb(double amplitude) { return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -200.0; }

class SongWriter {
public:
    SongWriter() { song_.ticksPerQuarter = kTicksPerBeat; }
    void note(double beat, double beats, int key) {
        add(beat, 0x90, key, kVelocity);
        add(beat + beats, 0x80, key, 0);
    }
    render::MidiSong song() {
        std::stable_sort(song_.events.begin(), song_.events.end(),
                         [](const render::MidiEvent& a, const render::MidiEvent& b) { return a.tick < b.tick; });
        song_.endTick = song_.events.empty() ? 0 : song_.events.back().tick;
        return song_;
    }

private:
    void add(double beat, uint8_t status, int key, int velocity) {
        render::MidiEvent e;
        e.tick = static_cast<uint64_t>(std::llround(beat * kTicksPerBeat));
        e.data[0] = status;
        e.data[1] = static_cast<uint8_t>(key);
        e.data[2] = static_cast<uint8_t>(velocity);
        e.size = 3;
        song_.events.push_back(e);
    }
    render::MidiSong song_;
};

// Plays the song as a DAW's transport does and keeps rendering after its end
// until the output has been silent for a while or the tail limit has passed.
// Every take hears a speech-like phrase at the audio input from its start, as
// a vocoder program hears the voice track a DAW routes to it; the programs
// without a vocoder must ignore it.
Take play(vsthost::PluginHost& host, int program, const render::MidiSong& song, double soundingBeats) {
    host.dispatch(effSetProgram, 0, program);
    static const std::vector<float> voice = speech::phrase(kSampleRate, 16.0);
    host.setInputSignal(voice, voice);
    render::SequencerSettings settings;
    settings.sampleRate = kSampleRate;
    settings.blockSize = kBlock;
    settings.defaultTempo = kTempo;
    settings.tailSeconds = kTailLimitSeconds + kConfirmSilence;
    render::Sequencer sequencer(song, settings);

    Take t;
    t.soundingEnd = static_cast<size_t>(sequencer.songEndSample());
    const double silence = std::pow(10.0, kSilenceDb / 20.0);
    const auto confirm = static_cast<size_t>(kConfirmSilence * kSampleRate);
    size_t lastLoud = t.soundingEnd;  // one past the last sample above the silence level
    double peak = 0.0;
    std::vector<float> l(kBlock), r(kBlock);
    render::Sequencer::Block block;
    host.dispatch(effStartProcess);
    while (sequencer.next(block)) {
        host.processBlock(block.time, block.events.data(), block.events.size(), l.data(), r.data(), block.frames);
        for (int i = 0; i < block.frames; ++i) {
            t.finite = t.finite && std::isfinite(l[i]) && std::isfinite(r[i]);
            const float a = std::isfinite(l[i]) ? l[i] : 0.0f, b = std::isfinite(r[i]) ? r[i] : 0.0f;
            t.left.push_back(a);
            t.right.push_back(b);
            const double m = std::max(std::fabs(a), std::fabs(b));
            peak = std::max(peak, m);
            if (m >= silence) lastLoud = std::max(lastLoud, t.left.size());
        }
        if (t.left.size() > t.soundingEnd && t.left.size() - std::max(lastLoud, t.soundingEnd) >= confirm) break;
    }
    host.dispatch(effStopProcess);
    host.setInputSignal({}, {});
    t.peakDb = toDb(peak);
    const double tail = static_cast<double>(lastLoud - t.soundingEnd) / kSampleRate;
    if (t.left.size() - lastLoud >= confirm && tail <= kTailLimitSeconds) t.tailSeconds = tail;

    // DC while the notes sound, after the first tenth of a second.
    const size_t from = kSampleRate / 10;
    const size_t to = std::min(t.left.size(), static_cast<size_t>(soundingBeats * 60.0 / kTempo * kSampleRate));
    if (to > from) {
        for (const std::vector<float>* channel : {&t.left, &t.right}) {
            double sum = 0.0;
            for (size_t i = from; i < to; ++i) sum += (*channel)[i];
            t.dc = std::max(t.dc, std::fabs(sum / double(to - from)));
        }
    }
    return t;
}

struct Partial {
    double hz, power;
};

// Spectral peaks within 50 dB of the strongest, with their frequencies
// interpolated between bins (parabola through the log powers).
std::vector<Partial> partialsOf(const std::vector<float>& x, size_t begin, double sampleRate) {
    const std::vector<double> power = spectrum::powerSpectrum(x, begin, kPitchWindow);
    const double strongest = *std::max_element(power.begin(), power.end());
    std::vector<Partial> peaks;
    if (strongest <= 0.0) return peaks;
    const double binHz = sampleRate / double(kPitchWindow);
    for (size_t k = 2; k + 2 < power.size(); ++k) {
        const double p = power[k];
        if (p < strongest * 1e-5 || p <= power[k - 1] || p < power[k + 1] || p < power[k - 2] || p < power[k + 2])
            continue;
        const double a = std::log(power[k - 1] + 1e-300), b = std::log(p), c = std::log(power[k + 1] + 1e-300);
        const double denominator = a - 2.0 * b + c;
        const double offset = denominator < 0.0 ? 0.5 * (a - c) / denominator : 0.0;
        const double hz = (double(k) + offset) * binHz;
        if (hz >= 20.0) peaks.push_back({hz, std::exp(b - 0.25 * (a - c) * offset)});
    }
    return peaks;
}

}  // namespace

PitchReading readPitch(const std::vector<float>& mono, size_t begin, double sampleRate) {
    PitchReading reading;
    if (mono.size() < begin + kPitchWindow) return reading;
    std::vector<Partial> partials = partialsOf(mono, begin, sampleRate);
    if (partials.empty()) return reading;
    std::sort(partials.begin(), partials.end(), [](const Partial& a, const Partial& b) { return a.power > b.power; });
    for (size_t i = 0; i < partials.size() && i < 6; ++i) reading.partials.push_back(partials[i].hz);
    double total = 0.0;
    for (const Partial& p : partials) total += p.power;

    // A partial belongs to the series of f when it lies within a quarter tone of
    // a multiple, so that the copies of a detuned stack (spread, unison, a
    // second oscillator a few cents off) all count.
    constexpr double kMatchCents = 50.0;
    constexpr int kMaxHarmonic = 64;
    // Above the third harmonic the window is narrowed to a tenth of the
    // fundamental, so that the series of a low candidate does not cover
    // everything (noise would pass for a pitch).
    constexpr double kMatchShare = 0.1;
    auto harmonicOf = [&](const Partial& p, double f) {
        const double k = std::round(p.hz / f);
        if (k < 1.0 || k > kMaxHarmonic) return 0;
        const double window = std::min(k * f * (std::pow(2.0, kMatchCents / 1200.0) - 1.0), kMatchShare * f);
        return std::fabs(p.hz - k * f) <= window ? int(k) : 0;
    };
    // Candidates: partials within 30 dB of the strongest, lowest first; the
    // lowest whose series explains three quarters of the power is the fundamental.
    constexpr double kCandidate = 1e-3;
    constexpr double kClearShare = 0.75;
    std::vector<Partial> candidates;
    for (const Partial& p : partials)
        if (p.power >= partials.front().power * kCandidate) candidates.push_back(p);
    std::sort(candidates.begin(), candidates.end(), [](const Partial& a, const Partial& b) { return a.hz < b.hz; });
    for (const Partial& c : candidates) {
        double explained = 0.0;
        for (const Partial& p : partials)
            if (harmonicOf(p, c.hz)) explained += p.power;
        const double share = explained / total;
        reading.harmonicShare = std::max(reading.harmonicShare, share);
        if (share < kClearShare) continue;
        // The fundamental from the first eight harmonics, weighted by their power.
        double sum = 0.0, weight = 0.0;
        for (const Partial& p : partials) {
            const int k = harmonicOf(p, c.hz);
            if (k >= 1 && k <= 8) {
                sum += p.power * p.hz / k;
                weight += p.power;
            }
        }
        reading.clear = true;
        reading.harmonicShare = share;
        reading.hz = sum / weight;
        break;
    }
    return reading;
}

ProgramTraits traitsOf(vsthost::PluginHost& host) {
    ProgramTraits t;
    t.playMode = params::kPlayMode.index(host.getParameter(prm::PlayMode));
    t.monoPhrase = t.playMode == playmode::Mono || t.playMode == playmode::Mono2 ||
                   t.playMode == playmode::Legato || t.playMode == playmode::Arp;
    t.holds = host.getParameter(prm::VolumeEnvelopeRelease) > 0.999f ||
              (t.playMode == playmode::Arp && host.getParameter(prm::ArpLatch) > 0.5f);
    return t;
}

std::string ProgramReport::summary() const {
    char text[512];
    auto tail = [](const Take& t) {
        char s[32];
        if (t.tailSeconds)
            std::snprintf(s, sizeof s, "%.2f s", *t.tailSeconds);
        else
            std::snprintf(s, sizeof s, "over %.0f s", kTailLimitSeconds);
        return std::string(s);
    };
    char pitchText[128] = "unpitched";
    if (expectedPitch) {
        if (pitch.clear)
            std::snprintf(pitchText, sizeof pitchText, "%.2f Hz (%+.1f cents)", pitch.hz, centsOff);
        else
            std::snprintf(pitchText, sizeof pitchText, "no clear pitch (series share %.2f)", pitch.harmonicShare);
    }
    std::snprintf(text, sizeof text,
                  "program %d \"%s\": note peak %.1f dBFS, %s peak %.1f dBFS, DC %.5f, tails %s / %s%s, pitch %s",
                  program, name.c_str(), note.peakDb, traits.monoPhrase ? "phrase" : "chord", chord.peakDb,
                  std::max(note.dc, chord.dc), tail(note).c_str(), tail(chord).c_str(),
                  traits.holds ? " (holds)" : "", pitchText);
    return text;
}

ProgramReport checkProgram(vsthost::PluginHost& host, int program, const bankgen::ProgramNotes& notes) {
    ProgramReport r;
    r.program = program;
    r.name = host.programNameIndexed(program);
    r.expectedPitch = notes.pitch;
    host.dispatch(effSetProgram, 0, program);
    r.traits = traitsOf(host);

    SongWriter single;
    single.note(0.0, kHeldBeats, 69);
    r.note = play(host, program, single.song(), kHeldBeats);

    SongWriter many;
    double soundingBeats = kHeldBeats;
    if (r.traits.monoPhrase) {
        // Legato eighths up and down, each overlapping the next a little; the last one held.
        const int keys[] = {60, 64, 67, 72, 67, 64, 60};
        for (int i = 0; i < 7; ++i) many.note(i * 0.5, i == 6 ? 1.0 : 0.55, keys[i]);
        soundingBeats = 4.0;
    } else {
        for (int key : {60, 64, 67, 72}) many.note(0.0, kHeldBeats, key);
    }
    r.chord = play(host, program, many.song(), soundingBeats);

    auto problem = [&](const char* check, const char* format, auto... args) {
        char text[256];
        std::snprintf(text, sizeof text, format, args...);
        r.problems.push_back(std::string(check) + ": " + text);
    };
    const char* second = r.traits.monoPhrase ? "phrase" : "chord";
    if (r.note.peakDb < kSilentDb || r.chord.peakDb < kSilentDb)
        problem("silent", "note peak %.1f dBFS, %s peak %.1f dBFS", r.note.peakDb, second, r.chord.peakDb);
    if (!r.note.finite || !r.chord.finite) problem("invalid", "the output holds NaN or infinite samples");
    if (r.note.peakDb < kNotePeakMinDb || r.note.peakDb > kNotePeakMaxDb)
        problem("note level", "a single note at velocity 100 peaks at %.1f dBFS (%.0f to %.0f wanted)", r.note.peakDb,
                kNotePeakMinDb, kNotePeakMaxDb);
    if (r.chord.peakDb >= kClipDb)
        problem("chord level", "the %s peaks at %+.1f dBFS: it clips", second, r.chord.peakDb);
    const double dc = std::max(r.note.dc, r.chord.dc);
    if (dc > kMaxDc) problem("dc", "the mean of a channel reaches %.4f (%.0f dBFS)", dc, toDb(dc));
    if (!r.traits.holds)
        for (const Take* t : {&r.note, &r.chord})
            if (!t->tailSeconds)
                problem("tail", "the %s still sounds %.0f s after the last note-off",
                        t == &r.note ? "note" : second, kTailLimitSeconds);

    if (r.expectedPitch) {
        std::vector<float> mono(r.note.left.size());
        for (size_t i = 0; i < mono.size(); ++i) mono[i] = 0.5f * (r.note.left[i] + r.note.right[i]);
        r.pitch = readPitch(mono, static_cast<size_t>(kPitchStart * kSampleRate), kSampleRate);
        const double expected = 440.0 * std::pow(2.0, *r.expectedPitch / 12.0);
        if (!r.pitch.clear) {
            std::string partials;
            for (double hz : r.pitch.partials) partials += (partials.empty() ? "" : ", ") + std::to_string(int(std::lround(hz)));
            problem("pitch",
                    "no clear harmonic fundamental (strongest partials %s Hz); if it is meant to be unpitched, "
                    "say 'pitch: none' in the bank source",
                    partials.c_str());
        } else {
            r.centsOff = analysis::cents(r.pitch.hz, expected);
            if (std::fabs(r.centsOff) > kMaxCents)
                problem("pitch", "note 69 plays %.2f Hz, %+.1f cents from %.1f Hz", r.pitch.hz, r.centsOff, expected);
        }
    }
    return r;
}

const std::vector<bankgen::ProgramNotes>& factoryNotes() {
    static const std::vector<bankgen::ProgramNotes> notes = [] {
        const std::string path = BRENNIX_SOURCE_DIR "/resources/bank/factory.txt";
        auto bank = std::make_unique<bankfile::BankImage>();
        std::vector<bankgen::ProgramNotes> found;
        std::string error;
        EXPECT_TRUE(bankgen::readFactorySource(testing_support::readText(path), path, *bank, error, &found)) << error;
        return found;
    }();
    return notes;
}

}  // namespace bank_checks
