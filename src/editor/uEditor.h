// The plug-in's editor: the 1000 x 600 window with its fixed part and the
// exchangeable regions (Mod or Arp page at lower left, Preset or Advanced page
// at the right, the FX section of the selected effect slot), every control of
// the layout tables bound to its parameter, and the logic between them.
//
// Threads: the host's user-interface thread opens, closes and idles the editor
// and delivers its input. The plug-in tells the editor of parameter changes,
// program installations and the pitch wheel from any thread, the audio thread
// included; those calls only set atomic marks. The controls are brought up to
// date and drawn in idle, on the user-interface thread alone.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/ControlRegistry.h"
#include "editor/DirtyTags.h"
#include "editor/EditorBitmaps.h"
#include "editor/FxTypeMemory.h"
#include "editor/HelpPages.h"
#include "editor/ParameterSteps.h"
#include "editor/brennixEditorListener.h"
#include "params/ParamIds.h"
#include "platform/Relaxed.h"
#include "vst/AEffGUIEditor.h"

class APlugin;
class BitmapFonts;
class brennixHelpScreen;
namespace VSTGUI {
class COptionMenu;
class CView;
class CViewContainer;
}  // namespace VSTGUI

class uEditor : public AEffGUIEditor, public brennixEditorListener {
public:
    static constexpr int kWidth = 1000;
    static constexpr int kHeight = 600;
    // Program stepping takes one step per this many milliseconds at most.
    static constexpr uint32_t kStepInterval = 500;
    // The Tracktion host's idle calls do their work at most once per this many milliseconds.
    static constexpr uint32_t kTracktionIdle = 40;

    explicit uEditor(APlugin* plugin);
    ~uEditor() override;

    // Builds the window inside the host's; false (the reason on stderr) when it cannot.
    bool open(void* parentWindow) override;
    // The same editor without a window: it draws into its frame's back buffer
    // only (for tests, tools and benchmarks).
    bool openOffscreen();
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;

    // From the plug-in, on any thread; these only mark what idle must update.
    void setParameter(int index, float value);
    // Every control shows the plug-in's values again (a program was installed).
    void refreshAll();
    // The program names changed.
    void updateProgramName();
    // The pitch wheel's position as a level 0..37.
    void setPitchWheel(int frame) { pitchWheelFrame = frame; }
    // Marks the parameter being edited (-1: none).
    void setEditedParameter(int index) { editedParameter = index; }
    int getEditedParameter() const { return editedParameter; }

    // The controls' listener.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;
    void openLearnMenu(VSTGUI::CControl* control, const VSTGUI::CPoint& where) override;
    void showHelpFor(long tag, const VSTGUI::CPoint& where) override;
    void hideHelp() override;

    // The two options of the about screen, kept in the settings.
    void setNormalFont(bool on);
    bool isNormalFont() const { return normalFont; }
    void setKeyStepping(bool on) { keyStepping = on; }
    bool isKeyStepping() const { return keyStepping; }

    // The name of a parameter or of an editor command (tags 900..916).
    std::string nameOf(long tag) const;

    // What the editor shows, for tests and tools.
    bool isModPageShown() const { return modPageShown; }
    bool isPresetPageShown() const { return presetPageShown; }
    int selectedSlot(layout::Slot group) const { return selectors[int(group)]; }
    const editor::ControlRegistry& controls() const { return registry; }
    // The control made from the layout record `kind`/`baseTag` (see ControlRegistry::made).
    VSTGUI::CControl* control(layout::Kind kind, int baseTag) const { return registry.made(kind, baseTag); }
    VSTGUI::CViewContainer* regionView(layout::Region region) const;
    const std::string& getStatusText() const { return statusText; }
    brennixHelpScreen* getHelpScreen() const { return helpScreen; }
    bool isAboutShown() const { return aboutShown; }
    const editor::ParameterSteps& steps() const { return stepTable; }
    const editor::HelpPages& helpPages() const { return helpPageTable; }

private:
    // Opening and closing (uEditor.cpp, ControlFactory.cpp).
    bool build(VSTGUI::CFrame* newFrame);
    void createControls();
    VSTGUI::CControl* createControl(const layout::Control& c);
    VSTGUI::COptionMenu* createSubMenu(VSTGUI::COptionMenu* owner, const char* title,
                                       const std::vector<const char*>& entries);
    void endGestureInProgress();

    // Pages, the FX section and the slot selectors (EditorPages.cpp).
    void showLowerPage(bool mod);
    void showRightPage(bool preset);
    void fillRegion(VSTGUI::CViewContainer* container, layout::Region page);
    void rebuildFxSection();
    void refreshFxDestinations();
    void selectSlot(layout::Slot group, int index);
    void fxTypeChosen(int entry);

    // Control changes (ControlChanges.cpp).
    bool commandChanged(const editor::RegisteredControl& entry, VSTGUI::CControl* changed);
    bool menuChanged(const editor::RegisteredControl& entry, VSTGUI::CControl* changed);
    void deferMenuCommand(int kind, long index);
    void runMenuCommand(int kind, long index);
    void automate(long tag, float value);
    void octaveStep(long tag);
    void aboutOptionChanged(long tag, bool on);

    // Updates from the plug-in (ParameterUpdates.cpp).
    void applyPluginChanges();
    void updateFromPlugin(int index);
    void fullRefresh();
    bool showsParameter(const editor::RegisteredControl& entry, int index) const;
    void showValue(const editor::RegisteredControl& entry);
    std::string rateText(layout::Role role) const;
    std::string programName(int program) const;
    void checkFxTypes();

    // Idle work (EditorIdle.cpp).
    bool throttled(uint32_t now);
    void updateModifiedIndicator();
    void updateStatus();
    bool stepProgram(int delta, uint32_t& lastStep);
    bool programChangePending() const;
    void stampClocks();

    // The hooks of the menus, the about screen, the manual and the vocoder
    // sample (MenuHooks.cpp); the menus' own behaviour is built there.
    void runFileMenuCommand(int kind, long index);
    void presetSubMenuChosen(VSTGUI::COptionMenu* subMenu, long entry);
    void morphMenuChosen(int source, VSTGUI::COptionMenu* chosenIn, long entry);
    void refreshProgramNames();
    void showAboutScreen();
    void closeAboutScreen();
    void openOnlineManual();
    void chooseVocoderSample();
    std::string vocoderSampleName() const;
    // The arpeggiator's current step, -1 while it does not run.
    int currentArpStep() const;

    // The program menus' sub-menus and commands, made once (PresetMenus.cpp).
    void fillProgramMenus();
    // Loading and saving through the file chooser, the "Preset Name" dialog
    // and the busy frame around a command (FileCommands.cpp).
    struct FileKind;
    void chooseFile(const FileKind& kind, bool save, const std::string& fileName);
    void askPresetName();
    void runBusy(const std::function<void()>& command);
    // The MIDI-learn menu (LearnMenu.cpp).
    std::string bindingLine(long tag) const;
    void learnMenuChosen();
    void dropLearnMenu();
    // The about screen's version line (AboutScreen.cpp).
    std::string versionText() const;

    float value(int index) const;
    VSTGUI::COptionMenu* ownerOf(const VSTGUI::CControl* subMenu, int* subMenuIndex = nullptr) const;
    VSTGUI::CBitmap* image(int id) const { return bitmaps.get(id); }

    APlugin* plugin;

    // Tables kept while the window is closed.
    editor::ParameterSteps stepTable;
    editor::HelpPages helpPageTable;
    editor::FxTypeMemory fxMemory;
    bool modPageShown = true;
    bool presetPageShown = true;
    int selectors[5] = {0, 0, 0, 0, 0};  // by layout::Slot
    bool normalFont = false;
    bool keyStepping = false;
    bool tracktionHost = false;
    bool orionHost = false;

    // Marks from the plug-in (any thread).
    editor::DirtyTags<prm::kCount> dirtyTags;
    std::atomic<bool> refreshRequested{false};
    std::atomic<bool> namesChanged{false};
    Relaxed<int> pitchWheelFrame{-1};
    Relaxed<int> editedParameter{-1};

    // The open window.
    editor::EditorBitmaps bitmaps;
    std::unique_ptr<BitmapFonts> fonts;
    editor::ControlRegistry registry;
    // Sub-menus and the menu each belongs to, with its index there.
    struct SubMenu {
        VSTGUI::COptionMenu* menu;
        VSTGUI::COptionMenu* owner;
        int index;
    };
    std::vector<SubMenu> subMenus;
    VSTGUI::CViewContainer* lowerRegion = nullptr;
    VSTGUI::CViewContainer* rightRegion = nullptr;
    VSTGUI::CViewContainer* fxRegion = nullptr;
    brennixHelpScreen* helpScreen = nullptr;
    int fxTypesSeen[3] = {-1, -1, -1};  // what the FX modulation menus name
    int fxSectionType = -1;             // what the FX section shows
    int shownArpStep = -2;
    int shownPitchWheel = -1;
    bool modifiedShown = false;

    // Deferred menu command (the Orion host runs it at the next idle).
    struct Deferred {
        int kind = 0;
        long index = 0;
        bool pending = false;
    } deferred;
    bool menuCommandRunning = false;
    // The "Preset Name" dialog takes this many characters; the name rule keeps 24.
    static constexpr size_t kPresetNameLength = 511;

    // The open MIDI-learn menu, the tag it is for and where it was opened.
    VSTGUI::COptionMenu* learnMenu = nullptr;
    long learnTag = 0;
    VSTGUI::CPoint learnWhere;

    // The about screen, and the regular views it keeps while shown.
    bool aboutShown = false;
    std::vector<VSTGUI::CView*> aboutHidden;

    // Idle.
    std::string statusText;
    VSTGUI::CPoint statusWhere{-1, -1};
    bool changeNoted = false;  // a control changed since the previous idle
    uint32_t lastIdle = 0, lastProgramStep = 0, lastKeyStep = 0;
    bool inIdle = false, inRefresh = false, inRebuild = false;
    bool keyLatch = false;
    bool keyHeld[2] = {false, false};  // up, down
};
