#pragma once

#include <utility>

#include "core/maps/weighted_map.h"

namespace quill {

// A map's linear part in the form Compute Parameters speaks: a = r·cos θ, b = −s·sin φ,
// c = r·sin θ, d = s·cos φ. So r = |(a, c)|, θ = atan2(c, a), s = |(b, d)|, φ = atan2(−b, d);
// the angles in degrees, in (−180, 180].
struct PolarForm {
  double r = 0, s = 0, theta = 0, phi = 0;
};
PolarForm polarForm(const PlaneMap& map);

// cos and sin of `degrees`, exact at every multiple of 90° (a quarter turn gives 0 and ±1, not
// 6e-17), the angle first brought into [−180, 180] so that large angles lose no digits.
std::pair<double, double> cosSinDegrees(double degrees);

// `map` with r or θ set: only a and c change. A new r keeps the direction of (a, c), or takes
// `thetaIfFlat` degrees when (a, c) is (0, 0); a new θ keeps r.
PlaneMap withR(const PlaneMap& map, double r, double thetaIfFlat);
PlaneMap withTheta(const PlaneMap& map, double theta);
// `map` with s or φ set: only b and d change, as withR and withTheta do for a and c.
PlaneMap withS(const PlaneMap& map, double s, double phiIfFlat);
PlaneMap withPhi(const PlaneMap& map, double phi);

}  // namespace quill
