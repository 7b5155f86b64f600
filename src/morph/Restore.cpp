// "Orig" and "Edit": back to the program as it was selected, or as it was last
// set by hand or by the morph, discarding variations. A name kept by "Default
// Preset" goes back to the program with its sound.
#include "editor/uEditor.h"
#include "host/APlugin.h"

void APlugin::restoreOriginal() {
    ParamValue* record = programs[curProgram].recordValues;
    for (int i = 0; i < kNumParams; ++i) {
        params.values[i] = params.referenceValue[i].load();
        record[i] = params.referenceValue[i].load();
    }
    params.programModified = false;
    if (pendingNameFlag) {
        pendingNameFlag = false;
        setProgramName(pendingName);
    }
    if (ownedEditor) ownedEditor->refreshAll();
}

void APlugin::restoreEdited() {
    ParamValue* record = programs[curProgram].recordValues;
    for (int i = 0; i < kNumParams; ++i) {
        params.values[i] = params.lastWritten[i].load();
        record[i] = params.lastWritten[i].load();
    }
    params.programModified = true;
    if (pendingNameFlag) {
        pendingNameFlag = false;
        setProgramName(pendingName);
    }
    if (ownedEditor) ownedEditor->refreshAll();
}
