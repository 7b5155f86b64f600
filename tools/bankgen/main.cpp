// bankgen: turns the readable factory bank source into the bank image that is
// compiled into the plug-in (resource BANK 10200).
//
//   bankgen SOURCE.txt OUTPUT.fxb
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "FactorySource.h"
#include "params/BankFormat.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bankgen SOURCE.txt OUTPUT.fxb\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "bankgen: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto bank = std::make_unique<bankfile::BankImage>();
    std::string error;
    if (!bankgen::readFactorySource(text, argv[1], *bank, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = bankfile::writeBank(*bank, bankfile::Layout::Factory);
    // The plug-in's own reader must accept what we ship.
    auto check = std::make_unique<bankfile::BankImage>();
    error = bankfile::parseBank(bytes.data(), bytes.size(), *check);
    if (!error.empty() || check->count != bankfile::kMaxPrograms) {
        std::fprintf(stderr, "bankgen: the image does not read back: %s\n", error.c_str());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "bankgen: cannot write %s\n", argv[2]);
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
