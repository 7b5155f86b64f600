// brennix-settings: sets the plug-in's settings where they are still empty,
// so that an installer never overwrites what the user chose.
//
//   brennix-settings --default NAME=VALUE [--default NAME=VALUE ...]
//
// Prints each value it set. Exit status 0, or 2 for a bad command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/SettingsStore.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: brennix-settings --default NAME=VALUE [--default NAME=VALUE ...]\n");
        return 2;
    }
    platform::SettingsStore settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string pair = argv[i + 1];
        const size_t equals = pair.find('=');
        if (std::strcmp(argv[i], "--default") != 0 || equals == 0 || equals == std::string::npos) {
            std::fprintf(stderr, "brennix-settings: expected --default NAME=VALUE, got %s %s\n", argv[i], argv[i + 1]);
            return 2;
        }
        const std::string name = pair.substr(0, equals), value = pair.substr(equals + 1);
        if (!settings.readSetting(name).empty()) continue;
        settings.writeSetting(value, name);
        std::printf("%s = %s\n", name.c_str(), value.c_str());
    }
    return 0;
}
