#pragma once

#include <cmath>
#include <optional>

#include "core/collage/collage_grid.h"
#include "core/maps/weighted_map.h"

namespace quill {

// A map of the plane written in a grid's column and row coordinates (column = x·resolution +
// margin, row = (1 − y)·resolution + margin), so that a hot loop steps cells without converting:
// (column, row) -> (a·column + b·row + e, c·column + d·row + f).
struct GridMap {
  double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;

  double column(double col, double row) const { return a * col + b * row + e; }
  double row(double col, double row) const { return c * col + d * row + f; }
};

// `map` in the coordinates of `grid`: its linear part with the signs of b and c turned (rows
// grow downwards), and the offsets that the change of origin and scale brings.
inline GridMap gridMap(const PlaneMap& map, const CollageGrid& grid) {
  const double r = grid.resolution;
  const double m = grid.margin;
  return {map.a,
          -map.b,
          -map.c,
          map.d,
          -map.a * m + map.b * (r + m) + r * map.e + m,
          map.c * m - map.d * (r + m) + r - r * map.f + m};
}

// The inverse of a grid map; none when it is singular or nearly so (|det| below 1e-12).
inline std::optional<GridMap> inverseGridMap(const GridMap& g) {
  const double det = g.a * g.d - g.b * g.c;
  if (!(std::abs(det) > 1e-12)) return std::nullopt;
  GridMap inv{g.d / det, -g.b / det, -g.c / det, g.a / det, 0, 0};
  inv.e = -(inv.a * g.e + inv.b * g.f);
  inv.f = -(inv.c * g.e + inv.d * g.f);
  return inv;
}

}  // namespace quill
