#include "params/BankFormat.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "params/ProgramRecord.h"

namespace bankfile {
namespace {

// A chunk's byteSize counts everything after its first two fields. The
// built-in image (and whatever copied its habit) counts one value more.
constexpr uint32_t kProgramByteSize = uint32_t(kProgramSize - 8);      // 3244
constexpr uint32_t kProgramByteSizeWide = uint32_t(kProgramSize - 4);  // 3248
constexpr uint32_t kFormatVersionMax = 2;  // version 2 banks add the current program

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

std::string number(size_t n) { return std::to_string(n); }

// Checks one program chunk at `p` (with `available` bytes from there on) and
// fills `image`. `which` names it in messages ("program 3" or "the preset").
std::string parseChunk(const uint8_t* p, size_t available, const std::string& which,
                       ProgramImage& image) {
    if (available < kProgramHeaderSize) return which + " is cut off (the file is truncated)";
    if (readU32(p) != kChunkMagic) return which + " is not a VST program chunk";
    const uint32_t magic = readU32(p + 8);
    if (magic == kOpaqueProgramMagic)
        return which + " is stored as an opaque chunk (FPCh), which Brennix does not use";
    if (magic != kProgramMagic) return which + " is not a VST program chunk";
    const uint32_t version = readU32(p + 12);
    if (version < 1 || version > kFormatVersionMax)
        return which + " has the unknown format version " + number(version);
    const uint32_t id = readU32(p + 16);
    if (id != kPluginId)
        return which + " was made for another plug-in (id " + describeId(id) + ")";
    const uint32_t params = readU32(p + 24);
    if (params != uint32_t(kParams))
        return which + " has " + number(params) + " parameters; Brennix programs have " +
               number(kParams);
    if (available < kProgramSize) return which + " is cut off (the file is truncated)";
    const uint32_t byteSize = readU32(p + 4);
    if (byteSize != kProgramByteSize && byteSize != kProgramByteSizeWide)
        return which + " gives its size as " + number(byteSize) + " bytes instead of " +
               number(kProgramByteSize);

    char field[kNameField];
    std::memcpy(field, p + 28, kNameField);
    field[kNameField - 1] = 0;
    params::applyNameRule(field, image.name);

    const uint8_t* v = p + kProgramHeaderSize;
    for (int i = 0; i < kParams; ++i, v += 4) {
        const uint32_t bits = readU32(v);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            return which + " holds a value that is not a number (parameter " + number(i) + ")";
        // Out-of-range values are clamped, as every parameter write is.
        image.values[i] = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    }
    return {};
}

void putChunk(std::vector<uint8_t>& out, const ProgramImage& program, uint32_t byteSize) {
    putU32(out, kChunkMagic);
    putU32(out, byteSize);
    putU32(out, kProgramMagic);
    putU32(out, 1);  // format version
    putU32(out, kPluginId);
    putU32(out, 1);  // plug-in version
    putU32(out, uint32_t(kParams));
    char name[kNameField] = {};
    params::applyNameRule(program.name, name);
    out.insert(out.end(), name, name + kNameField);
    for (float value : program.values) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        putU32(out, bits);
    }
}

}  // namespace

std::string describeId(uint32_t id) {
    char text[16];
    bool printable = true;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned c = (id >> shift) & 0xFF;
        if (c < 32 || c > 126) printable = false;
    }
    if (printable)
        std::snprintf(text, sizeof text, "'%c%c%c%c'", char(id >> 24), char(id >> 16),
                      char(id >> 8), char(id));
    else
        std::snprintf(text, sizeof text, "0x%08X", id);
    return text;
}

std::string parseBank(const uint8_t* data, size_t size, BankImage& image) {
    image.count = 0;
    if (!data || size < kBankHeaderSize)
        return "it is too short to be a bank (" + number(size) + " bytes)";
    if (readU32(data) != kChunkMagic) return "it is not a VST bank file";
    const uint32_t magic = readU32(data + 8);
    if (magic == kProgramMagic || magic == kOpaqueProgramMagic)
        return "it is a preset file, not a bank";
    if (magic == kOpaqueBankMagic)
        return "it stores its programs as an opaque chunk (FBCh), which Brennix does not use";
    if (magic != kBankMagic) return "it is not a VST bank file";
    const uint32_t version = readU32(data + 12);
    if (version < 1 || version > kFormatVersionMax)
        return "its format version " + number(version) + " is unknown";
    const uint32_t id = readU32(data + 16);
    if (id != kPluginId) return "it was made for another plug-in (id " + describeId(id) + ")";
    const uint32_t declared = readU32(data + 24);
    if (declared == 0) return "it holds no programs";
    if (declared > uint32_t(kMaxPrograms))
        return "it declares " + number(declared) + " programs; Brennix has " +
               number(kMaxPrograms);

    // The built-in image declares 127 programs and carries 128.
    size_t count = declared;
    if (declared == uint32_t(kMaxPrograms - 1) && size == kFullBankSize) count = kMaxPrograms;
    const size_t needed = kBankHeaderSize + count * kProgramSize;

    const uint32_t byteSize = readU32(data + 4);
    const size_t standardSize = needed - 8;
    const size_t wideSize = kBankHeaderSize - 8 + count * (kProgramSize + 4);
    if (size >= needed && byteSize != standardSize && byteSize != wideSize)
        return "it gives its size as " + number(byteSize) + " bytes, but its " + number(count) +
               " programs take " + number(standardSize);

    for (size_t p = 0; p < count; ++p) {
        const size_t offset = kBankHeaderSize + p * kProgramSize;
        std::string error = parseChunk(data + offset, size > offset ? size - offset : 0,
                                       "program " + number(p + 1), image.programs[p]);
        if (!error.empty()) return error;
    }
    if (size > needed)
        return "it has " + number(size - needed) + " bytes past its last program";
    image.count = int(count);
    return {};
}

std::string parseProgram(const uint8_t* data, size_t size, ProgramImage& image) {
    if (!data || size < 12) return "it is too short to be a preset (" + number(size) + " bytes)";
    if (readU32(data) != kChunkMagic) return "it is not a VST preset file";
    const uint32_t magic = readU32(data + 8);
    if (magic == kBankMagic || magic == kOpaqueBankMagic) return "it is a bank file, not a preset";
    if (magic != kProgramMagic && magic != kOpaqueProgramMagic) return "it is not a VST preset file";
    std::string error = parseChunk(data, size, "the preset", image);
    if (!error.empty()) return error;
    if (size > kProgramSize)
        return "it has " + number(size - kProgramSize) + " bytes past the end of the preset";
    return {};
}

std::vector<uint8_t> writeBank(const BankImage& image, Layout layout) {
    const int count = image.count < 0 ? 0 : (image.count > kMaxPrograms ? kMaxPrograms : image.count);
    const bool factory = layout == Layout::Factory;
    std::vector<uint8_t> out;
    out.reserve(kBankHeaderSize + size_t(count) * kProgramSize);
    putU32(out, kChunkMagic);
    putU32(out, factory ? uint32_t(kBankHeaderSize - 8 + count * (kProgramSize + 4))
                        : uint32_t(kBankHeaderSize - 8 + count * kProgramSize));
    putU32(out, kBankMagic);
    putU32(out, 1);  // format version
    putU32(out, kPluginId);
    putU32(out, 1);  // plug-in version
    putU32(out, uint32_t(factory ? count - 1 : count));
    out.resize(kBankHeaderSize, 0);  // reserved
    for (int p = 0; p < count; ++p)
        putChunk(out, image.programs[p], factory ? kProgramByteSizeWide : kProgramByteSize);
    return out;
}

std::vector<uint8_t> writeProgram(const ProgramImage& image) {
    std::vector<uint8_t> out;
    out.reserve(kProgramSize);
    putChunk(out, image, kProgramByteSize);
    return out;
}

}  // namespace bankfile
