// brennix-demosong: writes the demo piece that ./demo.sh renders.
//
//   brennix-demosong FILE.mid           write resources/demo/brennix-demo.mid
//   brennix-demosong --check FILE.mid   exit 1 if FILE.mid is not what it writes
//
// The piece and the programs it walks through are described in DemoSong.cpp;
// the output depends on nothing but that source, so it is reproducible.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "DemoSong.h"
#include "SmfWriter.h"

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (!check && !(argc == 2 && argv[1][0] != '-')) {
        std::fprintf(stderr, "usage: brennix-demosong FILE.mid | --check FILE.mid\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const std::vector<uint8_t> bytes = demosong::standardMidiFile(demosong::demoSong());
    if (check) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (committed != bytes) {
            std::printf("stale: %s is not what brennix-demosong writes; run 'brennix-demosong %s'\n", path, path);
            return 1;
        }
        std::printf("%s is current\n", path);
        return 0;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "brennix-demosong: cannot write %s\n", path);
        std::remove(path);
        return 1;
    }
    return 0;
}
