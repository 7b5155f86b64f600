// The editor's drawing cost on a frame as full as the real editor's (300
// knobs on three regions over a background, no window): a full redraw, an
// idle call with nothing dirty, and an idle after one knob moved.
#include <benchmark/benchmark.h>

#include <vector>

#include "editor/brennixKnob.h"
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
