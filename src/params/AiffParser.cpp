// AIFF files: the form type "AIFF", its "COMM" chunk and the "SSND" chunk;
// mono or stereo, 8, 16 or 24 bits, big-endian.
#include <cmath>
#include <cstring>

#include "params/SampleData.h"
#include "params/SampleParsers.h"

namespace samples {
namespace {

uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
uint32_t be32(const uint8_t* p) { return uint32_t(be16(p)) << 16 | be16(p + 2); }

// 8-bit AIFF data is signed.
int16_t convert8(const uint8_t* p) { return int16_t(int8_t(p[0]) * 256); }
// 16 and 24 bits: the two most significant bytes.
int16_t convert16(const uint8_t* p) { return int16_t(be16(p)); }

}  // namespace

float decodeExtendedRate(const uint8_t b[10]) {
    const int exponent = (b[0] & 0x7F) << 8 | b[1];
    const uint64_t mantissa = uint64_t(be32(b + 2)) << 32 | be32(b + 6);
    const double rate = std::ldexp(double(mantissa), exponent - 16383 - 63);
    if ((b[0] & 0x80) || !(rate >= 5000.0 && rate <= 190000.0)) return 44100.0f;
    return float(rate);
}

ParseResult parseAiff(SampleStream& in, SampleBuffer& out) {
    in.seek(8);  // past the form header
    if (!in.scanFor("AIFF")) return refused(message::kAiff);
    // "COMM" normally follows the form type; some writers put other chunks first.
    const uint64_t afterFormType = in.position();
    uint8_t header[8];
    if (!in.readExact(header, sizeof header)) return refused(message::kAiff);
    if (std::memcmp(header, "COMM", 4) != 0) {
        in.seek(afterFormType);
        if (!in.scanFor("COMM") || !in.readExact(header, 4)) return refused(message::kAiff);
    }
    // Channels, frames, sample size, and the rate as an 80-bit extended value.
    uint8_t comm[18];
    if (!in.readExact(comm, sizeof comm)) return refused(message::kAiff);
    const int channels = be16(comm);
    if (channels != 1 && channels != 2) return refused(message::kChannels);
    const uint32_t fileFrames = be32(comm + 2);
    const int bits = be16(comm + 6);
    if (bits != 8 && bits != 16 && bits != 24) return refused(message::kBits);
    const float rate = decodeExtendedRate(comm + 8);

    in.seek(0);
    // Chunk size, then the offset of the first frame and the block size.
    uint8_t ssnd[12];
    if (!in.scanFor("SSND") || !in.readExact(ssnd, sizeof ssnd)) return refused(message::kAiff);
    const uint32_t offset = be32(ssnd + 4);
    if (offset > in.remaining()) return refused(message::kLength);
    in.seek(in.position() + offset);

    const int frameBytes = channels * (bits / 8);
    if (uint64_t(fileFrames) * uint64_t(frameBytes) > in.remaining()) return refused(message::kLength);
    const int frames = fileFrames > uint32_t(kMaxFrames) ? kMaxFrames : int(fileFrames);
    const int read = frames ? readFrames(in, out, frames, frameBytes, bits == 8 ? convert8 : convert16) : 0;
    return read ? accepted(read, rate) : refused(nullptr);
}

}  // namespace samples
