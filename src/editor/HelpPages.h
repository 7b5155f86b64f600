// Which page of the help screen explains a control: one page number (1..22,
// 0 for none) per tag 0..999. Tags outside that range have no page.
#pragma once

namespace editor {

class HelpPages {
public:
    static constexpr int kTags = 1000;
    static constexpr int kPages = 22;

    HelpPages();
    int pageOf(long tag) const { return tag >= 0 && tag < kTags ? pages[tag] : 0; }

private:
    unsigned char pages[kTags] = {};
};

}  // namespace editor
