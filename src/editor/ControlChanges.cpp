// What a change of a control means. Knobs, switches and other continuous
// controls send their value with setParameterAutomated, so the host records
// it; option menus, the waveform and filter-type knobs and the octave buttons
// set their parameter directly. Commands act on the press of their button.
#include <cmath>

#include "editor/ModulationMenus.h"
#include "editor/SlotSelectors.h"
#include "editor/blueArpDisplay.h"
#include "editor/brennixHelpScreen.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"
#include "widgets/CFrame.h"
#include "widgets/COptionMenu.h"

using namespace VSTGUI;
using layout::Kind;
using layout::Role;

namespace {
constexpr int kWavesPerSubMenu = 32;
constexpr float kSemiSteps = 96.99f;  // "Osc n Semi": trunc(v x 96.99) - 48 semitones

// The Semi value one octave above or below `semi`, kept inside +-48 semitones.
float octaveAway(float semi, int octaves) {
    int semitones = int(semi * kSemiSteps) - 48 + 12 * octaves;
    semitones = semitones < -48 ? -48 : semitones > 48 ? 48 : semitones;
    return (float(semitones + 48) + 0.5f) / kSemiSteps;
}

bool isRateControl(long tag) {
    return tag == prm::FilterLfoSpeed || tag == prm::FilterLfoSync || tag == prm::PitchLfoSpeed ||
           tag == prm::PitchLfoSync;
}
}  // namespace

void uEditor::valueChanged(CDrawContext* /*context*/, CControl* control) {
    if (!frame || !plugin || !control) return;
    if (helpScreen && helpScreen->isShown() && control != helpScreen) hideHelp();
    changeNoted = true;
    if (control == helpScreen) {
        if (control->getValue() > 0.5f) hideHelp();
        return;
    }
    if (control == learnMenu) {
        learnMenuChosen();
        return;
    }
    // A choice in a sub-menu counts as a change of the menu it belongs to.
    COptionMenu* owner = ownerOf(control);
    const editor::RegisteredControl* entry = registry.find(owner ? owner : control);
    if (!entry) return;
    if (commandChanged(*entry, control)) return;
    if (menuChanged(*entry, control)) return;

    const layout::Control& c = *entry->layout;
    const long tag = control->getTag();
    const float v = control->getValue();
    const bool pressed = v > 0.5f;
    switch (c.kind) {
        case Kind::GateDisplay: automate(tag, v); return;
        case Kind::RadioButton:
            if (pressed) selectSlot(editor::selectorGroup(c.role), c.index);
            return;
        default: break;
    }
    if (c.role == Role::SampleName) {
        if (pressed) chooseVocoderSample();
        return;
    }
    if (tag == prm::TiedMode) {
        automate(tag, v);
        if (CControl* arp = registry.made(Kind::ArpDisplay, layout::kNoParameter)) arp->setDirty();
        return;
    }
    if (tag == prm::Osc1Type || tag == prm::Osc2Type || tag == prm::Osc3Type || tag == prm::FilterType) {
        // The waveform and filter-type knobs pick a choice: set directly, like their menus.
        plugin->setParameter(int(tag), v);
        updateFromPlugin(int(tag));
        return;
    }
    if (tag >= prm::Osc1UpOctave && tag <= prm::Osc1DownOctave + 2) {
        if (pressed) octaveStep(tag);
        return;
    }
    const int freeLfo = selectors[int(layout::Slot::FreeLfo)];
    if (isRateControl(tag) || tag == prm::FreeLfo1Speed + freeLfo || tag == prm::FreeLfo1Sync + freeLfo) {
        automate(tag, v);
        updateFromPlugin(int(tag));  // the rate readout beside it
        return;
    }
    if (tag == 906) {  // "Preview Sound": a note while the button is held
        if (pressed)
            plugin->auditionStart();
        else
            plugin->auditionStop();
        return;
    }
    if (tag == 904) {
        if (pressed) openOnlineManual();
        return;
    }
    if (c.region == layout::Region::About && (tag == 797 || tag == 798)) {
        aboutOptionChanged(tag, pressed);
        return;
    }
    if (tag >= 0 && tag < prm::kCount && !stepTable.isEnumerated(tag)) automate(tag, v);
}

bool uEditor::commandChanged(const editor::RegisteredControl& entry, CControl* changed) {
    const layout::Control& c = *entry.layout;
    const long tag = entry.control->getTag();
    const bool pressed = changed->getValue() > 0.5f;
    if (c.kind != Kind::PushButton) return false;
    switch (tag) {
        case 900: if (pressed) showLowerPage(true); return true;
        case 901: if (pressed) showLowerPage(false); return true;
        case 902: if (pressed) showRightPage(false); return true;
        case 903: if (pressed) showRightPage(true); return true;
        case 905: if (pressed) showAboutScreen(); return true;
        case 907: if (pressed) plugin->restoreEdited(); return true;
        case 908: if (pressed) plugin->restoreOriginal(); return true;
        case 909: if (pressed) plugin->morph(); return true;
        case 910: case 911: case 912: case 913:
            if (pressed) plugin->variation(int(tag) - 909);
            return true;
        default: break;
    }
    switch (c.role) {
        case Role::AboutClose: if (pressed) closeAboutScreen(); return true;
        case Role::PreviousProgram: if (pressed) stepProgram(-1, lastProgramStep); return true;
        case Role::NextProgram: if (pressed) stepProgram(+1, lastProgramStep); return true;
        case Role::BankPrevious:
        case Role::BankNext: return true;  // one bank only: nothing to step to
        default: return false;
    }
}

bool uEditor::menuChanged(const editor::RegisteredControl& entry, CControl* changed) {
    if (!entry.optionMenu) return false;
    auto* menu = static_cast<COptionMenu*>(entry.control);
    auto* chosenIn = static_cast<COptionMenu*>(changed);
    const long tag = menu->getTag();
    const long chosen = chosenIn->getCurrent();
    int subMenu = -1;
    const bool inSubMenu = ownerOf(changed, &subMenu) != nullptr;
    switch (entry.layout->kind) {
        case Kind::ButtonMenu: deferMenuCommand(tag == 916 ? 0 : tag == 915 ? 2 : 3, chosen); break;
        case Kind::PresetMenu:
            if (inSubMenu)
                presetSubMenuChosen(chosenIn, chosen);
            else
                deferMenuCommand(1, chosen);
            break;
        case Kind::MorphMenu: morphMenuChosen(entry.layout->index, chosenIn, chosen); break;
        case Kind::BankMenu: break;  // the built-in bank's name only
        case Kind::OptionMenu: {
            float steps = stepTable.of(tag);
            plugin->setParameter(int(tag), editor::ParameterSteps::valueOf(int(chosen), steps));
            break;
        }
        case Kind::WaveformMenu:
            if (inSubMenu) {
                // The position in the sub-menus, not the name: two waves share "Spec 30".
                int wave = subMenu * kWavesPerSubMenu + int(chosen);
                plugin->setParameter(int(tag), params::kWaveform.valueOf(wave));
            }
            break;
        case Kind::FxTypeMenu: fxTypeChosen(int(chosen)); break;
        case Kind::SourceMenu:
        case Kind::DestinationMenu: {
            const std::string text = chosenIn->getEntryText(chosen);
            const int position = entry.layout->kind == Kind::SourceMenu
                                     ? editor::ModulationMenus::sourcePosition(text)
                                     : editor::ModulationMenus::destinationPosition(text);
            if (position >= 0) plugin->setParameter(int(tag), editor::ModulationMenus::valueOf(position));
            break;
        }
        case Kind::FxDestinationMenu:
            plugin->setParameter(int(tag), editor::ModulationMenus::valueOf(int(chosen)));
            break;
        default: return false;
    }
    if (tag >= 0 && tag < prm::kCount) updateFromPlugin(int(tag));
    return true;
}

void uEditor::deferMenuCommand(int kind, long index) {
    deferred = Deferred{kind, index, false};
    if (orionHost)
        deferred.pending = true;  // run by the next idle, outside the menu's own call
    else
        runMenuCommand(kind, index);
}

void uEditor::runMenuCommand(int kind, long index) {
    runBusy([&] { runFileMenuCommand(kind, index); });
}

void uEditor::automate(long tag, float v) {
    if (plugin && tag >= 0 && tag < prm::kCount) plugin->setParameterAutomated(int(tag), v);
}

void uEditor::octaveStep(long tag) {
    const bool up = tag < prm::Osc1DownOctave;
    const int oscillator = int(tag - (up ? prm::Osc1UpOctave : prm::Osc1DownOctave));
    const int semi = oscillator == 0 ? prm::Osc1Semi : oscillator == 1 ? prm::Osc2Semi : prm::Osc3Semi;
    plugin->setParameter(semi, octaveAway(value(semi), up ? 1 : -1));
    updateFromPlugin(semi);
}

COptionMenu* uEditor::ownerOf(const CControl* subMenu, int* subMenuIndex) const {
    for (const SubMenu& s : subMenus)
        if (s.menu == subMenu) {
            if (subMenuIndex) *subMenuIndex = s.index;
            return s.owner;
        }
    return nullptr;
}
