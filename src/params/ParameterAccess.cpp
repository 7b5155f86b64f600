// setParameter / getParameter and the host-visible names and display texts.
#include <cmath>

#include "editor/uEditor.h"
#include "host/APlugin.h"

namespace {
float clampUnit(float v) {
    if (std::isnan(v)) return 0.0f;
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
bool inRange(int32_t index) { return index >= 0 && index < prm::kCount; }
}  // namespace

void APlugin::setParameter(int32_t index, float value) {
    if (!inRange(index)) return;
    writeParameter(index, value);
    // A write from outside the audio thread's block may cross a program change
    // or a controller's write of the same parameter; the next block makes the
    // current record hold the live value again.
    if (!handover.insideBlock()) touched.mark(index);
}

void APlugin::writeParameter(int32_t index, float value) {
    value = clampUnit(value);
    ParamValue* record = programs[curProgram].recordValues;
    params.values[index] = value;
    record[index] = value;
    params.lastWritten[index] = value;

    // Data parameters (sample path, chord memory, texts...) are stored as they come.
    if (index >= prm::DataFirst && index <= prm::DataLast) return;

    if (params.isSwitch[index]) {
        value = value < 0.5f ? 0.0f : 1.0f;
        params.values[index] = value;
        record[index] = value;
        params.lastWritten[index] = value;
    }
    if (params.values[index] != params.previousValue[index]) {
        params.previousValue[index] = value;
        float reference = params.referenceValue[index];
        if (value != reference && reference > -0.5f) params.programModified = true;
    }
    // The effect slots and the editor pick up a type change on their own.
    if (index >= prm::Fx1Type && index <= prm::Fx1Type + 2) return;
    if (ownedEditor) ownedEditor->setParameter(index, value);
}

float APlugin::getParameter(int32_t index) {
    return inRange(index) ? params.values[index].load() : 0.0f;
}

void APlugin::getParameterLabel(int32_t /*index*/, char* label) {
    if (label) label[0] = 0;
}

void APlugin::getParameterName(int32_t index, char* text) {
    if (text) params::parameterName(index, params.values, text);
}

void APlugin::getParameterDisplay(int32_t index, char* text) {
    if (!text || !inRange(index)) return;
    text[0] = 0;
    params::parameterDisplay(index, params.values, text);
}
