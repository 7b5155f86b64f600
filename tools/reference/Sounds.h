// The sounds the benchmarks and the reference renders play, as parameter
// settings applied on top of the default sound.
#pragma once

#include <utility>
#include <vector>

namespace vsthost {
class PluginHost;
}

namespace sounds {

// The program that selectDefaultSound turns into the default sound.
constexpr int kDefaultSoundProgram = 127;

// Gives program kDefaultSoundProgram every parameter's default value through
// setParameter and selects it again, so that it starts whole from the default
// sound (the factory bank's programs are all designed sounds).
void selectDefaultSound(vsthost::PluginHost& host);

using Setting = std::pair<int, float>;
using Sound = std::vector<Setting>;

// The middle of choice `index` among `count` entries, as the editor writes it.
float choice(int index, int count);
// The middle of a modulation source or destination (100 entries each).
float modulation(int index);

// The default sound: one sine through the 24 dB low-pass at 16x oversampling.
inline Sound defaultSound() { return {}; }
// One saw at 1x through the 12 dB low-pass, no effects.
Sound light();
// Three saws with spread on all three at 16x through "24dB LowPass", no effects.
Sound heavyVoices();
// heavyVoices with reverb, chorus and stereo delay in the three slots.
Sound heavy();
// heavyVoices with stereo delay, chorus and mono delay: the heavy program
// without the reverb, for the reference renders (the reverb is another
// family's to change).
Sound heavyWithoutReverb();
// The default sound with a phaser in each slot: effects that rest while
// their input is silent.
Sound restingEffects();
// The three-saw sound at 1x with everything modulating: poly filter and free
// LFOs, both free envelopes, all four "Mod" slots routed, vibrato on.
Sound modulated();

// Appends `more` to `base` (later settings win).
Sound with(Sound base, const Sound& more);

}  // namespace sounds
