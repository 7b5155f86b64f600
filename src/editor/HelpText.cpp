#include "editor/HelpText.h"

#include "editor/brennixHelpScreen.h"
#include "platform/Resources.h"

namespace editor {

const std::vector<HelpBlock>& helpText() {
    static const std::vector<HelpBlock> blocks = [] {
        platform::Resource text = platform::findResource("HELP", 1);
        return brennixHelpScreen::parseBlocks(text ? reinterpret_cast<const char*>(text.data) : "");
    }();
    return blocks;
}

}  // namespace editor
