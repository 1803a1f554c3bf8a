#include "core/morph/polar_split.h"

#include <algorithm>
#include <cmath>

namespace quill {

namespace {

// The eigenvalues (first ≥ second) and the first eigenvector's angle of a symmetric matrix.
struct Eigen2 {
  double first = 0, second = 0, angle = 0;
};

Eigen2 eigen(const Symmetric2& s) {
  const double angle = 0.5 * std::atan2(2 * s.xy, s.xx - s.yy);
  const double c = std::cos(angle), sn = std::sin(angle);
  return {s.xx * c * c + 2 * s.xy * sn * c + s.yy * sn * sn,
          s.xx * sn * sn - 2 * s.xy * sn * c + s.yy * c * c, angle};
}

// f applied to the eigenvalues, the eigenvectors kept.
template <class F>
Symmetric2 applyToEigenvalues(const Symmetric2& s, F f) {
  const Eigen2 e = eigen(s);
  const double f1 = f(e.first), f2 = f(e.second);
  const double c = std::cos(e.angle), sn = std::sin(e.angle);
  return {f1 * c * c + f2 * sn * sn, (f1 - f2) * sn * c, f1 * sn * sn + f2 * c * c};
}

}  // namespace

int turnSign(const PlaneMap& map) {
  const double det = map.a * map.d - map.b * map.c;
  return det > 0 ? 1 : det < 0 ? -1 : 0;
}

PolarSplit polarSplit(const PlaneMap& map) { return polarSplit(map, turnSign(map) < 0); }

PolarSplit polarSplit(const PlaneMap& map, bool mirrored) {
  PolarSplit split;
  split.mirrored = mirrored;
  // M·F has det ≥ 0; F = F⁻¹, so M = (M·F)·F.
  const double a = map.a, c = map.c;
  const double b = split.mirrored ? -map.b : map.b;
  const double d = split.mirrored ? -map.d : map.d;
  // The turn that makes Rᵀ·M symmetric: tan θ = (c − b) / (a + d). With det ≥ 0 its trace,
  // √((a + d)² + (c − b)²), is not negative, so S is positive semi-definite.
  split.turn = std::atan2(c - b, a + d);
  const double cs = std::cos(split.turn), sn = std::sin(split.turn);
  split.stretch.xx = cs * a + sn * c;
  split.stretch.yy = -sn * b + cs * d;
  // Both off-diagonal products are equal in exact arithmetic; their mean halves the rounding.
  split.stretch.xy = 0.5 * ((cs * b + sn * d) + (-sn * a + cs * c));
  return split;
}

PlaneMap joinPolar(const PolarSplit& split, double e, double f) {
  const double cs = std::cos(split.turn), sn = std::sin(split.turn);
  const Symmetric2& s = split.stretch;
  PlaneMap map{cs * s.xx - sn * s.xy,
               cs * s.xy - sn * s.yy,
               sn * s.xx + cs * s.xy,
               sn * s.xy + cs * s.yy,
               e,
               f};
  if (split.mirrored) {
    map.b = -map.b;
    map.d = -map.d;
  }
  return map;
}

Symmetric2 logSymmetric(const Symmetric2& s) {
  return applyToEigenvalues(s, [](double v) { return std::log(v); });
}

Symmetric2 expSymmetric(const Symmetric2& l) {
  return applyToEigenvalues(l, [](double v) { return std::exp(v); });
}

bool isFlat(const Symmetric2& s) {
  // A flat map's stretch comes out of the split with its small side rounded to a few ulps of the
  // large one rather than to 0: that is flat too, or its logarithm would pull the morph flat.
  const Eigen2 e = eigen(s);
  return !(std::min(e.first, e.second) > 1e-9 * std::max(e.first, e.second));
}

}  // namespace quill
