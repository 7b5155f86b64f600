// The morph: blends the stored programs "Cross Pr A" and "Cross Pr B" into the
// current program by "Cross Amount".
#include "host/APlugin.h"
#include "morph/MorphLists.h"
#include "platform/MessageBox.h"

void APlugin::morph() {
    bool refused = false;
    // Runs as one change at a block boundary, from the programs as they are then.
    changePrograms([&] {
        const int a = static_cast<int>(params.values[prm::CrossPrA] * 127.99f);
        const int b = static_cast<int>(params.values[prm::CrossPrB] * 127.99f);
        refused = a == curProgram || b == curProgram;
        if (refused) return;
        const ParamValue* valuesA = programs[a].recordValues;
        const ParamValue* valuesB = programs[b].recordValues;
        const float x = params.values[prm::CrossAmount];
        params.programModified = true;

        for (const morph::IndexRange& range : morph::kInterpolated)
            for (int i = range.first; i <= range.last; ++i) {
                const float va = valuesA[i];
                const float vb = valuesB[i];
                writeParameter(i, va + (vb - va) * x);
            }
        // At x = 1 a draw of exactly 1.0 still keeps A's value: B needs x > r.
        for (const morph::IndexRange& range : morph::kSwitched)
            for (int i = range.first; i <= range.last; ++i)
                writeParameter(i, x > random.uniform() ? valuesB[i] : valuesA[i]);
        const ParamValue* block = x > random.uniform() ? valuesB : valuesA;
        for (const morph::IndexRange& range : morph::kBlock)
            for (int i = range.first; i <= range.last; ++i) writeParameter(i, block[i]);

        // The morphed sound is now the edited sound; "Orig" still returns to the
        // program as it was selected. Installing releases every voice.
        reinstallCurrentProgram();
    });
    if (refused) platform::showMessage("The morph presets must be different from the current preset");
    deliverNotices();
}
