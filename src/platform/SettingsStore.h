// Per-user settings kept in a small text file in the user's configuration
// directory: one section of named strings and a "Midi" section of controller
// bindings. A missing or unreadable file, section or value reads as empty or 0.
// Every write replaces the whole file atomically (temporary file, then rename).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class SettingsStore {
public:
    // An empty path selects the default location.
    explicit SettingsStore(std::string path = std::string());

    std::string readSetting(const std::string& name) const;
    void writeSetting(const std::string& text, const std::string& name);

    uint32_t readBinding(int controller) const;
    void writeBinding(uint32_t parameter, int controller);
    // Several bindings in one replacement of the file: (controller, parameter) pairs.
    void writeBindings(const std::vector<std::pair<int, uint32_t>>& bindings);

    const std::string& path() const { return path_; }

    static std::string defaultPath();

private:
    using Section = std::map<std::string, std::string>;
    using Sections = std::map<std::string, Section>;

    std::string read(const std::string& section, const std::string& name) const;
    void write(const std::string& section, const std::string& name, const std::string& value);
    Sections load() const;
    // The parsed file, read again only when the file changed: construction
    // reads some 140 values, and hosts build many instances while scanning.
    const Sections& loadCached() const;
    bool save(const Sections& sections) const;

    std::string path_;
    mutable Sections cached;
    mutable std::string cachedIdentity;  // file identity and time of `cached`; empty: none
};

// The user's home directory: $HOME, else the password database, else "/".
std::string homeDirectory();

}  // namespace platform
