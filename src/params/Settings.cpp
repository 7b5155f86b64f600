// Reading the user's directories and manual location at construction.
#include "host/APlugin.h"

namespace {
std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}
}  // namespace

void APlugin::readSettings() {
    // An unset directory becomes the home directory and is written back.
    auto directory = [this](const char* name) {
        std::string dir = settings.readSetting(name);
        if (dir.empty()) {
            dir = platform::homeDirectory();
            settings.writeSetting(dir, name);
        }
        return dir;
    };
    bankDirectory = withSlash(directory("BankDir"));
    presetDirectory = directory("PresetDir");
    sampleDirectory = directory("SampleDir");
    sampleBaseDirectory = withSlash(sampleDirectory);
    ecsDirectory = directory("ECSDir");
    arpDirectory = directory("ArpDir");

    manualPath = settings.readSetting("Help") + "/";
    std::string language = settings.readSetting("Language");
    if (language == "en")
        manualPath += "KVMN_UK/KVMN_00_NDX.html";
    else if (language == "fr")
        manualPath += "KVMN_FR/KVMN_00_NDX.html";
    else if (language == "de")
        manualPath += "KVMN_DE/KVMN_00_NDX.html";
}
