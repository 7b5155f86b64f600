// A modal file chooser: the current folder, its sub-folders and the files
// whose extension is in the filter; ".." goes up. A click selects, a second
// click on the same line (or Return) opens a folder or takes a file. In save
// mode a file-name field takes the name to write; the chosen extension is
// added when the name has none of the filter's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "widgets/overlays/CDialogOverlay.h"

namespace VSTGUI {

class CFileChooser : public CDialogOverlay {
public:
    enum Mode { kOpen, kSave };
    using Callback = std::function<void(bool ok, const std::string& path)>;

    // `extensions` without dots ("fxb"); empty lists every file.
    static CFileChooser* show(CFrame* frame, Mode mode, const std::string& title,
                              const std::string& folder, std::vector<std::string> extensions,
                              Callback callback, const std::string& fileName = "");

    const std::string& getFolder() const { return folder; }
    // The lines as listed: "..", then folders (ending in "/"), then files.
    const std::vector<std::string>& getEntries() const { return entries; }
    const std::string& getFileName() const { return nameField.text; }
    CRect entryRect(int index) const;  // frame coordinates; empty when scrolled out of view

    // Opens `name` (a folder of the list or ".."), as a double click would.
    void enter(const std::string& name);

protected:
    void drawContent(CDrawContext* context) override;
    void buttonPressed(int index) override;
    CMouseEventResult contentMouse(CDrawContext* context, const CPoint& where, long buttons) override;
    bool contentKey(VstKeyCode& key) override;
    bool contentWheel(float distance) override;

private:
    CFileChooser(CFrame* frame, Mode mode, const std::string& title, const std::string& folder,
                 std::vector<std::string> extensions, Callback callback, const std::string& fileName);
    void readFolder();
    bool matches(const std::string& file) const;
    void activate(int index);
    void select(int index);
    void accept();
    CRect listRect() const;
    int visibleRows() const;

    Mode mode;
    std::string folder;
    std::vector<std::string> extensions;
    Callback callback;
    std::vector<std::string> entries;
    int selected = -1;
    int scroll = 0;
    CTextField nameField;
    uint32_t lastClickTime = 0;
    int lastClickIndex = -1;
};

}  // namespace VSTGUI
