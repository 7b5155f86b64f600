// Helpers for the editor tests: a plug-in built directly whose host callback
// records what the plug-in tells the host, its editor opened without a window
// and driven by the frame's own input events, and the way to pick a menu entry
// as a user does (the pop-up overlay's items).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "vsthost/PluginHost.h"
#include "widgets/CFrame.h"

namespace editor_testing {

// The host side of a directly built plug-in.
struct RecordingHost {
    std::vector<vsthost::HostCall> calls;
    std::string product = "brennix-tests";
    int count(int32_t opcode, int32_t index) const;
    // The opcodes recorded for `index`, in order (automate, begin and end edit only).
    std::vector<int32_t> gestures(int32_t index) const;
};

// A plug-in with program `program` selected whose callback goes to `host`
// (one recording host at a time).
std::unique_ptr<APlugin> makePlugin(RecordingHost& host, int program = 0);

// The window point at the middle of a control made from a layout record.
VSTGUI::CPoint centreOf(const layout::Control& c);
// The first layout record of this kind and base tag.
const layout::Control& record(layout::Kind kind, int tag, layout::Role role = layout::Role::None,
                              int index = 0);

// Picks entry `index` of the menu at window point `menuPoint` by clicking the
// menu and then the entry in the pop-up; `subEntry` >= 0 picks inside the
// sub-menu that entry opens. False when no menu or entry was there.
bool choose(VSTGUI::CFrame& frame, VSTGUI::CPoint menuPoint, long index, long subEntry = -1);

}  // namespace editor_testing
