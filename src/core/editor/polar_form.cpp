#include "core/editor/polar_form.h"

#include <cmath>
#include <numbers>

namespace quill {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

double degrees(double y, double x) { return std::atan2(y, x) / kDegree; }

}  // namespace

PolarForm polarForm(const PlaneMap& map) {
  return {std::hypot(map.a, map.c), std::hypot(map.b, map.d), degrees(map.c, map.a),
          degrees(-map.b, map.d)};
}

std::pair<double, double> cosSinDegrees(double degrees) {
  double turn = std::fmod(degrees, 360.0);  // exact
  if (turn > 180) turn -= 360;
  if (turn < -180) turn += 360;
  if (turn == 0) return {1.0, 0.0};
  if (turn == 90) return {0.0, 1.0};
  if (turn == -90) return {0.0, -1.0};
  if (turn == 180 || turn == -180) return {-1.0, 0.0};
  return {std::cos(turn * kDegree), std::sin(turn * kDegree)};
}

PlaneMap withR(const PlaneMap& map, double r, double thetaIfFlat) {
  PlaneMap out = map;
  const double old = std::hypot(map.a, map.c);
  if (old > 0 && std::isfinite(old)) {
    out.a = map.a / old * r;
    out.c = map.c / old * r;
  } else {
    const auto [cos, sin] = cosSinDegrees(thetaIfFlat);
    out.a = r * cos;
    out.c = r * sin;
  }
  return out;
}

PlaneMap withTheta(const PlaneMap& map, double theta) {
  PlaneMap out = map;
  const double r = std::hypot(map.a, map.c);
  const auto [cos, sin] = cosSinDegrees(theta);
  out.a = r * cos;
  out.c = r * sin;
  return out;
}

PlaneMap withS(const PlaneMap& map, double s, double phiIfFlat) {
  PlaneMap out = map;
  const double old = std::hypot(map.b, map.d);
  if (old > 0 && std::isfinite(old)) {
    out.b = map.b / old * s;
    out.d = map.d / old * s;
  } else {
    const auto [cos, sin] = cosSinDegrees(phiIfFlat);
    out.b = -s * sin;
    out.d = s * cos;
  }
  return out;
}

PlaneMap withPhi(const PlaneMap& map, double phi) {
  PlaneMap out = map;
  const double s = std::hypot(map.b, map.d);
  const auto [cos, sin] = cosSinDegrees(phi);
  out.b = -s * sin;
  out.d = s * cos;
  return out;
}

}  // namespace quill
