// The bank source's program notes (category, pitch, what a program shows) and
// the two measures the bank checks take from parameter values: which parts of
// the engine a program shows, and how many audible parameters set two
// programs apart.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bankgen/BankCoverage.h"
#include "bankgen/FactorySource.h"
#include "bankgen/ProgramDistance.h"
#include "engine/ModIds.h"
#include "engine/ModeIds.h"
#include "params/Enumerations.h"
#include "params/ParameterTable.h"

namespace {

bool read(const std::string& text, std::vector<bankgen::ProgramNotes>& notes, std::string& error) {
    auto bank = std::make_unique<bankfile::BankImage>();
    return bankgen::readFactorySource(text, "bank.txt", *bank, error, &notes);
}

std::vector<float> defaults() {
    std::vector<float> v(prm::kCount);
    for (int i = 0; i < prm::kCount; ++i) v[i] = params::defaultValue(i);
    return v;
}

// Whether the program shows the item of that group and name.
bool shows(const std::vector<float>& v, const std::string& group, const std::string& name) {
    const std::vector<bankgen::CoverageItem>& items = bankgen::coverageItems();
    const std::vector<bool> shown = bankgen::itemsShown(v.data());
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].group == group && items[i].name == name) return shown[i];
    ADD_FAILURE() << "no item " << group << ": " << name;
    return false;
}

std::vector<std::string> shownItems(const std::vector<float>& v) {
    std::vector<std::string> list;
    const std::vector<bool> shown = bankgen::itemsShown(v.data());
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i]) list.push_back(bankgen::coverageItems()[i].name);
    return list;
}

float choice(const params::Enumeration& e, int entry) { return e.valueOf(entry); }
float source(int s) { return params::kModSource.valueOf(s); }
float destination(int d) { return params::kModDestination.valueOf(d); }

size_t distance(const std::vector<float>& a, const std::vector<float>& b) {
    return bankgen::audibleDifferences(a.data(), b.data()).size();
}

}  // namespace

TEST(BankSource, ProgramNotesGiveCategoryPitchAndWhatTheProgramShows) {
    std::vector<bankgen::ProgramNotes> notes;
    std::string error;
    ASSERT_TRUE(read("[Deep Bass]\ncategory: bass\npitch: -12\nshows: a sub-octave sound\n"
                     "Over-sampling = Mode:2x\n"
                     "[Kit]\ncategory: drums\n"
                     "[Tuned Kit]\ncategory: drums\npitch: 0\n"
                     "[Plain]\n",
                     notes, error))
        << error;
    ASSERT_EQ(notes.size(), 128u);
    EXPECT_EQ(notes[0].name, "Deep Bass");
    EXPECT_EQ(notes[0].category, "bass");
    EXPECT_EQ(notes[0].pitch, -12);
    EXPECT_EQ(notes[0].shows, "a sub-octave sound");
    // Drums and effects have no pitch unless the source gives one; the rest are at concert pitch.
    EXPECT_FALSE(notes[1].pitch);
    EXPECT_EQ(notes[2].pitch, 0);
    EXPECT_EQ(notes[3].pitch, 0);
    EXPECT_TRUE(notes[3].category.empty());
    EXPECT_EQ(notes[4].name, "Init 5");
    EXPECT_TRUE(notes[4].category.empty());

    const std::pair<std::string, std::string> bad[] = {
        {"[A]\ncategory: organ\n", "bank.txt:2: unknown category 'organ'"},
        {"[A]\npitch: -7\n", "bank.txt:2: pitch '-7' is not"},
        {"[A]\npitch: low\n", "bank.txt:2: pitch 'low'"},
        {"[A]\nshows:\n", "bank.txt:2: 'shows:' needs a text"},
        {"[A]\ncolour: red\n", "bank.txt:2: unknown field 'colour'"},
        {"category: bass\n[A]\n", "bank.txt:1: a parameter line before the first"},
    };
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(read(text, notes, error)) << text;
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
    EXPECT_TRUE(read("[A]\npitch: none\n", notes, error)) << error;
    EXPECT_FALSE(notes[0].pitch);
}

// Effect knobs share their names while a slot holds no effect, so the source
// sets them by index; a "#" before a digit is such an index, not a comment.
TEST(BankSource, ParametersByIndexBesideComments) {
    auto bank = std::make_unique<bankfile::BankImage>();
    std::string error;
    ASSERT_TRUE(bankgen::readFactorySource("[A]\nFX 2 Type = Stereo Delay\n"
                                           "#180 = 1/8*\n"
                                           "  #183 = 0.25\n"
                                           "# 186 = 0.9 is a comment\n"
                                           "#comment\n",
                                           "bank.txt", *bank, error))
        << error;
    const float* v = bank->programs[0].values;
    EXPECT_EQ(int(v[180] * 14.99f), 8);  // the beat list's "1/8*"
    EXPECT_FLOAT_EQ(v[183], 0.25f);
    EXPECT_FLOAT_EQ(v[186], params::defaultValue(186));
    EXPECT_FALSE(bankgen::readFactorySource("[A]\n#799 = 0.5\n", "bank.txt", *bank, error));
    EXPECT_EQ(error.rfind("bank.txt:2: '#799' is not a parameter index", 0), 0u) << error;
}

TEST(BankCoverage, CountsWhatActsOnTheSound) {
    std::vector<float> v = defaults();
    // The default sound: oscillator 1's sine through the 24 dB low-pass, poly.
    EXPECT_EQ(shownItems(v), (std::vector<std::string>{"Sine .. Triangle", "24dB LowPass", "Bypass", "Poly"}));

    // Oscillator 2 without output is heard only through what it modulates.
    v[prm::Osc2On] = 1.0f;
    v[prm::Osc2Type] = choice(params::kWaveform, 30);  // "Glass"
    v[prm::Osc2Output] = 0.0f;
    EXPECT_FALSE(shows(v, "Waveform family", "Glass .. Digix"));
    v[prm::Osc3On] = 1.0f;
    v[prm::Osc3FmMode] = choice(params::kOsc3FM, 4);  // "FM 2"
    EXPECT_FALSE(shows(v, "Waveform family", "Glass .. Digix"));  // no FM amount yet
    v[prm::Osc3FmAmount] = 0.3f;
    EXPECT_TRUE(shows(v, "Waveform family", "Glass .. Digix"));
    v[prm::Osc2Volume] = 0.0f;
    EXPECT_FALSE(shows(v, "Waveform family", "Glass .. Digix"));

    // An effect counts when it is not dry and the effects are not bypassed.
    v[prm::Fx1Type + 1] = choice(params::kFxType, 4);  // slot 2: "Reverb"
    v[prm::Fx1Mix + 1] = 0.0f;
    EXPECT_FALSE(shows(v, "Effect", "Reverb"));
    v[prm::Fx1Mix + 1] = 0.5f;
    EXPECT_TRUE(shows(v, "Effect", "Reverb"));
    // "FX Mod" needs a source, an amount and an effect in the slot it addresses.
    v[prm::FxMod1Source] = source(modsrc::Velocity);
    v[prm::FxMod1Amt] = 0.8f;
    v[prm::FxMod1Destination] = 1.5f / 99.99f;  // "FX 1 mix": slot 1 is empty
    EXPECT_FALSE(shows(v, "Modulation", "FX Mod 1"));
    v[prm::FxMod1Destination] = 11.5f / 99.99f;  // "FX 2 mix"
    EXPECT_TRUE(shows(v, "Modulation", "FX Mod 1"));
    v[prm::FxMod1Destination] = 20.5f / 99.99f;  // "FX2 H", the slot's last
    EXPECT_TRUE(shows(v, "Modulation", "FX Mod 1"));
    v[prm::FxMod1Destination] = 21.5f / 99.99f;  // "FX 3 mix": slot 3 is empty
    EXPECT_FALSE(shows(v, "Modulation", "FX Mod 1"));
    v[prm::FxMod1Destination] = 11.5f / 99.99f;
    v[prm::FxBypass] = 1.0f;
    EXPECT_FALSE(shows(v, "Effect", "Reverb"));
    EXPECT_FALSE(shows(v, "Modulation", "FX Mod 1"));

    // A modulation slot needs a source, a destination and an amount off centre.
    v[prm::Mod1Source + 2] = source(modsrc::Lfo1);
    v[prm::Mod1Destination + 2] = destination(moddst::FiltFreq);
    EXPECT_FALSE(shows(v, "Modulation", "Mod 3"));
    v[prm::Mod1Amt + 2] = 0.7f;
    EXPECT_TRUE(shows(v, "Modulation", "Mod 3"));

    // LFO modes count for LFOs that run and reach something.
    v[prm::FreeLfo2Mode] = choice(params::kLfoMode, 2);  // "Mono"
    v[prm::FreeLfo2Dest] = destination(moddst::Panning);
    v[prm::FreeLfo2ModAmt] = 0.9f;
    EXPECT_FALSE(shows(v, "LFO mode", "Mono"));  // speed "Off"
    v[prm::FreeLfo2Speed] = 0.5f;
    EXPECT_TRUE(shows(v, "LFO mode", "Mono"));
    EXPECT_TRUE(shows(v, "Modulation", "Free LFO 2"));
    v[prm::FilterLfoMode] = choice(params::kLfoMode, 1);  // "Free", default speed, but no amount
    EXPECT_FALSE(shows(v, "LFO mode", "Free"));
    v[prm::FilterLfoAmt] = 0.3f;
    EXPECT_TRUE(shows(v, "LFO mode", "Free"));
    v[prm::FilterType] = choice(params::kFilterType, 0);  // "Bypass": nothing for the LFO to move
    EXPECT_FALSE(shows(v, "LFO mode", "Free"));
}

TEST(BankCoverage, PlayModesGlideChordMemoryAndTheArpeggiator) {
    std::vector<float> v = defaults();
    v[prm::PlayMode] = choice(params::kPlayMode, playmode::Unison6);
    v[prm::UnisonAmount] = 0.0f;
    EXPECT_TRUE(shows(v, "Play mode", "Unison 6"));
    EXPECT_FALSE(shows(v, "Voice feature", "Unison"));  // six voices at one pitch
    v[prm::UnisonAmount] = 0.2f;
    EXPECT_TRUE(shows(v, "Voice feature", "Unison"));

    v[prm::PortMode] = choice(params::kPortMode, portmode::ConstTime);
    v[prm::PortSpeed] = 0.1f;
    EXPECT_FALSE(shows(v, "Voice feature", "Glide"));  // too fast to hear
    v[prm::PortSpeed] = 0.72f;
    EXPECT_TRUE(shows(v, "Voice feature", "Glide"));

    v[prm::ChordMode] = choice(params::kChordMode, 2);  // "Play", with the default three-note chord
    EXPECT_TRUE(shows(v, "Voice feature", "Chord memory"));
    v[prm::ChordCount] = 0.5f * 0.1001001f;  // one note is no chord
    EXPECT_FALSE(shows(v, "Voice feature", "Chord memory"));

    // Arpeggiator modes count in play mode "Arp"; "Mod" outside it, feeding a slot.
    v[prm::ArpMode] = choice(params::kArpMode, 9);  // "Chord"
    EXPECT_FALSE(shows(v, "Arpeggiator mode", "Chord"));
    v[prm::PlayMode] = choice(params::kPlayMode, playmode::Arp);
    EXPECT_TRUE(shows(v, "Arpeggiator mode", "Chord"));
    v[prm::ArpMode] = choice(params::kArpMode, 10);  // "Mod"
    v[prm::Mod1Source] = source(modsrc::ArpFree);
    v[prm::Mod1Destination] = destination(moddst::FiltFreq);
    v[prm::Mod1Amt] = 0.9f;
    EXPECT_FALSE(shows(v, "Arpeggiator mode", "Mod"));
    v[prm::PlayMode] = choice(params::kPlayMode, playmode::Poly);
    EXPECT_TRUE(shows(v, "Arpeggiator mode", "Mod"));
    v[prm::Mod1Source] = source(modsrc::Velocity);
    EXPECT_FALSE(shows(v, "Arpeggiator mode", "Mod"));
}

TEST(ProgramDistance, CountsOnlyAudibleDifferences) {
    const std::vector<float> a = defaults();
    std::vector<float> b = a;
    EXPECT_EQ(distance(a, b), 0u);
    // Oscillator 3 is off: its settings are not heard.
    b[prm::Osc3Type] = 0.5f;
    b[prm::Osc3Volume] = 1.0f;
    EXPECT_EQ(distance(a, b), 0u);
    b[prm::Osc3On] = 1.0f;  // now it is, with another wave and level than a's silent one
    EXPECT_EQ(distance(a, b), 3u);

    b = a;
    b[prm::FilterResonance] += 0.04f;  // too small to hear
    EXPECT_EQ(distance(a, b), 0u);
    b[prm::FilterResonance] += 0.02f;
    EXPECT_EQ(distance(a, b), 1u);
    b[prm::Osc1Semi] += 0.011f;  // one semitone
    EXPECT_EQ(distance(a, b), 2u);
    b[prm::Osc1On] = 0.0f;  // silenced in b, but a's oscillator 1 still plays its semitone
    EXPECT_EQ(distance(a, b), 3u);

    b = a;
    b[params::fxKnobParameter(0, 2)] = 0.9f;  // a knob of an empty slot
    EXPECT_EQ(distance(a, b), 0u);
    b[prm::Fx1Type] = choice(params::kFxType, 1);  // "Mono Delay": knob C is its "LP Filter"
    EXPECT_EQ(distance(a, b), 2u);
    b[params::fxKnobParameter(0, 7)] = 0.9f;  // knob H, which the delay does not use
    EXPECT_EQ(distance(a, b), 2u);

    // Arpeggiator steps count while the pattern plays them.
    b = a;
    b[prm::PlayMode] = choice(params::kPlayMode, playmode::Arp);
    b[prm::ArpSteps] = choice(params::kArpSteps, 3);  // 4 steps
    b[prm::ArpStepDataFirst + 4 * 16 + 2] = 0.9f;     // step 3's tune
    b[prm::ArpStepDataFirst + 4 * 16 + 9] = 0.9f;     // step 10's, not played
    EXPECT_EQ(bankgen::audibleDifferences(a.data(), b.data()),
              (std::vector<int>{prm::PlayMode, prm::ArpSteps, prm::ArpStepDataFirst + 4 * 16 + 2}));
}
