// The way back from the plug-in to the controls. The plug-in only marks what
// changed (any thread); idle takes the marks and brings every control that
// shows a marked parameter up to date, or all of them after a program was
// installed. Option menus show the entry of the value, readouts their text.
#include "editor/ModulationMenus.h"
#include "editor/blueArpDisplay.h"
#include "editor/blueOptionMenu.h"
#include "editor/blueTextButton.h"
#include "editor/blueVSlider.h"
#include "editor/brennixHelpScreen.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"

using namespace VSTGUI;
using layout::Kind;
using layout::Role;

namespace {
constexpr int kProgramCount = 128;
constexpr float kProgramSteps = 127.99f;

int speedOf(Role role, int freeLfo) {
    return role == Role::FilterLfoRate ? prm::FilterLfoSpeed
           : role == Role::PitchLfoRate ? prm::PitchLfoSpeed
                                        : prm::FreeLfo1Speed + freeLfo;
}
int syncOf(Role role, int freeLfo) {
    return role == Role::FilterLfoRate ? prm::FilterLfoSync
           : role == Role::PitchLfoRate ? prm::PitchLfoSync
                                        : prm::FreeLfo1Sync + freeLfo;
}
bool isRate(Role role) {
    return role == Role::FilterLfoRate || role == Role::PitchLfoRate || role == Role::FreeLfoRate;
}
bool isArpData(int index) { return index >= prm::ArpSteps && index <= prm::ArpLatch; }
}  // namespace

void uEditor::applyPluginChanges() {
    if (refreshRequested.exchange(false, std::memory_order_acq_rel)) {
        dirtyTags.clear();
        fullRefresh();
    } else {
        dirtyTags.take([this](int index) { updateFromPlugin(index); });
    }
    checkFxTypes();
    if (namesChanged.exchange(false, std::memory_order_acq_rel)) {
        refreshProgramNames();
        for (const editor::RegisteredControl& e : registry.all())
            if (e.layout->kind == Kind::PresetMenu || e.layout->kind == Kind::MorphMenu) showValue(e);
        changeNoted = true;
    }
    int wheel = pitchWheelFrame;
    if (wheel != shownPitchWheel && wheel >= 0) {
        shownPitchWheel = wheel;
        if (CControl* slider = registry.withRole(Role::PitchWheel)) slider->setValue(float(wheel));
    }
    int step = currentArpStep();
    if (step != shownArpStep) {
        shownArpStep = step;
        if (auto* arp = static_cast<blueArpDisplay*>(registry.made(Kind::ArpDisplay, layout::kNoParameter)))
            arp->setCurrentStep(step < 0 ? 0 : step);
    }
}

// The arpeggiator's running step, published lock-free by the audio thread.
int uEditor::currentArpStep() const { return plugin->voiceEngine().arpDisplayedStep(); }

void uEditor::updateFromPlugin(int index) {
    if (!frame) return;
    if (helpScreen && helpScreen->isShown()) hideHelp();
    for (const editor::RegisteredControl& e : registry.all())
        if (showsParameter(e, index)) showValue(e);
}

void uEditor::fullRefresh() {
    if (!frame || inRefresh) return;
    inRefresh = true;
    for (const editor::RegisteredControl& e : registry.all()) showValue(e);
    checkFxTypes();
    refreshProgramNames();
    inRefresh = false;
}

void uEditor::checkFxTypes() {
    const int slot = selectors[int(layout::Slot::Fx)];
    bool changed = false;
    for (int s = 0; s < params::kFxSlots; ++s)
        changed |= params::fxKnobType(value(prm::Fx1Type + s)) != fxTypesSeen[s];
    if (params::fxKnobType(value(prm::Fx1Type + slot)) != fxSectionType)
        rebuildFxSection();
    else if (changed)
        refreshFxDestinations();
}

bool uEditor::showsParameter(const editor::RegisteredControl& e, int index) const {
    const layout::Control& c = *e.layout;
    if (e.control->getTag() == index) return true;
    const int freeLfo = selectors[int(layout::Slot::FreeLfo)];
    if (isRate(c.role)) return index == speedOf(c.role, freeLfo) || index == syncOf(c.role, freeLfo);
    switch (c.kind) {
        case Kind::MorphMenu: return index == prm::CrossPrA + c.index;
        case Kind::ArpDisplay: return isArpData(index);
        default: return false;
    }
}

void uEditor::showValue(const editor::RegisteredControl& e) {
    const layout::Control& c = *e.layout;
    CControl* control = e.control;
    const long tag = control->getTag();
    const float v = value(int(tag));
    // Only read in the menus' cases below.
    auto* menu = e.optionMenu ? static_cast<blueOptionMenu*>(control) : nullptr;
    switch (c.kind) {
        case Kind::OptionMenu:
            menu->setCurrent(editor::ParameterSteps::entryOf(v, stepTable.of(tag), int(menu->getNbEntries())));
            return;
        case Kind::WaveformMenu: menu->setTitle(params::kWaveform.name(v)); return;
        case Kind::FxTypeMenu: menu->setCurrent(params::fxKnobType(v)); return;
        case Kind::SourceMenu: {
            long entry = menu->getIndex(params::kModSource.name(v));
            menu->setCurrent(entry < 0 ? 0 : entry);
            return;
        }
        case Kind::DestinationMenu: menu->setTitle(params::kModDestination.name(v)); return;
        case Kind::FxDestinationMenu: {
            int position = editor::ModulationMenus::positionOf(v);
            menu->setCurrent(position < menu->getNbEntries() ? position : 0);
            return;
        }
        case Kind::MorphMenu: {
            int program = int(value(prm::CrossPrA + c.index) * kProgramSteps);
            menu->setTitle(programName(program).c_str());
            return;
        }
        case Kind::PresetMenu:
            if (plugin) menu->setTitle(programName(plugin->getProgram()).c_str());
            return;
        case Kind::ArpDisplay: control->setDirty(); return;
        case Kind::TextButton:
            if (isRate(c.role))
                static_cast<blueTextButton*>(control)->setText(rateText(c.role).c_str());
            else if (c.role == Role::SampleName)
                static_cast<blueTextButton*>(control)->setText(vocoderSampleName().c_str());
            return;
        case Kind::PushButton:  // momentary: shows the press, not a value
        case Kind::BankMenu:
        case Kind::ButtonMenu:
        case Kind::RadioButton:
        case Kind::LevelSlider:
        case Kind::TextLabel: return;
        case Kind::Knob:
        case Kind::Switch:
        case Kind::TextArrayButton:
        case Kind::GateDisplay:
            if (tag >= 0 && tag < prm::kCount) control->setValue(v);
            return;
    }
}

std::string uEditor::rateText(Role role) const {
    const int freeLfo = selectors[int(layout::Slot::FreeLfo)];
    const int speed = speedOf(role, freeLfo);
    if (value(syncOf(role, freeLfo)) >= 0.5f) return params::kSyncDivision.name(value(speed));
    char text[64] = {};
    if (plugin) plugin->getParameterDisplay(speed, text);
    return text;
}

std::string uEditor::programName(int program) const {
    char name[kVstMaxProgNameLen + 1] = {};
    if (plugin && program >= 0 && program < kProgramCount)
        plugin->getProgramNameIndexed(0, program, name);
    return name;
}
