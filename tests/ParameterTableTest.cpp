// Parameter names and display texts as a host reads them: boundaries of every
// rule kind, texts that depend on a sibling parameter, effect knobs that follow
// their slot's type, and texts that must never overrun the host's buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestSupport.h"

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
    EXPECT_EQ(name(0), "None");
    EXPECT_EQ(name(1), "Main Volume");
    EXPECT_EQ(name(71), "Filter Envelope Sustain ");
    EXPECT_EQ(name(216), "Arp Vel / Keyboard  ");
    EXPECT_EQ(name(324), "Over-sampling ");
    EXPECT_EQ(name(782), "Osc 3 Down 1 Octave ");
    EXPECT_EQ(name(792), "Over-sampling Filter");
    const std::string dashes = "-------------------";
    for (int hidden : {13, 16, 54, 59, 110, 148, 169, 203, 220, 318, 325, 776, 783, 785, 790, 798})
        EXPECT_EQ(name(hidden), dashes) << hidden;
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

TEST_F(Table, LevelsBalancesAndIntegerScales) {
    EXPECT_EQ(show(1, 0.0f), "-60.0 dB");
    EXPECT_EQ(show(1, 1.0f), "+0.0 dB");
    EXPECT_EQ(show(2, 0.5f), "100L/100R");
    EXPECT_EQ(show(2, 1.0f), "0L/100R");
    EXPECT_EQ(show(2, 0.0f), "100L/0R");
    EXPECT_EQ(show(174, 0.25f), "100D/50W");
    EXPECT_EQ(show(178, 0.75f), "50L/100R");
    EXPECT_EQ(show(3, 1.0f), "100 %");
    EXPECT_EQ(show(3, 0.29f), "29 %");
    EXPECT_EQ(show(785, 1.0f), "100 %");
    EXPECT_EQ(show(64, 0.0f), "-100 %");
    EXPECT_EQ(show(64, 0.5f), "+0 %");
    EXPECT_EQ(show(789, 1.0f), "+100 %");
    EXPECT_EQ(show(22, 0.0f), "-48 semi");
    EXPECT_EQ(show(22, 0.5f), "+0 semi");
    EXPECT_EQ(show(47, 1.0f), "+48 semi");
    EXPECT_EQ(show(34, 0.0f), "-100 cents");
    EXPECT_EQ(show(48, 1.0f), "+100 cents");
    EXPECT_EQ(show(786, 0.5f), "+440 hz");
    // The oscillators tune one semitone either way.
    EXPECT_EQ(show(786, 1.0f), "+466 hz");
    EXPECT_EQ(show(786, 0.0f), "+415 hz");
}

TEST_F(Table, ListsReachTheirLastEntryAtOne) {
    EXPECT_EQ(show(5, 1.0f), "Held Time");
    EXPECT_EQ(show(6, 1.0f), "Unison 6");
    EXPECT_EQ(show(8, 1.0f), "Play");
    EXPECT_EQ(show(20, 0.0f), "Sine");
    EXPECT_EQ(show(31, 1.0f), "Spec 73");
    EXPECT_EQ(show(45, (46 + 0.5f) / 127.99f), "Vox 01");
    EXPECT_EQ(show(20, (103 + 0.5f) / 127.99f), "Spec 49");
    EXPECT_EQ(show(20, (104 + 0.5f) / 127.99f), "Spec 30");
    EXPECT_EQ(show(42, 1.0f), "FM 1");
    EXPECT_EQ(show(56, 1.0f), "FM 1+2");
    EXPECT_EQ(show(60, 1.0f), "Comb");
    EXPECT_EQ(show(80, 1.0f), "24dB HighPass");
    EXPECT_EQ(show(104, 1.0f), "S&H");
    EXPECT_EQ(show(137, 1.0f), "Mono");
    EXPECT_EQ(show(105, 0.0f), "Off sm");
    EXPECT_EQ(show(106, 0.0f), "Off sm");
    EXPECT_EQ(show(106, 1.0f), "48 sm");
    EXPECT_EQ(show(210, 0.0f), "1 step");
    EXPECT_EQ(show(210, 1.0f), "16 steps");
    EXPECT_EQ(show(211, 1.0f), "Mod");
    EXPECT_EQ(show(212, 0.0f), "1 Octave ");
    EXPECT_EQ(show(212, 1.0f), "4 Octaves");
    EXPECT_EQ(show(217, 0.0f), "1/4x bpm");
    EXPECT_EQ(show(217, 1.0f), "4x bpm");
    EXPECT_EQ(show(324, 0.0f), "Mode:1x");
    EXPECT_EQ(show(324, 1.0f), "Mode:16x");
}

TEST_F(Table, FrequencyRateAndTimeTexts) {
    EXPECT_EQ(show(61, 0.0f), "20 Hz");
    EXPECT_EQ(show(61, 0.5f), "640 Hz");
    EXPECT_EQ(show(78, 0.6f), "1.3 kHz");
    EXPECT_EQ(show(61, 1.0f), "20.5 kHz");
    EXPECT_EQ(show(28, 0.0f), "Off");
    EXPECT_EQ(show(39, 0.5f), "0.43 Hz");
    EXPECT_EQ(show(53, 1.0f), "13.75 Hz");
    EXPECT_EQ(show(69, 0.0f), "1 ms");
    EXPECT_EQ(show(92, 0.5f), "128 ms");
    EXPECT_EQ(show(120, 1.0f), "16.4 sec");
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

TEST_F(Table, TogglesAtTheirThresholds) {
    EXPECT_EQ(show(87, 0.3f), "OFF");
    EXPECT_EQ(show(87, 0.5f), "OFF");
    EXPECT_EQ(show(87, 0.51f), "ON");
    EXPECT_EQ(show(218, 0.49f), "OFF");
    EXPECT_EQ(show(218, 0.5f), "ON");
    EXPECT_EQ(show(77, 0.49f), "Edgy");
    EXPECT_EQ(show(77, 0.5f), "Smooth");  // a switch: rounded up to 1 first
    EXPECT_EQ(show(320, 0.5f), "Sample");
    EXPECT_EQ(show(320, 0.6f), "Input");
    EXPECT_EQ(show(321, 0.5f), "Swapped");
    EXPECT_EQ(show(792, 1.0f), "ON");
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

TEST_F(Table, AmountsSpeakTheirDestinationsUnit) {
    auto destination = [](int i) { return (i + 0.5f) / 99.99f; };
    host->setParameter(157, 0.0f);
    EXPECT_EQ(show(161, 1.0f), " None ");
    EXPECT_EQ(show(153, 1.0f), " None ");  // the amount control reads the same destination
    host->setParameter(157, destination(1));  // Main Pitch
    EXPECT_EQ(show(161, 1.0f), "+36.00 semi");
    EXPECT_EQ(show(161, 0.0f), "-36.00 semi");
    EXPECT_EQ(show(153, 0.5f), "+0.00 semi");
    host->setParameter(160, destination(33));  // F.Env Spd: a rate factor
    EXPECT_EQ(show(164, 0.0f), "+25 %");
    EXPECT_EQ(show(164, 0.5f), "+100 %");
    EXPECT_EQ(show(156, 1.0f), "+400 %");
    host->setParameter(146, destination(29));  // Filt Freq
    EXPECT_EQ(show(143, 1.0f), "+100 %");
    EXPECT_EQ(show(142, 1.0f), " None ");
    host->setParameter(130, destination(22));  // Semi 3
    EXPECT_EQ(show(127, 0.75f), "+18.00 semi");
    host->setParameter(131, destination(77));  // past the list: no destination
    EXPECT_EQ(show(128, 1.0f), " None ");
}

TEST_F(Table, HiddenDisplaysAndBadRequests) {
    for (int hidden : {0, 11, 13, 204, 206, 207, 209, 318, 330, 777, 782, 790, 798})
        EXPECT_EQ(show(hidden, 0.7f), "----") << hidden;
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
