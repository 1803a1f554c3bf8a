#pragma once

namespace quill {

// One affine map of the plane in unit-square coordinates: (x, y) -> (a x + b y + e, c x + d y + f).
struct PlaneMap {
  double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
};

// A map of a system with the probability p of choosing it: a row of the grid, of an .ifs entry,
// of the preview. The one map type of the code that does not have to match the canvas's own
// table (MapTable) bit for bit.
struct WeightedMap {
  PlaneMap map;
  double p = 0;
};

}  // namespace quill
