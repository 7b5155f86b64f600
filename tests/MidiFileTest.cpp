// Standard MIDI File reading: merging, tempo maps, skipping, and refusing damage.
#include <gtest/gtest.h>

#include "MidiBytes.h"
#include "MidiFile.h"

using namespace midi_bytes;
using render::MidiSong;

namespace {
bool parse(const Bytes& b, MidiSong& song, std::string& error) {
    return render::parseMidiFile(b.data(), b.size(), song, error);
}

std::vector<std::pair<uint64_t, int>> ticksAndKeys(const MidiSong& song) {
    std::vector<std::pair<uint64_t, int>> out;
    for (const auto& e : song.events) out.emplace_back(e.tick, e.data[1]);
    return out;
}
}  // namespace

TEST(MidiFile, FormatZeroWithRunningStatusSysexAndMeta) {
    Bytes sysex(200, 0x11);
    sysex.push_back(0xF7);
    Bytes body = cat({
        ev(0, {0xFF, 0x03, 0x04, 'L', 'e', 'a', 'd'}),  // track name
        tempo(0, 400000),
        ev(0, {0x90, 60, 100}),
        ev(10, {62, 90}),                          // running status
        ev(0, cat({{0xF0}, vlq(uint32_t(sysex.size())), sysex})),  // two-byte length
        ev(0, {0xF7, 0x02, 0x01, 0x02}),           // escaped sysex
        ev(5, {64, 80}),                           // running status survives sysex and meta
        ev(0, {0xC3, 12}),                         // one data byte
        ev(0, {0xE3, 0x00, 0x50}),
        ev(0, {0xFF, 0x58, 0x04, 3, 3, 24, 8}),    // 3/8
        ev(20, {0x80, 60, 0}),
        end(100),
    });
    MidiSong song;
    std::string error;
    ASSERT_TRUE(parse(cat({header(0, 1, 96), track(body)}), song, error)) << error;
    EXPECT_TRUE(song.warnings.empty());
    EXPECT_EQ(song.ticksPerQuarter, 96u);
    ASSERT_EQ(song.events.size(), 6u);
    EXPECT_EQ(ticksAndKeys(song),
              (std::vector<std::pair<uint64_t, int>>{{0, 60}, {10, 62}, {15, 64}, {15, 12}, {15, 0}, {35, 60}}));
    EXPECT_EQ(song.events[1].data[0], 0x90);
    EXPECT_EQ(song.events[3].size, 2);
    EXPECT_EQ(song.events[4].data[2], 0x50);
    ASSERT_EQ(song.tempos.size(), 1u);
    EXPECT_EQ(song.tempos[0].microsPerQuarter, 400000u);
    ASSERT_EQ(song.meters.size(), 1u);
    EXPECT_EQ(song.meters[0].numerator, 3);
    EXPECT_EQ(song.meters[0].denominator, 8);
    EXPECT_EQ(song.endTick, 135u);
}

TEST(MidiFile, FormatOneMergesTracksByTimeThenTrackOrder) {
    Bytes conductor = cat({tempo(0, 500000), tempo(960, 1000000), end()});
    Bytes a = cat({ev(0, {0x90, 1, 1}), ev(480, {0x90, 2, 1}), ev(480, {0x90, 3, 1}), end()});
    Bytes b = cat({ev(480, {0x91, 4, 1}), tempo(0, 250000), ev(0, {0x91, 5, 1}), ev(1000, {0x91, 6, 1}), end()});
    Bytes alien = cat({{'X', 'y', 'z', 'w'}, be32(3), {1, 2, 3}});
    MidiSong song;
    std::string error;
    ASSERT_TRUE(parse(cat({header(1, 3, 480), track(conductor), alien, track(a), track(b)}), song, error)) << error;
    EXPECT_EQ(ticksAndKeys(song),
              (std::vector<std::pair<uint64_t, int>>{{0, 1}, {480, 2}, {480, 4}, {480, 5}, {960, 3}, {1480, 6}}));
    ASSERT_EQ(song.tempos.size(), 3u);  // including the one in a later track
    EXPECT_EQ(song.tempos[1].tick, 480u);
    EXPECT_EQ(song.tempos[1].microsPerQuarter, 250000u);
    EXPECT_EQ(song.tempos[2].tick, 960u);
    EXPECT_EQ(song.endTick, 1480u);
}

TEST(MidiFile, MissingEndOfTrackKeepsWhatIsThere) {
    MidiSong song;
    std::string error;
    Bytes body = cat({ev(0, {0x90, 60, 100}), ev(240, {0x80, 60, 0})});
    ASSERT_TRUE(parse(cat({header(0, 1, 480), track(body)}), song, error)) << error;
    EXPECT_EQ(song.events.size(), 2u);
    EXPECT_EQ(song.endTick, 240u);
    ASSERT_EQ(song.warnings.size(), 1u);
    EXPECT_NE(song.warnings[0].find("end-of-track"), std::string::npos);
}

TEST(MidiFile, DamagedFilesAreRefusedWithAReason) {
    const Bytes good = cat({header(0, 1, 480), track(cat({ev(0, {0x90, 60, 100}), end(480)}))});
    auto withBody = [](Bytes body) { return cat({header(0, 1, 480), track(body)}); };
    struct Case {
        const char* name;
        Bytes file;
        const char* expected;
    };
    const Case cases[] = {
        {"empty", {}, "not a Standard MIDI File"},
        {"wrong magic", cat({{'R', 'I', 'F', 'F'}, Bytes(good.begin() + 4, good.end())}), "not a Standard MIDI File"},
        {"short header", cat({{'M', 'T', 'h', 'd'}, be32(4), {0, 0, 0, 1}}), "too short"},
        {"header cut", Bytes(good.begin(), good.begin() + 11), "truncated"},
        {"format 2", cat({header(2, 1, 480), Bytes(good.begin() + 14, good.end())}), "format 2"},
        {"smpte", cat({header(0, 1, 0xE728), Bytes(good.begin() + 14, good.end())}), "SMPTE"},
        {"zero division", cat({header(0, 1, 0), Bytes(good.begin() + 14, good.end())}), "0 ticks"},
        {"no tracks", header(1, 0, 480), "no tracks"},
        {"track missing", cat({header(1, 2, 480), Bytes(good.begin() + 14, good.end())}), "track 2 of 2 is missing"},
        {"chunk too long", cat({header(0, 1, 480), {'M', 'T', 'r', 'k'}, be32(0xFFFFFFF0), {0, 0xFF, 0x2F, 0}}), "claims"},
        {"chunk cut", Bytes(good.begin(), good.end() - 2), "truncated"},
        {"vlq too long", withBody({0x81, 0x81, 0x81, 0x81, 0x00, 0x90, 60, 100}), "longer than 4 bytes"},
        {"meta too long", withBody(cat({{0, 0xFF, 0x01}, vlq(1000), {'x'}})), "meta event claims 1000"},
        {"sysex too long", withBody({0, 0xF0, 0x8F, 0xFF, 0xFF, 0x7F, 1}), "sysex event claims"},
        {"no running status", withBody({0, 60, 100}), "without a status"},
        {"system byte", withBody({0, 0xF4, 1}), "0xF4"},
        {"event cut", withBody({0, 0x90, 60}), "cut off"},
        {"status as data", withBody({0, 0x90, 60, 0x80, 0, 0xFF, 0x2F, 0}), "not a data byte"},
    };
    for (const Case& c : cases) {
        MidiSong song;
        std::string error;
        EXPECT_FALSE(parse(c.file, song, error)) << c.name;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.name << ": " << error;
    }
}

TEST(MidiFile, EveryTruncationAndByteFlipIsHandled) {
    const Bytes file = cat({header(1, 2, 480), track(cat({tempo(0, 500000), end()})),
                            track(cat({ev(0, {0x90, 60, 100}), ev(0x0FFFFFFF, {62, 0}),
                                       ev(0, {0xF0, 0x03, 1, 2, 0xF7}), ev(1, {0xB0, 7, 100}), end()}))});
    for (size_t n = 0; n <= file.size(); ++n) {
        MidiSong song;
        std::string error;
        bool ok = render::parseMidiFile(file.data(), n, song, error);
        EXPECT_TRUE(ok || !error.empty()) << n;
        if (n < file.size()) {
            EXPECT_FALSE(ok) << "a cut at " << n << " went unnoticed";
        }
    }
    for (size_t i = 0; i < file.size(); ++i)
        for (uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
            Bytes damaged = file;
            damaged[i] = value;
            MidiSong song;
            std::string error;
            bool ok = parse(damaged, song, error);
            EXPECT_TRUE(ok || !error.empty());
            EXPECT_LE(song.events.size(), damaged.size());
        }
}
