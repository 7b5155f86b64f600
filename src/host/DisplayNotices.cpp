// Delivering what the audio side changed to the editor and the host, from a
// user-interface thread: the next dispatcher call that is not the audio
// thread's (effEditIdle included), or the end of the operation that raised it.
#include "editor/uEditor.h"
#include "host/APlugin.h"

void APlugin::deliverNotices() {
    if (handover.insideBlock() || handover.onAudioThread()) return;
    const uint32_t due = notices.take();
    if (!due) return;
    if (ownedEditor && (due & DisplayNotices::kEditorRefresh)) ownedEditor->refreshAll();
    if (ownedEditor && (due & DisplayNotices::kEditorName)) ownedEditor->updateProgramName();
    if (due & DisplayNotices::kHost) updateDisplay();
}

intptr_t APlugin::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (opcode != effProcessEvents) deliverNotices();
    return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
}
