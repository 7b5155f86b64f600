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

void APlugin::latchToMidi(int parameter) {
    learnParameter = parameter;
    learnArmed = true;
}

void APlugin::unlatchMidi(int parameter) {
    learnParameter = parameter;
    unlatchArmed = true;
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
