#include "editor/blueArpDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/BitmapFont.h"
#include "editor/brennixEditorListener.h"
#include "vst/AudioEffectX.h"
#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"

using namespace VSTGUI;

namespace {
constexpr int kColumnWidth = 25, kRowHeight = 20, kBand = 17;
constexpr int kRowBase[6] = {blueArpDisplay::kStepOn, blueArpDisplay::kTie, blueArpDisplay::kSlide,
                             blueArpDisplay::kTune, blueArpDisplay::kVelocity, blueArpDisplay::kFree};
constexpr const char* kSetMarks[3] = {"X", "T", "S"};
}  // namespace

int blueArpDisplay::parameterOf(int row, int step) { return kRowBase[row] + step; }

blueArpDisplay::blueArpDisplay(const CRect& size, CControlListener* listener, AudioEffectX* effect,
                               CBitmap* stepIndicator, BitmapFonts* fonts)
    : CControl(size, listener, 9999, stepIndicator), effect(effect), fonts(fonts) {}

void blueArpDisplay::setCurrentStep(int step) {
    if (currentStep.exchange(step, std::memory_order_relaxed) != step) setDirty();
}

float blueArpDisplay::get(int index) const {
    float v = effect ? effect->getParameter(index) : 0.0f;
    return std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f);
}

void blueArpDisplay::set(int index, float v) {
    if (effect) effect->setParameterAutomated(index, v);
}

bool blueArpDisplay::stepIsOn(int step) const {
    int active = int(get(kSteps) * 15.99f) + 1;
    return step < active && get(kStepOn + step) >= 0.5f;
}

CRect blueArpDisplay::cellRect(int row, int step) const {
    int x = size.left + kColumnWidth * step, y = size.top + kBand + kRowHeight * row;
    return CRect(x, y, x + kColumnWidth, y + kRowHeight);
}

std::string blueArpDisplay::cellText(int row, int step) const {
    if (row == 0) return stepIsOn(step) ? "X" : "-";
    if (!stepIsOn(step)) return "";
    if (row <= 2) return get(parameterOf(row, step)) >= 0.5f ? kSetMarks[row] : "-";
    if (get(kTie + step) >= 0.5f && get(kTiedMode) < 0.5f) return "---";
    float v = get(parameterOf(row, step));
    char text[16];
    if (row == 3)  // semitones -36..+36
        std::snprintf(text, sizeof text, "%+d", int(v * 72.99f - 36.0f));
    else if (row == 4)  // note velocity 0..127
        std::snprintf(text, sizeof text, "%d", int(v * 127.0f));
    else  // free value -99..99
        std::snprintf(text, sizeof text, "%d", int((2.0f * v - 1.0f) * 99.99f));
    if (row == 3 && int(v * 72.99f - 36.0f) == 0) return "0";
    return text;
}

void blueArpDisplay::draw(CDrawContext* context) {
    if (pBackground) {
        int step = std::clamp(getCurrentStep(), 0, 15);
        pBackground->drawAlphaBlend(context, CRect(size.left, size.top, size.right, size.top + kBand),
                                    CPoint(0, step * kBand));
    }
    for (int s = 0; s < 16; ++s) {
        bool on = stepIsOn(s);
        for (int r = 0; r < 6; ++r) {
            if (r > 0 && !on) continue;
            drawCellText(context, cellText(r, s).c_str(), cellRect(r, s), on);
        }
    }
}

void blueArpDisplay::drawCellText(CDrawContext* context, const char* text, const CRect& cell, bool highlighted) {
    if (fonts) BitmapFont::draw(context, highlighted ? fonts->text() : fonts->plain(), text, cell, true);
}

CMouseEventResult blueArpDisplay::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!size.pointInside(where)) return kMouseEventNotHandled;
    brennixEditorListener* editor = editorListenerOf(this);
    if (buttons & kRButton) {
        if (editor) editor->showHelpFor(kTie, framePoint(this, where));
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (!(buttons & kLButton) || where.v < size.top + kBand) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    int step = std::min(15, (where.h - size.left) / kColumnWidth);
    int row = std::min(5, (where.v - size.top - kBand) / kRowHeight);
    if (editor) editor->hideHelp();
    if (buttons == (kLButton | kControl)) {
        if (row == 3) set(kTune + step, 0.5f);
        if (row >= 3 && row <= 4) set(kVelocity + step, 1.0f);
        if (row >= 3) set(kFree + step, 0.5f);
        setDirty();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    int parameter = parameterOf(row, step);
    if (row <= 2) {
        set(parameter, get(parameter) >= 0.5f ? 0.0f : 1.0f);
        setDirty();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    dragParameter = parameter;
    dragStart = get(parameter);
    dragX = where.h;
    dragY = where.v;
    dragShift = (buttons & kShift) != 0;
    divisor = dragShift ? 2000.0f : 200.0f;
    if (CFrame* frame = getFrame()) frame->beginEdit(parameter);
    return kMouseEventHandled;
}

CMouseEventResult blueArpDisplay::mouseMoved(CDrawContext* context, CPoint& where, long buttons) {
    if (dragParameter < 0) return kMouseEventNotHandled;
    float distance = float((where.h - dragX) + (dragY - where.v));
    bool shift = (buttons & kShift) != 0;
    if (shift && !dragShift) {
        // A Shift press makes the drag ten times finer from here on, without a jump.
        float finer = divisor * 10.0f;
        dragStart += distance / divisor - distance / finer;
        divisor = finer;
    }
    dragShift = shift;
    set(dragParameter, std::clamp(dragStart + distance / divisor, 0.0f, 1.0f));
    setDirty();
    return kMouseEventHandled;
}

CMouseEventResult blueArpDisplay::mouseUp(CDrawContext* context, CPoint& where, long buttons) {
    if (dragParameter < 0) return kMouseEventNotHandled;
    if (CFrame* frame = getFrame()) frame->endEdit(dragParameter);
    dragParameter = -1;
    return kMouseEventHandled;
}
