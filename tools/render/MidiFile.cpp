#include "MidiFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace render {
namespace {

constexpr size_t kMaxWarnings = 20;

uint32_t be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint16_t be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char buffer[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

void warn(MidiSong& song, std::string text) {
    if (song.warnings.size() < kMaxWarnings)
        song.warnings.push_back(std::move(text));
    else if (song.warnings.size() == kMaxWarnings)
        song.warnings.push_back("further warnings suppressed");
}

// Reads one track chunk; `base` is the chunk data's offset in the file, for messages.
class TrackReader {
public:
    TrackReader(const uint8_t* data, size_t size, size_t base, int track, MidiSong& song)
        : data_(data), size_(size), base_(base), track_(track), song_(song) {}

    bool read(std::string& error) {
        uint64_t tick = 0;
        uint8_t running = 0;
        bool ended = false;
        while (pos_ < size_ && !ended) {
            const size_t eventStart = pos_;
            uint32_t delta = 0;
            if (!readVlq(delta, "delta time", error)) return false;
            tick += delta;
            uint8_t status = 0;
            if (!readByte(status)) return cutOff(eventStart, error);

            if (status == 0xFF) {
                uint8_t type = 0;
                uint32_t length = 0;
                if (!readByte(type)) return cutOff(eventStart, error);
                if (!readVlq(length, "meta event length", error)) return false;
                if (length > size_ - pos_) return tooLong("meta event", eventStart, length, error);
                meta(type, data_ + pos_, length, tick);
                pos_ += length;
                ended = type == 0x2F;
                continue;
            }
            if (status == 0xF0 || status == 0xF7) {
                uint32_t length = 0;
                if (!readVlq(length, "sysex length", error)) return false;
                if (length > size_ - pos_) return tooLong("sysex event", eventStart, length, error);
                pos_ += length;
                continue;
            }
            if (status > 0xF0) {
                error = at(eventStart) + format("status byte 0x%02X does not belong in a MIDI file",
                                                status);
                return false;
            }

            MidiEvent e;
            e.tick = tick;
            uint8_t first = 0;
            if (status & 0x80) {
                running = status;
                if (!readByte(first)) return cutOff(eventStart, error);
            } else {
                if (!running) {
                    error = at(eventStart) + format("data byte 0x%02X without a status byte", status);
                    return false;
                }
                first = status;
                status = running;
            }
            e.data[0] = status;
            e.data[1] = first;
            e.size = 2;
            const uint8_t kind = status & 0xF0;
            if (kind != 0xC0 && kind != 0xD0) {
                if (!readByte(e.data[2])) return cutOff(eventStart, error);
                e.size = 3;
            }
            for (int i = 1; i < e.size; ++i)
                if (e.data[i] & 0x80) {
                    error = at(eventStart) + format("status 0x%02X followed by 0x%02X, not a data byte",
                                                    status, e.data[i]);
                    return false;
                }
            song_.events.push_back(e);
        }
        if (!ended)
            warn(song_, format("track %d has no end-of-track event; playing what it holds", track_));
        song_.endTick = std::max(song_.endTick, tick);
        return true;
    }

private:
    bool readByte(uint8_t& b) {
        if (pos_ >= size_) return false;
        b = data_[pos_++];
        return true;
    }

    // Variable-length quantities have at most four bytes (28 bits).
    bool readVlq(uint32_t& value, const char* what, std::string& error) {
        const size_t start = pos_;
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!readByte(b)) return cutOff(start, error);
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        error = at(start) + format("%s is longer than 4 bytes", what);
        return false;
    }

    std::string at(size_t pos) const {
        return format("track %d, byte %zu: ", track_, base_ + pos);
    }

    bool cutOff(size_t eventStart, std::string& error) const {
        error = at(eventStart) + "event is cut off by the end of the track chunk";
        return false;
    }

    bool tooLong(const char* what, size_t eventStart, uint32_t length, std::string& error) const {
        error = at(eventStart) + format("%s claims %u bytes but the track has only %zu left", what,
                                        length, size_ - pos_);
        return false;
    }

    void meta(uint8_t type, const uint8_t* d, uint32_t length, uint64_t tick) {
        if (type == 0x51) {
            uint32_t micros = length >= 3 ? (uint32_t(d[0]) << 16) | (uint32_t(d[1]) << 8) | d[2] : 0;
            if (micros == 0)
                warn(song_, format("track %d: invalid tempo event ignored", track_));
            else
                song_.tempos.push_back(TempoChange{tick, micros});
        } else if (type == 0x58) {
            // Denominators beyond 1/64 notes are not music, just damage.
            if (length < 2 || d[0] == 0 || d[1] > 6)
                warn(song_, format("track %d: invalid time signature ignored", track_));
            else
                song_.meters.push_back(MeterChange{tick, d[0], 1 << d[1]});
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    size_t base_;
    int track_;
    MidiSong& song_;
};

}  // namespace

bool parseMidiFile(const uint8_t* data, size_t size, MidiSong& song, std::string& error) {
    song = MidiSong{};
    if (size < 8 || std::memcmp(data, "MThd", 4) != 0) {
        error = "not a Standard MIDI File (no MThd header)";
        return false;
    }
    const uint32_t headerLength = be32(data + 4);
    if (headerLength < 6 || headerLength > size - 8) {
        error = headerLength < 6 ? "MIDI header chunk is too short" : "file is truncated in its header";
        return false;
    }
    const uint16_t formatType = be16(data + 8);
    const uint16_t tracks = be16(data + 10);
    const uint16_t division = be16(data + 12);
    if (formatType == 2) {
        error = "format 2 MIDI files (independent patterns) are not supported; use format 0 or 1";
        return false;
    }
    if (formatType > 2) {
        error = format("unknown MIDI file format %u", formatType);
        return false;
    }
    if (division & 0x8000) {
        error = "SMPTE time division is not supported; only ticks per quarter note";
        return false;
    }
    if (division == 0) {
        error = "time division of 0 ticks per quarter note";
        return false;
    }
    if (tracks == 0) {
        error = "the file declares no tracks";
        return false;
    }
    song.ticksPerQuarter = division;

    size_t pos = 8 + static_cast<size_t>(headerLength);
    int found = 0;
    while (found < tracks) {
        if (size - pos < 8) {
            error = format("file is truncated: track %d of %u is missing", found + 1, tracks);
            return false;
        }
        const uint32_t length = be32(data + pos + 4);
        const bool isTrack = std::memcmp(data + pos, "MTrk", 4) == 0;
        pos += 8;
        if (length > size - pos) {
            error = format("file is truncated: %s chunk at byte %zu claims %u bytes, %zu remain",
                           isTrack ? "track" : "unknown", pos - 8, length, size - pos);
            return false;
        }
        // Chunks of unknown type are skipped, as files may carry private data.
        if (isTrack) {
            ++found;
            TrackReader reader(data + pos, length, pos, found, song);
            if (!reader.read(error)) return false;
        }
        pos += length;
    }

    // Tracks were appended one after another; a stable sort merges them so that
    // events at the same tick keep track order, then file order.
    auto byTick = [](const auto& a, const auto& b) { return a.tick < b.tick; };
    std::stable_sort(song.events.begin(), song.events.end(), byTick);
    std::stable_sort(song.tempos.begin(), song.tempos.end(), byTick);
    std::stable_sort(song.meters.begin(), song.meters.end(), byTick);
    return true;
}

bool readMidiFile(const std::string& path, MidiSong& song, std::string& error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    bool tooBig = false;
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (bytes.size() + n > kMaxMidiFileBytes) {
            tooBig = true;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const bool failed = std::ferror(f);
    const int why = errno;
    std::fclose(f);
    if (failed) {
        error = std::string("cannot read: ") + std::strerror(why);
        return false;
    }
    if (tooBig) {
        error = format("larger than %zu MiB, too large for a MIDI file", kMaxMidiFileBytes >> 20);
        return false;
    }
    return parseMidiFile(bytes.data(), bytes.size(), song, error);
}

}  // namespace render
