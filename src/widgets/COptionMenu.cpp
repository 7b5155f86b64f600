#include "widgets/COptionMenu.h"

#include <cstdio>
#include <cstring>

#include "widgets/CBitmap.h"
#include "widgets/CFrame.h"
#include "widgets/COptionMenuScheme.h"
#include "widgets/overlays/CMenuOverlay.h"

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background,
                         CBitmap* bgWhenClick, long style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
    this->listener = listener;
    this->tag = tag;
    vmax = 0;
    if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu() {
    removeAllEntry();
    if (bgWhenClick) bgWhenClick->forget();
}

bool COptionMenu::addEntry(const char* text, long index) {
    if (!text) return false;
    if (index < 0 || index > getNbEntries()) index = getNbEntries();
    entries.insert(entries.begin() + index, text);
    subMenus.insert(subMenus.begin() + index, nullptr);
    checked.insert(checked.begin() + index, false);
    vmax = float(getNbEntries() - 1);
    return true;
}

bool COptionMenu::addEntry(COptionMenu* subMenu, const char* title) {
    if (!subMenu || !title || subMenu == this) return false;
    addEntry((std::string("-M") + title).c_str());
    subMenu->remember();
    subMenus.back() = subMenu;
    return true;
}

bool COptionMenu::setEntry(long index, const char* text) {
    if (!text || index < 0 || index >= getNbEntries()) return false;
    entries[index] = subMenus[index] ? std::string("-M") + text : std::string(text);
    setDirty();
    return true;
}

bool COptionMenu::removeEntry(long index) {
    if (index < 0 || index >= getNbEntries()) return false;
    if (subMenus[index]) subMenus[index]->forget();
    entries.erase(entries.begin() + index);
    subMenus.erase(subMenus.begin() + index);
    checked.erase(checked.begin() + index);
    vmax = float(getNbEntries() > 0 ? getNbEntries() - 1 : 0);
    return true;
}

bool COptionMenu::removeAllEntry() {
    for (COptionMenu* m : subMenus)
        if (m) m->forget();
    entries.clear();
    subMenus.clear();
    checked.clear();
    vmax = 0;
    return true;
}

const std::string& COptionMenu::getRawEntry(long index) const {
    static const std::string none;
    return index >= 0 && index < getNbEntries() ? entries[index] : none;
}

std::string COptionMenu::getEntryText(long index) const {
    const std::string& raw = getRawEntry(index);
    if (raw.rfind("-G", 0) == 0 || raw.rfind("-M", 0) == 0) return raw.substr(2);
    return raw;
}

bool COptionMenu::getEntry(long index, char* text) const {
    if (index < 0 || index >= getNbEntries()) return false;
    if (text) std::snprintf(text, 256, "%s", getEntryText(index).c_str());
    return true;
}

long COptionMenu::getIndex(const char* text) const {
    if (!text) return -1;
    for (long i = 0; i < getNbEntries(); ++i)
        if (!isSeparator(i) && getEntryText(i) == text) return i;
    return -1;
}

bool COptionMenu::isSeparator(long index) const { return getRawEntry(index) == "-"; }

bool COptionMenu::isDisabled(long index) const { return getRawEntry(index).rfind("-G", 0) == 0; }

COptionMenu* COptionMenu::getSubMenu(long index) const {
    return index >= 0 && index < getNbEntries() ? subMenus[index] : nullptr;
}

long COptionMenu::indexWithoutSeparators(long index) const {
    long n = 0;
    for (long i = 0; i < index && i < getNbEntries(); ++i)
        if (!isSeparator(i)) ++n;
    return n;
}

bool COptionMenu::setCurrent(long index, bool countSeparator) {
    if (!countSeparator) {
        for (long i = 0, n = 0; i < getNbEntries(); ++i)
            if (!isSeparator(i) && n++ == index) {
                index = i;
                break;
            }
    }
    if (index < 0 || index >= getNbEntries()) return false;
    CControl::setValue(float(index));
    return true;
}

long COptionMenu::getCurrent(char* text, bool countSeparator) const {
    long current = long(value);
    if (text) {
        text[0] = 0;
        getEntry(current, text);
    }
    return countSeparator ? current : indexWithoutSeparators(current);
}

void COptionMenu::setValue(float v) {
    long index = long(v);
    if (index < 0 || index >= getNbEntries()) return;
    CControl::setValue(float(index));
}

bool COptionMenu::checkEntry(long index, bool state) {
    if (index < 0 || index >= getNbEntries()) return false;
    checked[index] = state;
    return true;
}

bool COptionMenu::isCheckEntry(long index) const {
    if (index < 0 || index >= getNbEntries()) return false;
    if (style & kMultipleCheckStyle) return checked[index];
    if (style & kCheckStyle) return index == long(value);
    return false;
}

void COptionMenu::setPrefixNumbers(long preCount) {
    prefixNumbers = preCount >= 2 && preCount <= 4 ? preCount : 0;
}

std::string COptionMenu::getListedText(long index) const {
    std::string text = getEntryText(index);
    if (!prefixNumbers || isSeparator(index)) return text;
    static const char* const kFormats[] = {"%1d %s", "%02d %s", "%03d %s"};
    char buffer[300];
    std::snprintf(buffer, sizeof buffer, kFormats[prefixNumbers - 2], int(index + 1), text.c_str());
    return buffer;
}

COptionMenuScheme* COptionMenu::getScheme() const { return scheme ? scheme : COptionMenuScheme::current(); }

bool COptionMenu::popup() {
    CRect anchor = size;
    localToFrame(anchor);
    return popupAt(anchor);
}

bool COptionMenu::popup(const CPoint& frameWhere) {
    return popupAt(CRect(frameWhere.h, frameWhere.v, frameWhere.h, frameWhere.v));
}

bool COptionMenu::popupAt(const CRect& anchor) {
    CFrame* frame = getFrame();
    if (!frame || poppedUp || getNbEntries() == 0) return false;
    poppedUp = true;
    setDirty();
    CMenuOverlay::open(frame, this, anchor);
    return true;
}

void COptionMenu::menuClosed(COptionMenu* chosenIn, long index, CDrawContext* context) {
    poppedUp = false;
    setDirty();
    if (!chosenIn) return;
    lastResult = index;
    lastMenu = chosenIn;
    chosenIn->setCurrent(index);
    CControlListener* target = chosenIn->getListener() ? chosenIn->getListener() : listener;
    if (target) target->valueChanged(context, chosenIn);
}

void COptionMenu::draw(CDrawContext* context) {
    if (style & kNoDrawStyle) return;
    CBitmap* face = poppedUp && bgWhenClick ? bgWhenClick : pBackground;
    if (face)
        face->drawAlphaBlend(context, size);
    else
        drawBack(context);
    drawText(context, getEntryText(long(value)).c_str(), size);
}

CMouseEventResult COptionMenu::mouse(CDrawContext* context, CPoint& where, long buttons) {
    if (!(buttons & (kLButton | kRButton))) return kMouseEventNotHandled;
    popup();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace VSTGUI
