// The help screen: a 440 x 440 panel showing one page of the help text. Page
// 0 is "no help"; pages 1..22 are stepped with the top corners, the top band
// between them asks the editor to hide it (value 1, notify), and a click below
// it moves the screen so that it is centred on the click.
#pragma once

#include <string>
#include <vector>

#include "widgets/CParamDisplay.h"

class brennixHelpScreen : public VSTGUI::CParamDisplay {
public:
    using Block = std::vector<std::string>;

    brennixHelpScreen(const VSTGUI::CRect& size, VSTGUI::CControlListener* listener, long tag,
                      VSTGUI::CBitmap* background);

    // Splits a help text into its blocks, each ended by a line "!".
    static std::vector<Block> parseBlocks(const char* text);
    void setBlocks(std::vector<Block> blocks);
    int getPageCount() const { return blocks.empty() ? 0 : int(blocks.size()) - 1; }

    virtual void setPage(int page);
    int getPage() const { return page; }
    void setOpaque(bool on) { opaque = on; setDirty(); }
    // The height the text of `page` takes, wrapped as drawn.
    int textHeight(VSTGUI::CDrawContext* context, int page) const;

    // Places the top-left corner at `where` (parent coordinates), moved left and
    // up as needed to stay inside the parent and never to negative coordinates.
    void placeAt(const VSTGUI::CPoint& where);
    // Out of sight: the rectangle becomes empty at -1, -1.
    void hide();
    bool isShown() const { return !size.isEmpty(); }

    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult mouse(VSTGUI::CDrawContext* context, VSTGUI::CPoint& where,
                                    long buttons) override;

private:
    // Calls band(text, top, height) for every band of `page` (tops relative
    // to the view); gives the height used.
    template <typename DrawBand>
    int layOut(VSTGUI::CDrawContext* context, int page, DrawBand&& band) const;

    std::vector<Block> blocks;
    int page = 0;
    bool opaque = false;
    int width, height;
};
