// Builds Standard MIDI File images byte by byte for tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace midi_bytes {

using Bytes = std::vector<uint8_t>;

inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline Bytes vlq(uint32_t v) {
    Bytes out{uint8_t(v & 0x7F)};
    while (v >>= 7) out.insert(out.begin(), uint8_t(0x80 | (v & 0x7F)));
    return out;
}

inline Bytes be32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

inline Bytes header(uint16_t format, uint16_t tracks, uint16_t division) {
    return cat({{'M', 'T', 'h', 'd'}, be32(6), {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks >> 8),
                uint8_t(tracks), uint8_t(division >> 8), uint8_t(division)}});
}

inline Bytes track(const Bytes& body) { return cat({{'M', 'T', 'r', 'k'}, be32(uint32_t(body.size())), body}); }

// One event: delta time, then its bytes as they stand in the file.
inline Bytes ev(uint32_t delta, Bytes bytes) { return cat({vlq(delta), bytes}); }

inline Bytes tempo(uint32_t delta, uint32_t micros) {
    return ev(delta, {0xFF, 0x51, 0x03, uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)});
}

inline Bytes end(uint32_t delta = 0) { return ev(delta, {0xFF, 0x2F, 0x00}); }

inline void save(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

}  // namespace midi_bytes
