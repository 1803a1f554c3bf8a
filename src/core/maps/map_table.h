#pragma once

#include <array>

namespace quill {

inline constexpr int kMaxMaps = 10;
// Twelve slots, indices 0 to 11: maps live at 1..mapCount, slot 0 and the slots above mapCount
// hold 0 and carry no map, slot 11 is never a map.
inline constexpr int kMapSlots = 12;

// The iterated function system being drawn. Map i is x' = a·x + b·y + e, y' = c·x + d·y + f,
// chosen with probability p; e and f are fractions of the drawing square's side.
struct MapTable {
  std::array<double, kMapSlots> mapA{};
  std::array<double, kMapSlots> mapB{};
  std::array<double, kMapSlots> mapC{};
  std::array<double, kMapSlots> mapD{};
  std::array<double, kMapSlots> mapE{};
  std::array<double, kMapSlots> mapF{};
  std::array<double, kMapSlots> mapP{};
  std::array<double, kMapSlots> mapCumP{};  // running sum of mapP, 0 for a row whose p is 0
  int mapCount = 0;                         // maps in use, 0 to 10

  // Sets slots 0 to 10 of every array to 0; slot 11 and mapCount are left alone.
  void clear() {
    for (int i = 0; i <= kMaxMaps; ++i) {
      mapA[i] = mapB[i] = mapC[i] = mapD[i] = mapE[i] = mapF[i] = mapP[i] = mapCumP[i] = 0.0;
    }
  }
};

}  // namespace quill
