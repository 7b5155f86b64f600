// The vocoder measured through the plug-in: a speech-like phrase, from the
// host's input or from a loaded sample, imposes its band energies on a
// sustained pad; "Shift" moves the synthesis bank, "Mix" lets the modulator
// through at the voices' level, "Vocoder Mode" swaps the roles, and "In
// Pitch" sets the sample's playback rate.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <complex>
#include <cmath>
#include <cstdio>
#include <thread>

#include "AudioAnalysis.h"
#include "EffectTestSupport.h"
#include "FrequencyAnalysis.h"
#include "SampleFiles.h"
#include "SpeechSignal.h"
#include "TestSupport.h"
#include "params/SampleBuffer.h"
#include "params/SamplePath.h"

using namespace testing_support;
using namespace fxtest;

namespace {

constexpr float kRate = 44100.0f;
constexpr int kVocoder = 17;
constexpr int kBands = 32;
constexpr int kSaw = 1, kNoise = 14;

// The bank's band centres, 50 Hz to 6,400 Hz in 31 equal steps.
double centre(int band) { return 50.0 * std::pow(2.0, 7.0 * band / 31.0); }

// The knob value that sets "Shift" to `semitones`.
// (The knob's value less 36 is cut toward zero.)
float shiftKnob(int semitones) { return (float(semitones) + (semitones < 0 ? 35.5f : 36.5f)) / 72.99f; }

// A saw pad: A2, E3, A3, C#4 and E4 held.
std::vector<VstMidiEvent> padNotes() {
    return {noteOn(0, 45), noteOn(0, 52), noteOn(0, 57), noteOn(0, 61), noteOn(0, 64)};
}

// Energies around the 32 band centres, each over three bands' width (so that
// a voice's partials gliding past a narrow band do not count), in frames of
// 4,096 samples every 1,024.
using Bands = std::array<double, kBands>;
std::vector<Bands> bandEnergies(const std::vector<float>& x, double rate) {
    constexpr size_t kFrame = 4096, kHop = 1024;
    std::vector<Bands> frames;
    for (size_t at = 0; at + kFrame <= x.size(); at += kHop) {
        const std::vector<double> p = spectrum::powerSpectrum(x, at, kFrame);
        Bands e{};
        for (int b = 0; b < kBands; ++b) {
            const double low = centre(b) * std::pow(2.0, -10.5 / 31.0), high = centre(b) * std::pow(2.0, 10.5 / 31.0);
            for (size_t k = size_t(std::ceil(low * kFrame / rate)); k <= size_t(high * kFrame / rate); ++k)
                e[size_t(b)] += p[k];
        }
        frames.push_back(e);
    }
    return frames;
}

// Per band, the correlation (over the frames where the phrase sounds) between
// the modulator's and the output's band levels in dB. NaN for a band the
// modulator leaves empty.
Bands followCorrelation(const std::vector<float>& modulator, const std::vector<float>& output, double rate) {
    const std::vector<Bands> m = bandEnergies(modulator, rate), o = bandEnergies(output, rate);
    std::vector<double> total(m.size());
    double loudest = 0.0;
    for (size_t f = 0; f < m.size(); ++f) {
        for (double e : m[f]) total[f] += e;
        loudest = std::max(loudest, total[f]);
    }
    Bands r{};
    for (int b = 0; b < kBands; ++b) {
        std::vector<double> x, y;
        double bandPeak = 0.0;
        for (size_t f = 0; f < m.size(); ++f) bandPeak = std::max(bandPeak, m[f][size_t(b)]);
        for (size_t f = 0; f < m.size(); ++f) {
            if (total[f] < 1e-3 * loudest) continue;  // between syllables
            x.push_back(10.0 * std::log10(m[f][size_t(b)] + 1e-6 * bandPeak));
            y.push_back(10.0 * std::log10(o[f][size_t(b)] + 1e-30));
        }
        if (bandPeak < 1e-6 * loudest || x.size() < 10) {
            r[size_t(b)] = NAN;
            continue;
        }
        double mx = 0.0, my = 0.0;
        for (size_t i = 0; i < x.size(); ++i) {
            mx += x[i];
            my += y[i];
        }
        mx /= double(x.size());
        my /= double(x.size());
        double xy = 0.0, xx = 1e-30, yy = 1e-30;
        for (size_t i = 0; i < x.size(); ++i) {
            xy += (x[i] - mx) * (y[i] - my);
            xx += (x[i] - mx) * (x[i] - mx);
            yy += (y[i] - my) * (y[i] - my);
        }
        r[size_t(b)] = xy / std::sqrt(xx * yy);
    }
    return r;
}

// Prints the correlations and checks them: every band follows the phrase,
// most of them closely.
void expectBandsFollow(const Bands& r, const char* source) {
    std::printf("Vocoder band correlations (%s):\n", source);
    for (int b = 0; b < kBands; ++b) std::printf("  band %2d %6.0f Hz  r = %.3f\n", b, centre(b), r[size_t(b)]);
    std::vector<double> all;
    for (int b = 0; b < kBands; ++b) {
        ASSERT_FALSE(std::isnan(r[size_t(b)])) << "band " << b;
        EXPECT_GT(r[size_t(b)], 0.5) << source << ", band " << b << " (" << centre(b) << " Hz)";
        all.push_back(r[size_t(b)]);
    }
    std::sort(all.begin(), all.end());
    EXPECT_GT(all[all.size() / 2], 0.75) << source << ": median";
}

// The frequency of the strongest bin of x's power, summed over frames of
// `size` from sample 65,536 on.
double strongestHz(const std::vector<float>& x, double rate, size_t size) {
    std::vector<double> sum(size / 2 + 1, 0.0);
    for (size_t at = 65536; at + size <= x.size(); at += size) {
        const std::vector<double> p = spectrum::powerSpectrum(x, at, size);
        for (size_t k = 0; k < sum.size(); ++k) sum[k] += p[k];
    }
    const size_t best = size_t(std::max_element(sum.begin() + 1, sum.end()) - sum.begin());
    return double(best) * rate / double(size);
}

// The pad (or a plain sine, or noise) with the vocoder in slot 1, wet only.
void vocoderSetup(vsthost::PluginHost& h, int wave, std::initializer_list<float> knobs, bool input, bool swapped) {
    setPlainSine(h);
    h.setParameter(prm::Osc1Type, entry(wave, 128));
    setEffect(h, 0, kVocoder, knobs, 1.0f, 0.5f);
    h.setParameter(prm::VocoderSource, input ? 1.0f : 0.0f);
    h.setParameter(prm::VocoderMode, swapped ? 1.0f : 0.0f);
}

const std::vector<float>& phrase() {
    static const std::vector<float> p = speech::phrase(kRate, 4.0);
    return p;
}

}  // namespace

// A sustained saw pad as carrier and the phrase at the host's input as
// modulator: each band of the output rises and falls with the same band of
// the phrase.
TEST(Vocoder, BandEnergiesFollowTheHostInput) {
    auto host = loadPlugin(kRate);
    // Wide bands, no shift, low-pass off, input at 0 dB.
    vocoderSetup(*host, kSaw, {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    renderFrames(*host, 8192, 512, padNotes());
    host->setInputSignal(phrase(), phrase());
    const Render r = renderFrames(*host, int(phrase().size()), 512);
    ASSERT_GT(analysis::rms(r.left, 0, r.left.size()), 1e-4);
    for (size_t i = 0; i < r.left.size(); i += 101) ASSERT_EQ(r.left[i], r.right[i]) << "mono output";
    expectBandsFollow(followCorrelation(phrase(), r.left, kRate), "host input");
}

namespace {

// The plug-in built directly, with the vocoder playing `samples` from a WAV
// file (44.1 kHz mono 16-bit) once it has loaded.
struct SamplePlugin {
    std::unique_ptr<APlugin> plugin = makePlugin();

    void load(const std::vector<float>& samples, float fileRate = kRate) {
        const std::string path = tempPath("vocoder-modulator.wav");
        writeWav(path, samples, uint32_t(fileRate));
        const std::string text = path.substr(0, path.size() - 4);
        plugin->setParameter(prm::SamplePathKind, 1.0f);
        plugin->setParameter(prm::SampleFileKind, 0.0f);
        for (int i = 0; i < samples::kPathCharacters; ++i)
            plugin->setParameter(prm::SamplePathFirst + i,
                                 i < int(text.size()) ? samples::encodeCharacter(uint8_t(text[size_t(i)])) : 0.0f);
        plugin->setParameter(prm::SampleLoadRequest, 0.9f);
        processDirect(*plugin, 512);
        for (int i = 0; i < 5000 && !plugin->samplePlayer().sampleLoaded(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            processDirect(*plugin, 512);
        }
        ASSERT_TRUE(plugin->samplePlayer().sampleLoaded());
        plugin->samplePlayer().resetPosition();
    }

    static void writeWav(const std::string& path, const std::vector<float>& x, uint32_t rate) {
        std::vector<int> values;
        for (float v : x) values.push_back(int(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
        const std::vector<uint8_t> bytes = sample_files::wav(1, rate, 16, sample_files::pcm16le(values));
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    void setup(int wave, std::initializer_list<float> knobs) {
        setPlainSine(*plugin);
        plugin->setParameter(prm::Osc1Type, entry(wave, 128));
        plugin->setParameter(prm::Fx1Type, typeValue(kVocoder));
        plugin->setParameter(prm::Fx1Mix, 1.0f);
        plugin->setParameter(prm::Fx1Pan, 0.5f);
        int k = 0;
        for (float v : knobs) plugin->setParameter(knobParameter(0, k++), v);
        plugin->setParameter(prm::VocoderSource, 0.0f);  // "Sample"
        plugin->setParameter(prm::VocoderMode, 0.0f);
    }

    Render render(int frames, const std::vector<VstMidiEvent>& events = {}) {
        Render all;
        for (int at = 0; at < frames; at += 512) {
            const Render r = processDirect(*plugin, std::min(512, frames - at), at == 0 ? events : std::vector<VstMidiEvent>{});
            all.left.insert(all.left.end(), r.left.begin(), r.left.end());
            all.right.insert(all.right.end(), r.right.begin(), r.right.end());
        }
        return all;
    }
};

}  // namespace

// The same with the phrase loaded as the vocoder's sample.
TEST(Vocoder, BandEnergiesFollowTheSample) {
    SamplePlugin p;
    p.setup(kSaw, {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f});
    p.render(8192, padNotes());
    ASSERT_NO_FATAL_FAILURE(p.load(phrase()));
    const Render r = p.render(int(phrase().size()));
    ASSERT_GT(analysis::rms(r.left, 0, r.left.size()), 1e-4);
    // The sample as stored: 16-bit values.
    std::vector<float> stored(phrase().size());
    for (size_t i = 0; i < stored.size(); ++i) stored[i] = std::lround(phrase()[i] * 32767.0f) / 32768.0f;
    expectBandsFollow(followCorrelation(stored, r.left, kRate), "sample");
}

// Band by band: a modulator that moves between a sine at band 12 (327 Hz)
// and one at band 24 (2,140 Hz) every 0.4 s moves the output of a noise
// carrier between those two bands (once the last band's level has died away:
// it falls by 0.998 a sample). The two-pole bands' skirts let some 25 dB
// through from one to the other.
TEST(Vocoder, EachBandFollowsItsOwnPartOfTheModulator) {
    const double low = centre(12), high = centre(24);
    constexpr size_t kSegment = 17640;
    std::vector<float> input(10 * kSegment);
    for (size_t i = 0; i < input.size(); ++i) {
        const double hz = (i / kSegment) % 2 ? high : low;
        input[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / kRate));
    }
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, kNoise, {0.0f, 0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    renderFrames(*host, 4096, 512, {noteOn(0, 57)});
    host->setInputSignal(input, input);
    const Render r = renderFrames(*host, int(input.size()), 512);
    auto energyNear = [&](const std::vector<double>& p, double hz) {
        double e = 0.0;
        for (size_t k = size_t(0.95 * hz * 8192 / kRate); k <= size_t(1.05 * hz * 8192 / kRate); ++k) e += p[k];
        return e;
    };
    for (size_t segment = 1; segment < 10; ++segment) {
        const std::vector<double> p = spectrum::powerSpectrum(r.left, segment * kSegment + 5000, 8192);
        const double lowDb = 10.0 * std::log10(energyNear(p, low) + 1e-30);
        const double highDb = 10.0 * std::log10(energyNear(p, high) + 1e-30);
        if (segment % 2)
            EXPECT_GT(highDb - lowDb, 15.0) << "segment " << segment;
        else
            EXPECT_GT(lowDb - highDb, 15.0) << "segment " << segment;
    }
}

// A sine at the input that only band 20 (1,144 Hz) passes, on a noise
// carrier: the output sits where the synthesis bank puts band 20, "Shift"
// semitones away; at the knob's middle the banks are the same.
TEST(Vocoder, ShiftMovesTheSynthesisBank) {
    const double hz = centre(20);
    std::vector<float> sine(150000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / kRate));
    // One plug-in throughout: each new "Shift" redesigns the synthesis bank.
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, kNoise, {0.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    renderFrames(*host, 4096, 512, {noteOn(0, 57)});
    for (int semitones : {0, 12, -12, 36, -36, 7}) {
        const float c = semitones == 36 ? 1.0f : semitones == -36 ? 0.0f : shiftKnob(semitones);
        host->setParameter(knobParameter(0, 2), c);
        EXPECT_EQ(host->parameterDisplay(knobParameter(0, 2)), (semitones >= 0 ? "+" : "") + std::to_string(semitones) + " semi");
        host->setInputSignal(sine, sine);
        const Render r = renderFrames(*host, int(sine.size()), 512);
        const double expected = hz * std::pow(2.0, semitones / 12.0);
        EXPECT_NEAR(strongestHz(r.left, kRate, 16384), expected, 0.01 * expected + 3.0) << semitones << " semitones";
    }
}

// How much of `x` there is in `y` (least squares), and what is left over
// relative to y.
struct Fit {
    double gain, residue;
};
Fit fit(const std::vector<float>& x, const std::vector<float>& y, size_t begin, size_t end) {
    double xy = 0.0, xx = 1e-30, yy = 1e-30;
    for (size_t i = begin; i < end; ++i) {
        xy += double(x[i]) * y[i];
        xx += double(x[i]) * x[i];
        yy += double(y[i]) * y[i];
    }
    const double gain = xy / xx;
    double rest = 0.0;
    for (size_t i = begin; i < end; ++i) rest += (y[i] - gain * x[i]) * (y[i] - gain * x[i]);
    return {gain, std::sqrt(rest / yy)};
}

// "Mix" 1 passes only the analysis signal times the voices' summed envelope
// level: the host input (at "In Vol") while a note holds at full sustain,
// nothing after it; swapped, the synthesizer's own sound.
TEST(Vocoder, MixOnePassesTheAnalysisSignalAtTheVoiceLevel) {
    std::vector<float> noise(60000);
    uint32_t seed = 1;
    for (float& v : noise) {
        seed = seed * 1664525u + 1013904223u;
        v = float(int32_t(seed)) / 4294967296.0f;
    }
    double full = 0.0;
    for (float inVol : {1.0f, 0.5f}) {
        auto host = loadPlugin(kRate);
        vocoderSetup(*host, 0, {1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, inVol, 0.5f}, true, false);
        host->setInputSignal(noise, noise);
        const Render r = renderFrames(*host, 60000, 512, {noteOn(0, 57), noteOff(40000, 57)});
        const Fit f = fit(noise, r.left, 4096, 40000);
        EXPECT_LT(f.residue, 1e-4) << "In Vol " << inVol;
        if (inVol == 1.0f) {
            full = f.gain;
            EXPECT_NEAR(full, 1.0, 0.02) << "the level of one voice at full sustain";
        } else {
            EXPECT_NEAR(f.gain / full, std::pow(10.0, -0.5), 1e-4) << "In Vol -10 dB";
        }
        EXPECT_LT(analysis::peak(r.left, 40100, 60000), 1e-6) << "no voice, no level";
    }
    // Swapped: the synthesizer's sine (its slot input, the dry signal) passes.
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, 0, {1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f}, true, true);
    host->setInputSignal(noise, noise);
    const Render wet = renderFrames(*host, 20000, 512, {noteOn(0, 57)});
    auto dryHost = loadPlugin(kRate);
    setPlainSine(*dryHost);
    const Render dry = renderFrames(*dryHost, 20000, 512, {noteOn(0, 57)});
    const Fit f = fit(dry.left, wet.left, 4096, 20000);
    EXPECT_LT(f.residue, 1e-4);
    EXPECT_NEAR(f.gain, full, 1e-3);
}

// "Vocoder Mode" "Swapped" makes the synthesizer the modulator: with noise
// from the voices and a 1,144 Hz sine at the input, the output is the sine
// through its band (following it closely); the other way round it is the
// voices' noise in that band, unrelated to the sine's waveform.
TEST(Vocoder, SwappedModeExchangesModulatorAndCarrier) {
    const double hz = centre(20);
    std::vector<float> sine(60000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / kRate));
    auto correlationWithSine = [&](bool swapped) {
        auto host = loadPlugin(kRate);
        vocoderSetup(*host, kNoise, {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, swapped);
        host->setInputSignal(sine, sine);
        const Render r = renderFrames(*host, int(sine.size()), 512, {noteOn(0, 57)});
        double best = 0.0;
        for (int lag = 0; lag < 40; ++lag) {
            double xy = 0.0, xx = 1e-30, yy = 1e-30;
            for (size_t i = 20000; i < sine.size(); ++i) {
                xy += double(sine[i - size_t(lag)]) * r.left[i];
                xx += double(sine[i - size_t(lag)]) * sine[i - size_t(lag)];
                yy += double(r.left[i]) * r.left[i];
            }
            best = std::max(best, std::fabs(xy / std::sqrt(xx * yy)));
        }
        return best;
    };
    EXPECT_GT(correlationWithSine(true), 0.9);
    EXPECT_LT(correlationWithSine(false), 0.3);
}

// "In Pitch" plays the sample at 2^(cents / 1200) of its rate: a 441 Hz sine
// sample heard through "Mix" 1 comes out an octave up at 1, down at 0; a
// sample recorded at 22,050 Hz keeps its pitch.
TEST(Vocoder, InPitchSetsTheSamplePlaybackRate) {
    for (float fileRate : {44100.0f, 22050.0f}) {
        std::vector<float> sine(size_t(fileRate * 4.0f));
        for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * 441.0 * double(i) / fileRate));
        for (float pitch : {0.5f, 1.0f, 0.0f, (1300.5f) / 2400.9f}) {
            SamplePlugin p;
            p.setup(0, {1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f, pitch});
            p.plugin->setParameter(prm::SampleLooping, 1.0f);
            p.render(2048, {noteOn(0, 57)});
            ASSERT_NO_FATAL_FAILURE(p.load(sine, fileRate));
            const Render r = p.render(20000);
            const double cents = std::floor(pitch * 2400.9 - 1200.0);
            EXPECT_NEAR(analysis::frequency(r.left, kRate, 2048, 20000), 441.0 * std::pow(2.0, cents / 1200.0), 0.5)
                << "In Pitch " << pitch << ", file at " << fileRate << " Hz";
        }
    }
}

// While a new sample loads (from the request at one 512-sample boundary to
// the install at a later one) the buffer is the loader's: the vocoder's
// sample source is silent, and plays again once the load has finished.
TEST(Vocoder, ASampleSourceIsSilentWhileANewSampleLoads) {
    std::vector<float> sine(44100);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * 441.0 * double(i) / kRate));
    SamplePlugin p;
    p.setup(0, {1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f});
    p.plugin->setParameter(prm::SampleLooping, 1.0f);
    p.render(2048, {noteOn(0, 57)});
    ASSERT_NO_FATAL_FAILURE(p.load(sine));
    EXPECT_GT(analysis::peak(p.render(512).left), 0.4);
    // The request is taken at the last sample of the next block.
    p.plugin->setParameter(prm::SampleLoadRequest, 0.9f);
    const Render asking = p.render(512);
    EXPECT_GT(analysis::peak(asking.left, 0, 511), 0.4);
    // Silent until the next boundary, the block's last sample, installs the load at the earliest.
    EXPECT_EQ(analysis::peak(p.render(512).left, 0, 511), 0.0);
    for (int i = 0; i < 5000 && !p.plugin->samplePlayer().sampleLoaded(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        p.render(512);
    }
    EXPECT_GT(analysis::peak(p.render(512).left), 0.4);
}

// "Boost" adds up to 40 dB (20 dB at its middle); "LP Filter" at its top
// switches the output low-pass off, just below it the one-pole low-pass of
// the delays (a = 20 x 2^(11 k) / rate) is on: at 96 kHz it takes about
// 2 dB off a band at 6.4 kHz.
TEST(Vocoder, BoostAndTheOutputLowPass) {
    auto level = [](float rate, double hz, float lowPass, float boost) {
        std::vector<float> sine(static_cast<size_t>(rate));
        for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / rate));
        auto host = loadPlugin(rate);
        vocoderSetup(*host, kNoise, {0.0f, 0.5f, 0.5f, lowPass, 0.0f, boost, 1.0f, 0.5f}, true, false);
        host->setInputSignal(sine, sine);
        const Render r = renderFrames(*host, int(sine.size()), 512, {noteOn(0, 57)});
        return 20.0 * std::log10(analysis::rms(r.left, size_t(rate / 4), r.left.size()));
    };
    EXPECT_NEAR(level(44100.0f, centre(20), 1.0f, 0.5f) - level(44100.0f, centre(20), 1.0f, 0.0f), 20.0, 0.3);
    const double a = 20.0 * std::pow(2.0, 11.0 * 0.99) / 96000.0;
    const std::complex<double> z = std::polar(1.0, -2.0 * spectrum::kPi * centre(31) / 96000.0);
    const double lowPassDb = 20.0 * std::log10(std::abs(a / (1.0 - (1.0 - a) * z)));
    EXPECT_NEAR(level(96000.0f, centre(31), 0.99f, 0.0f) - level(96000.0f, centre(31), 1.0f, 0.0f), lowPassDb, 0.3);
}

// The sample plays on while the slot's input is silent (and the vocoder
// silent with it), so it stays in time with the music.
TEST(Vocoder, TheSampleKeepsTimeThroughSilence) {
    std::vector<float> sine(44100 * 8);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * 441.0 * double(i) / kRate));
    SamplePlugin p;
    p.setup(0, {1.0f, 0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f});
    ASSERT_NO_FATAL_FAILURE(p.load(sine));
    const double before = p.plugin->samplePlayer().position();
    const Render r = p.render(100000);
    EXPECT_EQ(analysis::peak(r.left), 0.0) << "no voice: the slot's input is silent";
    EXPECT_NEAR(p.plugin->samplePlayer().position() - before, 100000.0, 1.0);
}

// After the host changes the sample rate the bands are designed anew: a
// sine at band 20's centre still comes out there, and one above the top band
// stays out.
TEST(Vocoder, BandsStayInPlaceWhenTheHostChangesTheSampleRate) {
    const double hz = centre(20);
    std::vector<float> sine(200000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / 96000.0));
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, kNoise, {0.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    renderFrames(*host, 4096, 512, {noteOn(0, 57)});
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    host->setInputSignal(sine, sine);
    const Render r = renderFrames(*host, int(sine.size()), 512);
    EXPECT_NEAR(strongestHz(r.left, 96000.0, 32768), hz, 0.01 * hz + 3.0);
    // Both banks would keep the old ratio to each other, so the sine above
    // would come out where it went in either way; their top tells: 10 kHz
    // lies above the highest band (6,400 Hz) and hardly passes.
    const double inBand = analysis::rms(r.left, 65536, r.left.size());
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * 10000.0 * double(i) / 96000.0));
    host->setInputSignal(sine, sine);
    const Render above = renderFrames(*host, int(sine.size()), 512);
    EXPECT_LT(analysis::rms(above.left, 65536, above.left.size()), 0.03 * inBand);
}

// A band's level falls by 0.998 a sample once its part of the modulator
// stops: 1,000 samples after the input falls silent the output is some
// 17 dB down (wide bands, which ring for less than that).
TEST(Vocoder, BandLevelsFallSlowly) {
    const double hz = centre(20);
    std::vector<float> sine(40000, 0.0f);
    for (size_t i = 0; i < 30000; ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / kRate));
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, kNoise, {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    renderFrames(*host, 4096, 512, {noteOn(0, 57)});
    host->setInputSignal(sine, sine);
    const Render r = renderFrames(*host, int(sine.size()), 512);
    const double before = analysis::rms(r.left, 26000, 30000);
    const double after = analysis::rms(r.left, 30000 + 900, 30000 + 1100);
    EXPECT_NEAR(20.0 * std::log10(after / before), 20.0 * std::log10(std::pow(0.998, 1000.0)), 3.0);
}

// The output's level: a sine of amplitude 0.5 at band 20's centre holds that
// band's level near its peak (the follower settles some 5 % below it), and
// the carrier's noise through the same band comes out at that level times
// "Boost"'s gain, 0.25 / w^1.5 at 0 dB. The carrier's band is measured with a
// band-pass of the same centre and width; the neighbouring bands add a little.
TEST(Vocoder, OutputLevelIsTheCarrierBandTimesTheModulatorLevel) {
    const double hz = centre(20);
    std::vector<float> sine(60000);
    for (size_t i = 0; i < sine.size(); ++i) sine[i] = float(0.5 * std::sin(2.0 * spectrum::kPi * hz * double(i) / kRate));
    auto host = loadPlugin(kRate);
    vocoderSetup(*host, kNoise, {0.0f, 1.0f, 0.5f, 1.0f, 0.0f, 0.0f, 1.0f, 0.5f}, true, false);
    host->setInputSignal(sine, sine);
    const Render r = renderFrames(*host, int(sine.size()), 512, {noteOn(0, 57)});
    auto plain = loadPlugin(kRate);
    vocoderSetup(*plain, kNoise, {}, true, false);
    setEffect(*plain, 0, 0, {});
    const Render dry = renderFrames(*plain, int(sine.size()), 512, {noteOn(0, 57)});
    // The carrier's band: a two-pole band-pass of width w = 0.106 around the centre.
    const double w = 0.1 + 0.006;
    const double k = 1.0 / std::tan(spectrum::kPi * hz * w / kRate), g = 1.0 / (k + 1.0);
    const double b1 = -2.0 * k * std::cos(2.0 * spectrum::kPi * hz / kRate) * g, b2 = (k - 1.0) * g;
    std::vector<float> band(dry.left.size());
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (size_t i = 0; i < band.size(); ++i) {
        const double y = g * (dry.left[i] - x2) - b1 * y1 - b2 * y2;
        x2 = x1, x1 = dry.left[i], y2 = y1, y1 = y;
        band[i] = float(y);
    }
    const double boost = 0.25 / (w * std::sqrt(w));
    const double expected = boost * 0.95 * 0.5 * analysis::rms(band, 20000, band.size());
    EXPECT_NEAR(20.0 * std::log10(analysis::rms(r.left, 20000, r.left.size()) / expected), 0.0, 3.0);
}
