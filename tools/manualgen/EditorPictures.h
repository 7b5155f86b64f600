// The editor rendered to pictures for the manual: a plug-in built here with
// its editor open without a window, driven by the frame's own mouse events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "PngFile.h"
#include "widgets/CGeometry.h"

class APlugin;
class uEditor;

namespace manual {

struct Picture {
    std::string file;
    artgen::Pixels pixels;
};

class EditorPictures {
public:
    EditorPictures();
    ~EditorPictures();
    bool ready() const { return editor != nullptr; }
    APlugin& plugin() { return *instance; }

    // Every picture the manual shows, in a fixed order.
    std::vector<Picture> all();

private:
    void click(int x, int y, long buttons);
    void pressButton(int tag);
    void key(unsigned char virt);
    void escape();
    Picture shot(const std::string& file, int left, int top, int width, int height);
    Picture menuShot(const std::string& file, VSTGUI::CPoint openedAt);

    std::unique_ptr<APlugin> instance;
    uEditor* editor = nullptr;
};

}  // namespace manual
