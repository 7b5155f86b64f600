// What the entries of the file, preset, ECS and arp file menus do. Loading and
// saving open the toolkit's file chooser in the folder the settings name for
// that kind of file; the plug-in reads or writes the file once one is chosen
// and refuses a file it cannot use with a message, changing nothing.
#include <filesystem>
#include <string>

#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "platform/MessageBox.h"
#include "widgets/CFrame.h"
#include "widgets/overlays/CFileChooser.h"
#include "widgets/overlays/CTextEntryDialog.h"

using namespace VSTGUI;

namespace {
enum class Action {
    None, LoadBank, SaveBank, LoadPreset, SavePreset, CopyPreset, PastePreset, RenamePreset,
    DefaultPreset, StoreMorphA, StoreMorphB, Help, LoadEcs, SaveEcs, ClearMidi, LoadArp, SaveArp,
    CopyArp, PasteArp, ClearArp
};
using A = Action;

// By menu kind (0 file, 1 preset, 2 ECS, 3 arp file), in entry order; the
// preset menu's first five entries are its sub-menus and the separator.
constexpr Action kFileMenu[] = {A::LoadBank,    A::SaveBank,    A::LoadPreset,   A::SavePreset, A::CopyPreset,
                                A::PastePreset, A::RenamePreset, A::DefaultPreset, A::Help};
constexpr Action kPresetMenu[] = {A::None,        A::None,        A::None,        A::None,        A::None,
                                  A::RenamePreset, A::CopyPreset, A::PastePreset, A::DefaultPreset,
                                  A::LoadPreset,  A::SavePreset,  A::StoreMorphA, A::StoreMorphB, A::Help};
constexpr Action kEcsMenu[] = {A::LoadEcs, A::SaveEcs, A::ClearMidi};
constexpr Action kArpMenu[] = {A::LoadArp, A::SaveArp, A::CopyArp, A::PasteArp, A::ClearArp};

template <size_t N>
Action pick(const Action (&table)[N], long index) {
    return index >= 0 && index < long(N) ? table[index] : A::None;
}

Action actionOf(int kind, long index) {
    switch (kind) {
        case 0: return pick(kFileMenu, index);
        case 1: return pick(kPresetMenu, index);
        case 2: return pick(kEcsMenu, index);
        case 3: return pick(kArpMenu, index);
        default: return A::None;
    }
}

// A program name as a file name: no folder separators, not hidden, not empty.
std::string fileNameFor(std::string name, const char* fallback) {
    for (char& c : name)
        if (c == '/') c = '-';
    while (!name.empty() && (name.front() == '.' || name.front() == ' ')) name.erase(0, 1);
    return name.empty() ? fallback : name;
}
}  // namespace

// Where a kind of user file lives and what the plug-in does with a chosen one.
struct uEditor::FileKind {
    const char* title;
    const char* folderName;  // for the message about a missing folder
    const std::string& (APlugin::*folder)() const;
    const char* extension;
    bool (APlugin::*run)(const std::string& path);
};

void uEditor::runFileMenuCommand(int kind, long index) {
    if (!frame || !plugin) return;
    static const FileKind kLoadBank{"Load Bank", "bank", &APlugin::bankDir, "fxb", &APlugin::loadBank};
    static const FileKind kSaveBank{"Save Bank", "bank", &APlugin::bankDir, "fxb", &APlugin::saveBank};
    static const FileKind kLoadPreset{"Load Preset", "preset", &APlugin::presetDir, "fxp", &APlugin::loadPreset};
    static const FileKind kSavePreset{"Save Preset", "preset", &APlugin::presetDir, "fxp", &APlugin::savePreset};
    static const FileKind kLoadEcs{"Load ECS", "controller setup", &APlugin::ecsDir, "ecs",
                                   &APlugin::loadControllerSetup};
    static const FileKind kSaveEcs{"Save ECS", "controller setup", &APlugin::ecsDir, "ecs",
                                   &APlugin::saveControllerSetup};
    static const FileKind kLoadArp{"Load Arp", "arp pattern", &APlugin::arpDir, "arp", &APlugin::loadArpPattern};
    static const FileKind kSaveArp{"Save Arp", "arp pattern", &APlugin::arpDir, "arp", &APlugin::saveArpPattern};
    const std::string program = fileNameFor(programName(plugin->getProgram()), "Preset");

    switch (actionOf(kind, index)) {
        case A::None: return;
        case A::LoadBank: chooseFile(kLoadBank, false, ""); return;
        case A::SaveBank: chooseFile(kSaveBank, true, "Brennix Bank.fxb"); return;
        case A::LoadPreset: chooseFile(kLoadPreset, false, ""); return;
        case A::SavePreset: chooseFile(kSavePreset, true, program + ".fxp"); return;
        case A::LoadEcs: chooseFile(kLoadEcs, false, ""); return;
        case A::SaveEcs: chooseFile(kSaveEcs, true, "Brennix Controllers.ecs"); return;
        case A::LoadArp: chooseFile(kLoadArp, false, ""); return;
        case A::SaveArp: chooseFile(kSaveArp, true, program + ".arp"); return;
        case A::CopyPreset: plugin->copyPreset(); return;
        case A::PastePreset: plugin->pastePreset(); return;
        case A::DefaultPreset: plugin->defaultPreset(); return;
        case A::RenamePreset: askPresetName(); return;
        case A::StoreMorphA: plugin->storeAsMorph(0); return;
        case A::StoreMorphB: plugin->storeAsMorph(1); return;
        case A::ClearMidi: plugin->clearMidi(); return;
        case A::CopyArp: plugin->copyArp(); return;
        case A::PasteArp: plugin->pasteArp(); return;
        case A::ClearArp: plugin->clearArp(); return;
        case A::Help:
            showHelpFor(916, CPoint(300, 0));
            if (CControl* menu = registry.made(layout::Kind::PresetMenu, layout::kNoParameter)) menu->setDirty();
            return;
    }
}

void uEditor::chooseFile(const FileKind& kind, bool save, const std::string& fileName) {
    namespace fs = std::filesystem;
    const std::string folder = (plugin->*kind.folder)();
    std::error_code ec;
    // The chooser then starts in the nearest folder above that exists.
    if (!fs::is_directory(folder, ec))
        platform::showMessage("The " + std::string(kind.folderName) + " folder \"" + folder +
                              "\" does not exist. Please choose a file in another folder.");
    auto run = kind.run;
    CFileChooser::show(frame, save ? CFileChooser::kSave : CFileChooser::kOpen, kind.title, folder,
                       {kind.extension}, [this, run](bool ok, const std::string& path) {
                           if (ok && plugin) runBusy([&] { (plugin->*run)(path); });
                       },
                       fileName);
}

void uEditor::askPresetName() {
    CTextEntryDialog::show(
        frame, "Preset Name", "New Preset Name", programName(plugin->getProgram()),
        [this](bool ok, const std::string& text) {
            // The plug-in applies the name rule and ignores an empty name.
            if (!ok || text.empty() || !plugin) return;
            runBusy([&] {
                std::string name = text;
                plugin->setProgramName(name.data());
            });
        },
        kPresetNameLength);
}

// Commands run with the busy flag up, which also stops the arrow-key program
// stepping; a key held through one steps nothing until it is released.
void uEditor::runBusy(const std::function<void()>& command) {
    menuCommandRunning = true;
    command();
    menuCommandRunning = false;
    if (!frame) return;
    frame->setDirty();
    keyLatch = keyHeld[0] || keyHeld[1];
    fullRefresh();
}
