#include "editor/uEditor.h"

#include <cstdio>

#include "editor/BitmapFont.h"
#include "editor/HelpText.h"
#include "editor/blueTextButton.h"
#include "editor/brennixHelpScreen.h"
#include "host/APlugin.h"
#include "platform/SettingsStore.h"
#include "widgets/CFrame.h"
#include "widgets/COptionMenuScheme.h"

using namespace VSTGUI;

uEditor::uEditor(APlugin* plugin) : AEffGUIEditor(plugin), plugin(plugin) {
    rect = ERect{0, 0, kHeight, kWidth};
    // The two options are the user's, kept beside the other settings.
    platform::SettingsStore settings;
    normalFont = settings.readSetting("Normal Font") == "Y";
    keyStepping = settings.readSetting("Key") == "Y";
    COptionMenuScheme::current()->setAlternative(normalFont);
    stampClocks();
}

uEditor::~uEditor() {
    // The plug-in is going: nothing may reach it or its host any more.
    plugin = nullptr;
    effect = nullptr;
    close();
}

bool uEditor::open(void* parentWindow) {
    if (frame) close();
    auto* f = new CFrame(CRect(0, 0, kWidth, kHeight), parentWindow, this);
    if (!f->isOpen()) {
        // No display or no usable parent window: no editor, the plug-in plays on.
        std::fprintf(stderr, "Brennix: the editor cannot open: %s\n", f->getOpenError().c_str());
        f->forget();
        return false;
    }
    if (!build(f)) return false;
    return AEffGUIEditor::open(parentWindow);
}

bool uEditor::openOffscreen() {
    if (frame) close();
    return build(new CFrame(CRect(0, 0, kWidth, kHeight), this));
}

bool uEditor::build(CFrame* newFrame) {
    if (plugin) {
        plugin->detectHostQuirks();
        tracktionHost = plugin->hostIsTracktion();
        orionHost = plugin->hostIsOrion();
    }
    deferred = Deferred{};
    statusText.clear();
    statusWhere = CPoint(-1, -1);
    stampClocks();

    bitmaps.load();
    fonts = std::make_unique<BitmapFonts>(image(layout::img::Font), image(layout::img::FontPlain),
                                          image(layout::img::NormalFont),
                                          image(layout::img::NormalFontPlain));
    fonts->setNormalFont(normalFont);

    frame = newFrame;
    frame->setBackground(image(layout::img::MainBackground));
    helpScreen = new brennixHelpScreen(CRect(0, 0, 440, 440), this, layout::kNoParameter,
                                       image(layout::img::HelpBackground));
    helpScreen->setBlocks(editor::helpText());
    helpScreen->hide();

    auto region = [this](layout::Region r) {
        layout::Rect rr = layout::regionRect(r);
        auto* view = new CViewContainer(CRect(rr.left, rr.top, rr.right, rr.bottom), frame);
        frame->addView(view);
        return view;
    };
    lowerRegion = region(layout::Region::Mod);
    rightRegion = region(layout::Region::Preset);
    fxRegion = region(layout::Region::Fx);

    createControls();
    fxSectionType = -1;
    rebuildFxSection();
    showLowerPage(modPageShown);
    showRightPage(presetPageShown);

    frame->addView(helpScreen);
    // Nothing the plug-in marked before now is news: the refresh reads it all.
    dirtyTags.clear();
    refreshRequested.store(false);
    namesChanged.store(false);
    shownArpStep = -2;
    shownPitchWheel = -1;
    modifiedShown = false;
    fullRefresh();
    refreshProgramNames();
    if (CControl* status = registry.withRole(layout::Role::StatusDisplay)) {
        char vendor[kVstMaxVendorStrLen + 1] = {}, product[kVstMaxProductStrLen + 1] = {};
        if (plugin) {
            plugin->getVendorString(vendor);
            plugin->getProductString(product);
        }
        statusText = std::string(vendor) + " " + product;
        static_cast<blueTextButton*>(status)->setText(statusText.c_str());
    }
    return true;
}

void uEditor::endGestureInProgress() {
    // A drag or a held button ends as if released, so the host sees the end of
    // the gesture and a held audition note stops.
    if (!frame || !frame->getMouseTrackingView()) return;
    NativeEvent release;
    release.type = NativeEvent::kMouseUp;
    frame->getCurrentLocation(release.where);
    release.buttons = 0;
    frame->handleEvent(release);
}

void uEditor::close() {
    if (frame) endGestureInProgress();
    // The regular views go with the frame, not with the about screen's list.
    closeAboutScreen();
    learnMenu = nullptr;
    AEffGUIEditor::close();  // the frame and every view in it
    lowerRegion = rightRegion = fxRegion = nullptr;
    helpScreen = nullptr;
    subMenus.clear();
    registry.clear();
    bitmaps.release();
    fonts.reset();
}

void uEditor::setParameter(int index, float /*value*/) {
    // The value is read again in idle: only the latest one matters.
    dirtyTags.mark(index);
}

void uEditor::refreshAll() { refreshRequested.store(true, std::memory_order_release); }

void uEditor::updateProgramName() { namesChanged.store(true, std::memory_order_release); }

void uEditor::setNormalFont(bool on) {
    normalFont = on;
    COptionMenuScheme::current()->setAlternative(on);
    if (fonts) fonts->setNormalFont(on);
    if (frame) frame->setDirty();
}

void uEditor::aboutOptionChanged(long tag, bool on) {
    // 798 "Normal Font", 797 "Key": kept in the settings and in force at once.
    const bool font = tag == 798;
    platform::SettingsStore().writeSetting(on ? "Y" : "N", font ? "Normal Font" : "Key");
    if (font)
        setNormalFont(on);
    else
        setKeyStepping(on);
}

CViewContainer* uEditor::regionView(layout::Region region) const {
    switch (region) {
        case layout::Region::Main:
        case layout::Region::About: return frame;
        case layout::Region::Mod:
        case layout::Region::Arp: return lowerRegion;
        case layout::Region::Preset:
        case layout::Region::Advanced: return rightRegion;
        case layout::Region::Fx: return fxRegion;
    }
    return nullptr;
}

float uEditor::value(int index) const {
    if (!plugin || index < 0 || index >= prm::kCount) return 0.0f;
    float v = plugin->getParameter(index);
    return !(v >= 0.0f) ? 0.0f : v > 1.0f ? 1.0f : v;
}
