// The arpeggiator's step editor: 16 columns of 25 pixels and 6 rows of 20
// pixels below a 17-pixel band that shows the current step. Rows 0..2 (step
// on, tie, slide) toggle on a left click; rows 3..5 (tune, velocity, free
// value) follow a drag right or up. It reads and writes the step parameters
// through the plug-in itself. The current step may be set from the audio thread.
#pragma once

#include <atomic>

#include "widgets/CControl.h"

class AudioEffectX;
class BitmapFonts;

class blueArpDisplay : public VSTGUI::CControl {
public:
    static constexpr int kTie = 220, kStepOn = 236, kSlide = 252, kVelocity = 268, kTune = 284,
                         kFree = 300, kSteps = 210, kTiedMode = 219;
    // The parameter that row `row` edits for step `step`.
    static int parameterOf(int row, int step);

    blueArpDisplay(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, AudioEffectX* effect,
                   VSTGUI::CBitmap* stepIndicator, BitmapFonts* fonts);

    // Lock-free: stores the step and marks the display for the next idle.
    void setCurrentStep(int step);
    int getCurrentStep() const { return currentStep.load(std::memory_order_relaxed); }
    // The text of one cell (what the display prints there).
    std::string cellText(int row, int step) const;
    VSTGUI::CRect cellRect(int row, int step) const;

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;
    VSTGUI::CMouseEventResult mouseMoved(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                         long buttons) override;
    VSTGUI::CMouseEventResult mouseUp(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                      long buttons) override;

protected:
    virtual void drawCellText(VSTGUI::CDrawContext* context, const char* text, const VSTGUI::CRect& cell,
                              bool highlighted);

private:
    float get(int index) const;
    void set(int index, float v);
    bool stepIsOn(int step) const;

    AudioEffectX* effect;
    BitmapFonts* fonts;
    std::atomic<int> currentStep{0};
    // Drag state.
    int dragParameter = -1;
    float dragStart = 0;
    int dragX = 0, dragY = 0;
    float divisor = 200;
    bool dragShift = false;
};
