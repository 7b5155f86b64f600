#include "params/SampleData.h"

#include "params/SampleParsers.h"

namespace samples {

int readFrames(SampleStream& in, SampleBuffer& out, int frames, int frameBytes,
               SampleConverter convert) {
    uint8_t piece[kPieceBytes];
    const int framesPerPiece = int(kPieceBytes) / frameBytes;
    int done = 0;
    while (done < frames) {
        const int wanted = frames - done < framesPerPiece ? frames - done : framesPerPiece;
        const size_t got = in.read(piece, size_t(wanted * frameBytes));
        const int count = int(got) / frameBytes;
        for (int i = 0; i < count; ++i) out.values[done + i] = convert(piece + i * frameBytes);
        done += count;
        if (count < wanted) break;  // the file ended early
    }
    return done;
}

}  // namespace samples
