// A pop-up menu behind a readout. Entries are strings: "-" is a separator, a
// leading "-G" shows the rest disabled, and a sub-menu entry ("-M" internally)
// holds another option menu. Entry indexes count every entry, separators and
// sub-menus included. Popping up opens the menu as an overlay in the frame;
// the choice arrives later: the menu it was made in takes it as its current
// entry and its listener (else this menu's) is told with that menu.
#pragma once

#include <string>
#include <vector>

#include "widgets/CParamDisplay.h"

namespace VSTGUI {

class COptionMenuScheme;

enum COptionMenuStyle : long {
    kCheckStyle = 64,          // the current entry carries a check mark
    kMultipleCheckStyle = 128  // entries carry their own check marks
};

class COptionMenu : public CParamDisplay {
public:
    COptionMenu(const CRect& size, CControlListener* listener, long tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, long style = 0);
    ~COptionMenu() override;

    bool addEntry(const char* text, long index = -1);
    // The menu keeps a reference to `subMenu`.
    bool addEntry(COptionMenu* subMenu, const char* title);
    bool addSeparator() { return addEntry("-"); }
    // Replaces the text of an existing entry (a sub-menu keeps its menu).
    bool setEntry(long index, const char* text);
    bool removeEntry(long index);
    bool removeAllEntry();
    long getNbEntries() const { return long(entries.size()); }

    // The entry as stored ("-", "-G...", "-M..." included) / as shown.
    const std::string& getRawEntry(long index) const;
    std::string getEntryText(long index) const;
    // Copies the shown text to `text` (256 bytes); false when there is no such entry.
    bool getEntry(long index, char* text) const;
    // The index of the first entry shown as `text`, or -1.
    long getIndex(const char* text) const;
    bool isSeparator(long index) const;
    bool isDisabled(long index) const;
    COptionMenu* getSubMenu(long index) const;

    bool setCurrent(long index, bool countSeparator = true);
    long getCurrent(char* text = nullptr, bool countSeparator = true) const;
    bool checkEntry(long index, bool checked);
    bool isCheckEntry(long index) const;

    // Numbers shown before the entries: 2 "%1d %s", 3 "%02d %s", 4 "%03d %s"; 0 none.
    void setPrefixNumbers(long preCount);
    long getPrefixNumbers() const { return prefixNumbers; }
    // The text as the open menu lists it, prefix included.
    std::string getListedText(long index) const;

    // The index of the last choice (in the menu it was made in) and that menu.
    long getLastResult() const { return lastResult; }
    COptionMenu* getLastItemMenu(long& indexInMenu) const {
        indexInMenu = lastResult;
        return lastMenu;
    }
    // `index` counted without the separators before it (for menus numbered that way).
    long indexWithoutSeparators(long index) const;

    void setScheme(COptionMenuScheme* s) { scheme = s; }
    COptionMenuScheme* getScheme() const;

    // Opens the menu below the control, or with its corner at `frameWhere`
    // (kept inside the frame). False without a frame.
    bool popup();
    bool popup(const CPoint& frameWhere);
    bool isPoppedUp() const { return poppedUp; }
    // The overlay reports the choice (or none) here.
    void menuClosed(COptionMenu* chosenIn, long index, CDrawContext* context);

    void setValue(float value) override;
    void takeFocus(CDrawContext* context = nullptr) override { popup(); }
    void draw(CDrawContext* context) override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;

private:
    bool popupAt(const CRect& anchorInFrame);

    std::vector<std::string> entries;
    std::vector<COptionMenu*> subMenus;
    std::vector<bool> checked;
    long prefixNumbers = 0;
    long lastResult = -1;
    COptionMenu* lastMenu = nullptr;
    COptionMenuScheme* scheme = nullptr;
    CBitmap* bgWhenClick;
    bool poppedUp = false;
};

}  // namespace VSTGUI
