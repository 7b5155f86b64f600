// Decoded "Play Mode" and "Port Mode" choices.
#pragma once

namespace playmode {
constexpr int Poly = 0;
constexpr int Mono = 1;
constexpr int Mono2 = 2;
constexpr int Legato = 3;
constexpr int Arp = 4;
constexpr int Unison2 = 5;
constexpr int Unison4 = 6;
constexpr int Unison6 = 7;
}  // namespace playmode

namespace portmode {
constexpr int Off = 0;
constexpr int ConstRate = 1;
constexpr int ConstTime = 2;
constexpr int HeldRate = 3;
constexpr int HeldTime = 4;
}  // namespace portmode
