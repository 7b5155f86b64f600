// Program selection and naming.
#include <cstring>

#include "editor/uEditor.h"
#include "host/APlugin.h"

void APlugin::setProgram(int32_t index) {
    // An index outside the bank changes nothing.
    if (index < 0 || index >= kNumPrograms) return;
    changePrograms([&] { installProgram(index); });
    deliverNotices();
}

void APlugin::installProgram(int32_t index) {
    params.programModified = false;
    pendingNameFlag = false;

    curProgram = index;
    const ProgramRecord& record = programs[index];
    for (int i = 0; i < kNumParams; ++i) {
        // Rounds switches and writes the rounded value back into the record.
        writeParameter(i, record.recordValues[i]);
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
    resetEngineSoon();
    notices.raise(DisplayNotices::kEditorRefresh | DisplayNotices::kHost);
}

void APlugin::resetEngineSoon() {
    if (handover.insideBlock())
        engine.resetEngine();
    else
        requestEngineReset();
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
    installProgram(curProgram);
    pendingNameFlag = pending;
    for (int i = 0; i < count; ++i) {
        params.referenceValue[i] = original[i];
        params.lastWritten[i] = edited[i];
    }
    params.programModified = modified;
}

void APlugin::getProgramName(char* name) {
    if (!name) return;
    std::lock_guard<std::mutex> lock(nameMutex);
    params::applyNameRule(programs[curProgram].recordName, name);
}

bool APlugin::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
    if (!text || index < 0 || index >= kNumPrograms) return false;
    std::lock_guard<std::mutex> lock(nameMutex);
    params::applyNameRule(programs[index].recordName, text);
    return true;
}

void APlugin::setProgramName(char* name) { renameProgram(curProgram, name); }

void APlugin::renameProgram(int target, const char* name) {
    char cut[params::kMaxProgramName + 1];
    params::applyNameRule(name, cut);
    // An empty name is ignored.
    if (cut[0] != 0) {
        std::lock_guard<std::mutex> lock(nameMutex);
        std::strcpy(programs[target].recordName, cut);
        notices.raise(DisplayNotices::kHost | DisplayNotices::kEditorName);
    }
    deliverNotices();
}
