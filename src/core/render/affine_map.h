#pragma once

#include <array>

#include "core/maps/map_table.h"
#include "core/render/view.h"

namespace quill {

// One map of the table acting on figure coordinates: the translation is a fraction of the
// drawing square's side, so it is scaled by viewScale once here (the same product the drawing
// would form per point, so the results agree to the bit).
struct ScaledMap {
  double a = 0;
  double b = 0;
  double c = 0;
  double d = 0;
  double e = 0;  // mapE × viewScale
  double f = 0;  // mapF × viewScale

  // (a·x + b·y) + e and (c·x + d·y) + f, both from the old point, in that order of operations.
  FigurePoint apply(FigurePoint p) const {
    return {(a * p.x + b * p.y) + e, (c * p.x + d * p.y) + f};
  }
};

inline ScaledMap scaledMap(const MapTable& maps, int k, double viewScale) {
  return {maps.mapA[k],
          maps.mapB[k],
          maps.mapC[k],
          maps.mapD[k],
          maps.mapE[k] * viewScale,
          maps.mapF[k] * viewScale};
}

// Slots 0 to 11 of the table, scaled; slot 0 and the slots above mapCount are the zero map.
inline std::array<ScaledMap, kMapSlots> scaledMaps(const MapTable& maps, double viewScale) {
  std::array<ScaledMap, kMapSlots> scaled{};
  for (int k = 0; k < kMapSlots; ++k) scaled[k] = scaledMap(maps, k, viewScale);
  return scaled;
}

}  // namespace quill
