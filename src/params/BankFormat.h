// The VST 2 bank (.fxb) and program (.fxp) file layout in its parameter form:
// 'CcnK' chunks with big-endian numbers and 799 float values per program.
// Parsing checks a whole file into a complete in-memory image before anything
// uses it, so that a bad file is refused without changing a single program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bankfile {

constexpr int kParams = 799;
constexpr int kMaxPrograms = 128;
constexpr size_t kBankHeaderSize = 156;
constexpr size_t kProgramHeaderSize = 56;
constexpr size_t kProgramSize = kProgramHeaderSize + 4 * kParams;  // 3252
constexpr size_t kNameField = 28;
constexpr size_t kFullBankSize = kBankHeaderSize + kMaxPrograms * kProgramSize;  // 416,412

constexpr uint32_t fourCC(const char (&id)[5]) {
    return uint32_t(uint8_t(id[0])) << 24 | uint32_t(uint8_t(id[1])) << 16 |
           uint32_t(uint8_t(id[2])) << 8 | uint32_t(uint8_t(id[3]));
}
constexpr uint32_t kChunkMagic = fourCC("CcnK");
constexpr uint32_t kBankMagic = fourCC("FxBk");
constexpr uint32_t kProgramMagic = fourCC("FxCk");
constexpr uint32_t kOpaqueBankMagic = fourCC("FBCh");
constexpr uint32_t kOpaqueProgramMagic = fourCC("FPCh");
constexpr uint32_t kPluginId = fourCC("zkVQ");

struct ProgramImage {
    char name[25] = {};        // after the name rule
    float values[kParams] = {};  // finite, 0 .. 1
};

struct BankImage {
    int count = 0;  // programs present, 1 .. 128; they replace programs 0 .. count - 1
    ProgramImage programs[kMaxPrograms];
};

enum class Layout {
    // What VST 2 tools expect: byteSize = size - 8, numPrograms = the programs written.
    Standard,
    // The built-in factory image: 128 programs whose size fields are those of
    // 800-value programs (byteSize 3248 each, 416,916 for the bank) and whose
    // numPrograms reads 127. Its reader relies on the fixed layout instead.
    Factory,
};

// Empty when `data` is a valid bank for this plug-in and `image` holds all of it;
// otherwise a phrase saying why not ("it was made for another plug-in (id 'abcd')").
// `image` may be partly written on failure; the caller discards it.
std::string parseBank(const uint8_t* data, size_t size, BankImage& image);
// The same for a single-program (.fxp) file.
std::string parseProgram(const uint8_t* data, size_t size, ProgramImage& image);

// The file bytes of image.count programs (Layout::Factory needs all 128).
std::vector<uint8_t> writeBank(const BankImage& image, Layout layout = Layout::Standard);
std::vector<uint8_t> writeProgram(const ProgramImage& image);

// A four-character id as text: 'abcd' when printable, else 0x... in hex.
std::string describeId(uint32_t id);

}  // namespace bankfile
