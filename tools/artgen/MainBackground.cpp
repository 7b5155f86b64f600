// The main background (BITMAP 10000): the fixed sections around the three
// exchangeable regions, which their own backgrounds cover.
#include "Artwork.h"
#include "editor/EditorImages.h"

namespace artgen {
namespace {
using layout::Kind;
using layout::Rect;
using layout::Region;
using layout::Role;

struct Oscillator {
    int on, type, symmetry, freeRunning, sync, tracking, down, up, semi, fine, sub, spread, pwm, pwmSpeed,
        volume, output, fmAmount, fmMode;
};
constexpr Oscillator kOscillators[] = {
    {17, 20, 24, 107, 0, 30, 780, 777, 22, 23, 25, 26, 27, 28, 21, 29, 0, 0},
    {18, 31, 35, 108, 43, 44, 781, 778, 33, 34, 36, 37, 38, 39, 32, 40, 41, 42},
    {19, 45, 49, 109, 57, 58, 782, 779, 47, 48, 50, 51, 52, 53, 46, 0, 55, 56},
};

void oscillators(Sheet& s) {
    s.panel({2, 2, 522, 286}, Family::Oscillator, "oscillators");
    s.divider(195, 8, 195, 280);
    s.divider(357, 8, 357, 280);
    for (int n = 0; n < 3; ++n) {
        const Oscillator& o = kOscillators[n];
        const auto& on = s.control(o.on, Kind::Switch);
        s.title(on.x + on.width + 1, 21, "OSC " + std::to_string(n + 1), Family::Oscillator);
        s.label(s.control(o.type, Kind::Knob), "Wave");
        s.label(s.control(o.symmetry, Kind::Knob), "Sym");
        s.label(s.control(o.freeRunning, Kind::Switch), "Free", Side::Below, -3);
        if (o.sync) s.label(s.control(o.sync, Kind::Switch), "Sync", Side::Below, -3);
        s.label(s.control(o.tracking, Kind::Switch), "Trk", Side::Above, 2);
        s.label(s.control(o.semi, Kind::Knob), "Semi");
        s.label(s.control(o.fine, Kind::Knob), "Fine");
        s.label(s.control(o.sub, Kind::Knob), "Sub");
        s.label(s.control(o.spread, Kind::Knob), "Spread");
        s.label(s.control(o.pwm, Kind::Knob), "PWM");
        s.label(s.control(o.pwmSpeed, Kind::Knob), "PWM Spd");
        s.label(s.control(o.volume, Kind::Knob), "Volume");
        if (o.output) s.label(s.control(o.output, Kind::Switch), "Output", Side::Right, -4);
        if (o.fmAmount) {
            s.label(s.control(o.fmAmount, Kind::Knob), "FM Amt");
            s.label(s.control(o.fmMode, Kind::OptionMenu), "FM Mode", Side::Above, 3);
        }
    }
}

void pitchLfo(Sheet& s) {
    s.panel({2, 288, 522, 352}, Family::Modulation, "pitch");
    s.title(8, 299, "PITCH LFO", Family::Modulation);
    s.title(411, 299, "BEND", Family::Modulation);
    s.divider(400, 293, 400, 347);
    s.label(s.control(99, Kind::Knob), "Amount");
    s.label(s.control(100, Kind::Knob), "Mod");
    s.label(s.control(101, Kind::SourceMenu), "Source", Side::Below, 3);
    s.label(s.control(102, Kind::Knob), "Speed");
    s.label(s.control(103, Kind::Switch), "Sync", Side::Left, -4);
    s.label(s.control(104, Kind::OptionMenu), "Wave", Side::Below, 3);
    s.label(s.control(105, Kind::OptionMenu), "Down", Side::Below, 3);
    s.label(s.control(106, Kind::OptionMenu), "Up", Side::Below, 3);
}

void filter(Sheet& s) {
    s.panel({{524, 2}, {724, 2}, {724, 119}, {757, 119}, {757, 281}, {524, 281}},
            {{524, 2, 724, 281}, {724, 119, 757, 281}}, Family::Filter, "filter");
    s.title(530, 15, "FILTER", Family::Filter);
    s.label(s.control(61, Kind::Knob), "Cutoff");
    s.label(s.control(62, Kind::Knob), "Reso");
    s.label(s.control(67, Kind::Knob), "Mod");
    s.label(s.control(68, Kind::Knob), "LFO");
    s.label(s.control(64, Kind::Knob), "Env");
    s.label(s.control(65, Kind::Knob), "Vel");
    s.label(s.control(66, Kind::Knob), "Key");
    s.label(s.control(60, Kind::Knob), "Type");
    s.label(s.control(63, Kind::Knob), "Drive");
    s.divider(530, 204, 751, 204);
    s.labelAt(532, 220, "ENVELOPE", Align::Left, Tone::Subtitle);
    s.envelopeLabels(69, 70, 71, 72, 73);

    s.panel({726, 2, 779, 117}, Family::Filter, "filter 2");
    s.title(732, 15, "F2", Family::Filter);
    s.label(s.control(80, Kind::OptionMenu), "Type", Side::Above, 3);
    s.label(s.control(78, Kind::Knob), "Cutoff");

    s.panel({781, 2, 998, 117}, Family::Modulation, "filter lfo");
    s.title(787, 15, "FILTER LFO", Family::Modulation);
    s.label(s.control(85, Kind::OptionMenu), "Wave", Side::Below, 3);
    s.label(s.control(88, Kind::Knob), "Speed");
    s.label(s.control(87, Kind::Switch), "Sync", Side::Right, -4);
    s.label(s.control(89, Kind::Knob), "Mod", Side::Left, 1);
    s.label(s.control(86, Kind::OptionMenu), "Mode", Side::Above, 3);
}

void amplifier(Sheet& s) {
    s.panel({759, 121, 998, 281}, Family::Amplifier, "amplifier");
    s.title(765, 134, "AMPLIFIER", Family::Amplifier);
    s.label(s.control(1, Kind::Knob), "Volume");
    s.label(s.control(3, Kind::Knob), "Velocity");
    s.label(s.control(2, Kind::Knob), "Pan");
    s.labelAt(765, 224, "ENVELOPE", Align::Left, Tone::Subtitle);
    s.envelopeLabels(91, 92, 93, 94, 95);

    s.panel({755, 284, 998, 361}, Family::Amplifier, "voice");
    s.title(761, 297, "VOICE", Family::Amplifier);
    s.label(s.control(7, Kind::Knob), "Unison");
    s.label(s.control(6, Kind::OptionMenu), "Mode", Side::Above, 3);
    s.label(s.control(906, Kind::PushButton), "Demo", Side::Left, -4);
    s.label(s.control(4, Kind::Knob), "Glide");
    s.label(s.control(5, Kind::OptionMenu), "Portamento", Side::Above, 3);
    s.label(s.control(8, Kind::OptionMenu), "Chord", Side::Below, 3);
}

void fxModulation(Sheet& s) {
    s.panel({524, 472, 750, 546}, Family::Effects, "fx modulation");
    s.verticalTitle(537, 540, "FX MOD", Family::Effects);
    s.label(s.control(204, Kind::SourceMenu), "Source", Side::Below, 3);
    s.label(s.control(206, Kind::FxDestinationMenu), "Destination", Side::Below, 3);
}

void status(Sheet& s) {
    s.panel({755, 567, 998, 598}, Family::Global, "status");
    const auto& manual = s.control(904, Kind::PushButton);
    s.labelAt(manual.x + manual.width - 1, 587, "?", Align::Left, Tone::Normal, {Face::SansBold, 12, 1});
}
}  // namespace

Drawn mainBackground() {
    Sheet s(layout::img::MainBackground, 1000, 600, Region::Main);
    s.window();
    oscillators(s);
    pitchLfo(s);
    filter(s);
    amplifier(s);
    fxModulation(s);
    status(s);
    s.wells();
    return finish(s, false);
}

}  // namespace artgen
