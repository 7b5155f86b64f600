#include "EditorTestSupport.h"

#include "TestSupport.h"
#include "WidgetTestSupport.h"
#include "widgets/overlays/CMenuOverlay.h"

namespace editor_testing {
namespace {
RecordingHost* current = nullptr;

intptr_t recordingCallback(AEffect*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    if (!current) return 0;
    current->calls.push_back({opcode, index, value, opt});
    if (opcode == audioMasterGetProductString && ptr) {
        std::snprintf(static_cast<char*>(ptr), 64, "%s", current->product.c_str());
        return 1;
    }
    return 0;
}
}  // namespace

int RecordingHost::count(int32_t opcode, int32_t index) const {
    int n = 0;
    for (const vsthost::HostCall& c : calls) n += c.opcode == opcode && c.index == index;
    return n;
}

std::vector<int32_t> RecordingHost::gestures(int32_t index) const {
    std::vector<int32_t> seen;
    for (const vsthost::HostCall& c : calls)
        if (c.index == index && (c.opcode == audioMasterAutomate || c.opcode == audioMasterBeginEdit ||
                                 c.opcode == audioMasterEndEdit))
            seen.push_back(c.opcode);
    return seen;
}

std::unique_ptr<APlugin> makePlugin(RecordingHost& host, int program) {
    (void)testing_support::configHome();
    current = &host;
    auto plugin = std::make_unique<APlugin>(recordingCallback);
    if (program == testing_support::kDefaultSoundProgram)
        testing_support::selectDefaultSound(*plugin);
    else
        plugin->setProgram(program);
    host.calls.clear();
    return plugin;
}

VSTGUI::CPoint centreOf(const layout::Control& c) {
    layout::Rect r = c.windowRect();
    return VSTGUI::CPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

const layout::Control& record(layout::Kind kind, int tag, layout::Role role, int index) {
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.kind == kind && c.tag == tag && c.role == role && c.index == index) return c;
    throw std::runtime_error("no such layout record");
}

bool choose(VSTGUI::CFrame& frame, VSTGUI::CPoint menuPoint, long index, long subEntry) {
    widget_testing::click(frame, menuPoint.h, menuPoint.v);
    auto* overlay = dynamic_cast<VSTGUI::CMenuOverlay*>(frame.getModalView());
    if (!overlay) return false;
    VSTGUI::CRect item = overlay->itemRect(0, index);
    if (item.isEmpty()) return false;
    VSTGUI::CPoint at(item.left + item.width() / 2, item.top + item.height() / 2);
    if (subEntry < 0) {
        widget_testing::click(frame, at.h, at.v);
        return true;
    }
    widget_testing::move(frame, at.h, at.v, 0);
    VSTGUI::CRect sub = overlay->itemRect(1, subEntry);
    if (sub.isEmpty()) return false;
    widget_testing::click(frame, sub.left + sub.width() / 2, sub.top + sub.height() / 2);
    return true;
}

}  // namespace editor_testing
