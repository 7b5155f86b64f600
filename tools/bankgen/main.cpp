// bankgen: turns the readable factory bank source into the bank image that is
// compiled into the plug-in (resource BANK 10200), and writes the
// documentation's program list from the same source.
//
//   bankgen SOURCE.txt OUTPUT.fxb          the bank image
//   bankgen --list SOURCE.txt LIST.md      the program list (docs/programs.md)
//   bankgen --check-list SOURCE.txt LIST.md
//                                          exit 1 if LIST.md is not what --list writes
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "FactorySource.h"
#include "ProgramList.h"
#include "params/BankFormat.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: bankgen SOURCE.txt OUTPUT.fxb\n"
                 "       bankgen --list SOURCE.txt LIST.md\n"
                 "       bankgen --check-list SOURCE.txt LIST.md\n");
    return 2;
}

bool readFile(const char* path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const char* path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), std::streamsize(size));
    out.close();
    if (out) return true;
    std::fprintf(stderr, "bankgen: cannot write %s\n", path);
    std::remove(path);
    return false;
}

int writeImage(const bankfile::BankImage& bank, const char* path) {
    const std::vector<uint8_t> bytes = bankfile::writeBank(bank, bankfile::Layout::Factory);
    // The plug-in's own reader must accept what we ship.
    auto check = std::make_unique<bankfile::BankImage>();
    const std::string error = bankfile::parseBank(bytes.data(), bytes.size(), *check);
    if (!error.empty() || check->count != bankfile::kMaxPrograms) {
        std::fprintf(stderr, "bankgen: the image does not read back: %s\n", error.c_str());
        return 1;
    }
    return writeFile(path, bytes.data(), bytes.size()) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    enum class Mode { Image, List, CheckList } mode = Mode::Image;
    if (argc == 4 && std::strcmp(argv[1], "--list") == 0)
        mode = Mode::List;
    else if (argc == 4 && std::strcmp(argv[1], "--check-list") == 0)
        mode = Mode::CheckList;
    else if (argc != 3 || argv[1][0] == '-')
        return usage();
    const char* sourcePath = argv[argc - 2];
    const char* outputPath = argv[argc - 1];

    std::string text;
    if (!readFile(sourcePath, text)) {
        std::fprintf(stderr, "bankgen: cannot read %s\n", sourcePath);
        return 1;
    }
    auto bank = std::make_unique<bankfile::BankImage>();
    std::vector<bankgen::ProgramNotes> notes;
    std::string error;
    if (!bankgen::readFactorySource(text, sourcePath, *bank, error, &notes)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (mode == Mode::Image) return writeImage(*bank, outputPath);

    const std::string list = bankgen::programList(notes, *bank);
    if (mode == Mode::List) return writeFile(outputPath, list.data(), list.size()) ? 0 : 1;
    std::string committed;
    if (!readFile(outputPath, committed) || committed != list) {
        std::printf("stale: %s is not what 'bankgen --list %s %s' writes; run it to update the list\n",
                    outputPath, sourcePath, outputPath);
        return 1;
    }
    std::printf("%s is current\n", outputPath);
    return 0;
}
