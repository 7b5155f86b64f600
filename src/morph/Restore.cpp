// "Orig" and "Edit": back to the program as it was selected, or as it was last
// set by hand or by the morph, discarding variations. A name kept by "Default
// Preset" goes back to the program with its sound.
#include <cstring>

#include "host/APlugin.h"

void APlugin::restoreOriginal() { restoreSnapshot(params.referenceValue, false); }

void APlugin::restoreEdited() { restoreSnapshot(params.lastWritten, true); }

void APlugin::restoreSnapshot(const ParamValue* snapshot, bool modified) {
    int target = 0;
    bool pending = false;
    changePrograms([&] {
        target = curProgram;
        ParamValue* record = programs[target].recordValues;
        for (int i = 0; i < kNumParams; ++i) {
            params.values[i] = snapshot[i].load();
            record[i] = snapshot[i].load();
        }
        params.programModified = modified;
        pending = pendingNameFlag;
        pendingNameFlag = false;
        notices.raise(DisplayNotices::kEditorRefresh);
    });
    if (!pending) {
        deliverNotices();
        return;
    }
    char name[sizeof pendingName];
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        std::strcpy(name, pendingName);
    }
    renameProgram(target, name);
}
