// The demo piece ./demo.sh renders (resources/demo/brennix-demo.mid, written
// by brennix-demosong): a playable file of 30 to 60 seconds that changes
// program at the start of each section and plays something in every one.
#include <gtest/gtest.h>

#include <set>

#include "MidiFile.h"
#include "Timeline.h"

TEST(DemoSong, WalksThroughProgramsInHalfAMinute) {
    render::MidiSong song;
    std::string error;
    ASSERT_TRUE(render::readMidiFile(BRENNIX_SOURCE_DIR "/resources/demo/brennix-demo.mid", song, error)) << error;
    EXPECT_TRUE(song.warnings.empty());
    const render::Timeline timeline(song, 120.0, 44100);
    const double seconds = timeline.sampleAt(song.endTick) / 44100.0;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 60.0);

    // Program changes on bar lines, each followed by notes before the next.
    const uint64_t bar = 4 * song.ticksPerQuarter;
    std::vector<uint64_t> changes;
    std::set<int> programs;
    std::vector<int> notesAfter;
    for (const render::MidiEvent& e : song.events) {
        if ((e.data[0] & 0xF0) == 0xC0) {
            EXPECT_EQ(e.tick % bar, 0u) << "a program change off the bar line at tick " << e.tick;
            changes.push_back(e.tick);
            programs.insert(e.data[1]);
            notesAfter.push_back(0);
        } else if ((e.data[0] & 0xF0) == 0x90 && e.data[2] > 0) {
            ASSERT_FALSE(notesAfter.empty()) << "a note before the first program change";
            ++notesAfter.back();
        }
    }
    EXPECT_GE(changes.size(), 7u);
    EXPECT_EQ(programs.size(), changes.size()) << "each section a program of its own";
    for (size_t s = 0; s < notesAfter.size(); ++s) EXPECT_GT(notesAfter[s], 0) << "section " << s;
    EXPECT_EQ(changes.front(), 0u);
}
