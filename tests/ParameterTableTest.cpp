// Parameter names and display texts as a host reads them: boundaries of every
// rule kind, texts that depend on a sibling parameter, effect knobs that follow
// their slot's type, and texts that must never overrun the host's buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <set>
#include <string>

#include "TestSupport.h"
#include "Values.h"

using testing_support::loadPlugin;

namespace {
constexpr int kSlotType[] = {170, 171, 172};
// The value the editor writes for effect type t.
float typeValue(int t) { return (t + 0.5f) / 24.99f; }
// Knob k (0..7) of slot s (0..2).
int knob(int slot, int k) { return 179 + 3 * k + slot; }

struct Table : ::testing::Test {
    std::unique_ptr<vsthost::PluginHost> host = loadPlugin();
    std::string show(int index, float value) {
        host->setParameter(index, value);
        return host->parameterDisplay(index);
    }
    std::string name(int index) { return host->parameterName(index); }
};
}  // namespace

TEST_F(Table, NamesKeepTheirBlanksAndHiddenEntriesAreDashes) {
    // The named entries as the table gives them; "a-b "X 1 .." .. "X n .."" counts up the first digit.
    const std::string named =
        R"(0 "None"; 1 "Main Volume"; 2 "Main Panning"; 3 "Velocity > Volume"; 4 "Port Speed"; )"
        R"(5 "Port Mode"; 6 "Play Mode"; 7 "Unison Amount"; 8 "Chord Mode"; 9 "Analog Drift"; )"
        R"(10 "Cross Amount"; 11 "Cross Pr A"; 12 "Cross Pr B"; 17 "Osc 1 On"; 18 "Osc 2 On"; )"
        R"(19 "Osc 3 On"; 20 "Osc 1 Type"; 21 "Osc 1 Volume"; 22 "Osc 1 Semi"; 23 "Osc 1 Fine"; )"
        R"(24 "Osc 1 Symmetry"; 25 "Osc 1 Sub-Osc Vol"; 26 "Osc 1 Spread"; 27 "Osc 1 PWM"; )"
        R"(28 "Osc 1 PWM Speed"; 29 "Osc 1 Output"; 30 "Osc 1 Tracking"; 31 "Osc 2 Type"; )"
        R"(32 "Osc 2 Volume"; 33 "Osc 2 Semi"; 34 "Osc 2 Fine"; 35 "Osc 2 Symmetry"; )"
        R"(36 "Osc 2 Sub-Osc Vol"; 37 "Osc 2 Spread"; 38 "Osc 2 PWM"; 39 "Osc 2 PWM Speed"; )"
        R"(40 "Osc 2 Output"; 41 "Osc 2 FM Amount"; 42 "Osc 2 FM Mode"; 43 "Osc 2 Sync"; )"
        R"(44 "Osc 2 Tracking"; 45 "Osc 3 Type"; 46 "Osc 3 Volume"; 47 "Osc 3 Semi"; 48 "Osc 3 Fine"; )"
        R"(49 "Osc 3 Symmetry"; 50 "Osc 3 Sub-Osc Vol"; 51 "Osc 3 Spread"; 52 "Osc 3 PWM"; )"
        R"(53 "Osc 3 PWM Speed"; 55 "Osc 3 FM Amount"; 56 "Osc 3 FM Mode"; 57 "Osc 3 Sync"; )"
        R"(58 "Osc 3 Tracking"; 60 "Filter Type"; 61 "Filter Frequency"; 62 "Filter Resonance"; )"
        R"(63 "Filter Distortion"; 64 "Filter Envelope Amt"; 65 "Vel > Filter Frequency Amt"; )"
        R"(66 "Filter keytracking"; 67 "Mod > Filter Frequency Amt"; 68 "Filter LFO Amt"; )"
        R"(69 "Filter Envelope Attack"; 70 "Filter Envelope Decay"; 71 "Filter Envelope Sustain "; )"
        R"(72 "Filter Envelope Fade"; 73 "Filter Envelope Release"; 77 "Filter Smoothing"; )"
        R"(78 "Filter 2 Frequency"; 80 "Filter 2 Type"; 85 "Filter LFO Wave"; 86 "Filter LFO Mode"; )"
        R"(87 "Filter LFO Sync"; 88 "Filter LFO Speed"; 89 "Filter LFO Amount Control"; )"
        R"(90 "Filter LFO Mod Src"; 91 "Volume Envelope Attack"; 92 "Volume Envelope Decay"; )"
        R"(93 "Volume Envelope Sustain "; 94 "Volume Envelope Fade"; 95 "Volume Envelope Release"; )"
        R"(99 "Pitch LFO Amt"; 100 "Pitch LFO Amount Control"; 101 "Pitch LFO Mod Src"; )"
        R"(102 "Pitch LFO Speed"; 103 "Pitch LFO Sync"; 104 "Pitch LFO Wave"; 105 "Pitch Bend Down "; )"
        R"(106 "Pitch Bend Up "; 107 "Osc 1 Free Running"; 108 "Osc 2 Free Running"; )"
        R"(109 "Osc 3 Free Running"; 111 "Free Envelope 1 Attack"; 112 "Free Envelope 2 Attack"; )"
        R"(113 "Free Envelope 1 Decay"; 114 "Free Envelope 2 Decay"; 115 "Free Envelope 1 Sustain "; )"
        R"(116 "Free Envelope 2 Sustain "; 117 "Free Envelope 1 Fade"; 118 "Free Envelope 2 Fade"; )"
        R"(119 "Free Envelope 1 Release"; 120 "Free Envelope 2 Release"; )"
        R"(123 "Key > Free Envelope 1 Speed"; 124 "Key > Free Envelope 2 Speed"; )"
        R"(125 "Vel > Free Envelope 1 Speed"; 126 "Vel > Free Envelope 2 Speed"; )"
        R"(127 "Free Envelope 1 Amount"; 128 "Free Envelope 2 Amount"; 129 "Free Envelope Amount Control"; )"
        R"(130 "Free Envelope 1 Dest."; 131 "Free Envelope 2 Dest."; 132 "Free Envelope Mod Src."; )"
        R"(134 "Free LFO 1 Wave"; 135 "Free LFO 2 Wave"; 136 "Free LFO 1 Mode"; 137 "Free LFO 2 Mode"; )"
        R"(138 "Free LFO 1 Sync"; 139 "Free LFO 2 Sync"; 140 "Free LFO 1 Speed"; 141 "Free LFO 2 Speed"; )"
        R"(142 "Free LFO 1 Mod Amt"; 143 "Free LFO 2 Mod Amt"; 144 "Free LFO Amount Control"; )"
        R"(145 "Free LFO 1 Dest."; 146 "Free LFO 2 Dest."; 147 "Free LFO Mod Src."; )"
        R"(149-152 "Mod 1 Source" .. "Mod 4 Source"; )"
        R"(153-156 "Mod 1 Amount Control" .. "Mod 4 Amount Control"; )"
        R"(157-160 "Mod 1 Destination" .. "Mod 4 Destination"; 161-164 "Mod 1 Amt" .. "Mod 4 Amt"; )"
        R"(165-168 "Mod 1 Mod Source" .. "Mod 4 Mod Source"; 170-172 "FX 1 Type" .. "FX 3 Type"; )"
        R"(173-175 "FX 1 Mix" .. "FX 3 Mix"; 176-178 "FX 1 Pan" .. "FX 3 Pan"; 204 "FX Mod 1 Source"; )"
        R"(205 "FX Mod 1 Amt"; 206 "FX Mod 1 Destination"; 207 "FX Mod 2 Source"; 208 "FX Mod 2 Amt"; )"
        R"(209 "FX Mod 2 Destination"; 210 "Arp Steps"; 211 "Arp Mode"; 212 "Arp Octaves"; )"
        R"(213 "Arp Note Length"; 214 "Arp Swing"; 215 "Arp Slide"; 216 "Arp Vel / Keyboard  "; )"
        R"(217 "Arp Speed"; 218 "Arp Sync"; 219 "Tied Mode"; 319 "Arp Latch"; 320 "Vocoder Source"; )"
        R"(321 "Vocoder Mode"; 322 "Sample Looping"; 323 "Sample Reset"; 324 "Over-sampling "; )"
        R"(777-779 "Osc 1 Up 1 Octave " .. "Osc 3 Up 1 Octave "; )"
        R"(780-782 "Osc 1 Down 1 Octave " .. "Osc 3 Down 1 Octave "; 784 "Variation Amount"; )"
        R"(786 "Global Tuning"; 787 "Velocity Shape"; 788 "Attack Shape"; 789 "Decay / Release Shape"; )"
        R"(791 "FX Bypass"; 792 "Over-sampling Filter"; )";
    const std::regex entry(R"re((\d+)(?:-(\d+))? "([^"]*)"(?: \.\. "[^"]*")?)re");
    int count = 0;
    for (auto m = std::sregex_iterator(named.begin(), named.end(), entry); m != std::sregex_iterator(); ++m) {
        const int first = std::stoi((*m)[1]);
        const int last = (*m)[2].matched ? std::stoi((*m)[2]) : first;
        for (int i = first; i <= last; ++i, ++count) {
            std::string expected = (*m)[3];
            if (last > first) expected[expected.find_first_of("0123456789")] = char('1' + i - first);
            EXPECT_EQ(name(i), expected) << i;
        }
    }
    const std::string dashes = "-------------------";
    const auto hidden = values::indexes(
        "13-16, 54, 59, 74-76, 79, 81-84, 96-98, 110, 121, 122, 133, 148, 169, 203, 220-318, 325-776, 783, 785, "
        "790, 793-798");
    EXPECT_EQ(count + 24 + int(hidden.size()), 799);  // with the effect knobs, every index
    for (int i = 0; i < 799; ++i)
        if (std::count(hidden.begin(), hidden.end(), i))
            EXPECT_EQ(name(i), dashes) << i;
        else
            EXPECT_NE(name(i), dashes) << i;
    for (int outside : {799, 900, 100000, -1}) EXPECT_EQ(name(outside), dashes) << outside;
}

TEST_F(Table, LongestNameIsCopiedWholeAndNoFurther) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    host->dispatch(effGetParamName, 129, 0, buffer);
    EXPECT_STREQ(buffer, "Free Envelope Amount Control");
    EXPECT_EQ(std::strlen(buffer), 28u);
    EXPECT_EQ(buffer[29], 'x');
}

TEST_F(Table, EveryIndexFollowsItsDisplayRule) {
    // The rule table, group by group, each index at values that tell the rule apart.
    struct Group {
        const char* indexes;
        std::vector<std::pair<float, std::string>> shows;
        std::vector<std::pair<int, float>> before = {};  // siblings the texts read
    };
    const Group groups[] = {
        {"1, 21, 25, 32, 36, 46, 50", {{0.0f, "-60.0 dB"}, {0.75f, "-15.0 dB"}, {1.0f, "+0.0 dB"}}},
        {"2, 176-178", {{0.0f, "100L/0R"}, {0.25f, "100L/50R"}, {0.5f, "100L/100R"}, {0.8f, "40L/100R"},
                        {1.0f, "0L/100R"}}},
        {"173-175", {{0.25f, "100D/50W"}, {0.75f, "50D/100W"}}},
        {"3, 4, 7, 9, 10, 24, 26, 27, 35, 37, 38, 41, 49, 51, 52, 55, 62, 63, 71, 93, 99, 115, 116, 213-216, "
         "784, 785",
         {{0.0f, "0 %"}, {0.37f, "37 %"}, {0.999f, "99 %"}, {1.0f, "100 %"}}},
        {"64-68, 89, 100, 123-126, 129, 144, 205, 208, 787-789",
         {{0.0f, "-100 %"}, {0.25f, "-50 %"}, {0.5f, "+0 %"}, {0.8f, "+60 %"}, {1.0f, "+100 %"}}},
        {"22, 33, 47", {{0.0f, "-48 semi"}, {0.5f, "+0 semi"}, {0.75f, "+24 semi"}, {1.0f, "+48 semi"}}},
        {"23, 34, 48", {{0.0f, "-100 cents"}, {0.25f, "-50 cents"}, {1.0f, "+100 cents"}}},
        {"61, 78", {{0.0f, "20 Hz"}, {0.5f, "640 Hz"}, {0.75f, "3.6 kHz"}, {1.0f, "20.5 kHz"}}},
        {"28, 39, 53", {{0.0f, "Off"}, {0.5f, "0.43 Hz"}, {1.0f, "13.75 Hz"}}},
        {"69, 70, 73, 91, 92, 95, 111-114, 119, 120",
         {{0.0f, "1 ms"}, {0.1f, "2 ms"}, {0.5f, "128 ms"}, {0.75f, "1.4 sec"}, {1.0f, "16.4 sec"}}},
        {"72, 94, 117, 118",
         {{0.5f, "Off"}, {0.75f, "up 384 ms"}, {0.25f, "down 128 ms"}, {1.0f, "up 1 ms"}, {0.0f, "down 0 ms"}},
         {{71, 0.25f}, {93, 0.25f}, {115, 0.25f}, {116, 0.25f}}},
        {"77", {{0.0f, "Edgy"}, {1.0f, "Smooth"}}},
        {"88, 102, 140, 141", {{0.0f, "Off"}, {0.5f, "0.86 Hz"}, {1.0f, "27.50 Hz"}},
         {{87, 0.0f}, {103, 0.0f}, {138, 0.0f}, {139, 0.0f}}},
        {"88, 102, 140, 141", {{0.0f, "Off"}, {0.5f, "1/1T"}, {1.0f, "1/32T"}},
         {{87, 1.0f}, {103, 1.0f}, {138, 1.0f}, {139, 1.0f}}},
        {"85, 104, 134, 135", {{0.0f, "Sine"}, {1.0f, "S&H"}}},
        {"86, 136, 137", {{0.0f, "Poly"}, {0.5f, "Free"}, {1.0f, "Mono"}}},
        {"90, 101, 132, 147, 149-152, 165-168",
         {{0.0f, "None"}, {5.5f / 99.99f, "Velocity"}, {28.5f / 99.99f, "Arp Vel"}}},
        {"130, 131, 145, 146, 157-160", {{0.0f, "None"}, {29.5f / 99.99f, "Filt Freq"}, {76.5f / 99.99f, "Env 2 Amt"}}},
        {"105, 106", {{0.0f, "Off sm"}, {2.5f / 15.99f, "2 sm"}, {1.0f, "48 sm"}}},
        {"17-19, 29, 30, 40, 43, 44, 57, 58, 87, 103, 107-109, 138, 139, 219, 319, 322, 323, 791, 792",
         {{0.3f, "OFF"}, {0.7f, "ON"}}},
        {"218", {{0.49f, "OFF"}, {0.5f, "ON"}}},
        {"320", {{0.5f, "Sample"}, {0.6f, "Input"}}},
        {"321", {{0.3f, "Normal"}, {0.5f, "Swapped"}}},
        {"170-172", {{0.0f, "None"}, {10.5f / 24.99f, "Distort"}}},
        {"210", {{0.0f, "1 step"}, {7.5f / 15.99f, "8 steps"}, {1.0f, "16 steps"}}},
        {"212", {{0.0f, "1 Octave "}, {1.5f / 3.99f, "2 Octaves"}, {1.0f, "4 Octaves"}}},
        {"324", {{0.0f, "Mode:1x"}, {2.5f / 4.99f, "Mode:4x"}, {1.0f, "Mode:16x"}}},
        {"0, 11-16, 54, 59, 74-76, 79, 81-84, 96-98, 110, 121, 122, 133, 148, 169, 203, 204, 206, 207, 209, "
         "220-318, 325-783, 790, 793-798",
         {{0.7f, "----"}}},
    };
    std::set<int> covered;
    for (const Group& g : groups) {
        for (auto [p, v] : g.before) host->setParameter(p, v);
        for (int index : values::indexes(g.indexes)) {
            covered.insert(index);
            for (const auto& [value, text] : g.shows) EXPECT_EQ(show(index, value), text) << index << " at " << value;
        }
    }
    // The rest: the waveform lists, the choices with a group of their own below,
    // the amounts and the effect knobs.
    for (int i : values::indexes("5, 6, 8, 20, 31, 42, 45, 56, 60, 80, 211, 217, 127, 128, 142, 143, 153-156, "
                                 "161-164, 179-202, 786"))
        covered.insert(i);
    EXPECT_EQ(covered.size(), 799u);
}

TEST_F(Table, ChoicesShowEveryEntryOfTheirList) {
    struct List {
        int index;
        float factor;
        std::vector<std::string> names;
    };
    std::vector<std::string> sync = {"Off"};
    for (const char* d : {"16/1", "8/1", "4/1", "2/1", "1/1", "1/2", "1/4", "1/8", "1/16", "1/32"})
        for (const char* form : {"*", "", "T"}) sync.push_back(std::string(d) + form);
    const List lists[] = {
        {5, 4.99f, {"Off", "Const Rate", "Const Time", "Held Rate", "Held Time"}},
        {6, 7.99f, {"Poly", "Mono", "Mono2", "Legato", "Arp", "Unison 2", "Unison 4", "Unison 6"}},
        {8, 2.99f, {"Off", "Learn", "Play"}},
        {42, 2.99f, {"Off", "Ring 1", "FM 1"}},
        {56, 6.99f, {"Off", "Ring 1", "FM 1", "Ring 2", "FM 2", "Ring 1+2", "FM 1+2"}},
        {60, 13.99f, {"Bypass", "6dB LowPass", "6dB HighPass", "12dB LowPass", "12dB HighPass", "12dB BandPass",
                      "12dB Notch", "18dB LowPass", "18dB HighPass", "24dB LowPass", "24dB HighPass",
                      "24dB BandPass", "24dB Notch", "Comb"}},
        {80, 6.99f, {"Bypass", "6dB LowPass", "6dB HighPass", "12dB LowPass", "12dB HighPass", "24dB LowPass",
                     "24dB HighPass"}},
        {134, 5.99f, {"Sine", "Triangle", "Saw Up", "Saw Down", "Square", "S&H"}},
        {141, 30.99f, sync},
        {150, 99.99f, {"None", "Mod Whl", "Mod/Aft.", "Ch. Aftr", "Poly Aftr", "Velocity", "Pitchbend", "Breath",
                       "Foot", "Expressn", "CC16", "CC17", "CC18", "CC19", "CC20", "CC21", "CC84", "CC85", "CC86",
                       "CC87", "CC88", "CC89", "CC90", "Env 1", "Env 2", "LFO 1", "LFO 2", "Arp Free", "Arp Vel"}},
        {158, 99.99f,
         {"None",     "Main Pitch", "Port.",     "Pit LFO Spd", "Pit LFO Amt", "Vol 1",      "Semi 1",   "Fine 1",
          "Sym 1",    "Sub 1",      "PWM 1",     "PWM 1 Spd",   "FM 1",        "Vol 2",      "Semi 2",   "Fine 2",
          "Sym 2",    "Sub 2",      "PWM 2",     "PWM 2 Spd",   "FM 2",        "Vol 3",      "Semi 3",   "Fine 3",
          "Sym 3",    "Sub 3",      "PWM 3",     "PWM 3 Spd",   "FM 3",        "Filt Freq",  "Filt Q",   "Filt Dist",
          "F.Env Amt", "F.Env Spd", "F.LFO Spd", "Filt2 Freq",  "Volume",      "Panning",    "Amp Spd",  "Env 1 Spd",
          "Env 2 Spd", "LFO1 Amt",  "LFO2 Amt",  "LFO1 Spd",    "LFO2 Spd",    "FX 1 mix",   "FX 1 Pan", "FX1 a",
          "FX 1b",    "FX1 c",      "FX1 d",     "FX1 e",       "FX1 f",       "FX1 G",      "FX1 H",    "FX 2 mix",
          "FX 2 Pan", "FX2 a",      "FX 2b",     "FX2 c",       "FX2 d",       "FX2 e",      "FX2 f",    "FX2 G",
          "FX2 H",    "FX 3 mix",   "FX 3 Pan",  "FX3 a",       "FX 3b",       "FX3 c",      "FX3 d",    "FX3 e",
          "FX3 f",    "FX3 G",      "FX3 H",     "Env 1 Amt",   "Env 2 Amt"}},
        {106, 15.99f, {"Off sm", "1 sm", "2 sm", "3 sm", "4 sm", "5 sm", "6 sm", "7 sm", "8 sm", "9 sm", "10 sm",
                       "11 sm", "12 sm", "24 sm", "36 sm", "48 sm"}},
        {211, 10.99f, {"Up", "Down", "Up/Down", "Down/Up", "Random", "Ordered", "Rev. Ord.", "O Up/Down", "O Down/Up",
                       "Chord", "Mod"}},
        {217, 8.99f, {"1/4x bpm", "1/3x bpm", "1/2x bpm", "2/3x bpm", "1x bpm", "3/2x bpm", "2x bpm", "3x bpm",
                      "4x bpm"}},
        {171, 24.99f, {"None", "Mono Delay", "Stereo Delay", "Comb Filter", "Reverb", "Chorus", "Chorus / Delay.",
                       "Flanger", "Phaser", "WahWah Delay", "Distort", "Low Fi", "Amp Sim", "Waveshaper", "Widener",
                       "AutoPan", "Gator", "Vocoder", "FX Filt", "Equalizer", "Compressor", "Ensemble"}},
    };
    host->setParameter(139, 1.0f);  // 141 shows sync divisions
    for (const List& l : lists)
        for (size_t i = 0; i < l.names.size(); ++i)
            EXPECT_EQ(show(l.index, (float(i) + 0.5f) / l.factor), l.names[i]) << l.index << " entry " << i;
    // A list decoded by its length reaches its last entry at 1.
    EXPECT_EQ(show(5, 1.0f), "Held Time");
    EXPECT_EQ(show(134, 1.0f), "S&H");
    EXPECT_EQ(show(141, 1.0f), "1/32T");
}

TEST_F(Table, AmountsReadTheirOwnDestination) {
    // Each amount reads one destination; only that one may decide its unit.
    const std::pair<int, int> pairs[] = {{127, 130}, {128, 131}, {142, 145}, {143, 146}, {153, 157}, {154, 158},
                                         {155, 159}, {156, 160}, {161, 157}, {162, 158}, {163, 159}, {164, 160}};
    const int destinations[] = {130, 131, 145, 146, 157, 158, 159, 160};
    auto destination = [](int k) { return (k + 0.5f) / 99.99f; };
    for (auto [amount, own] : pairs) {
        for (int d : destinations) host->setParameter(d, 0.0f);
        EXPECT_EQ(show(amount, 0.75f), " None ") << amount;
        host->setParameter(own, destination(1));  // "Main Pitch"
        EXPECT_EQ(show(amount, 0.75f), "+18.00 semi") << amount;
        EXPECT_EQ(show(amount, 0.0f), "-36.00 semi") << amount;
        EXPECT_EQ(show(amount, 1.0f), "+36.00 semi") << amount;
        host->setParameter(own, destination(33));  // "F.Env Spd", a rate factor
        EXPECT_EQ(show(amount, 0.75f), "+200 %") << amount;
        EXPECT_EQ(show(amount, 0.0f), "+25 %") << amount;
        EXPECT_EQ(show(amount, 1.0f), "+400 %") << amount;
        host->setParameter(own, destination(38));  // "Amp Spd"
        EXPECT_EQ(show(amount, 0.25f), "+50 %") << amount;
        host->setParameter(own, destination(29));  // "Filt Freq"
        EXPECT_EQ(show(amount, 0.75f), "+50 %") << amount;
        host->setParameter(own, destination(77));  // past the list: no destination
        EXPECT_EQ(show(amount, 1.0f), " None ") << amount;
    }
}

TEST_F(Table, FadeFollowsItsOwnSustain) {
    host->setParameter(71, 0.5f);
    EXPECT_EQ(show(72, 0.5f), "Off");
    EXPECT_EQ(show(72, 0.501f), "Off");
    EXPECT_EQ(show(72, 0.75f), "up 256 ms");
    EXPECT_EQ(show(72, 0.25f), "down 256 ms");
    // Free envelope 2's fade reads free envelope 2's sustain, not envelope 1's.
    host->setParameter(115, 1.0f);
    host->setParameter(116, 0.0f);
    EXPECT_EQ(show(118, 0.9f), "up 12 ms");
    EXPECT_EQ(show(118, 0.6f), "up 21.6 sec");
    EXPECT_EQ(show(117, 0.6f), "up 0 ms");
    EXPECT_EQ(show(118, 0.25f), "down 0 ms");
    EXPECT_EQ(show(117, 0.0f), "down 1 ms");
    EXPECT_EQ(show(117, 0.49f), "down 204.3 sec");
}

TEST_F(Table, LfoSpeedFollowsItsSyncSwitch) {
    host->setParameter(87, 1.0f);
    EXPECT_EQ(show(88, 1.0f), "1/32T");
    EXPECT_EQ(show(88, 0.5f), "1/1T");
    host->setParameter(87, 0.49f);
    EXPECT_EQ(show(88, 1.0f), "27.50 Hz");
    EXPECT_EQ(show(88, 0.0f), "Off");
    host->setParameter(103, 1.0f);  // pitch LFO: its sync follows the speed
    EXPECT_EQ(show(102, 0.5f), "1/1T");
    host->setParameter(138, 0.0f);
    host->setParameter(139, 1.0f);
    EXPECT_EQ(show(140, 1.0f), "27.50 Hz");
    EXPECT_EQ(show(141, 1.0f), "1/32T");
}

TEST_F(Table, ModulationListsPastTheirEndReadNone) {
    auto source = [](int i) { return (i + 0.5f) / 99.99f; };
    EXPECT_EQ(show(149, source(28)), "Arp Vel");
    EXPECT_EQ(show(150, source(29)), "Note");
    EXPECT_EQ(show(151, source(30)), "Offset");
    EXPECT_EQ(show(152, source(31)), "None");
    EXPECT_EQ(show(90, 1.0f), "None");
    EXPECT_EQ(show(157, source(48)), "FX 1b");
    EXPECT_EQ(show(158, source(76)), "Env 2 Amt");
    EXPECT_EQ(show(159, source(77)), "None");
    EXPECT_EQ(show(146, 1.0f), "None");
}

TEST_F(Table, DisplayRequestsOutsideTheTableWriteNothing) {
    char buffer[64];
    for (int outside : {799, -1, 5000}) {
        std::memset(buffer, 'x', sizeof buffer);
        host->dispatch(effGetParamDisplay, outside, 0, buffer);
        EXPECT_EQ(buffer[0], 'x') << outside;
    }
    EXPECT_EQ(host->dispatch(effGetParamDisplay, 1, 0, nullptr), 0);
    EXPECT_EQ(host->dispatch(effGetParamName, 1, 0, nullptr), 0);
}

TEST_F(Table, EffectTypeAndKnobNamesFollowTheSlot) {
    EXPECT_EQ(name(knob(0, 0)), "FX A");
    EXPECT_EQ(name(knob(2, 7)), "FX H");
    EXPECT_EQ(show(170, typeValue(17)), "Vocoder");
    EXPECT_EQ(name(knob(0, 0)), "Mix ");
    EXPECT_EQ(name(knob(0, 7)), "In Pitch");
    EXPECT_EQ(name(knob(1, 0)), "FX A");  // the neighbouring slot is untouched
    host->setParameter(171, typeValue(4));
    EXPECT_EQ(name(knob(1, 0)), "Pre");
    EXPECT_EQ(name(knob(1, 6)), "-");
    host->setParameter(171, 0.0f);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(name(knob(1, k)), std::string("FX ") + char('A' + k));
    EXPECT_EQ(show(172, typeValue(21)), "Ensemble");
    EXPECT_EQ(name(knob(2, 5)), "Spread");
    // 22..24 exist only as automation values; they act as no effect.
    for (float beyond : {typeValue(22), typeValue(23), 1.0f}) {
        EXPECT_EQ(show(172, beyond), "None");
        EXPECT_EQ(name(knob(2, 0)), "FX A");
        EXPECT_EQ(show(knob(2, 0), 0.5f), "");
    }
}

TEST_F(Table, EffectKnobTextsByType) {
    struct Case {
        int type, k;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0.5f, ""},          {1, 0, 0.0f, "1/32T"},     {1, 0, 1.0f, "1/2*"},
        {1, 1, 0.5f, "+0 %"},      {1, 2, 0.0f, "20 Hz"},     {1, 4, 0.5f, "50 %"},
        {1, 6, 1.0f, "13.75 Hz"},  {1, 7, 1.0f, ""},          {2, 7, 0.0f, "Off"},
        {2, 7, 1.0f, "On"},        {3, 3, 1.0f, "1/32T"},     {4, 0, 1.0f, "511.5 ms"},
        {4, 1, 0.0f, "0.25 m"},    {4, 1, 1.0f, "7.75 m"},    {5, 0, 1.0f, "50.0 ms"},
        {6, 4, 0.0f, "1/32T"},     {7, 3, 0.0f, "-100 %"},    {8, 0, 0.0f, "1"},
        {8, 0, 1.0f, "8"},         {9, 2, 0.0f, "Off"},       {10, 5, 1.0f, "+20 db"},
        {10, 5, 0.0f, "-20 db"},   {11, 0, 0.0f, "16"},       {11, 0, 1.0f, "1"},
        {11, 1, 0.0f, "44100"},    {11, 1, 1.0f, "1378"},     {12, 0, 1.0f, "Radio"},
        {12, 2, 0.5f, "0.0 dB"},   {12, 3, 1.0f, "+20.0 dB"}, {12, 4, 0.0f, "-20.0 dB"},
        {13, 5, 1.0f, "1/32T"},    {14, 2, 0.0f, "Off"},      {15, 1, 0.0f, "Off"},
        {16, 2, 1.0f, "Right only"}, {16, 3, 1.0f, "Auto"},   {17, 2, 0.0f, "-36 semi"},
        {17, 2, 1.0f, "+36 semi"}, {17, 5, 1.0f, "0.0 dB"},   {17, 5, 0.0f, "-40.0 dB"},
        {17, 7, 0.0f, "-12.00 semi"}, {17, 7, 1.0f, "+12.00 semi"}, {18, 0, 1.0f, "Comb"},
        {18, 4, 0.5f, ""},         {19, 7, 1.0f, "+20.0 dB"}, {20, 0, 1.0f, "0.0 dB"},
        {20, 1, 0.0f, " : None"},  {20, 1, 1.0f, " : Limiter"}, {20, 1, 0.5f, "11:1"},
        {21, 0, 0.5f, "25.0 ms"},  {21, 6, 0.5f, ""},
    };
    for (const Case& c : cases) {
        int slot = c.type % 3;  // spread the cases over all three slots
        host->setParameter(kSlotType[slot], typeValue(c.type));
        EXPECT_EQ(show(knob(slot, c.k), c.value), c.text)
            << "type " << c.type << " knob " << char('A' + c.k) << " at " << c.value;
    }
}

TEST_F(Table, NoTextOverrunsTheDisplayBuffer) {
    // Every parameter at several values, and every knob under every type, stays
    // inside the 32-byte display text.
    char buffer[64];
    auto check = [&](int index) {
        std::memset(buffer, 'x', sizeof buffer);
        host->dispatch(effGetParamDisplay, index, 0, buffer);
        EXPECT_LT(std::strlen(buffer), 32u) << index;
        EXPECT_EQ(buffer[32], 'x') << index;
    };
    for (float value : {0.0f, 0.001f, 0.25f, 0.5f, 0.999f, 1.0f}) {
        for (int s = 0; s < 3; ++s) host->setParameter(kSlotType[s], 0.0f);
        for (int sustain : {71, 93, 115, 116}) host->setParameter(sustain, value);
        for (int index = 0; index < 799; ++index) {
            host->setParameter(index, value);
            check(index);
        }
        for (int type = 0; type < 25; ++type) {
            for (int s = 0; s < 3; ++s) host->setParameter(kSlotType[s], typeValue(type));
            for (int index = 179; index <= 202; ++index) check(index);
        }
    }
}
