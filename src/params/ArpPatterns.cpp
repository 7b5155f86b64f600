// The arpeggiator pattern commands: "Load Arp", "Save Arp", "Copy Arp",
// "Paste Arp", "Clear Arp". A pattern is the block "Arp Steps" .. "Arp Latch".
#include "host/APlugin.h"
#include "params/ArpPatternFile.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"

namespace {
void refuse(const char* action, const std::string& path, const std::string& reason) {
    platform::showMessage(std::string(action) + " \"" + platform::fileNameOf(path) + "\": " +
                          reason + ".");
}
}  // namespace

void APlugin::copyArp() {
    changes.readWhole([&] {
        for (int i = 0; i < ArpClipboard::kCount; ++i)
            arpClipboard.values[i] = params.values[ArpClipboard::kFirst + i];
    });
    arpClipboard.filled = true;
}

void APlugin::pasteArp() {
    if (!arpClipboard.filled) return;
    setArpBlock(arpClipboard.values);
}

void APlugin::clearArp() { setArpBlock(params.defaultValue + ArpClipboard::kFirst); }

void APlugin::setArpBlock(const float* values) {
    // One change, so that the pattern lands whole in one program.
    changePrograms([&] {
        for (int i = 0; i < ArpClipboard::kCount; ++i) writeParameter(ArpClipboard::kFirst + i, values[i]);
    });
    deliverNotices();
}

bool APlugin::loadArpPattern(const std::string& path) {
    static constexpr const char* kAction = "Cannot load the arp pattern";
    std::vector<uint8_t> bytes;
    std::string error;
    if (!platform::readFile(path, userfiles::kMaxArpPatternSize, bytes, error)) {
        refuse(kAction, path, error);
        return false;
    }
    float values[userfiles::kArpCount];
    error = userfiles::parseArpPattern(std::string(bytes.begin(), bytes.end()), values);
    if (!error.empty()) {
        refuse(kAction, path, error);
        return false;
    }
    static_assert(userfiles::kArpFirst == ArpClipboard::kFirst && userfiles::kArpCount == ArpClipboard::kCount);
    setArpBlock(values);
    return true;
}

bool APlugin::saveArpPattern(const std::string& path) {
    float values[userfiles::kArpCount];
    changes.readWhole([&] {
        for (int i = 0; i < userfiles::kArpCount; ++i) values[i] = params.values[userfiles::kArpFirst + i];
    });
    const std::string text = userfiles::formatArpPattern(values, params.values);
    std::string error;
    if (platform::writeFileAtomically(path, text.data(), text.size(), error)) return true;
    refuse("Cannot save the arp pattern", path, error);
    return false;
}
