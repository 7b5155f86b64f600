// What moves the main filter: key tracking, the filter envelope's amount and
// direction, velocity (through "Velocity Shape") and the mod wheel each shift
// the cutoff by a knob distance the test predicts; resonance lifts the
// corner; drive and "Filter Smoothing" shape the level into the filter.
#include <gtest/gtest.h>

#include <functional>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "TestSupport.h"
#include "Values.h"
#include "params/ParamIds.h"

using namespace testing_support;
using namespace values;

namespace {

constexpr double kRate = 44100.0;

// A sine at -40 dB (the filter's saturating stages stay linear), level
// normalisation off, no drive or resonance, every cutoff modulation neutral.
void setQuietSine(vsthost::PluginHost& host) {
    setPlainSine(host);
    host.setParameter(prm::Osc1Volume, 1.0f / 3.0f);
    for (auto [p, v] : {std::pair{prm::FilterSmoothing, 0.0f}, {prm::FilterResonance, 0.0f},
                        {prm::FilterKeytracking, 0.5f}, {prm::FilterEnvelopeAmt, 0.5f},
                        {prm::VelToFilterFrequencyAmt, 0.5f}, {prm::ModToFilterFrequencyAmt, 0.5f}})
        host.setParameter(p, v);
}

using Adjust = std::function<void(vsthost::PluginHost&)>;

// Level (dB) of a held note after every smoother has settled; `before` goes
// ahead of the note (a mod wheel position, say).
double heldLevelDb(int filterType, float cutoff, int note, const Adjust& adjust, int velocity = 100,
                   std::vector<VstMidiEvent> before = {}) {
    auto host = loadPlugin();
    setQuietSine(*host);
    host->setParameter(prm::FilterType, choice(filterType, 14));
    host->setParameter(prm::FilterFrequency, cutoff);
    adjust(*host);
    before.push_back(noteOn(0, note, velocity));
    auto r = renderFrames(*host, 24000, 512, before);
    return spectrum::decibels(spectrum::amplitudeAt(r.left, 16000, 24000, noteHz(note), kRate));
}

constexpr int kLowPass24 = 9;
constexpr int kLowPass12 = 3;
constexpr int kBypass = 0;

}  // namespace

TEST(FilterControls, EachModulationShiftsTheCutoffByItsPredictedAmount) {
    // Each case plays a note with some modulation on a cutoff knob, and must
    // sound like the same note with no modulation and the knob moved by
    // `shift` (10 octaves per unit; the tone sits about an octave above the
    // resulting cutoff, on the 24 dB slope, where 0.01 is 2.4 dB, and every
    // shift is at least 0.1).
    struct Case {
        const char* what;
        int note, velocity;
        float knob;
        double shift;
        Adjust adjust;
        std::vector<VstMidiEvent> before = {};
    };
    auto set = [](std::initializer_list<std::pair<int, float>> values) {
        return [values](vsthost::PluginHost& h) {
            for (auto [p, v] : values) h.setParameter(p, v);
        };
    };
    const double pitch81 = (81 - 57) / 12.0;  // octaves above note 57
    const double soft = 32.0 / 127.0;
    const Case cases[] = {
        // Key tracking: 2^(pitch (2 k - 1)); 0.5 tracks nothing, 1 fully, 0 inversely.
        {"full key tracking", 81, 100, 0.15f, pitch81 / 10.0, set({{prm::FilterKeytracking, 1.0f}})},
        {"three-quarter tracking", 81, 100, 0.25f, 0.5 * pitch81 / 10.0, set({{prm::FilterKeytracking, 0.75f}})},
        {"inverse tracking", 81, 100, 0.55f, -pitch81 / 10.0, set({{prm::FilterKeytracking, 0.0f}})},
        // The envelope at sustain s holds 0.99 s; the amount scales it by 2a - 1.
        {"envelope up", 93, 100, 0.05f, 0.99 * 0.4,
         set({{prm::FilterEnvelopeAmt, 1.0f}, {prm::FilterEnvelopeDecay, 0.0f}, {prm::FilterEnvelopeSustain, 0.4f}})},
        {"envelope down", 69, 100, 0.6f, -0.99 * 0.4,
         set({{prm::FilterEnvelopeAmt, 0.0f}, {prm::FilterEnvelopeDecay, 0.0f}, {prm::FilterEnvelopeSustain, 0.4f}})},
        {"half envelope up", 105, 100, 0.0f, 0.5 * 0.99,
         set({{prm::FilterEnvelopeAmt, 0.75f}, {prm::FilterEnvelopeDecay, 0.0f}})},
        // Velocity: (shaped velocity - 0.5) (2a - 1), shaped = (v / 127)^(2^(3 - 6 shape)).
        {"full velocity", 105, 127, 0.0f, 0.5, set({{prm::VelToFilterFrequencyAmt, 1.0f}})},
        {"soft velocity, linear shape", 81, 32, 0.6f, soft - 0.5, set({{prm::VelToFilterFrequencyAmt, 1.0f}})},
        {"soft velocity, shape 0", 81, 32, 0.8f, std::pow(soft, 8.0) - 0.5,
         set({{prm::VelToFilterFrequencyAmt, 1.0f}, {prm::VelocityShape, 0.0f}})},
        {"soft velocity, shape 1", 105, 32, 0.2f, std::pow(soft, 0.125) - 0.5,
         set({{prm::VelToFilterFrequencyAmt, 1.0f}, {prm::VelocityShape, 1.0f}})},
        {"inverted velocity", 81, 127, 0.6f, -0.25, set({{prm::VelToFilterFrequencyAmt, 0.25f}})},
        // The mod wheel: wheel (2a - 1), after the wheel's own smoothing.
        {"wheel up", 105, 100, 0.0f, 0.5, set({{prm::ModToFilterFrequencyAmt, 0.75f}}), {controller(0, 1, 127)}},
        {"wheel half up", 93, 100, 0.2f, 0.5 * 64.0 / 127.0, set({{prm::ModToFilterFrequencyAmt, 0.75f}}),
         {controller(0, 1, 64)}},
        {"wheel down", 81, 100, 0.7f, -0.4, set({{prm::ModToFilterFrequencyAmt, 0.3f}}), {controller(0, 1, 127)}},
    };
    for (const Case& c : cases) {
        const double modulated = heldLevelDb(kLowPass24, c.knob, c.note, c.adjust, c.velocity, c.before);
        const double moved = heldLevelDb(kLowPass24, float(c.knob + c.shift), c.note,
                                         [](vsthost::PluginHost&) {}, c.velocity);
        EXPECT_NEAR(modulated, moved, 0.25) << c.what;
    }
}

TEST(FilterControls, ResonanceLiftsTheCorner) {
    // The 12 dB state-variable low-pass at its corner: sqrt 2 / (1 - resonance).
    const int note = 93;  // 880 Hz
    const double open = heldLevelDb(kBypass, 0.5f, note, [](vsthost::PluginHost&) {});
    for (float resonance : {0.0f, 0.5f, 0.75f}) {
        const double corner = heldLevelDb(kLowPass12, cutoffFor(noteHz(note)), note,
                                          [resonance](vsthost::PluginHost& h) {
                                              h.setParameter(prm::FilterResonance, resonance);
                                          });
        EXPECT_NEAR(corner - open, spectrum::decibels(M_SQRT2 / (1.0 - resonance)), 0.3) << resonance;
    }
}

TEST(FilterControls, DriveSaturatesAndSmoothingMakesItLevelIndependent) {
    // Drive k = 2^(6 d) - 1 maps x to (1 + k) x / (1 + k |x|); with "Filter
    // Smoothing" the stage sees the oscillators' level divided out, and the
    // output gets it back. The filter is bypassed; the peak is that of the
    // held sine (0.99 at full sustain) after the stage.
    struct Case {
        float oscVolume, distortion;
        bool smoothing;
    };
    const Case cases[] = {
        {1.0f / 3.0f, 0.0f, false}, {1.0f / 3.0f, 0.5f, false}, {1.0f / 3.0f, 1.0f, false},
        {1.0f / 3.0f, 0.5f, true},  {1.0f, 0.5f, false},        {2.0f / 3.0f, 0.25f, true},
    };
    for (const Case& c : cases) {
        auto host = loadPlugin();
        setQuietSine(*host);
        host->setParameter(prm::Osc1Volume, c.oscVolume);
        host->setParameter(prm::FilterDistortion, c.distortion);
        host->setParameter(prm::FilterSmoothing, c.smoothing ? 1.0f : 0.0f);
        auto r = renderFrames(*host, 30000, 512, {noteOn(0, 81)});
        const double level = std::pow(10.0, (60.0 * c.oscVolume - 60.0) / 20.0);
        const double k = std::exp2(6.0 * c.distortion) - 1.0;
        const double x = c.smoothing ? 1.0 : level;
        const double stage = std::min(1.0, (1.0 + k) * x / (1.0 + k * x));
        const double y = stage * (c.smoothing ? level : 1.0);
        // A wave driven near 1 is nearly square, and the DC blocker tilts its tops a little.
        EXPECT_NEAR(analysis::peak(r.left, 20000, 30000), 0.99 * y, 0.99 * y * (stage > 0.9 ? 0.006 : 0.003))
            << "volume " << c.oscVolume << ", distortion " << c.distortion << ", smoothing " << c.smoothing;
    }
}

TEST(FilterControls, CutoffStopsAt50HzAndAFifthOfTheSampleRate) {
    // Knob 0 (20 Hz) acts as 50 Hz, knob 1 (20.48 kHz) as 8820 Hz; just inside
    // either limit the cutoff still moves.
    auto none = [](vsthost::PluginHost&) {};
    const int kHighPass12 = 4;
    const double bottom = heldLevelDb(kLowPass12, 0.0f, 57, none);
    EXPECT_NEAR(bottom, heldLevelDb(kLowPass12, cutoffFor(50.0), 57, none), 0.1);
    EXPECT_LT(bottom, heldLevelDb(kLowPass12, cutoffFor(60.0), 57, none) - 1.0);
    const double top = heldLevelDb(kHighPass12, 1.0f, 105, none);
    EXPECT_NEAR(top, heldLevelDb(kHighPass12, cutoffFor(8820.0), 105, none), 0.1);
    EXPECT_LT(top, heldLevelDb(kHighPass12, cutoffFor(7000.0), 105, none) - 1.0);
}
