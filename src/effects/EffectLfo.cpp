#include "effects/EffectLfo.h"

namespace fxlfo {

SineTables::SineTables() {
    constexpr double kTwoPi = 6.283185307179586476925;
    for (int i = 0; i < kTableSize; ++i) {
        const double s = std::sin(kTwoPi * i / kTableSize);
        bipolar[i] = static_cast<float>(s);
        unipolar[i] = static_cast<float>((s + 1.0) * 0.5);
    }
}

const SineTables& sines() {
    static const SineTables tables;
    return tables;
}

}  // namespace fxlfo
