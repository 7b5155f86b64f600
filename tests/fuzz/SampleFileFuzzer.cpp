// libFuzzer target for the sample parsers, built twice: brennix-fuzz-wav and
// (with BRENNIX_FUZZ_AIFF) brennix-fuzz-aiff. Whatever a parser accepts must
// fit the buffer and the file, at a usable rate; a refusal carries a message or none.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "params/SampleParsers.h"

namespace {
void require(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static samples::SampleBufferPtr buffer = samples::makeSampleBuffer();
    samples::MemorySource source(data, size);
    samples::SampleStream stream(source);
#ifdef BRENNIX_FUZZ_AIFF
    const samples::ParseResult r = samples::parseAiff(stream, *buffer);
#else
    const samples::ParseResult r = samples::parseWav(stream, *buffer);
#endif
    if (!r.ok) {
        require(r.frames == 0);
        return 0;
    }
    require(r.message == nullptr);
    require(r.frames >= 1 && r.frames <= samples::kMaxFrames);
    // Every frame loaded came out of the file: at least one byte each.
    require(uint64_t(r.frames) <= size);
    require(std::isfinite(r.fileSampleRate) && r.fileSampleRate >= 5000.0f && r.fileSampleRate <= 190000.0f);
    return 0;
}
