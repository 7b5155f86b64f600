// The frame conversion shared by the WAV and AIFF parsers.
#pragma once

#include "params/SampleBuffer.h"
#include "params/SampleParsers.h"
#include "params/SampleStream.h"

namespace samples {

// One sample of the file's first channel as a signed 16-bit value.
using SampleConverter = int16_t (*)(const uint8_t* bytes);

// Reads `frames` frames of `frameBytes` from the stream's position in pieces of
// at most kPieceBytes and stores the first channel of each through `convert`.
// Returns the frames read whole (fewer when the file ends early).
int readFrames(SampleStream& in, SampleBuffer& out, int frames, int frameBytes,
               SampleConverter convert);

// A refusal with `text` (null for none), or an accepted file.
inline ParseResult refused(const char* text) {
    ParseResult r;
    r.message = text;
    return r;
}
inline ParseResult accepted(int frames, float fileSampleRate) {
    ParseResult r;
    r.ok = true;
    r.frames = frames;
    r.fileSampleRate = fileSampleRate;
    return r;
}

}  // namespace samples
