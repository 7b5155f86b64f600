// The four slot selectors: which group of re-tagged controls each selector's
// radio buttons choose among, and how many choices it has.
#pragma once

#include "editor/ControlLayout.h"

namespace editor {

constexpr layout::Slot selectorGroup(layout::Role role) {
    switch (role) {
        case layout::Role::FxSlotSelector: return layout::Slot::Fx;
        case layout::Role::FreeEnvelopeSelector: return layout::Slot::FreeEnvelope;
        case layout::Role::FreeLfoSelector: return layout::Slot::FreeLfo;
        case layout::Role::ModSlotSelector: return layout::Slot::Modulation;
        default: return layout::Slot::None;
    }
}

constexpr int selectorChoices(layout::Slot group) {
    switch (group) {
        case layout::Slot::Fx: return 3;
        case layout::Slot::FreeEnvelope:
        case layout::Slot::FreeLfo: return 2;
        case layout::Slot::Modulation: return 4;
        default: return 1;
    }
}

}  // namespace editor
