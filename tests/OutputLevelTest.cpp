// What reaches each output channel from one held sine: the master volume's
// -60 dB taper and channel volume, the linear balance of "Main Panning",
// "Velocity > Volume", "Velocity Shape" and the sustain level, all in absolute
// amplitudes.
#include <gtest/gtest.h>

#include "AudioAnalysis.h"
#include "FrequencyAnalysis.h"
#include "TestSupport.h"
#include "TransportSupport.h"
#include "engine/ModIds.h"
#include "params/ParamIds.h"

using namespace testing_support;

namespace {

struct Setting {
    float volume, pan, velocityToVolume;
    int velocity, channelVolume;
    double left, right;  // expected amplitudes
    float velocityShape = 0.5f;
    bool velocityToMaster = false;  // "Mod 1": "Velocity" to "Volume" at full amount
};

// Full sustain holds the envelope at 0.99; a -60 dB .. 0 dB taper; linear balance.
constexpr double kSustain = 0.99;
double taper(double v) { return std::pow(10.0, (60.0 * v - 60.0) / 20.0); }
// "Velocity Shape" bends the velocity by the exponent 2^(3 - 6 x shape).
double shaped(double velocity, double shape) { return std::pow(velocity, std::exp2(3.0 - 6.0 * shape)); }

}  // namespace

TEST(OutputLevel, VolumePanAndVelocityReachBothChannels) {
    const double soft = 64.0 / 127.0, quarter = 32.0 / 127.0;
    const Setting settings[] = {
        {1.0f, 0.5f, 0.0f, 100, 127, kSustain, kSustain},  // full sustain is 0.99, not 1
        {0.75f, 0.5f, 0.0f, 100, 127, kSustain * taper(0.75), kSustain * taper(0.75)},
        {0.5f, 0.5f, 0.0f, 100, 127, kSustain * taper(0.5), kSustain * taper(0.5)},
        {0.0005f, 0.5f, 0.0f, 100, 127, 0.0, 0.0},  // below 0.001: silence, not -60 dB
        {1.0f, 0.25f, 0.0f, 100, 127, kSustain, kSustain * 0.5},
        {1.0f, 0.8f, 0.0f, 100, 127, kSustain * 0.4, kSustain},
        {1.0f, 0.0f, 0.0f, 100, 127, kSustain, 0.0},
        {1.0f, 1.0f, 0.0f, 100, 127, 0.0, kSustain},
        {1.0f, 0.5f, 1.0f, 64, 127, kSustain * soft, kSustain * soft},
        {1.0f, 0.5f, 1.0f, 127, 127, kSustain, kSustain},
        {1.0f, 0.5f, 0.5f, 32, 127, kSustain * (0.5 * quarter + 0.5), kSustain * (0.5 * quarter + 0.5)},
        {1.0f, 0.5f, 0.0f, 100, 64, kSustain * soft, kSustain * soft},
        // All at once: each factor multiplies, on each side.
        {0.75f, 0.25f, 0.5f, 32, 64, kSustain * taper(0.75) * soft * (0.5 * quarter + 0.5),
         kSustain * taper(0.75) * soft * (0.5 * quarter + 0.5) * 0.5},
        // "Velocity > Volume" follows the key's velocity itself, whatever the shape.
        {1.0f, 0.5f, 1.0f, 64, 127, kSustain * soft, kSustain * soft, 0.0f},
        {1.0f, 0.5f, 1.0f, 64, 127, kSustain * soft, kSustain * soft, 1.0f},
        // The shaped velocity reaches the level through the matrix: 8th power,
        // straight, 8th root.
        {1.0f, 0.5f, 0.0f, 64, 127, kSustain * shaped(soft, 0.0), kSustain * shaped(soft, 0.0), 0.0f, true},
        {1.0f, 0.5f, 0.0f, 64, 127, kSustain * soft, kSustain * soft, 0.5f, true},
        {1.0f, 0.5f, 0.0f, 64, 127, kSustain * shaped(soft, 1.0), kSustain * shaped(soft, 1.0), 1.0f, true},
        {1.0f, 0.5f, 1.0f, 64, 127, kSustain * soft * shaped(soft, 0.25), kSustain * soft * shaped(soft, 0.25),
         0.25f, true},
    };
    for (const Setting& s : settings) {
        auto host = loadPlugin();
        setPlainSine(*host);
        host->setParameter(prm::MainVolume, s.volume);
        host->setParameter(prm::MainPanning, s.pan);
        host->setParameter(prm::VelocityToVolume, s.velocityToVolume);
        host->setParameter(prm::VelocityShape, s.velocityShape);
        if (s.velocityToMaster) {
            host->setParameter(prm::Mod1Source, modChoice(modsrc::Velocity));
            host->setParameter(prm::Mod1Destination, modChoice(moddst::Volume));
            host->setParameter(prm::Mod1Amt, 1.0f);
            host->setParameter(prm::Mod1ModSource, modChoice(modsrc::None));
        }
        // The pan and master smoothers settle within the first 30000 samples.
        auto r = renderFrames(*host, 40000, 512,
                              {controller(0, 7, s.channelVolume), noteOn(0, 81, s.velocity)});
        const double left = spectrum::amplitudeAt(r.left, 30000, 40000, 440.0, 44100.0);
        const double right = spectrum::amplitudeAt(r.right, 30000, 40000, 440.0, 44100.0);
        SCOPED_TRACE(testing::Message() << "volume " << s.volume << ", pan " << s.pan << ", velocity "
                                        << s.velocity << " at " << s.velocityToVolume
                                        << ", channel volume " << s.channelVolume << ", shape "
                                        << s.velocityShape << (s.velocityToMaster ? " to the master" : ""));
        // The pan smoother settles a hair short of its end (-100 dB).
        EXPECT_NEAR(left, s.left, s.left * 0.002 + 1e-5);
        EXPECT_NEAR(right, s.right, s.right * 0.002 + 1e-5);
        if (s.right == 0.0) {
            EXPECT_LT(analysis::peak(r.right, 30000, 40000), 1e-5);
        }
    }
}
