#include "EditorPictures.h"

#include <cairo.h>

#include <algorithm>
#include <cstdio>

#include "editor/ControlLayout.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/Enumerations.h"
#include "widgets/CDrawContext.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;
using layout::Kind;
using layout::Region;

namespace manual {
namespace {
intptr_t hostCallback(AEffect*, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetProductString && ptr) {
        std::snprintf(static_cast<char*>(ptr), 64, "brennix-manualgen");
        return 1;
    }
    return 0;
}

// The program the pictures show.
constexpr int kShownProgram = 0;
constexpr int kFxTypes = 22;  // "None" and the 21 effects

const layout::Control* find(Kind kind, int tag) {
    for (const layout::Table& t : layout::tables())
        for (const layout::Control& c : t.controls)
            if (c.kind == kind && c.tag == tag) return &c;
    return nullptr;
}

CPoint centre(const layout::Control& c) {
    layout::Rect r = c.windowRect();
    return CPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

std::string fxFileName(int type) {
    std::string name = params::lists::kFxType[type];
    std::string file;
    for (char ch : name) {
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
        if ((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9'))
            file += ch;
        else if (!file.empty() && file.back() != '-')
            file += '-';
    }
    while (!file.empty() && file.back() == '-') file.pop_back();
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "fx-%02d-", type);
    return prefix + file + ".png";
}
}  // namespace

EditorPictures::EditorPictures() : instance(std::make_unique<APlugin>(hostCallback)) {
    instance->setProgram(kShownProgram);
    uEditor* e = instance->getUEditor();
    if (e && e->openOffscreen()) editor = e;
    if (editor) editor->idle();
}

EditorPictures::~EditorPictures() {
    if (editor) editor->close();
}

void EditorPictures::click(int x, int y, long buttons) {
    CFrame* frame = editor->getFrame();
    NativeEvent e;
    e.where = CPoint(x, y);
    e.type = NativeEvent::kMouseMove;
    e.buttons = 0;
    frame->handleEvent(e);
    e.type = NativeEvent::kMouseDown;
    e.buttons = buttons;
    frame->handleEvent(e);
    e.type = NativeEvent::kMouseUp;
    e.buttons = 0;
    frame->handleEvent(e);
    editor->idle();
}

void EditorPictures::pressButton(int tag) {
    if (const layout::Control* c = find(Kind::PushButton, tag)) {
        CPoint p = centre(*c);
        click(p.h, p.v, kLButton);
    }
}

void EditorPictures::key(unsigned char virt) {
    NativeEvent e;
    e.type = NativeEvent::kKeyDown;
    e.key.virt = virt;
    editor->getFrame()->handleEvent(e);
    e.type = NativeEvent::kKeyUp;
    editor->getFrame()->handleEvent(e);
    editor->idle();
}

void EditorPictures::escape() { key(VKEY_ESCAPE); }

Picture EditorPictures::menuShot(const std::string& file, CPoint openedAt) {
    // The open menu and the control it was opened on, with a margin, inside the window.
    CRect r(openedAt.h, openedAt.v, openedAt.h, openedAt.v);
    if (CView* menu = editor->getFrame()->getModalView()) r.unite(menu->getViewSize());
    constexpr int kMargin = 12;
    int left = std::max(0, r.left - kMargin), top = std::max(0, r.top - kMargin);
    int right = std::min(uEditor::kWidth, r.right + kMargin), bottom = std::min(uEditor::kHeight, r.bottom + kMargin);
    return shot(file, left, top, right - left, bottom - top);
}

Picture EditorPictures::shot(const std::string& file, int left, int top, int width, int height) {
    CFrame* frame = editor->getFrame();
    editor->idle();
    frame->redrawAll();
    cairo_surface_t* s = frame->getBackBuffer()->getSurface();
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    Picture p{file, {}};
    p.pixels.width = width;
    p.pixels.height = height;
    p.pixels.hasAlpha = false;
    p.pixels.rgba.resize(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t v = *reinterpret_cast<const uint32_t*>(data + (top + y) * stride + (left + x) * 4);
            uint8_t* out = &p.pixels.rgba[(size_t(y) * width + x) * 4];
            out[0] = uint8_t(v >> 16);
            out[1] = uint8_t(v >> 8);
            out[2] = uint8_t(v);
            out[3] = 255;
        }
    return p;
}

std::vector<Picture> EditorPictures::all() {
    std::vector<Picture> pictures;
    auto region = [&](const std::string& file, Region r) {
        layout::Rect rr = layout::regionRect(r);
        pictures.push_back(shot(file, rr.left, rr.top, rr.width(), rr.height()));
    };
    pictures.push_back(shot("panel.png", 0, 0, uEditor::kWidth, uEditor::kHeight));
    region("page-mod.png", Region::Mod);
    region("page-preset.png", Region::Preset);
    pressButton(901);  // to the Arp page
    region("page-arp.png", Region::Arp);
    pressButton(900);
    pressButton(902);  // to the Advanced page
    region("page-advanced.png", Region::Advanced);
    pressButton(903);

    const float firstType = instance->getParameter(prm::Fx1Type);
    for (int type = 0; type < kFxTypes; ++type) {
        instance->setParameter(prm::Fx1Type, (float(type) + 0.5f) / 24.99f);
        region(fxFileName(type), Region::Fx);
    }
    instance->setParameter(prm::Fx1Type, firstType);
    editor->idle();

    editor->showHelpFor(prm::Osc1Type, CPoint(0, 0));
    pictures.push_back(shot("help-screen.png", 0, 0, 440, 440));
    editor->hideHelp();

    // The MIDI-learn menu of the cutoff knob, and the preset menu with its first sub-menu.
    if (const layout::Control* cutoff = find(Kind::Knob, prm::FilterFrequency)) {
        CPoint p = centre(*cutoff);
        click(p.h, p.v, kRButton);
        pictures.push_back(menuShot("learn-menu.png", p));
        escape();
    }
    if (const layout::Control* preset = find(Kind::PresetMenu, layout::kNoParameter)) {
        CPoint p = centre(*preset);
        click(p.h, p.v, kLButton);
        key(VKEY_DOWN);
        key(VKEY_RIGHT);  // the first sub-menu opens beside it
        pictures.push_back(menuShot("preset-menu.png", p));
        escape();
        escape();
    }

    pressButton(905);
    pictures.push_back(shot("about.png", 0, 0, uEditor::kWidth, uEditor::kHeight));
    click(20, 20, kLButton);
    return pictures;
}

}  // namespace manual
