// brennix-artgen: draws every image of the editor into resources/images.
//
//   brennix-artgen DIR               write the images and the artwork map into DIR
//   brennix-artgen --check DIR       exit 1 (naming them) if DIR's files differ
//   brennix-artgen --preview DIR OUT write composed views of the images in DIR to OUT
//
// The output depends only on this source, the control layout and Debian's
// DejaVu fonts, cairo and FreeType; nothing random, no time stamps.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "Artwork.h"
#include "Preview.h"

namespace {
using namespace artgen;

constexpr const char* kMapFile = "artwork-map.txt";

std::string mapText(const std::vector<ImagePlan>& plans, const std::map<int, Drawn>& drawn) {
    std::ostringstream out;
    out << "# Written by brennix-artgen: the panels, section titles and labels printed on each\n"
           "# background, as IMAGE KIND LEFT TOP RIGHT BOTTOM TEXT in the image's own pixels\n"
           "# (right and bottom exclusive). The tests check them against the control layout.\n";
    for (const ImagePlan& plan : plans)
        for (const MapItem& item : drawn.at(plan.id).map)
            out << item.image << ' ' << item.kind << ' ' << item.rect.left << ' ' << item.rect.top << ' '
                << item.rect.right << ' ' << item.rect.bottom << ' ' << item.text << '\n';
    return out.str();
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int usage() {
    std::fprintf(stderr, "usage: brennix-artgen DIR | --check DIR | --preview DIR OUTDIR\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    bool preview = argc == 4 && std::strcmp(argv[1], "--preview") == 0;
    if (!(argc == 2 && argv[1][0] != '-') && !check && !preview) return usage();
    std::string dir = argv[argc == 2 ? 1 : 2];

    std::vector<ImagePlan> plans = artwork();
    if (preview) {
        std::map<int, Pixels> images;
        for (const ImagePlan& plan : plans)
            if (!readPng(dir + "/" + plan.file, images[plan.id])) {
                std::fprintf(stderr, "brennix-artgen: cannot read %s/%s\n", dir.c_str(), plan.file.c_str());
                return 1;
            }
        if (!writePreviews(images, argv[3])) {
            std::fprintf(stderr, "brennix-artgen: cannot write the previews into %s\n", argv[3]);
            return 1;
        }
        return 0;
    }

    std::string error;
    if (!loadFonts(error)) {
        std::fprintf(stderr, "brennix-artgen: %s\n", error.c_str());
        return 1;
    }
    std::map<int, Drawn> drawn;
    for (const ImagePlan& plan : plans) drawn[plan.id] = plan.draw();
    std::string map = mapText(plans, drawn);

    int stale = 0;
    for (const ImagePlan& plan : plans) {
        std::string path = dir + "/" + plan.file;
        const Pixels& now = drawn[plan.id].pixels;
        if (check) {
            // Compare pixels, not bytes, so another zlib cannot make a file look stale.
            Pixels committed;
            if (!readPng(path, committed) || committed.width != now.width || committed.height != now.height ||
                committed.hasAlpha != now.hasAlpha || committed.rgba != now.rgba) {
                std::printf("stale: %s\n", plan.file.c_str());
                ++stale;
            }
        } else if (!writeFile(path, encodePng(now))) {
            std::fprintf(stderr, "brennix-artgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::string mapPath = dir + "/" + kMapFile;
    if (check) {
        if (readText(mapPath) != map) {
            std::printf("stale: %s\n", kMapFile);
            ++stale;
        }
        if (stale) {
            std::printf("%d file(s) differ from what brennix-artgen draws; run it to update them\n", stale);
            return 1;
        }
        std::printf("all %zu images and the artwork map are current\n", plans.size());
        return 0;
    }
    std::ofstream out(mapPath, std::ios::binary | std::ios::trunc);
    out << map;
    return out ? 0 : 1;
}
