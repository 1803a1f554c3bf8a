#include "core/editor/view_rounding.h"

#include <algorithm>
#include <cmath>

namespace quill {

namespace {

constexpr int kMostDecimals = 10;
constexpr double kCoarsest = 0.5e-4;
constexpr double kFinest = 0.5e-10;
// Past this a double has no tenth decimal to give: 10^10 times it passes 2^53.
constexpr double kLargestWithDecimals = 9e5;

}  // namespace

double dragTolerance(double unitsPerPixel) {
  const double half = unitsPerPixel / 2;
  if (!std::isfinite(half)) return kCoarsest;
  return std::clamp(half, kFinest, kCoarsest);
}

double shortestDecimalWithin(double value, double tolerance) {
  if (!std::isfinite(value) || std::fabs(value) > kLargestWithDecimals) return value;
  double scale = 1;
  for (int decimals = 0; decimals <= kMostDecimals; ++decimals, scale *= 10) {
    // A whole number over a power of ten, both exact: the double nearest the decimal.
    const double decimal = std::round(value * scale) / scale;
    if (std::fabs(decimal - value) <= tolerance || decimals == kMostDecimals) return decimal;
  }
  return value;
}

PlaneMap roundedDrag(const PlaneMap& start, const PlaneMap& exact, double tolerance) {
  auto round = [tolerance](double value) { return shortestDecimalWithin(value, tolerance); };
  PlaneMap out = start;
  out.e = exact.e == start.e ? start.e : round(exact.e);
  out.f = exact.f == start.f ? start.f : round(exact.f);
  // Each of a to d as the way from the rounded P0 to the exact corner it leads to.
  out.a = exact.a == start.a ? start.a : round(exact.a + exact.e - out.e);
  out.b = exact.b == start.b ? start.b : round(exact.b + exact.e - out.e);
  out.c = exact.c == start.c ? start.c : round(exact.c + exact.f - out.f);
  out.d = exact.d == start.d ? start.d : round(exact.d + exact.f - out.f);
  return out;
}

}  // namespace quill
