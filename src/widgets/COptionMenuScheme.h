// Colours and font of the pop-up menus and of filled readouts. Two colour sets:
// the default one and the alternative selected by the editor's "Normal Font"
// option. The scheme draws and measures the items of every pop-up menu.
#pragma once

#include "widgets/CDrawContext.h"
#include "widgets/CReferenceCounter.h"

namespace VSTGUI {

class COptionMenuScheme : public CReferenceCounter {
public:
    enum ItemState : long {
        kChecked = 0x01,
        kDisabled = 0x02,
        kSelected = 0x04,
        kSubMenu = 0x08,
        kSeparator = 0x10,
    };

    struct Colors {
        CColor background, frame, text, selectedBackground, selectedText, disabledText, separator;
        CColor readoutBackground, active, inactive;
    };

    COptionMenuScheme();

    // Height of one menu row, and the width an item needs (text, check and arrow room).
    virtual int getItemHeight() const { return 16; }
    virtual int getItemWidth(CDrawContext* context, const char* text);
    virtual void drawItem(const char* text, long state, CDrawContext* context, const CRect& rect);
    // The panel behind the items.
    virtual void drawBackground(CDrawContext* context, const CRect& rect);

    void setAlternative(bool on) { alternative = on; }
    bool isAlternative() const { return alternative; }
    const Colors& colors() const { return alternative ? alternativeSet : defaultSet; }

    // The scheme of all option menus and readouts (never null).
    static COptionMenuScheme* current();
    static void setCurrent(COptionMenuScheme* scheme);

private:
    Colors defaultSet, alternativeSet;
    bool alternative = false;
};

}  // namespace VSTGUI
