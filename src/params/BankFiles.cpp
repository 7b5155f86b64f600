// "Load Bank", "Save Bank", "Load Preset", "Save Preset".
//
// A loaded bank replaces programs 1 .. n of the bank, n being the number of
// programs in the file (128 for a whole bank; the built-in image's habit of
// declaring 127 while carrying 128 is understood); the programs after them
// keep their sounds. A loaded preset replaces the current program. Either way
// the current program is then installed again, so that it sounds and its
// original snapshot ("Orig") is the loaded sound. The whole file is checked
// first: a file that cannot be used is refused and changes nothing.
#include <cstring>
#include <memory>

#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "params/BankFormat.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"

namespace {
// Larger than any bank, so that a file a little too long or of the other kind
// is refused by the layout check, which says what is wrong with it.
constexpr size_t kMaxFileSize = 4 * bankfile::kFullBankSize;

void refuse(const char* action, const std::string& path, const std::string& reason) {
    platform::showMessage(std::string(action) + " \"" + platform::fileNameOf(path) + "\": " +
                          reason + ".");
}

void valuesToImage(const ProgramRecord& record, bankfile::ProgramImage& image) {
    for (int i = 0; i < bankfile::kParams; ++i) image.values[i] = record.recordValues[i];
}

void valuesFromImage(const bankfile::ProgramImage& image, ProgramRecord& record) {
    for (int i = 0; i < bankfile::kParams; ++i) record.recordValues[i] = image.values[i];
}

bool writeOrRefuse(const char* action, const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string error;
    if (platform::writeFileAtomically(path, bytes.data(), bytes.size(), error)) return true;
    refuse(action, path, error);
    return false;
}
}  // namespace

bool APlugin::loadBank(const std::string& path) {
    static constexpr const char* kAction = "Cannot load the bank";
    std::vector<uint8_t> bytes;
    std::string error;
    if (!platform::readFile(path, kMaxFileSize, bytes, error)) {
        refuse(kAction, path, error);
        return false;
    }
    auto image = std::make_unique<bankfile::BankImage>();
    error = bankfile::parseBank(bytes.data(), bytes.size(), *image);
    if (!error.empty()) {
        refuse(kAction, path, error);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        for (int p = 0; p < image->count; ++p) std::strcpy(programs[p].recordName, image->programs[p].name);
    }
    changePrograms([&] {
        for (int p = 0; p < image->count; ++p) valuesFromImage(image->programs[p], programs[p]);
        installProgram(curProgram);
    });
    deliverNotices();
    return true;
}

bool APlugin::saveBank(const std::string& path) {
    auto image = std::make_unique<bankfile::BankImage>();
    image->count = kNumPrograms;
    changes.readWhole([&] {
        for (int p = 0; p < kNumPrograms; ++p) valuesToImage(programs[p], image->programs[p]);
    });
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        for (int p = 0; p < kNumPrograms; ++p)
            params::applyNameRule(programs[p].recordName, image->programs[p].name);
    }
    return writeOrRefuse("Cannot save the bank", path, bankfile::writeBank(*image));
}

bool APlugin::loadPreset(const std::string& path) {
    static constexpr const char* kAction = "Cannot load the preset";
    std::vector<uint8_t> bytes;
    std::string error;
    if (!platform::readFile(path, kMaxFileSize, bytes, error)) {
        refuse(kAction, path, error);
        return false;
    }
    auto image = std::make_unique<bankfile::ProgramImage>();
    error = bankfile::parseProgram(bytes.data(), bytes.size(), *image);
    if (!error.empty()) {
        refuse(kAction, path, error);
        return false;
    }
    int target = 0;
    changePrograms([&] {
        target = curProgram;
        valuesFromImage(*image, programs[target]);
        installProgram(target);
    });
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        std::strcpy(programs[target].recordName, image->name);
    }
    notices.raise(DisplayNotices::kEditorName);
    deliverNotices();  // tells the host and the editor, name included
    return true;
}

bool APlugin::savePreset(const std::string& path) {
    auto image = std::make_unique<bankfile::ProgramImage>();
    int current = 0;
    changes.readWhole([&] {
        current = curProgram;
        valuesToImage(programs[current], *image);
    });
    {
        std::lock_guard<std::mutex> lock(nameMutex);
        params::applyNameRule(programs[current].recordName, image->name);
    }
    return writeOrRefuse("Cannot save the preset", path, bankfile::writeProgram(*image));
}
