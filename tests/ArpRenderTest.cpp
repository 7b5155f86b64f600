// brennix-render plays an arpeggiated program on the host's grid: through a
// MIDI file's tempo map, and at the tempo given with --tempo.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "MidiBytes.h"
#include "RenderToolSupport.h"
#include "TransportSupport.h"
#include "params/ParamIds.h"

using namespace midi_bytes;
using namespace render_tool;
using testing_support::choice;
using testing_support::onsets;
using testing_support::tempPath;

namespace {

// Play mode "Arp" on a plain square wave, notes half a step long.
std::string arpProgram() {
    const std::pair<int, float> settings[] = {
        {prm::PlayMode, choice(4, 8)},   {prm::ArpSpeed, choice(4, 9)},
        {prm::ArpNoteLength, 0.5f / 1.05f}, {prm::Osc1Type, choice(2, 128)},
        {prm::FilterType, 0.0f},         {prm::Filter2Type, 0.0f},
        {prm::VolumeEnvelopeAttack, 0.0f}, {prm::VolumeEnvelopeSustain, 1.0f},
        {prm::VolumeEnvelopeRelease, 0.0f}, {prm::OverSampling, 0.0f},
        {prm::PitchLfoAmountControl, 0.0f}, {prm::AnalogDrift, 0.0f},
        {prm::MainVolume, 1.0f},         {prm::Osc1Volume, 1.0f},
    };
    // The default sound first (every factory program is a designed sound).
    std::string args = "--program " + std::to_string(testing_support::kDefaultSoundProgram);
    char buffer[64];
    for (int i = 0; i < prm::kCount; ++i) {
        std::snprintf(buffer, sizeof buffer, " --set %d=%.6f", i, params::defaultValue(i));
        args += buffer;
    }
    for (const auto& [index, value] : settings) {
        std::snprintf(buffer, sizeof buffer, " --set %d=%.6f", index, value);
        args += buffer;
    }
    return args;
}

std::vector<float> render(const std::string& midi, const std::string& options) {
    const std::string out = tempPath("arp-grid.wav");
    Outcome r = run("'" BRENNIX_PLUGIN_PATH "' --quiet --midi '" + midi + "' " + arpProgram() + " " + options +
                    " --tail 0.2 --out '" + out + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    return readWav(out).left;
}

// Every onset on its sixteenth: from the boundary to 16 samples after it. The
// key comes on the first boundary itself, so that note sounds a control period late.
void expectOnGrid(const std::vector<long>& found, const std::vector<double>& boundaries, const std::string& what) {
    ASSERT_EQ(found.size(), boundaries.size()) << what;
    EXPECT_LT(found[0], 32) << what;
    for (size_t k = 1; k < found.size(); ++k) {
        EXPECT_GE(double(found[k]) + 0.5, boundaries[k]) << what << " step " << k;
        EXPECT_LT(double(found[k]), boundaries[k] + 16.0) << what << " step " << k;
    }
}

}  // namespace

TEST(ArpRender, OnTheGridOfATempoMap) {
    // 120 BPM, 90 from tick 1070 (just before a sixteenth), 174 from tick 2000;
    // the key is held for two bars.
    const uint32_t micros[] = {500000, 666667, 344828};
    const uint32_t changes[] = {0, 1070, 2000};
    const std::string mid = tempPath("arp-tempo-map.mid");
    save(mid, cat({header(0, 1, 480),
                   track(cat({tempo(0, micros[0]), ev(0, {0x90, 93, 100}), tempo(1070, micros[1]),
                              tempo(930, micros[2]), ev(1840, {0x80, 93, 0}), end()}))}));
    auto secondsAt = [&](double tick) {
        double seconds = 0.0;
        for (int s = 0; s < 3; ++s) {
            const double from = changes[s], to = s < 2 ? changes[s + 1] : 1e12;
            if (tick > from) seconds += (std::min(tick, to) - from) / 480.0 * micros[s] * 1e-6;
        }
        return seconds;
    };
    std::vector<double> boundaries;
    for (int k = 0; k < 32; ++k) boundaries.push_back(secondsAt(120.0 * k) * 44100.0);
    for (int block : {512, 4096})
        expectOnGrid(onsets(render(mid, "--block " + std::to_string(block))), boundaries,
                     "block " + std::to_string(block));
}

TEST(ArpRender, OnTheGridOfTheTempoOption) {
    const std::string mid = tempPath("arp-no-tempo.mid");
    save(mid, cat({header(0, 1, 480), track(cat({ev(0, {0x90, 93, 100}), ev(1920, {0x80, 93, 0}), end()}))}));
    std::vector<double> boundaries;
    for (int k = 0; k < 16; ++k) boundaries.push_back(k * 44100.0 * 15.0 / 174.0);
    expectOnGrid(onsets(render(mid, "--tempo 174")), boundaries, "--tempo 174");
}
