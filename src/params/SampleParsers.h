// The WAV and AIFF parsers: they check a file, and on success convert the
// first channel of its frames into the sample buffer as signed 16-bit values.
// A failure leaves the frame count unpublished; its text is one of the fixed
// messages below, or null for a silent refusal.
#pragma once

#include "params/SampleBuffer.h"
#include "params/SampleStream.h"

namespace samples {

namespace message {
constexpr const char* kNotFound = "Problem finding file ";  // followed by the path
constexpr const char* kSize = "Problem with sample - size";
constexpr const char* kFmt = "Problem with sample - fmt";
constexpr const char* kChannels = "Problem with sample - only mono / stereo ";
constexpr const char* kRate = "Problem with sample - sample rate wrong";
constexpr const char* kBits = "Problem with sample - on 8 , 16 & 24 bit samples";
constexpr const char* kNoData = "Problem with sample - can't find data";
constexpr const char* kLength = "Problem with sample - sample length wrong";
constexpr const char* kAiff = "Problem with Sample";
}  // namespace message

struct ParseResult {
    bool ok = false;
    const char* message = nullptr;
    int frames = 0;
    float fileSampleRate = 0.0f;
};

// The data is converted in pieces of this size (a whole number of frames of
// every accepted layout).
constexpr size_t kPieceBytes = 3072;

ParseResult parseWav(SampleStream& in, SampleBuffer& out);
ParseResult parseAiff(SampleStream& in, SampleBuffer& out);

// The AIFF sample rate from its 80-bit extended field; 44100 for a value that
// is not a usable rate.
float decodeExtendedRate(const uint8_t bytes[10]);

}  // namespace samples
