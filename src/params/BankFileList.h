// The bank files (*.fxb) in the bank directory. Entry 0 is "None"; entry k
// holds the full path and the display name (file name without ".fxb") of the
// k-th file. The list has 128 entries at most; further files are left out.
#pragma once

#include <string>
#include <vector>

class BankFileList {
public:
    static constexpr int kCapacity = 128;

    BankFileList() { clear(); }

    // Lists the regular files of `directory` (ending in '/') whose names end in
    // ".fxb" (case-sensitive), sorted by name.
    void build(const std::string& directory);

    int count() const { return static_cast<int>(paths.size()); }
    const std::string& path(int k) const { return paths[clampIndex(k)]; }
    const std::string& displayName(int k) const { return names[clampIndex(k)]; }

private:
    void clear();
    int clampIndex(int k) const { return k < 0 || k >= count() ? 0 : k; }

    std::vector<std::string> paths;
    std::vector<std::string> names;
};
