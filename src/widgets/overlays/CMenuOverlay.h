// An open pop-up menu, drawn above everything in the frame: one pane per open
// (sub-)menu, each a column list that wraps into further columns when it would
// not fit the frame's height. Mouse: hovering highlights and opens sub-menus,
// a click (or the release of the opening press after moving onto an item)
// chooses, a click outside closes. Keys: up and down move, right or return
// opens a sub-menu, left closes one, return chooses, escape closes.
#pragma once

#include <vector>

#include "widgets/CView.h"

namespace VSTGUI {

class COptionMenu;

class CMenuOverlay : public CView {
public:
    static CMenuOverlay* open(CFrame* frame, COptionMenu* menu, const CRect& anchor);

    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    bool checkUpdate(const CRect& updateRect) const override;
    CMouseEventResult mouse(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseMoved(CDrawContext* context, CPoint& where, long buttons) override;
    CMouseEventResult mouseUp(CDrawContext* context, CPoint& where, long buttons) override;
    long onKeyDown(VstKeyCode& key) override;
    bool onWheel(CDrawContext*, const CPoint&, CMouseWheelAxis, float) override { return true; }

    // Where entry `index` of open pane `pane` lies (frame coordinates), for tests.
    CRect itemRect(int pane, long index) const;
    int getPaneCount() const { return int(panes.size()); }
    COptionMenu* getPaneMenu(int pane) const { return panes[pane].menu; }
    long getHot(int pane) const { return panes[pane].hot; }

private:
    struct Pane {
        COptionMenu* menu;
        CRect rect;
        std::vector<CRect> items;
        long hot = -1;
    };

    CMenuOverlay(CFrame* frame, COptionMenu* root);
    ~CMenuOverlay() override;
    void openPane(COptionMenu* menu, const CRect& anchor, bool beside);
    void closePanesAfter(int pane);
    bool hitItem(const CPoint& where, int& pane, long& index) const;
    void setHot(int pane, long index);
    void moveHot(int direction);
    bool selectable(const Pane& p, long index) const;
    void finish(COptionMenu* chosenIn, long index, CDrawContext* context);
    void updateSize();

    CFrame* frame;
    COptionMenu* root;
    std::vector<Pane> panes;
    CPoint openedAt;
    bool armed = false;  // the opening press no longer counts
    bool closing = false;
};

}  // namespace VSTGUI
