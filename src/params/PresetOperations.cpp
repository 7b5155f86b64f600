// "Copy Preset", "Paste Preset", "Default Preset" and the stored morph sources.
#include <cstring>

#include "host/APlugin.h"

namespace {
// The program text (630..667) and the value after it stay when a whole sound
// is replaced by a pasted or default one.
constexpr int kKeptFirst = prm::TextFirst;
constexpr int kKeptLast = prm::TextLast + 1;
constexpr int kKeptCount = kKeptLast - kKeptFirst + 1;
}  // namespace

void APlugin::copyPreset() {
    int current = 0;
    changes.readWhole([&] {
        current = curProgram;
        for (int i = 0; i < kNumParams; ++i) presetClipboard.values[i] = params.values[i];
    });
    std::lock_guard<std::mutex> lock(nameMutex);
    params::applyNameRule(programs[current].recordName, presetClipboard.name);
    presetClipboard.filled = true;
}

void APlugin::pastePreset() {
    if (!presetClipboard.filled) return;
    int target = 0;
    changePrograms([&] {
        target = curProgram;
        ParamValue* record = programs[target].recordValues;
        float kept[kKeptCount];
        for (int i = 0; i < kKeptCount; ++i) kept[i] = params.values[kKeptFirst + i];
        for (int i = 0; i < kNumParams; ++i) {
            const float v = presetClipboard.values[i];
            params.referenceValue[i] = v;
            record[i] = v;
            params.values[i] = v;
        }
        for (int i = 0; i < kKeptCount; ++i) {
            params.referenceValue[kKeptFirst + i] = kept[i];
            record[kKeptFirst + i] = kept[i];
            params.values[kKeptFirst + i] = kept[i];
        }
        installProgram(target);
    });
    renameProgram(target, presetClipboard.name);
}

void APlugin::defaultPreset() {
    int target = 0;
    changePrograms([&] {
        target = curProgram;
        pendingNameFlag = true;
        params.programModified = false;
        ParamValue* record = programs[target].recordValues;
        float kept[kKeptCount];
        for (int i = 0; i < kKeptCount; ++i) kept[i] = params.values[kKeptFirst + i];
        for (int i = 0; i < kNumParams; ++i) {
            params.values[i] = params.defaultValue[i];
            record[i] = params.defaultValue[i];
        }
        for (int i = 0; i < kKeptCount; ++i) {
            params.referenceValue[kKeptFirst + i] = kept[i];
            record[kKeptFirst + i] = kept[i];
            params.values[kKeptFirst + i] = kept[i];
        }
        reinstallCurrentProgram();
    });
    // "Orig" and "Edit" give the name back together with the sound.
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        std::strcpy(pendingName, programs[target].recordName);
    }
    renameProgram(target, "Default");
}

void APlugin::storeAsMorph(int source) {
    if (source == 0 || source == 1) storedMorph[source] = curProgram;
}

void APlugin::setToStoredMorph(int source) {
    if (source != 0 && source != 1) return;
    setParameter(source == 0 ? prm::CrossPrA : prm::CrossPrB,
                 (static_cast<float>(storedMorph[source]) + 0.5f) * 0.00781311095f);
}
