// Whatever the sound and the playing, the engine's output stays finite and
// bounded: every parameter at 0, at 1 and at random, at three sample rates,
// with chords across the keyboard, extreme velocities, pitch bend and mod wheel.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TestSupport.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

// The main filter limits a voice to +-100 times the level sum of its three
// oscillators; the secondary filter may lift that a little; sixteen voices.
constexpr float kBound = 10000.0f;

std::vector<VstMidiEvent> wildPlaying(int frames) {
    std::vector<VstMidiEvent> events;
    int chord = 0;
    for (int at = 0; at + 2000 <= frames; at += 2000, ++chord) {
        const int root = (chord * 23) % 116;
        const int velocity = chord % 2 ? 127 : 1;
        for (int k : {0, 4, 7, 12, 3, 10})
            events.push_back(noteOn(at + k, std::min(127, root + k), velocity));
        events.push_back(vsthost::PluginHost::midi(at + 10, 0xE0, chord % 2 ? 0x7F : 0,
                                                   chord % 2 ? 0x7F : 0));
        events.push_back(controller(at + 20, 1, chord % 3 ? 127 : 0));
        for (int k : {0, 4, 7, 12, 3, 10}) events.push_back(noteOff(at + 1500 + k, std::min(127, root + k)));
    }
    return events;
}

void expectFiniteAndBounded(const char* what, float rate, float (*valueOf)(int, std::mt19937&),
                            unsigned seed) {
    auto host = loadPlugin(rate);
    std::mt19937 random(seed);
    for (int p = 0; p < APlugin::kNumParams; ++p) host->setParameter(p, valueOf(p, random));
    if (seed != 0) {
        // Random sounds are often silent; make sure these ones are heard.
        host->setParameter(prm::MainVolume, 1.0f);
        host->setParameter(prm::Osc3On, 1.0f);
        host->setParameter(prm::Osc3Volume, 1.0f);
        host->setParameter(prm::VolumeEnvelopeAttack, 0.0f);
        host->setParameter(prm::VolumeEnvelopeSustain, 1.0f);
        if (int(host->getParameter(prm::PlayMode) * 7.99f) == 4) host->setParameter(prm::PlayMode, 0.0f);
    }
    constexpr int kFrames = 40000;
    auto r = renderFrames(*host, kFrames, 512, wildPlaying(kFrames));
    for (const auto* channel : {&r.left, &r.right})
        for (size_t i = 0; i < channel->size(); ++i) {
            const float x = (*channel)[i];
            ASSERT_TRUE(std::isfinite(x) && std::fabs(x) <= kBound)
                << what << " at " << rate << " Hz, seed " << seed << ", sample " << i << ": " << x;
        }
}

}  // namespace

TEST(EngineExtremes, EveryParameterAtZeroOneOrRandomStaysFiniteAndBounded) {
    for (float rate : {44100.0f, 96000.0f, 192000.0f}) {
        expectFiniteAndBounded("all 0", rate, [](int, std::mt19937&) { return 0.0f; }, 0);
        expectFiniteAndBounded("all 1", rate, [](int, std::mt19937&) { return 1.0f; }, 0);
        expectFiniteAndBounded(
            "NaN and infinities", rate,
            [](int p, std::mt19937&) {
                return p % 3 == 0 ? NAN : (p % 3 == 1 ? INFINITY : -INFINITY);
            },
            0);
        for (unsigned seed : {1u, 2u, 3u, 4u})
            expectFiniteAndBounded(
                "random", rate,
                [](int, std::mt19937& random) {
                    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
                },
                seed);
    }
}
