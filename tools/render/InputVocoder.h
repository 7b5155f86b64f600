// Whether a program plays its vocoder on the host's audio input: such a
// program is silent without input, so --all-programs feeds it the speech-like
// phrase.
#pragma once

#include "vsthost/PluginHost.h"

namespace render {

// Reads the plug-in's current values (after the program is selected): true when
// one of "FX 1 Type" .. "FX 3 Type" holds "Vocoder", "Vocoder Source" is above
// 0.5 ("Input") and "FX Bypass" does not skip the effects. The parameters are
// found by name, so a plug-in without them is never taken for one.
bool usesInputVocoder(vsthost::PluginHost& host);

}  // namespace render
