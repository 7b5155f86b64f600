// Tempo-synced cycle lengths in bars of four beats, by the integer part of
// speed x 30.99: "Off", then dotted, straight and triplet forms from 16/1 down
// to 1/32 ("16/1*" is 18 bars, not 24).
#pragma once

constexpr int kSyncDivisionCount = 31;

constexpr float kSyncDivisionBars[kSyncDivisionCount] = {
    0.0f,       18.0f,     16.0f,     10.666667f, 12.0f,     8.0f,      5.333333f, 6.0f,
    4.0f,       2.666667f, 3.0f,      2.0f,       1.333333f, 1.5f,      1.0f,      0.666667f,
    0.75f,      0.5f,      0.333333f, 0.375f,     0.25f,     0.166667f, 0.1875f,   0.125f,
    0.083333f,  0.09375f,  0.0625f,   0.041667f,  0.046875f, 0.03125f,  0.020833f};

inline int syncDivisionIndex(float speed) {
    const int i = static_cast<int>(speed * 30.99f);
    return i < 0 ? 0 : (i >= kSyncDivisionCount ? kSyncDivisionCount - 1 : i);
}
