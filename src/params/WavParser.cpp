// WAV files: the "fmt " and "data" chunks are found by scanning from the
// start of the file; mono or stereo, 8, 16 or 24 bits, 5 to 190 kHz.
#include "params/SampleData.h"
#include "params/SampleParsers.h"

namespace samples {
namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t le32(const uint8_t* p) { return uint32_t(le16(p)) | uint32_t(le16(p + 2)) << 16; }

// 8-bit WAV data is unsigned with silence at 128; scaled to the full 16-bit range.
int16_t convert8(const uint8_t* p) { return int16_t((p[0] - 128) * 256); }
int16_t convert16(const uint8_t* p) { return int16_t(le16(p)); }
// 24 bits keep their upper two bytes.
int16_t convert24(const uint8_t* p) { return int16_t(le16(p + 1)); }

}  // namespace

ParseResult parseWav(SampleStream& in, SampleBuffer& out) {
    if (in.size() < 35) return refused(message::kSize);
    in.seek(0);
    // The fields after "fmt ": chunk size, format tag, channels, rate, byte rate,
    // block align, bits per sample. Only the channels, rate and bits are used.
    uint8_t fmt[20];
    if (!in.scanFor("fmt ") || !in.readExact(fmt, sizeof fmt)) return refused(message::kFmt);
    const int channels = le16(fmt + 6);
    if (channels != 1 && channels != 2) return refused(message::kChannels);
    const uint32_t rate = le32(fmt + 8);
    if (rate > 190000 || rate < 5000) return refused(message::kRate);
    const int bits = le16(fmt + 18);
    SampleConverter convert = bits == 8 ? convert8 : bits == 16 ? convert16 : bits == 24 ? convert24 : nullptr;
    if (!convert) return refused(message::kBits);

    in.seek(0);
    uint8_t size[4];
    if (!in.scanFor("data") || !in.readExact(size, sizeof size)) return refused(message::kNoData);
    const uint32_t dataSize = le32(size);
    if (dataSize > in.remaining()) return refused(message::kLength);

    const int frameBytes = channels * (bits / 8);
    uint32_t frames = dataSize / uint32_t(frameBytes);
    if (frames > uint32_t(kMaxFrames)) frames = kMaxFrames;
    const int read = frames ? readFrames(in, out, int(frames), frameBytes, convert) : 0;
    return read ? accepted(read, float(rate)) : refused(nullptr);
}

}  // namespace samples
