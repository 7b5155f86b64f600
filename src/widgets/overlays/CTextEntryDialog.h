// A modal dialog asking for one line of text: title, prompt, edit field, OK
// and Cancel. The answer arrives through the callback when the dialog closes.
#pragma once

#include <functional>

#include "widgets/overlays/CDialogOverlay.h"

namespace VSTGUI {

class CTextEntryDialog : public CDialogOverlay {
public:
    using Callback = std::function<void(bool ok, const std::string& text)>;

    static CTextEntryDialog* show(CFrame* frame, const std::string& title, const std::string& prompt,
                                  const std::string& initial, Callback callback, size_t maxLength = 255);
    const std::string& getText() const { return field.text; }

protected:
    void drawContent(CDrawContext* context) override;
    void buttonPressed(int index) override;
    bool contentKey(VstKeyCode& key) override;

private:
    CTextEntryDialog(CFrame* frame, const std::string& title, const std::string& prompt,
                     const std::string& initial, Callback callback, size_t maxLength);
    std::string prompt;
    CTextField field;
    Callback callback;
};

}  // namespace VSTGUI
