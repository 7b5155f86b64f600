// Where brennix-render's sequencer places events and what transport it reports.
#include <gtest/gtest.h>

#include "MidiSong.h"
#include "Sequencer.h"

using render::MidiSong;
using render::Sequencer;

namespace {

MidiSong songWith(std::initializer_list<std::pair<uint64_t, int>> notes) {
    MidiSong song;
    song.ticksPerQuarter = 480;
    for (auto [tick, key] : notes) {
        render::MidiEvent e;
        e.tick = tick;
        e.data[0] = 0x90;
        e.data[1] = uint8_t(key);
        e.data[2] = 100;
        e.size = 3;
        song.events.push_back(e);
        song.endTick = tick;
    }
    return song;
}

struct Played {
    int64_t sample;
    int32_t block, delta;
    int key, controller, channel;
};

std::vector<Played> play(const MidiSong& song, int32_t blockSize, int64_t* total = nullptr) {
    render::SequencerSettings s;
    s.blockSize = blockSize;
    s.tailSeconds = 0.5;
    Sequencer seq(song, s);
    std::vector<Played> out;
    Sequencer::Block b;
    int64_t frames = 0;
    while (seq.next(b)) {
        EXPECT_EQ(b.start, frames);
        EXPECT_LE(b.frames, blockSize);
        int32_t last = 0;
        for (const VstMidiEvent& e : b.events) {
            EXPECT_GE(e.deltaFrames, last);
            EXPECT_LT(e.deltaFrames, b.frames);
            last = e.deltaFrames;
            uint8_t status = uint8_t(e.midiData[0]);
            out.push_back(Played{b.start + e.deltaFrames, b.frames, e.deltaFrames,
                                 (status & 0xE0) == 0x80 ? e.midiData[1] : -1,  // note on or off
                                 (status & 0xF0) == 0xB0 ? e.midiData[1] : -1, status & 0x0F});
        }
        frames += b.frames;
    }
    if (total) *total = frames;
    return out;
}

}  // namespace

TEST(RenderTiming, EventsLandOnTheirSampleWhateverTheBlockSize) {
    // 120 BPM: a quarter is 22050 samples at 44100 Hz; tick 720 is 0.75 s.
    MidiSong song = songWith({{0, 60}, {720, 62}, {721, 64}, {721, 65}, {4800, 67}});
    auto reference = play(song, 512);
    ASSERT_EQ(reference[1].sample, 33075);
    EXPECT_EQ(reference[1].delta, 33075 - 64 * 512);
    EXPECT_EQ(reference[2].sample, 33121);  // 721 ticks = 33120.9375 samples, rounded
    EXPECT_EQ(reference[3].key, 65);        // same sample: song order kept
    EXPECT_EQ(reference[4].sample, 220500);
    for (int32_t block : {1, 64, 4096, 65536}) {
        auto played = play(song, block);
        ASSERT_EQ(played.size(), reference.size()) << block;
        for (size_t i = 0; i < played.size(); ++i) {
            EXPECT_EQ(played[i].sample, reference[i].sample) << "block " << block << ", event " << i;
            EXPECT_EQ(played[i].key, reference[i].key);
        }
    }
}

TEST(RenderTiming, TempoChangesMoveOnlyLaterEvents) {
    MidiSong song = songWith({{480, 60}, {960, 62}, {1440, 64}});
    song.tempos.push_back({960, 1000000});  // 60 BPM from the third beat on
    auto played = play(song, 100);
    EXPECT_EQ(played[0].sample, 22050);
    EXPECT_EQ(played[1].sample, 44100);
    EXPECT_EQ(played[2].sample, 88200);

    // Without a tempo event the default tempo rules; with one at tick 0 the file's wins.
    render::SequencerSettings s;
    s.defaultTempo = 90.0;
    EXPECT_EQ(Sequencer(songWith({{480, 60}}), s).timeline().sampleAt(480), 29400);
    MidiSong fixed = songWith({{480, 60}});
    fixed.tempos.push_back({0, 250000});
    EXPECT_EQ(Sequencer(fixed, s).timeline().sampleAt(480), 11025);
}

TEST(RenderTiming, EndOfSongReleasesEveryChannelThenPlaysTheTail) {
    int64_t total = 0;
    auto played = play(songWith({{0, 60}, {960, 62}}), 256, &total);
    // Sustain off on every channel, then note-offs for the two notes left on.
    ASSERT_EQ(played.size(), 2u + 16u + 2u);
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(played[2 + c].controller, 64);
        EXPECT_EQ(played[2 + c].channel, c);
    }
    EXPECT_EQ(played[18].key, 60);
    EXPECT_EQ(played[19].key, 62);
    for (size_t i = 2; i < played.size(); ++i) EXPECT_EQ(played[i].sample, 44100);
    EXPECT_EQ(total, 44100 + 22050);

    render::SequencerSettings s;
    s.tailSeconds = 0.0;
    Sequencer seq(songWith({{0, 60}}), s);
    EXPECT_EQ(seq.totalFrames(), 1);  // the closing events still get a frame

    // A note-on of velocity 0 is a note-off: the note needs no closing one.
    MidiSong ended = songWith({{0, 60}, {480, 62}});
    ended.events[0].data[0] = 0x93;
    render::MidiEvent off = ended.events[0];
    off.tick = 960;
    off.data[2] = 0;
    ended.events.push_back(off);
    ended.endTick = 960;
    played = play(ended, 256);
    ASSERT_EQ(played.size(), 3u + 16u + 1u);
    EXPECT_EQ(played.back().key, 62);
}

TEST(RenderTiming, TransportFollowsTempoAndMeter) {
    MidiSong song = songWith({{14400, 60}});
    song.tempos.push_back({1440, 1000000});   // 60 BPM after three quarters (1.5 s)
    song.meters.push_back({0, 3, 4});
    song.meters.push_back({2880, 6, 8});      // from quarter 6
    render::SequencerSettings s;
    s.blockSize = 22050;
    Sequencer seq(song, s);
    std::vector<VstTimeInfo> times;
    Sequencer::Block b;
    while (seq.next(b)) times.push_back(b.time);

    const int32_t flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid | kVstBarsValid;
    EXPECT_EQ(times[0].flags, flags | kVstTransportChanged);
    EXPECT_EQ(times[1].flags, flags);
    EXPECT_DOUBLE_EQ(times[1].samplePos, 22050.0);
    EXPECT_DOUBLE_EQ(times[1].sampleRate, 44100.0);
    EXPECT_DOUBLE_EQ(times[1].ppqPos, 1.0);
    EXPECT_DOUBLE_EQ(times[1].tempo, 120.0);
    EXPECT_EQ(times[1].timeSigNumerator, 3);
    EXPECT_DOUBLE_EQ(times[1].barStartPos, 0.0);
    // 2.0 s: three quarters at 120, then half a quarter at 60.
    EXPECT_DOUBLE_EQ(times[4].ppqPos, 3.5);
    EXPECT_DOUBLE_EQ(times[4].tempo, 60.0);
    EXPECT_DOUBLE_EQ(times[4].barStartPos, 3.0);
    // 5.0 s = quarter 6.5: the 6/8 bar that started at quarter 6.
    EXPECT_DOUBLE_EQ(times[10].ppqPos, 6.5);
    EXPECT_EQ(times[10].timeSigNumerator, 6);
    EXPECT_EQ(times[10].timeSigDenominator, 8);
    EXPECT_DOUBLE_EQ(times[10].barStartPos, 6.0);
    EXPECT_DOUBLE_EQ(times[16].barStartPos, 9.0);  // quarter 9.5
}

TEST(RenderTiming, BlocksEndWhereTheTempoChanges) {
    // 90 BPM from tick 1070: sample 49153.125, so the block with the new tempo
    // starts at 49154 and every block reports the tempo that holds for all of it.
    MidiSong song = songWith({{4800, 60}});
    song.tempos.push_back({1070, 666667});
    for (int32_t blockSize : {512, 4096}) {
        render::SequencerSettings s;
        s.blockSize = blockSize;
        Sequencer seq(song, s);
        Sequencer::Block b;
        bool found = false;
        while (seq.next(b)) {
            const bool before = b.start + b.frames <= 49154;
            EXPECT_TRUE(before || b.start >= 49154) << blockSize << " block at " << b.start;
            EXPECT_NEAR(b.time.tempo, b.start < 49154 ? 120.0 : 90.0, 1e-3) << b.start;
            found |= b.start == 49154;
        }
        EXPECT_TRUE(found) << blockSize;
    }
}
