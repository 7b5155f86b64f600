// Program selection and naming.
#include <cstring>

#include "editor/uEditor.h"
#include "host/APlugin.h"

void APlugin::setProgram(int32_t index) { installProgram(index, false); }

void APlugin::installProgram(int32_t index, bool onAudioThread) {
    // An index outside the bank changes nothing (not even the busy flag).
    if (index < 0 || index >= kNumPrograms) return;
    params.programModified = false;
    pendingNameFlag = false;
    engineBusy.store(1, std::memory_order_release);

    curProgram = index;
    ProgramRecord& record = programs[index];
    for (int i = 0; i < kNumParams; ++i) {
        params.values[i] = record.recordValues[i].load();
        setParameter(i, params.values[i]);
        float installed = params.values[i];
        params.referenceValue[i] = installed;
        params.previousValue[i] = installed;
        params.lastWritten[i] = installed;
    }
    // Installing compares against the previous program's snapshot; the new
    // program is by definition unmodified.
    params.programModified = false;
    std::strcpy(textBuffer, "Nil");
    sampleLoader.programSelected();

    if (onAudioThread)
        engine.resetEngine();
    else
        requestEngineReset();
    engineBusy.store(0, std::memory_order_release);
    if (ownedEditor) ownedEditor->refreshAll();
    updateDisplay();
}

void APlugin::reinstallCurrentProgram() {
    // Installing refreshes both snapshots; keeping them lets "Orig" and "Edit"
    // undo what the morph, a variation or "Default Preset" did.
    const int count = kNumParams;
    float original[kNumParams];
    float edited[kNumParams];
    for (int i = 0; i < count; ++i) {
        original[i] = params.referenceValue[i];
        edited[i] = params.lastWritten[i];
    }
    const bool modified = params.programModified;
    const bool pending = pendingNameFlag;
    installProgram(curProgram, false);
    pendingNameFlag = pending;
    for (int i = 0; i < count; ++i) {
        params.referenceValue[i] = original[i];
        params.lastWritten[i] = edited[i];
    }
    params.programModified = modified;
}

void APlugin::getProgramName(char* name) {
    if (name) params::applyNameRule(programs[curProgram].recordName, name);
}

bool APlugin::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
    if (!text || index < 0 || index >= kNumPrograms) return false;
    params::applyNameRule(programs[index].recordName, text);
    return true;
}

void APlugin::setProgramName(char* name) {
    char cut[params::kMaxProgramName + 1];
    params::applyNameRule(name, cut);
    if (cut[0] == 0) return;
    std::strcpy(programs[curProgram].recordName, cut);
    updateDisplay();
    if (ownedEditor) ownedEditor->updateProgramName();
}
