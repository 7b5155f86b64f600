#include "widgets/overlays/CMessageBox.h"

#include "widgets/CFrame.h"
#include "widgets/COptionMenuScheme.h"

namespace VSTGUI {

std::vector<std::string> wrapText(CDrawContext* context, const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        std::string rest = paragraph;
        do {
            if (context->getStringWidth(rest.c_str()) <= width) {
                lines.push_back(rest);
                break;
            }
            size_t cut = rest.size();
            // The longest prefix that ends before a blank and fits.
            size_t blank = rest.rfind(' ', cut);
            while (blank != std::string::npos && blank > 0 &&
                   context->getStringWidth(rest.substr(0, blank).c_str()) > width)
                blank = rest.rfind(' ', blank - 1);
            if (blank == std::string::npos || blank == 0) {
                cut = 1;
                while (cut < rest.size() && context->getStringWidth(rest.substr(0, cut + 1).c_str()) <= width)
                    ++cut;
                lines.push_back(rest.substr(0, cut));
                rest.erase(0, cut);
            } else {
                lines.push_back(rest.substr(0, blank));
                rest.erase(0, blank + 1);
            }
        } while (!rest.empty());
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

CMessageBox* CMessageBox::show(CFrame* frame, const std::string& text, std::function<void()> onClose) {
    auto* box = new CMessageBox(frame, text, std::move(onClose));
    box->CDialogOverlay::show();
    return box;
}

CMessageBox::CMessageBox(CFrame* frame, const std::string& text, std::function<void()> onClose)
    : CDialogOverlay(frame, "Brennix", 380, 150, {"OK"}), text(text), onClose(std::move(onClose)) {}

void CMessageBox::drawContent(CDrawContext* context) {
    context->setFont(kNormalFontSmall);
    context->setFontColor(COptionMenuScheme::current()->colors().text);
    CRect area = contentRect();
    int y = area.top;
    for (const std::string& line : wrapText(context, text, area.width())) {
        context->drawString(line.c_str(), CRect(area.left, y, area.right, y + 16), false, kLeftText);
        y += 16;
    }
}

void CMessageBox::buttonPressed(int) {
    close();
    if (onClose) onClose();
}

}  // namespace VSTGUI
