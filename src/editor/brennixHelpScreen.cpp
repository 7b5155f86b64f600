#include "editor/brennixHelpScreen.h"

#include <algorithm>

#include "widgets/CBitmap.h"
#include "widgets/CViewContainer.h"
#include "widgets/overlays/CMessageBox.h"

using namespace VSTGUI;

namespace {
constexpr int kTitleBand = 20, kLineBand = 15, kCorner = 20, kTextInset = 4;
}

brennixHelpScreen::brennixHelpScreen(const CRect& size, CControlListener* listener, long tag,
                                     CBitmap* background)
    : CParamDisplay(size, background), width(size.width()), height(size.height()) {
    this->listener = listener;
    this->tag = tag;
    fontColor = CColor{232, 232, 228, 255};
}

std::vector<brennixHelpScreen::Block> brennixHelpScreen::parseBlocks(const char* text) {
    std::vector<Block> result;
    Block current;
    const char* p = text ? text : "";
    while (*p) {
        const char* end = p;
        while (*end && *end != '\n') ++end;
        std::string line(p, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "!") {
            result.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(line);
        }
        p = *end ? end + 1 : end;
    }
    return result;
}

void brennixHelpScreen::setBlocks(std::vector<Block> b) {
    blocks = std::move(b);
    setPage(page);
}

void brennixHelpScreen::setPage(int p) {
    page = p >= 0 && p < int(blocks.size()) ? p : 0;
    setDirty();
}

void brennixHelpScreen::placeAt(const CPoint& where) {
    CRect bounds(0, 0, 1000, 600);
    if (CViewContainer* parent = getParentView()) bounds = CRect(0, 0, parent->getWidth(), parent->getHeight());
    int left = std::max(0, std::min(where.h, bounds.right - width));
    int top = std::max(0, std::min(where.v, bounds.bottom - height));
    setViewSize(CRect(left, top, left + width, top + height));
}

void brennixHelpScreen::hide() { setViewSize(CRect(-1, -1, -1, -1)); }

template <typename DrawBand>
int brennixHelpScreen::layOut(CDrawContext* context, int page, DrawBand&& band) const {
    int y = 0;
    if (page < 0 || page >= int(blocks.size())) return y;
    const Block& block = blocks[page];
    const int textWidth = width - 2 * kTextInset;
    for (size_t i = 0; i < block.size(); ++i) {
        const std::string& line = block[i];
        bool title = i == 0, item = !title && !line.empty() && line[0] == ' ';
        context->setFont(kNormalFontSmall, 0, title || item ? kBoldFace : kNormalFace);
        int height = title ? kTitleBand : kLineBand;
        std::vector<std::string> pieces = wrapText(context, item ? line.substr(1) : line, textWidth);
        if (pieces.empty()) pieces.push_back("");
        for (const std::string& piece : pieces) {
            band(piece, y, height);
            y += height;
            height = kLineBand;
        }
    }
    return y;
}

int brennixHelpScreen::textHeight(CDrawContext* context, int p) const {
    return layOut(context, p, [](const std::string&, int, int) {});
}

void brennixHelpScreen::draw(CDrawContext* context) {
    if (!isShown()) return;
    if (pBackground) pBackground->drawAlphaBlend(context, size);
    context->setFontColor(fontColor);
    context->setFillColor(backColor);
    const int left = size.left + kTextInset, right = size.left + size.width() - kTextInset;
    layOut(context, page, [&](const std::string& piece, int y, int height) {
        if (size.top + y < size.bottom)
            context->drawString(piece.c_str(), CRect(left, size.top + y, right, size.top + y + height), opaque,
                                kLeftText);
    });
}

CMouseEventResult brennixHelpScreen::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & kLButton) || !isShown()) return kMouseEventNotHandled;
    int x = where.h - size.left, y = where.v - size.top;
    if (y < kCorner) {
        if (x < kCorner) {
            if (page > 1) setPage(page - 1);
        } else if (x >= width - (kCorner - 1)) {
            if (page != 0 && page < getPageCount()) setPage(page + 1);
        } else {
            value = 1.0f;
            notify(context);
            value = 0.0f;
        }
    } else {
        placeAt(CPoint(where.h - width / 2, where.v - height / 2));
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
