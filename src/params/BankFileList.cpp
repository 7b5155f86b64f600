#include "params/BankFileList.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

void BankFileList::clear() {
    paths.assign(1, "None");
    names.assign(1, "None");
}

void BankFileList::build(const std::string& directory) {
    clear();
    static const std::string kExtension = ".fxb";
    std::vector<std::string> files;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() <= kExtension.size() ||
                name.compare(name.size() - kExtension.size(), kExtension.size(), kExtension) != 0)
                continue;
            struct stat info {};
            // Follows links: a link to a bank file counts, a directory does not.
            if (stat((directory + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
            files.push_back(name);
        }
        closedir(dir);
    }
    // The system's order differs between file systems; a sorted list reads the same everywhere.
    std::sort(files.begin(), files.end());
    for (const std::string& name : files) {
        if (count() >= kCapacity) break;
        paths.push_back(directory + name);
        names.push_back(name.substr(0, name.size() - kExtension.size()));
    }
}
