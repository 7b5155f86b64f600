// The editor's images while its window is open: every image of the image
// table except the effect backgrounds, which the FX section loads for the
// type it shows and releases when it changes.
#pragma once

#include <map>

namespace VSTGUI {
class CBitmap;
}

namespace editor {

class EditorBitmaps {
public:
    EditorBitmaps() = default;
    ~EditorBitmaps() { release(); }
    EditorBitmaps(const EditorBitmaps&) = delete;
    EditorBitmaps& operator=(const EditorBitmaps&) = delete;

    void load();
    void release();
    // The loaded image with this resource id, or null (the controls then draw without it).
    VSTGUI::CBitmap* get(int id) const;

private:
    std::map<int, VSTGUI::CBitmap*> images;
};

}  // namespace editor
