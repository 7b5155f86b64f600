// Variations A to D: random changes to chosen groups of parameters around the
// edited sound. Every press varies the edited sound afresh, so two presses give
// two independent variations, not a variation of a variation.
#include <algorithm>
#include <span>

#include "editor/uEditor.h"
#include "host/APlugin.h"

namespace {

enum class Depth { A, B, C, One };  // a = v^2, b = 0.3 v^2, c = min(a, 0.075)

struct Step {
    bool octave;  // an octave step instead of a vary step
    int parameter;
    Depth depth;
};

constexpr Step vary(int p, Depth d) { return {false, p, d}; }
constexpr Step octave(int p) { return {true, p, Depth::A}; }

using enum Depth;

constexpr Step kVariationA[] = {
    vary(23, C),  vary(20, A),  vary(27, A),  vary(28, B),  vary(48, C),  vary(45, A),
    vary(52, A),  vary(53, B),  vary(61, A),  vary(64, A),  vary(69, A),  vary(70, A),
    vary(71, A),  vary(73, B),  vary(88, A),  vary(92, A),  vary(93, A),  vary(95, B),
    vary(114, A), vary(115, A), vary(142, B), vary(143, B), vary(114, A), vary(116, A),
    vary(140, A), vary(141, A), vary(161, A), vary(162, A), vary(163, A), vary(164, A),
    vary(4, A)};

constexpr Step kVariationB[] = {
    octave(22),   vary(24, B),  vary(34, C),  vary(31, A),  octave(47),   vary(50, A),
    vary(62, A),  vary(65, B),  vary(69, A),  vary(73, A),  vary(91, A),  vary(95, A),
    vary(111, A), vary(119, A), vary(112, A), vary(120, A), vary(142, A), vary(143, A),
    vary(161, B), vary(162, B), vary(163, B), vary(164, B)};

constexpr Step kVariationC[] = {
    vary(17, One), vary(23, C), vary(26, A), octave(22),  vary(18, One), vary(37, A),
    vary(42, A),   vary(41, A), vary(35, B), vary(19, A), vary(51, A),   vary(55, A),
    vary(56, A),   vary(49, A), vary(60, A), vary(77, A), vary(63, A),   vary(70, A),
    vary(73, B),   vary(78, A), vary(85, A), vary(92, A), vary(93, A),   vary(95, B)};

// Lists A and C also vary the unison detune and the three effect mixes.
constexpr Step kUnisonAndMixes[] = {vary(7, A), vary(173, B), vary(174, B), vary(175, B)};

// One octave on the +-48 semitone scale of the "Semi" parameters.
constexpr float kOctave = 0.123724096f;
// "Variation D" keeps effect types below 0.6: numbers 0 to 14.
constexpr float kEffectTypeDepth = 0.6f;

}  // namespace

void APlugin::variation(int number) {
    if (number < 1 || number > 4) return;
    // Runs as one change at a block boundary, from the edited sound as it is then.
    changePrograms([&] {
        const float v = params.values[prm::VariationAmount];
        const float a = v * v;
        const float b = 0.3f * v * v;
        const float c = std::min(a, 0.075f);
        params.programModified = true;

        ParamValue* record = programs[curProgram].recordValues;
        const ParamValue* edited = params.lastWritten;
        // Written beside the parameter interface, so the edited snapshot stays.
        auto varyStep = [&](int p, float depth, float limit) {
            float w = (2.0f * random.uniform() - 1.0f) * depth + edited[p];
            w = std::clamp(w, 0.0f, limit);
            params.values[p] = w;
            record[p] = w;
            if (ownedEditor) ownedEditor->setParameter(p, w);
        };
        auto octaveStep = [&](int p) {
            const int k = static_cast<int>(random.uniform() * 2.99f);
            if (k == 0) params.values[p] = edited[p] - kOctave;
            if (k == 2) params.values[p] = edited[p] + kOctave;
            record[p] = params.values[p];
        };
        auto run = [&](std::span<const Step> steps) {
            for (const Step& s : steps) {
                if (s.octave) {
                    octaveStep(s.parameter);
                    continue;
                }
                const float depth = s.depth == A ? a : s.depth == B ? b : s.depth == C ? c : 1.0f;
                varyStep(s.parameter, depth, 1.0f);
            }
        };

        switch (number) {
            case 1:
                run(kVariationA);
                run(kUnisonAndMixes);
                break;
            case 2:
                run(kVariationB);
                break;
            case 3:
                run(kVariationC);
                run(kUnisonAndMixes);
                break;
            case 4:
                for (int slot = 0; slot < 3; ++slot) {
                    varyStep(prm::Fx1Type + slot, kEffectTypeDepth, kEffectTypeDepth);
                    for (int knob = 0; knob < 8; ++knob)
                        varyStep(prm::FxKnobFirst + 3 * knob + slot, 1.0f, 1.0f);
                }
                break;
        }
        // Releases every voice and installs the varied sound from the record.
        reinstallCurrentProgram();
    });
    deliverNotices();
}
