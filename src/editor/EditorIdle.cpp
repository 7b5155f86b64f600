// The editor's periodic work, called by the host: the plug-in's marks are
// applied, the frame reads its input and redraws what is dirty, and then the
// "Edited" indicator and the status line follow. Program stepping (arrows and
// keys) and the help screen's placement live here too.
#include <cstring>

#include "editor/blueTextButton.h"
#include "editor/brennixHelpScreen.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"
#include "platform/Clock.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;

namespace {
constexpr int kStatusCapacity = 127;
constexpr int kProgramCount = 128;
constexpr long kHelpTagLimit = 1000;
}  // namespace

void uEditor::stampClocks() { lastIdle = lastProgramStep = lastKeyStep = platform::tickCount(); }

bool uEditor::throttled(uint32_t now) {
    if (!tracktionHost) return false;
    const uint32_t since = now - lastIdle;
    const bool marked = dirtyTags.pending() || refreshRequested.load() || namesChanged.load();
    return since > 0 && since < kTracktionIdle && !changeNoted && !marked;
}

void uEditor::idle() {
    if (!frame || inIdle) return;
    const uint32_t now = platform::tickCount();
    if (throttled(now)) return;
    lastIdle = now;
    changeNoted = false;
    inIdle = true;
    applyPluginChanges();
    frame->idle();
    dropLearnMenu();
    if (frame && deferred.pending) {
        deferred.pending = false;
        runMenuCommand(deferred.kind, deferred.index);
    }
    if (frame) {
        updateModifiedIndicator();
        updateStatus();
    }
    inIdle = false;
}

void uEditor::updateModifiedIndicator() {
    const bool modified = plugin && plugin->parameters().programModified;
    if (modified == modifiedShown) return;
    modifiedShown = modified;
    for (const editor::RegisteredControl& e : registry.all())
        if (e.control->getTag() == 907)
            e.control->setBackground(image(modified ? layout::img::EditedButton : layout::img::Button));
}

void uEditor::updateStatus() {
    auto* status = static_cast<blueTextButton*>(registry.withRole(layout::Role::StatusDisplay));
    if (!status || !plugin) return;
    // The control being dragged, else the one under the mouse.
    CView* view = frame->getMouseTrackingView();
    if (!view || !registry.find(view)) {
        CPoint where;
        frame->getCurrentLocation(where);
        view = frame->getViewSize().pointInside(where) ? frame->getViewAt(where, true) : nullptr;
    }
    const editor::RegisteredControl* entry = view ? registry.find(view) : nullptr;
    if (!entry) return;
    const long tag = entry->control->getTag();
    if (tag == layout::kNoParameter || tag == layout::kTextLabelTag || tag < 0) return;
    char display[64] = {};
    plugin->getParameterDisplay(int(tag), display);
    std::string text = nameOf(tag);
    if (display[0]) text += std::string(": ") + display;
    text.resize(std::min<size_t>(text.size(), kStatusCapacity));
    if (text == statusText) return;
    statusText = text;
    status->setText(text.c_str());
}

std::string uEditor::nameOf(long tag) const {
    if (const char* command = params::editorCommandName(int(tag))) return command;
    char name[64] = {};
    if (plugin) plugin->getParameterName(int(tag), name);
    return name;
}

bool uEditor::programChangePending() const { return plugin && plugin->isEngineBusy(); }

bool uEditor::stepProgram(int delta, uint32_t& lastStep) {
    if (!plugin || programChangePending()) return false;
    const uint32_t now = platform::tickCount();
    // A clock that ran backwards starts the interval again from now.
    if (int32_t(now - lastStep) < 0) lastStep = now - kStepInterval;
    if (now - lastStep < kStepInterval) return false;
    lastStep = now;
    if (helpScreen && helpScreen->isShown()) hideHelp();
    plugin->setProgram((plugin->getProgram() + delta + kProgramCount) % kProgramCount);
    return true;
}

bool uEditor::onKeyDown(VstKeyCode& key) {
    const bool up = key.virt == VKEY_UP, down = key.virt == VKEY_DOWN;
    if (!frame || !keyStepping || !(up || down)) return false;
    CPoint where;
    frame->getCurrentLocation(where);
    if (!frame->getViewSize().pointInside(where)) return false;
    keyHeld[up ? 0 : 1] = true;
    // One step per press: a held key (or its repeats) steps once.
    if (keyLatch || menuCommandRunning) return true;
    keyLatch = true;
    stepProgram(up ? +1 : -1, lastKeyStep);
    return true;
}

bool uEditor::onKeyUp(VstKeyCode& key) {
    const bool up = key.virt == VKEY_UP, down = key.virt == VKEY_DOWN;
    if (!(up || down)) return false;
    keyHeld[up ? 0 : 1] = false;
    keyLatch = keyHeld[0] || keyHeld[1];
    return keyStepping && frame;
}

void uEditor::showHelpFor(long tag, const CPoint& where) {
    if (!frame || !helpScreen) return;
    helpScreen->setPage(helpPageTable.pageOf(tag >= kHelpTagLimit ? 0 : tag));
    helpScreen->placeAt(where);
    changeNoted = true;
}

void uEditor::hideHelp() {
    if (!helpScreen || !helpScreen->isShown()) return;
    helpScreen->hide();
    changeNoted = true;
}
