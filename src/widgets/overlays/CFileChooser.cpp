#include "widgets/overlays/CFileChooser.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "widgets/COptionMenuScheme.h"

namespace fs = std::filesystem;

namespace VSTGUI {
namespace {
constexpr int kRowHeight = 16;
constexpr int kNameHeight = 22;
constexpr uint32_t kDoubleClickMs = 400;

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

CFileChooser* CFileChooser::show(CFrame* frame, Mode mode, const std::string& title,
                                 const std::string& folder, std::vector<std::string> extensions,
                                 Callback callback, const std::string& fileName) {
    auto* chooser = new CFileChooser(frame, mode, title, folder, std::move(extensions),
                                     std::move(callback), fileName);
    chooser->CDialogOverlay::show();
    return chooser;
}

CFileChooser::CFileChooser(CFrame* frame, Mode mode, const std::string& title, const std::string& start,
                           std::vector<std::string> exts, Callback callback, const std::string& fileName)
    : CDialogOverlay(frame, title, 460, 400, {mode == kSave ? "Save" : "Open", "Cancel"}),
      mode(mode),
      extensions(std::move(exts)),
      callback(std::move(callback)) {
    for (std::string& e : extensions) e = lower(e);
    std::error_code ec;
    fs::path p = start.empty() ? fs::current_path(ec) : fs::path(start);
    // A folder that does not exist (or a file) starts at the nearest folder above it.
    while (!p.empty() && !fs::is_directory(p, ec) && p != p.root_path()) p = p.parent_path();
    if (p.empty() || !fs::is_directory(p, ec)) p = "/";
    folder = fs::weakly_canonical(p, ec).string();
    if (folder.empty()) folder = "/";
    nameField.set(fileName);
    readFolder();
}

bool CFileChooser::matches(const std::string& file) const {
    if (extensions.empty()) return true;
    std::string ext = lower(fs::path(file).extension().string());
    if (!ext.empty()) ext.erase(0, 1);
    return std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

void CFileChooser::readFolder() {
    std::vector<std::string> folders, files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (it->is_directory(typeError))
            folders.push_back(name + "/");
        else if (matches(name))
            files.push_back(name);
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    entries.clear();
    if (folder != "/") entries.push_back("..");
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());
    selected = -1;
    scroll = 0;
    redraw();
}

void CFileChooser::enter(const std::string& name) {
    fs::path next = name == ".." ? fs::path(folder).parent_path() : fs::path(folder) / name;
    std::error_code ec;
    if (!fs::is_directory(next, ec)) return;
    folder = fs::weakly_canonical(next, ec).string();
    if (folder.empty()) folder = "/";
    readFolder();
}

CRect CFileChooser::listRect() const {
    CRect c = contentRect();
    return CRect(c.left, c.top + 20, c.right, c.bottom - kNameHeight - 8);
}

int CFileChooser::visibleRows() const { return std::max(1, listRect().height() / kRowHeight); }

CRect CFileChooser::entryRect(int index) const {
    int row = index - scroll;
    if (index < 0 || index >= int(entries.size()) || row < 0 || row >= visibleRows()) return CRect();
    CRect l = listRect();
    return CRect(l.left, l.top + row * kRowHeight, l.right, l.top + (row + 1) * kRowHeight);
}

void CFileChooser::drawContent(CDrawContext* context) {
    const COptionMenuScheme::Colors& c = COptionMenuScheme::current()->colors();
    CRect area = contentRect();
    context->setFont(kNormalFontSmall, 0, kBoldFace);
    context->setFontColor(c.text);
    context->drawString(folder.c_str(), CRect(area.left, area.top, area.right, area.top + 18), false,
                        kLeftText);
    CRect list = listRect();
    context->setFillColor(c.readoutBackground);
    context->fillRect(list);
    context->setFrameColor(c.frame);
    context->drawRect(list);
    context->setFont(kNormalFontSmall);
    for (int i = scroll; i < int(entries.size()) && i < scroll + visibleRows(); ++i) {
        CRect r = entryRect(i);
        if (i == selected) {
            context->setFillColor(c.selectedBackground);
            context->fillRect(r);
        }
        bool isFolder = entries[i] == ".." || entries[i].back() == '/';
        context->setFontColor(i == selected ? c.selectedText : isFolder ? c.active : c.text);
        context->drawString(entries[i].c_str(), CRect(r.left + 6, r.top, r.right - 4, r.bottom), false,
                            kLeftText);
    }
    CRect nameRect(area.left + 70, area.bottom - kNameHeight, area.right, area.bottom);
    context->setFontColor(c.text);
    context->drawString("File name:", CRect(area.left, nameRect.top, nameRect.left - 4, nameRect.bottom),
                        false, kLeftText);
    nameField.draw(context, nameRect, mode == kSave);
}

void CFileChooser::select(int index) {
    selected = index;
    if (index >= 0 && index < int(entries.size()) && entries[index] != ".." && entries[index].back() != '/')
        nameField.set(entries[index]);
    if (selected >= 0) {
        if (selected < scroll) scroll = selected;
        if (selected >= scroll + visibleRows()) scroll = selected - visibleRows() + 1;
    }
    redraw();
}

void CFileChooser::activate(int index) {
    if (index < 0 || index >= int(entries.size())) return;
    const std::string& e = entries[index];
    if (e == ".." || e.back() == '/')
        enter(e == ".." ? e : e.substr(0, e.size() - 1));
    else
        accept();
}

CMouseEventResult CFileChooser::contentMouse(CDrawContext*, const CPoint& where, long) {
    for (int i = scroll; i < int(entries.size()) && i < scroll + visibleRows(); ++i) {
        if (!entryRect(i).pointInside(where)) continue;
        uint32_t now = platform::tickCount();
        bool twice = i == lastClickIndex && now - lastClickTime < kDoubleClickMs;
        lastClickIndex = twice ? -1 : i;
        lastClickTime = now;
        select(i);
        if (twice) activate(i);
        break;
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CFileChooser::contentKey(VstKeyCode& key) {
    switch (key.virt) {
        case VKEY_UP: select(std::max(0, selected - 1)); return true;
        case VKEY_DOWN: select(std::min(int(entries.size()) - 1, selected + 1)); return true;
        case VKEY_RETURN:
        case VKEY_ENTER:
            if (selected >= 0 && (entries[selected] == ".." || entries[selected].back() == '/'))
                activate(selected);
            else
                accept();
            return true;
        default: break;
    }
    if (mode == kSave && nameField.key(key)) {
        redraw();
        return true;
    }
    return false;
}

bool CFileChooser::contentWheel(float distance) {
    int maxScroll = std::max(0, int(entries.size()) - visibleRows());
    scroll = std::clamp(scroll - int(distance * 3), 0, maxScroll);
    return true;
}

void CFileChooser::accept() {
    std::string name = nameField.text;
    if (name.empty()) return;  // nothing chosen yet
    if (name.find('/') != std::string::npos) {
        platform::showMessage("A file name cannot contain \"/\": \"" + name + "\".");
        return;
    }
    if (mode == kSave && !extensions.empty() && !matches(name)) name += "." + extensions.front();
    std::error_code ec;
    fs::path path = fs::path(folder) / name;
    if (mode == kOpen && !fs::is_regular_file(path, ec)) {
        const bool there = fs::exists(fs::symlink_status(path, ec));
        platform::showMessage("Cannot open \"" + name + "\": " +
                              (there ? "it is not a readable file." : "there is no such file."));
        return;
    }
    close();
    if (callback) callback(true, path.string());
}

void CFileChooser::buttonPressed(int index) {
    if (index == 0) {
        if (selected >= 0 && (entries[selected] == ".." || entries[selected].back() == '/') &&
            mode == kOpen)
            activate(selected);
        else
            accept();
        return;
    }
    close();
    if (callback) callback(false, std::string());
}

}  // namespace VSTGUI
