// Reads the harmonic spectra of the spectral waveforms (16..127) from their
// text form, resources/waves/harmonics.txt:
//
//     wave INDEX "NAME"
//     amp   a1 .. a64      (0..1)
//     phase p1 .. p64      (cycles, 0..1)
//
// '#' starts a comment. Numbers are read independently of the C locale, so a
// host that switched to a decimal-comma locale cannot corrupt the waves.
#pragma once

#include <string>
#include <string_view>

namespace spectra {

constexpr int kFirstWave = 16;
constexpr int kWaveCount = 112;
constexpr int kHarmonics = 64;

// Fills amplitude[row] and phase[row] (row = wave index - 16) for every complete
// and valid record. A record that is truncated, out of range, not a number or
// a repeat of an earlier index is skipped and its row left untouched (the
// caller zeroes the rows first, so such a wave stays silent). If names is
// given it receives the name of each row read. Returns the number of rows read.
int parse(std::string_view text, float (*amplitude)[kHarmonics], float (*phase)[kHarmonics],
          std::string* names = nullptr);

}  // namespace spectra
