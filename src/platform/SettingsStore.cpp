#include "platform/SettingsStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "platform/FileIO.h"

namespace platform {
namespace {

constexpr const char* kMainSection = "BrennixDemo";
constexpr const char* kMidiSection = "Midi";
constexpr const char* kHeader = "# Brennix settings";
// Far more than 128 bindings and a few paths need; anything larger is not ours.
constexpr size_t kMaxFileSize = 1 << 20;

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
    std::vector<uint8_t> bytes;
    std::string error;
    if (!readFile(path_, kMaxFileSize, bytes, error)) return sections;
    std::string text(bytes.begin(), bytes.end());
    // A file that does not start with our header, or holds binary bytes, is
    // damaged or not ours: it reads as empty, like a missing registry key, and
    // the next write replaces it.
    if (text.compare(0, std::string(kHeader).size(), kHeader) != 0 ||
        text.find('\0') != std::string::npos)
        return sections;
    std::istringstream in(text);
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
        // Lines that do not parse are ignored and read as missing values.
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
    std::string data = text.str();
    std::string error;
    return writeFileAtomically(path_, data.data(), data.size(), error);
}

const SettingsStore::Sections& SettingsStore::loadCached() const {
    struct stat st {};
    std::string identity;
    if (::stat(path_.c_str(), &st) == 0)
        identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) +
                   ":" + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
    else
        identity = "missing";
    if (identity != cachedIdentity) {
        cached = load();
        cachedIdentity = identity;
    }
    return cached;
}

std::string SettingsStore::read(const std::string& section, const std::string& name) const {
    std::lock_guard<std::mutex> lock(fileMutex());
    const Sections& sections = loadCached();
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
