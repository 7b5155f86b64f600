#include "editor/EditorBitmaps.h"

#include "editor/ControlLayout.h"
#include "editor/EditorImages.h"
#include "widgets/CBitmap.h"

namespace editor {

void EditorBitmaps::load() {
    release();
    for (const layout::Image& image : layout::kImages) {
        bool fxBackground = image.id >= layout::img::fxBackground(0) &&
                            image.id <= layout::img::fxBackground(layout::kFxTypes - 1);
        if (!fxBackground) images[image.id] = new VSTGUI::CBitmap(image.id);
    }
}

void EditorBitmaps::release() {
    for (auto& [id, bitmap] : images) bitmap->forget();
    images.clear();
}

VSTGUI::CBitmap* EditorBitmaps::get(int id) const {
    auto it = images.find(id);
    return it == images.end() ? nullptr : it->second;
}

}  // namespace editor
