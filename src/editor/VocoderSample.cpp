// The vocoder's sample caption in the FX section, and the "Bank Loader"
// chooser a click on it opens (WAV and AIFF files, from the sample folder or
// the folder of the sample chosen last).
#include <unistd.h>

#include <filesystem>

#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"
#include "widgets/overlays/CFileChooser.h"

using namespace VSTGUI;

std::string uEditor::vocoderSampleName() const {
    if (!plugin) return "None";
    char caption[300] = {};
    plugin->sampleNameText(caption, sizeof caption);
    return caption;
}

void uEditor::chooseVocoderSample() {
    if (!frame || !plugin) return;
    namespace fs = std::filesystem;
    const std::string& last = plugin->lastChosenSample();
    std::error_code ec;
    const fs::path lastFolder = fs::path(last).parent_path();
    const bool fromLast = !last.empty() && fs::is_directory(lastFolder, ec);
    const std::string folder = fromLast ? lastFolder.string() : plugin->sampleDir();
    const std::string file = fromLast ? fs::path(last).filename().string() : std::string();
    CFileChooser::show(
        frame, CFileChooser::kOpen, "Bank Loader", folder, {"wav", "aif", "aiff"},
        [this](bool ok, const std::string& path) {
            if (!ok || !plugin) return;
            if (!plugin->chooseSample(path)) {
                uint64_t size = 0;
                std::string reason;
                const int fd = platform::openRegularFile(path, size, reason);
                if (fd >= 0) ::close(fd);
                if (reason.empty()) reason = "it cannot be read";
                platform::showMessage("Cannot use the sample \"" + platform::fileNameOf(path) + "\": " + reason +
                                      ".");
                return;
            }
            if (CControl* caption = registry.withRole(layout::Role::SampleName))
                showValue(*registry.find(caption));
        },
        file);
}
