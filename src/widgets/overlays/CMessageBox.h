// A modal message with an OK button (the toolkit's message box).
#pragma once

#include <functional>

#include "widgets/overlays/CDialogOverlay.h"

namespace VSTGUI {

class CMessageBox : public CDialogOverlay {
public:
    // Shows `text` in `frame`; `onClose` runs when OK is pressed.
    static CMessageBox* show(CFrame* frame, const std::string& text,
                             std::function<void()> onClose = nullptr);
    const std::string& getText() const { return text; }

protected:
    void drawContent(CDrawContext* context) override;
    void buttonPressed(int index) override;

private:
    CMessageBox(CFrame* frame, const std::string& text, std::function<void()> onClose);
    std::string text;
    std::function<void()> onClose;
};

// Splits `text` into lines no wider than `width` in the context's current font,
// breaking at blanks (and at newlines); a word wider than the line is cut.
std::vector<std::string> wrapText(CDrawContext* context, const std::string& text, int width);

}  // namespace VSTGUI
