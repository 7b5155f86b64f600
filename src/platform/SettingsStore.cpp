#include "platform/SettingsStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace platform {
namespace {

constexpr const char* kMainSection = "BrennixDemo";
constexpr const char* kMidiSection = "Midi";
constexpr const char* kHeader = "# Brennix settings";

// Several plug-in instances in one host share the file.
std::mutex& fileMutex() {
    static std::mutex m;
    return m;
}

std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

void makeDirectories(const std::string& dir) {
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            std::string part = dir.substr(0, pos);
            if (!part.empty()) mkdir(part.c_str(), 0755);
        }
    }
}

}  // namespace

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return "/";
}

std::string SettingsStore::defaultPath() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        base = xdg;
    else
        base = homeDirectory() + "/.config";
    return base + "/Ardeko/BrennixDemo/settings.ini";
}

SettingsStore::SettingsStore(std::string path) : path_(path.empty() ? defaultPath() : path) {}

SettingsStore::Sections SettingsStore::load() const {
    Sections sections;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return sections;
    std::string line;
    std::string current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        size_t eq = line.find('=');
        // Lines that do not parse are ignored, so a damaged file reads as empty values.
        if (current.empty() || eq == std::string::npos || eq == 0) continue;
        sections[current][line.substr(0, eq)] = unescape(line.substr(eq + 1));
    }
    return sections;
}

bool SettingsStore::save(const Sections& sections) const {
    size_t slash = path_.rfind('/');
    if (slash != std::string::npos) makeDirectories(path_.substr(0, slash));
    std::ostringstream text;
    text << kHeader << "\n";
    for (const auto& [section, values] : sections) {
        text << "[" << section << "]\n";
        for (const auto& [name, value] : values) text << name << "=" << escape(value) << "\n";
    }
    std::string tmp = path_ + ".tmp." + std::to_string(getpid());
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    std::string data = text.str();
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (fsync(fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(tmp.c_str(), path_.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

std::string SettingsStore::read(const std::string& section, const std::string& name) const {
    std::lock_guard<std::mutex> lock(fileMutex());
    Sections sections = load();
    auto s = sections.find(section);
    if (s == sections.end()) return {};
    auto v = s->second.find(name);
    return v == s->second.end() ? std::string() : v->second;
}

void SettingsStore::write(const std::string& section, const std::string& name,
                          const std::string& value) {
    std::lock_guard<std::mutex> lock(fileMutex());
    Sections sections = load();
    sections[section][name] = value;
    save(sections);  // failures are ignored, as with the registry
}

std::string SettingsStore::readSetting(const std::string& name) const {
    return read(kMainSection, name);
}

void SettingsStore::writeSetting(const std::string& text, const std::string& name) {
    write(kMainSection, name, text);
}

uint32_t SettingsStore::readBinding(int controller) const {
    std::string v = read(kMidiSection, std::to_string(controller));
    if (v.empty()) return 0;
    char* end = nullptr;
    errno = 0;
    unsigned long n = std::strtoul(v.c_str(), &end, 10);
    if (errno != 0 || end == v.c_str() || *end != 0 || n > 0xFFFFFFFFul) return 0;
    return static_cast<uint32_t>(n);
}

void SettingsStore::writeBinding(uint32_t parameter, int controller) {
    write(kMidiSection, std::to_string(controller), std::to_string(parameter));
}

}  // namespace platform

namespace platform {
void SettingsStore::writeBindings(const std::vector<std::pair<int, uint32_t>>& bindings) {
    if (bindings.empty()) return;
    std::lock_guard<std::mutex> lock(fileMutex());
    Sections sections = load();
    for (const auto& [controller, parameter] : bindings)
        sections[kMidiSection][std::to_string(controller)] = std::to_string(parameter);
    save(sections);
}
}  // namespace platform
