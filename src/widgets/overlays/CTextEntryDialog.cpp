#include "widgets/overlays/CTextEntryDialog.h"

#include "widgets/COptionMenuScheme.h"

namespace VSTGUI {

CTextEntryDialog* CTextEntryDialog::show(CFrame* frame, const std::string& title, const std::string& prompt,
                                         const std::string& initial, Callback callback, size_t maxLength) {
    auto* dialog = new CTextEntryDialog(frame, title, prompt, initial, std::move(callback), maxLength);
    dialog->CDialogOverlay::show();
    return dialog;
}

CTextEntryDialog::CTextEntryDialog(CFrame* frame, const std::string& title, const std::string& prompt,
                                   const std::string& initial, Callback callback, size_t maxLength)
    : CDialogOverlay(frame, title, 340, 130, {"OK", "Cancel"}), prompt(prompt), callback(std::move(callback)) {
    field.maxLength = maxLength;
    field.set(initial);
}

void CTextEntryDialog::drawContent(CDrawContext* context) {
    CRect area = contentRect();
    context->setFont(kNormalFontSmall);
    context->setFontColor(COptionMenuScheme::current()->colors().text);
    context->drawString(prompt.c_str(), CRect(area.left, area.top, area.right, area.top + 18), false,
                        kLeftText);
    field.draw(context, CRect(area.left, area.top + 22, area.right, area.top + 44), true);
}

bool CTextEntryDialog::contentKey(VstKeyCode& key) {
    if (!field.key(key)) return false;
    redraw();
    return true;
}

void CTextEntryDialog::buttonPressed(int index) {
    close();
    if (callback) callback(index == 0, field.text);
}

}  // namespace VSTGUI
