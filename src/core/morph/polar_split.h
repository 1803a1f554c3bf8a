#pragma once

#include "core/maps/weighted_map.h"

namespace quill {

// A symmetric 2×2 matrix [[xx, xy], [xy, yy]].
struct Symmetric2 {
  double xx = 0, xy = 0, yy = 0;
};

// The linear part of a map as a turn after a stretch: [[a, b], [c, d]] = R(turn)·S·F, S symmetric
// and positive semi-definite, F = diag(1, −1) when `mirrored` (det < 0), else the identity. The
// turn is in radians, in (−π, π].
struct PolarSplit {
  double turn = 0;
  Symmetric2 stretch;
  bool mirrored = false;
};

// The polar decomposition of the map's 2×2 part; a flat map (det 0) is not mirrored.
PolarSplit polarSplit(const PlaneMap& map);
// The same with the side given: a flat map splits either way; a map of the other sign gives an
// S that is not positive semi-definite.
PolarSplit polarSplit(const PlaneMap& map, bool mirrored);

// R(turn)·S·F as a map with the translation (e, f).
PlaneMap joinPolar(const PolarSplit& split, double e, double f);

// The determinant's sign: +1, −1, or 0 for a flat map.
int turnSign(const PlaneMap& map);

// log S and exp L of symmetric matrices through their eigenvectors, so the result stays
// symmetric. logSymmetric needs S positive definite.
Symmetric2 logSymmetric(const Symmetric2& s);
Symmetric2 expSymmetric(const Symmetric2& l);

// Whether S has an eigenvalue of 0 or less (a flat stretch has no logarithm).
bool isFlat(const Symmetric2& s);

}  // namespace quill
