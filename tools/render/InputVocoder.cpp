#include "InputVocoder.h"

#include <cmath>
#include <string>

namespace render {
namespace {

// A type parameter holds type number = integer part of value x 24.99.
constexpr float kTypeScale = 24.99f;  // in float, as the plug-in reads it
constexpr int kVocoderType = 17;

}  // namespace

bool usesInputVocoder(vsthost::PluginHost& host) {
    AEffect* e = host.effect();
    if (!e) return false;
    bool vocoder = false, input = false, bypass = false;
    for (int32_t i = 0; i < e->numParams; ++i) {
        const std::string name = host.parameterName(i);
        if (name == "FX 1 Type" || name == "FX 2 Type" || name == "FX 3 Type") {
            const float v = host.getParameter(i);  // another plug-in may answer anything
            vocoder = vocoder || (std::isfinite(v) && static_cast<int>(v * kTypeScale) == kVocoderType);
        } else if (name == "Vocoder Source") {
            input = host.getParameter(i) > 0.5f;
        } else if (name == "FX Bypass") {
            bypass = host.getParameter(i) >= 0.5f;
        }
    }
    return vocoder && input && !bypass;
}

}  // namespace render
