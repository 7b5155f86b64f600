// Plays a song as a DAW's transport does: cuts the timeline into blocks and
// gives each block the MIDI events that fall into it (deltaFrames = offset in
// the block) and the transport information (position, tempo, bar, meter). A
// block also ends where the tempo changes, so that the tempo it reports holds
// for all of it.
// After the song's last event every channel gets sustain off and every note
// still on gets its note-off, then the tail lets releases and effects ring out.
#pragma once

#include <cstdint>
#include <vector>

#include "MidiSong.h"
#include "Timeline.h"
#include "vst/Vst2.h"

namespace render {

struct SequencerSettings {
    int sampleRate = 44100;
    int32_t blockSize = 512;
    double tailSeconds = 2.0;
    double defaultTempo = 120.0;  // until the song's first tempo change
    int64_t latencyFrames = 0;    // rendered beyond the tail for a plug-in that reports latency
};

class Sequencer {
public:
    Sequencer(const MidiSong& song, const SequencerSettings& settings);

    struct Block {
        int64_t start = 0;  // first sample of the block
        int32_t frames = 0;
        std::vector<VstMidiEvent> events;  // sorted by deltaFrames, then song order
        VstTimeInfo time{};
    };
    // Fills the next block; false once the whole song and its tail are played.
    bool next(Block& block);

    int64_t songEndSample() const { return endSample_; }
    int64_t totalFrames() const { return totalFrames_; }
    const Timeline& timeline() const { return timeline_; }

private:
    struct Scheduled {
        int64_t sample;
        uint8_t data[3];
    };

    Timeline timeline_;
    SequencerSettings settings_;
    std::vector<Scheduled> events_;
    size_t nextEvent_ = 0;
    std::vector<int64_t> tempoChanges_;  // samples, ascending
    size_t nextTempoChange_ = 0;
    int64_t position_ = 0;
    int64_t endSample_ = 0;
    int64_t totalFrames_ = 0;
};

}  // namespace render
