// The about screen: it takes the whole window in place of the regular views,
// shows the version and the two editor options ("Normal Font", "Key"); a click
// anywhere else brings the regular views back.
#include <cstdio>

#include "editor/blueTextButton.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;
using layout::Region;

std::string uEditor::versionText() const {
    const int32_t version = plugin ? plugin->getVendorVersion() : 0;
    char text[64];
    std::snprintf(text, sizeof text, " Linux release version %d.%d.%d", (version >> 16) & 255,
                  (version >> 8) & 255, version & 255);
    return text;
}

void uEditor::showAboutScreen() {
    if (!frame || aboutShown) return;
    aboutShown = true;
    // The regular views live on here (and in the registry) until the screen closes.
    aboutHidden = frame->getChildren();
    frame->removeAll(false);
    frame->setBackground(image(layout::img::AboutScreen));
    for (const editor::RegisteredControl& e : registry.all()) {
        if (e.layout->region != Region::About) continue;
        CControl* c = e.control;
        if (e.layout->role == layout::Role::VersionText)
            static_cast<blueTextButton*>(c)->setText(versionText().c_str());
        else if (c->getTag() == 798)
            c->setValue(normalFont ? 1.0f : 0.0f);
        else if (c->getTag() == 797)
            c->setValue(keyStepping ? 1.0f : 0.0f);
        c->remember();  // the registry keeps its own reference
        frame->addView(c);
    }
    frame->setDirty();
}

void uEditor::closeAboutScreen() {
    if (!frame || !aboutShown) return;
    aboutShown = false;
    frame->removeAll(true);
    frame->setBackground(image(layout::img::MainBackground));
    // The frame takes back the references it gave up.
    for (CView* view : aboutHidden) frame->addView(view);
    aboutHidden.clear();
    frame->setDirty();
}
