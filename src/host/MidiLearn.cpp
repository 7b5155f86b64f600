// MIDI learn: binding controllers to parameters, and keeping the bindings in
// the settings.
#include "host/APlugin.h"

void APlugin::readBindings() {
    for (int c = 0; c < 128; ++c) {
        const uint32_t parameter = settings.readBinding(c);
        // A binding that names no parameter counts as none.
        controllerMap[c] = parameter < static_cast<uint32_t>(kNumParams) ? static_cast<int32_t>(parameter) : 0;
    }
}

// Mode and parameter travel in one word, so the audio thread never pairs a
// new mode with an old parameter; a later command replaces one not yet taken.
void APlugin::latchToMidi(int parameter) {
    if (parameter < 0 || parameter >= kNumParams) return;
    learnRequest.store(kLatch | static_cast<uint32_t>(parameter), std::memory_order_release);
}

void APlugin::unlatchMidi(int parameter) {
    if (parameter < 0 || parameter >= kNumParams) return;
    learnRequest.store(kUnlatch | static_cast<uint32_t>(parameter), std::memory_order_release);
}

void APlugin::clearMidi() {
    for (int c = 0; c < 128; ++c) {
        controllerMap[c] = 0;
        bindingWriter->markChanged(c);
    }
    bindingWriter->flush();
}

int APlugin::controllerBoundTo(int parameter) const {
    int found = -1;
    for (int c = 0; c < 128; ++c)
        if (controllerMap[c] == parameter) found = c;
    return found;
}
