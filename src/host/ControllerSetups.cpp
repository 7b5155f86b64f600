// "Load ECS" and "Save ECS": the MIDI controller bindings to and from a file.
#include "host/APlugin.h"
#include "params/ControllerSetupFile.h"
#include "platform/FileIO.h"
#include "platform/MessageBox.h"

namespace {
void refuse(const char* action, const std::string& path, const std::string& reason) {
    platform::showMessage(std::string(action) + " \"" + platform::fileNameOf(path) + "\": " +
                          reason + ".");
}
}  // namespace

bool APlugin::loadControllerSetup(const std::string& path) {
    static constexpr const char* kAction = "Cannot load the controller setup";
    std::vector<uint8_t> bytes;
    std::string error;
    if (!platform::readFile(path, userfiles::kMaxControllerSetupSize, bytes, error)) {
        refuse(kAction, path, error);
        return false;
    }
    int32_t bindings[userfiles::kControllers];
    error = userfiles::parseControllerSetup(std::string(bytes.begin(), bytes.end()), bindings);
    if (!error.empty()) {
        refuse(kAction, path, error);
        return false;
    }
    // Like learning, the new bindings are kept in the settings at once.
    for (int c = 0; c < userfiles::kControllers; ++c) {
        controllerMap[c] = bindings[c];
        bindingWriter->markChanged(c);
    }
    bindingWriter->flush();
    return true;
}

bool APlugin::saveControllerSetup(const std::string& path) {
    int32_t bindings[userfiles::kControllers];
    for (int c = 0; c < userfiles::kControllers; ++c) bindings[c] = controllerMap[c];
    const std::string text = userfiles::formatControllerSetup(bindings, params.values);
    std::string error;
    if (platform::writeFileAtomically(path, text.data(), text.size(), error)) return true;
    refuse("Cannot save the controller setup", path, error);
    return false;
}
