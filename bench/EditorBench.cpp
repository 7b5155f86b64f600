// The editor's drawing cost: first on a frame as full as the real editor's
// (300 knobs on three regions over a blank background, no window), then on
// the real editor with its controls and artwork: a full redraw, an idle call
// with nothing dirty, an idle after a change.
#include <benchmark/benchmark.h>

#include <vector>

#include "editor/brennixKnob.h"
#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;

namespace {
struct PanelFrame {
    CFrame* frame = new CFrame(CRect(0, 0, 1000, 600), nullptr);
    std::vector<brennixKnob*> knobs;

    PanelFrame() {
        CBitmap* background = new CBitmap(1000, 600);
        CBitmap* strip = new CBitmap(37, 37 * 65);
        frame->setBackground(background);
        background->forget();
        CViewContainer* regions[3] = {new CViewContainer(CRect(0, 352, 522, 600), frame),
                                      new CViewContainer(CRect(753, 363, 1000, 565), frame),
                                      new CViewContainer(CRect(524, 283, 750, 470), frame)};
        for (CViewContainer* r : regions) frame->addView(r);
        for (int i = 0; i < 300; ++i) {
            int col = i % 25, row = i / 25;
            auto* knob = new brennixKnob(CRect(0, 0, 37, 37).offset(col * 40, row * 29), nullptr, i, strip);
            knob->setValue(float(i % 65) / 64.0f);
            CViewContainer* target = i < 200 ? static_cast<CViewContainer*>(frame) : regions[i % 3];
            if (target != frame) knob->setViewSize(CRect(0, 0, 37, 37).offset((i * 41) % 180, (i * 17) % 150), false);
            target->addView(knob);
            knobs.push_back(knob);
        }
        strip->forget();
        frame->idle();
    }
    ~PanelFrame() { frame->forget(); }
};
}  // namespace

static void BM_EditorFullRedraw(benchmark::State& state) {
    PanelFrame panel;
    for (auto _ : state) {
        panel.frame->setDirty();
        panel.frame->idle();
    }
}
BENCHMARK(BM_EditorFullRedraw)->Unit(benchmark::kMillisecond);

static void BM_EditorIdleNothingDirty(benchmark::State& state) {
    PanelFrame panel;
    for (auto _ : state) panel.frame->idle();
}
BENCHMARK(BM_EditorIdleNothingDirty);

static void BM_EditorIdleOneKnobMoved(benchmark::State& state) {
    PanelFrame panel;
    float v = 0;
    for (auto _ : state) {
        v = v > 0.9f ? 0.0f : v + 0.05f;
        panel.knobs[150]->setValue(v);
        panel.frame->idle();
    }
}
BENCHMARK(BM_EditorIdleOneKnobMoved)->Unit(benchmark::kMicrosecond);

// The real editor: every control of the layout tables over the real artwork,
// opened without a window on a plug-in built here.
namespace {
intptr_t hostVersionOnly(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct RealEditor {
    APlugin plugin{hostVersionOnly};
    uEditor* editor = plugin.getUEditor();
    RealEditor() {
        editor->openOffscreen();
        editor->idle();
    }
    ~RealEditor() { editor->close(); }
};
}  // namespace

static void BM_RealEditorFullRedraw(benchmark::State& state) {
    RealEditor real;
    for (auto _ : state) {
        real.editor->getFrame()->setDirty();
        real.editor->idle();
    }
}
BENCHMARK(BM_RealEditorFullRedraw)->Unit(benchmark::kMillisecond);

static void BM_RealEditorIdleNothingDirty(benchmark::State& state) {
    RealEditor real;
    for (auto _ : state) real.editor->idle();
}
BENCHMARK(BM_RealEditorIdleNothingDirty)->Unit(benchmark::kMicrosecond);

// A host automating one knob: the mark, the update in idle and its redraw.
static void BM_RealEditorIdleOneParameterAutomated(benchmark::State& state) {
    RealEditor real;
    float v = 0;
    for (auto _ : state) {
        v = v > 0.9f ? 0.0f : v + 0.05f;
        real.plugin.setParameter(61, v);
        real.editor->idle();
    }
}
BENCHMARK(BM_RealEditorIdleOneParameterAutomated)->Unit(benchmark::kMicrosecond);

// A program change: the full refresh of every control and its redraw.
static void BM_RealEditorProgramChange(benchmark::State& state) {
    RealEditor real;
    int program = 0;
    for (auto _ : state) {
        program = (program + 1) % 12;
        real.plugin.setProgram(program);
        real.editor->idle();
    }
}
BENCHMARK(BM_RealEditorProgramChange)->Unit(benchmark::kMillisecond);
