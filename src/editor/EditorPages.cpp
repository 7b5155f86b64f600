// The exchangeable parts of the window: the lower-left and right pages, the
// FX section that follows the shown slot's effect type, and the selectors
// that point one set of controls at another slot.
#include "editor/ModulationMenus.h"
#include "editor/SlotSelectors.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"
#include "widgets/CBitmap.h"
#include "widgets/COptionMenu.h"
#include "widgets/CViewContainer.h"

using namespace VSTGUI;
using layout::Kind;
using layout::Region;

namespace {
// The container takes over a reference of its own; the registry keeps its one.
void attach(CViewContainer* container, CControl* control) {
    control->remember();
    container->addView(control);
}

int fxTypeOf(float typeValue) { return params::fxKnobType(typeValue); }
}  // namespace

void uEditor::showLowerPage(bool mod) {
    modPageShown = mod;
    if (lowerRegion) fillRegion(lowerRegion, mod ? Region::Mod : Region::Arp);
}

void uEditor::showRightPage(bool preset) {
    presetPageShown = preset;
    if (rightRegion) fillRegion(rightRegion, preset ? Region::Preset : Region::Advanced);
}

void uEditor::fillRegion(CViewContainer* container, Region page) {
    // A page button pressed on the page it replaces never sees its release.
    for (CView* view : container->getChildren())
        if (const editor::RegisteredControl* e = registry.find(view))
            if (e->layout->kind == Kind::PushButton) e->control->setValue(0.0f);
    container->removeAll(true);
    container->setBackground(image(layout::regionBackground(page)));
    for (const editor::RegisteredControl& e : registry.all())
        if (e.layout->region == page) attach(container, e.control);
    container->setDirty();
}

void uEditor::rebuildFxSection() {
    const int slot = selectors[int(layout::Slot::Fx)];
    if (!fxRegion || inRebuild || slot < 0 || slot >= params::kFxSlots) return;
    inRebuild = true;
    // Type numbers past the list (automation can reach 22..24) show "None", as they sound.
    const int type = fxTypeOf(value(prm::Fx1Type + slot));
    const layout::FxPanel& panel = layout::fxPanels()[type];

    fxRegion->removeAll(true);
    auto* background = new CBitmap(layout::img::fxBackground(type));
    fxRegion->setBackground(background);
    background->forget();  // the region keeps it until the type changes

    auto addWhere = [this](auto&& wanted) {
        for (const editor::RegisteredControl& e : registry.all())
            if (e.layout->region == Region::Fx && wanted(*e.layout)) attach(fxRegion, e.control);
    };
    addWhere([](const layout::Control& c) {
        return c.kind == Kind::RadioButton || c.kind == Kind::FxTypeMenu || c.tag == prm::FxBypass;
    });
    const auto knobs = layout::fxKnobs();
    for (int k = 0; k < panel.knobCount; ++k) {
        CControl* knob = registry.made(Kind::Knob, knobs[k].tag);
        if (!knob) continue;
        knob->setBackground(image(layout::img::knobStrip(panel.knobStrip(k))));
        attach(fxRegion, knob);
    }
    addWhere([](const layout::Control& c) {
        return c.kind == Kind::Knob && (c.tag == prm::Fx1Mix || c.tag == prm::Fx1Pan);
    });
    addWhere([type](const layout::Control& c) { return c.fxType == type; });

    for (const editor::RegisteredControl& e : registry.all())
        if (e.layout->region == Region::Fx) showValue(e);
    fxSectionType = type;
    refreshFxDestinations();
    fxRegion->setDirty();
    inRebuild = false;
}

void uEditor::refreshFxDestinations() {
    int types[params::kFxSlots];
    for (int s = 0; s < params::kFxSlots; ++s) {
        types[s] = fxTypeOf(value(prm::Fx1Type + s));
        fxTypesSeen[s] = types[s];
    }
    const std::vector<std::string> entries = editor::ModulationMenus::fxDestinations(types);
    for (const editor::RegisteredControl& e : registry.all()) {
        if (e.layout->kind != Kind::FxDestinationMenu) continue;
        editor::ModulationMenus::fillFxDestinationMenu(static_cast<COptionMenu*>(e.control), entries);
        showValue(e);
    }
}

void uEditor::selectSlot(layout::Slot group, int index) {
    if (index < 0 || index >= editor::selectorChoices(group)) return;
    selectors[int(group)] = index;
    for (const editor::RegisteredControl& e : registry.all()) {
        const layout::Control& c = *e.layout;
        if (c.kind == Kind::RadioButton && editor::selectorGroup(c.role) == group)
            e.control->setValue(c.index == index ? 1.0f : 0.0f);
        if (c.slot != group) continue;
        if (c.tag != layout::kNoParameter) {
            long tag = c.tag + index;
            e.control->setTag(tag);
            e.control->setDefaultValue(plugin && tag < prm::kCount ? plugin->parameters().defaultValue[tag] : 0.0f);
        }
        showValue(e);
    }
    if (group == layout::Slot::Fx) rebuildFxSection();
}

void uEditor::fxTypeChosen(int entry) {
    const int slot = selectors[int(layout::Slot::Fx)];
    if (!plugin || slot < 0 || slot >= params::kFxSlots) return;
    const int typeParameter = prm::Fx1Type + slot;
    const int oldType = fxTypeOf(value(typeParameter));
    for (int k = 0; k < editor::FxTypeMemory::kValues; ++k)
        fxMemory.remember(oldType, k, value(editor::FxTypeMemory::parameterOf(slot, k)));

    plugin->setParameter(typeParameter, params::kFxType.valueOf(entry));
    const int newType = fxTypeOf(value(typeParameter));
    for (int k = 0; k < editor::FxTypeMemory::kValues; ++k) {
        const int p = editor::FxTypeMemory::parameterOf(slot, k);
        const float d = editor::FxTypeMemory::defaultOf(newType, k);
        plugin->setParameter(p, fxMemory.remembered(newType, k));
        plugin->setDefaultValue(p, d);
        registry.forTag(p, [d](const editor::RegisteredControl& e) { e.control->setDefaultValue(d); });
    }
    rebuildFxSection();
}
