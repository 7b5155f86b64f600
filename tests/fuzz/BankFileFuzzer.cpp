// libFuzzer target for everything that reads a user's file: bank (.fxb) and
// preset (.fxp) files, controller setups and arpeggiator patterns. The first
// byte picks the reader. Whatever a reader accepts must write out and read
// back to the same image.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "params/ArpPatternFile.h"
#include "params/BankFormat.h"
#include "params/ControllerSetupFile.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool sameProgram(const bankfile::ProgramImage& a, const bankfile::ProgramImage& b) {
    return std::strcmp(a.name, b.name) == 0 && std::memcmp(a.values, b.values, sizeof a.values) == 0;
}

void checkProgram(const bankfile::ProgramImage& p) {
    require(std::strlen(p.name) <= 24);
    for (unsigned char c : std::string(p.name)) require(c >= 32 && c <= 127);
    for (float v : p.values) require(std::isfinite(v) && v >= 0.0f && v <= 1.0f);
}

void fuzzBank(const uint8_t* data, size_t size) {
    static auto image = std::make_unique<bankfile::BankImage>();
    static auto again = std::make_unique<bankfile::BankImage>();
    if (!bankfile::parseBank(data, size, *image).empty()) return;
    require(image->count >= 1 && image->count <= 128);
    for (int p = 0; p < image->count; ++p) checkProgram(image->programs[p]);
    for (auto layout : {bankfile::Layout::Standard, bankfile::Layout::Factory}) {
        if (layout == bankfile::Layout::Factory && image->count != 128) continue;
        const auto bytes = bankfile::writeBank(*image, layout);
        require(bankfile::parseBank(bytes.data(), bytes.size(), *again).empty());
        require(again->count == image->count);
        for (int p = 0; p < image->count; ++p) require(sameProgram(image->programs[p], again->programs[p]));
        // What we write reads back to the same bytes.
        require(bankfile::writeBank(*again, layout) == bytes);
    }
}

void fuzzProgram(const uint8_t* data, size_t size) {
    bankfile::ProgramImage image, again;
    if (!bankfile::parseProgram(data, size, image).empty()) return;
    checkProgram(image);
    const auto bytes = bankfile::writeProgram(image);
    require(bytes.size() == bankfile::kProgramSize);
    require(bankfile::parseProgram(bytes.data(), bytes.size(), again).empty());
    require(sameProgram(image, again));
}

void fuzzControllerSetup(const uint8_t* data, size_t size) {
    int32_t bindings[userfiles::kControllers], again[userfiles::kControllers];
    if (!userfiles::parseControllerSetup(std::string(data, data + size), bindings).empty()) return;
    static ParamValue values[prm::kCount];
    for (int32_t b : bindings) require(b >= 0 && b < prm::kCount);
    const std::string text = userfiles::formatControllerSetup(bindings, values);
    require(userfiles::parseControllerSetup(text, again).empty());
    require(std::memcmp(bindings, again, sizeof bindings) == 0);
}

void fuzzArpPattern(const uint8_t* data, size_t size) {
    float values[userfiles::kArpCount], again[userfiles::kArpCount];
    if (!userfiles::parseArpPattern(std::string(data, data + size), values).empty()) return;
    static ParamValue live[prm::kCount];
    for (float v : values) require(std::isfinite(v));
    const std::string text = userfiles::formatArpPattern(values, live);
    require(userfiles::parseArpPattern(text, again).empty());
    require(std::memcmp(values, again, sizeof values) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t which = data[0] & 3;
    ++data;
    --size;
    switch (which) {
        case 0: fuzzBank(data, size); break;
        case 1: fuzzProgram(data, size); break;
        case 2: fuzzControllerSetup(data, size); break;
        case 3: fuzzArpPattern(data, size); break;
    }
    return 0;
}
