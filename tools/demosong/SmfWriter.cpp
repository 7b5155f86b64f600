#include "SmfWriter.h"

#include <cmath>
#include <string>

namespace demosong {
namespace {

void append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void appendVlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    do {
        bytes[n++] = static_cast<uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n-- > 0) out.push_back(static_cast<uint8_t>(bytes[n] | (n ? 0x80 : 0)));
}

void meta(std::vector<uint8_t>& track, uint8_t type, const std::vector<uint8_t>& data) {
    track.push_back(0xFF);
    track.push_back(type);
    appendVlq(track, static_cast<uint32_t>(data.size()));
    track.insert(track.end(), data.begin(), data.end());
}

std::vector<uint8_t> text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

}  // namespace

std::vector<uint8_t> standardMidiFile(const Song& song) {
    std::vector<uint8_t> track;
    appendVlq(track, 0);
    meta(track, 0x03, text(song.title));
    const auto micros = static_cast<uint32_t>(std::lround(60e6 / song.bpm));
    appendVlq(track, 0);
    meta(track, 0x51, {uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)});
    appendVlq(track, 0);
    meta(track, 0x58, {4, 2, 24, 8});  // 4/4, a click per quarter, 8 thirty-seconds per quarter

    uint32_t now = 0;
    for (const Event& e : song.events) {
        appendVlq(track, e.tick - now);
        now = e.tick;
        if (!e.marker.empty()) {
            meta(track, 0x06, text(e.marker));
            continue;
        }
        track.push_back(e.status);
        track.push_back(e.data1);
        if ((e.status & 0xF0) != 0xC0 && (e.status & 0xF0) != 0xD0) track.push_back(e.data2);
    }
    appendVlq(track, song.endTick > now ? song.endTick - now : 0);
    meta(track, 0x2F, {});

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    append32(file, 6);
    const uint8_t header[6] = {0, 0, 0, 1, uint8_t(kTicksPerBeat >> 8), uint8_t(kTicksPerBeat & 0xFF)};  // format 0, one track
    file.insert(file.end(), header, header + 6);
    for (char c : std::string("MTrk")) file.push_back(static_cast<uint8_t>(c));
    append32(file, static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

}  // namespace demosong
