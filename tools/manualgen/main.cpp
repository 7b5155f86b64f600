// brennix-manualgen: the generated part of the HTML manual in docs/manual.
//
//   brennix-manualgen DIR          writes DIR/KVMN_UK/images/*.png and
//                                  DIR/KVMN_UK/KVMN_09_BANK.html
//   brennix-manualgen --check DIR  exit 1 (naming them) if DIR's files differ
//
// The pictures are the editor itself: a plug-in built here, its editor opened
// without a window, driven by the frame's own mouse events and rendered to its
// back buffer (the panel, each page, every FX section, the help and about
// screens, two menus). The bank page lists the factory bank's programs by
// category, read from the bank compiled into the plug-in. The plug-in runs on
// settings of its own in a temporary folder, so the user's never show.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "BankPage.h"
#include "EditorPictures.h"
#include "PngFile.h"

namespace fs = std::filesystem;

namespace {
constexpr const char* kLanguageDir = "KVMN_UK";
constexpr const char* kBankPage = "KVMN_09_BANK.html";
// Pictures may differ this much between machines (text antialiasing) and
// still count as current: share of pixels with a channel off by more than 8.
constexpr double kPixelTolerance = 0.005;

int usage() {
    std::fprintf(stderr, "usage: brennix-manualgen DIR | --check DIR\n");
    return 2;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool samePicture(const artgen::Pixels& a, const artgen::Pixels& b) {
    if (a.width != b.width || a.height != b.height) return false;
    size_t differing = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(int(a.rgba[i + c]) - int(b.rgba[i + c])) > 8) {
                ++differing;
                break;
            }
    }
    return double(differing) <= kPixelTolerance * a.width * a.height;
}
}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (!check && !(argc == 2 && argv[1][0] != '-')) return usage();
    const fs::path dir = fs::path(argv[argc - 1]) / kLanguageDir;

    char settingsDir[] = "/tmp/brennix-manualgen-XXXXXX";
    if (!mkdtemp(settingsDir)) {
        std::perror("brennix-manualgen: temporary settings folder");
        return 1;
    }
    setenv("XDG_CONFIG_HOME", settingsDir, 1);

    std::vector<manual::Picture> pictures;
    std::string bankPage;
    {
        manual::EditorPictures editor;
        if (!editor.ready()) {
            std::fprintf(stderr, "brennix-manualgen: the editor does not open\n");
            return 1;
        }
        pictures = editor.all();
        bankPage = manual::bankPage(editor.plugin());
    }
    fs::remove_all(settingsDir);

    int stale = 0;
    std::error_code ec;
    if (!check) fs::create_directories(dir / "images", ec);
    for (const manual::Picture& p : pictures) {
        const std::string path = (dir / "images" / p.file).string();
        if (check) {
            artgen::Pixels committed;
            if (!artgen::readPng(path, committed) || !samePicture(committed, p.pixels)) {
                std::printf("stale: %s\n", path.c_str());
                ++stale;
            }
        } else if (!artgen::writeFile(path, artgen::encodePng(p.pixels))) {
            std::fprintf(stderr, "brennix-manualgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::string pagePath = (dir / kBankPage).string();
    if (check) {
        if (readText(pagePath) != bankPage) {
            std::printf("stale: %s\n", pagePath.c_str());
            ++stale;
        }
        if (stale) {
            std::printf("%d file(s) differ from what brennix-manualgen makes; run it to update them\n", stale);
            return 1;
        }
        std::printf("all %zu pictures and the bank page are current\n", pictures.size());
        return 0;
    }
    std::ofstream out(pagePath, std::ios::binary | std::ios::trunc);
    out << bankPage;
    return out ? 0 : 1;
}
