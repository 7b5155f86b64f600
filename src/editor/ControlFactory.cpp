// The editor's controls, made from the layout tables in table order: the about
// screen's first (kept aside until it is shown), then the fixed part's (added
// to the frame), then those of the lower-left pages, the right pages and the
// FX section (added when their page or effect type is shown).
#include <cstdio>

#include "editor/BitmapFont.h"
#include "editor/ModulationMenus.h"
#include "editor/SlotSelectors.h"
#include "editor/blueArpDisplay.h"
#include "editor/blueButtonMenu.h"
#include "editor/blueGatorDisplay.h"
#include "editor/blueOptionMenu.h"
#include "editor/blueRadioButton.h"
#include "editor/blueTextArrayButton.h"
#include "editor/blueTextButton.h"
#include "editor/blueVSlider.h"
#include "editor/brennixKnob.h"
#include "editor/brennixOnOff.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"
#include "widgets/CFrame.h"
#include "widgets/CKickButton.h"

using namespace VSTGUI;
using layout::Kind;
using layout::Region;

namespace {
constexpr int kWavesPerSubMenu = 32;

bool isMenu(Kind kind) {
    switch (kind) {
        case Kind::OptionMenu:
        case Kind::WaveformMenu:
        case Kind::SourceMenu:
        case Kind::DestinationMenu:
        case Kind::FxDestinationMenu:
        case Kind::FxTypeMenu:
        case Kind::PresetMenu:
        case Kind::BankMenu:
        case Kind::MorphMenu:
        case Kind::ButtonMenu: return true;
        default: return false;
    }
}

CRect rectOf(const layout::Control& c) { return CRect(c.x, c.y, c.x + c.width, c.y + c.height); }
}  // namespace

void uEditor::createControls() {
    // The creation passes: the about screen, the fixed part, then the regions.
    const Region passes[][2] = {{Region::About, Region::About}, {Region::Main, Region::Main},
                                {Region::Mod, Region::Arp},     {Region::Preset, Region::Advanced},
                                {Region::Fx, Region::Fx}};
    for (const auto& pass : passes)
        for (const layout::Table& table : layout::tables())
            for (const layout::Control& c : table.controls) {
                if (c.region != pass[0] && c.region != pass[1]) continue;
                CControl* control = createControl(c);
                if (!control) continue;
                if (!registry.add(control, &c, isMenu(c.kind))) {
                    control->forget();
                    continue;
                }
                // The registry keeps the control; the frame takes this reference.
                if (c.region == Region::Main)
                    frame->addView(control);
                else
                    control->forget();
            }
}

COptionMenu* uEditor::createSubMenu(COptionMenu* owner, const char* title,
                                    const std::vector<const char*>& entries) {
    auto* sub = new blueOptionMenu(CRect(0, 0, 0, 0), this, layout::kNoParameter, nullptr, nullptr);
    for (const char* e : entries) sub->addEntry(e);
    subMenus.push_back({sub, owner, int(owner->getNbEntries())});
    owner->addEntry(sub, title);
    sub->forget();  // the owner keeps it
    return sub;
}

CControl* uEditor::createControl(const layout::Control& c) {
    const layout::Slot slot = c.slot;
    const long tag = c.tag != layout::kNoParameter && slot != layout::Slot::None
                         ? c.tag + selectors[int(slot)]
                         : c.tag;
    const CRect r = rectOf(c);
    CBitmap* readout = image(layout::img::Readout);
    CControl* made = nullptr;
    switch (c.kind) {
        case Kind::Knob: made = new brennixKnob(r, this, tag, image(c.image)); break;
        case Kind::Switch: made = new brennixOnOff(r, this, tag, image(c.image)); break;
        case Kind::PushButton: made = new CKickButton(r, this, tag, c.image ? image(c.image) : nullptr); break;
        case Kind::OptionMenu:
        case Kind::FxTypeMenu:
        case Kind::BankMenu: {
            auto* menu = new blueOptionMenu(r, this, tag, readout, fonts.get());
            for (const char* e : c.entries) menu->addEntry(e);
            made = menu;
            break;
        }
        case Kind::WaveformMenu: {
            auto* menu = new blueOptionMenu(r, this, tag, readout, fonts.get());
            for (size_t j = 0; j < c.subMenus.size(); ++j) {
                auto first = c.entries.begin() + std::ptrdiff_t(j * kWavesPerSubMenu);
                createSubMenu(menu, c.subMenus[j], std::vector<const char*>(first, first + kWavesPerSubMenu));
            }
            made = menu;
            break;
        }
        case Kind::SourceMenu: {
            auto* menu = new blueOptionMenu(r, this, tag, readout, fonts.get());
            editor::ModulationMenus::fillSourceMenu(menu);
            made = menu;
            break;
        }
        case Kind::DestinationMenu: {
            auto* menu = new blueOptionMenu(r, this, tag, readout, fonts.get());
            menu->addEntry(params::lists::kModDestination[0]);
            for (const auto& sub : editor::ModulationMenus::destinationSubMenus())
                createSubMenu(menu, sub.title, sub.entries);
            made = menu;
            break;
        }
        case Kind::FxDestinationMenu:
        case Kind::PresetMenu:
        case Kind::MorphMenu:
            // Filled by the FX section and by the program names.
            made = new blueOptionMenu(r, this, tag, readout, fonts.get());
            break;
        case Kind::ButtonMenu: {
            auto* menu = new blueButtonMenu(r, this, tag, image(c.image));
            for (const char* e : c.entries) menu->addEntry(e);
            made = menu;
            break;
        }
        case Kind::TextArrayButton:
            made = new blueTextArrayButton(r, this, tag, readout, fonts.get(), c.entries.data(),
                                           int(c.entries.size()));
            break;
        case Kind::TextButton:
        case Kind::TextLabel: {
            auto* text = new blueTextButton(r, this, tag, c.text ? c.text : "");
            if (c.kind == Kind::TextLabel) text->setMouseEnabled(false);
            made = text;
            break;
        }
        case Kind::RadioButton: {
            auto* radio = new blueRadioButton(r, this, tag, image(c.image), c.text);
            radio->setValue(selectors[int(editor::selectorGroup(c.role))] == c.index ? 1.0f : 0.0f);
            made = radio;
            break;
        }
        case Kind::LevelSlider: made = new blueVSlider(r, this, tag, image(layout::img::LevelImage)); break;
        case Kind::ArpDisplay:
            made = new blueArpDisplay(r, this, plugin, image(layout::img::StepIndicator), fonts.get());
            break;
        case Kind::GateDisplay: made = new blueGatorDisplay(r, this, tag); break;
    }
    if (!made) return nullptr;
    made->setDefaultValue(tag >= 0 && tag < prm::kCount && plugin ? plugin->parameters().defaultValue[tag] : 0.0f);
    return made;
}
