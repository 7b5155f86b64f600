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

void toImage(const ProgramRecord& record, bankfile::ProgramImage& image) {
    params::applyNameRule(record.recordName, image.name);
    for (int i = 0; i < bankfile::kParams; ++i) image.values[i] = record.recordValues[i];
}

void fromImage(const bankfile::ProgramImage& image, ProgramRecord& record) {
    for (int i = 0; i < bankfile::kParams; ++i) record.recordValues[i] = image.values[i];
    std::strcpy(record.recordName, image.name);
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
    for (int p = 0; p < image->count; ++p) fromImage(image->programs[p], programs[p]);
    setProgram(curProgram);
    return true;
}

bool APlugin::saveBank(const std::string& path) {
    auto image = std::make_unique<bankfile::BankImage>();
    image->count = kNumPrograms;
    for (int p = 0; p < kNumPrograms; ++p) toImage(programs[p], image->programs[p]);
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
    fromImage(*image, programs[curProgram]);
    setProgram(curProgram);  // tells the host and the editor, name included
    if (ownedEditor) ownedEditor->updateProgramName();
    return true;
}

bool APlugin::savePreset(const std::string& path) {
    auto image = std::make_unique<bankfile::ProgramImage>();
    toImage(programs[curProgram], *image);
    return writeOrRefuse("Cannot save the preset", path, bankfile::writeProgram(*image));
}
