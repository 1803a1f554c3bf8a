#include "core/maths/fit_to_square.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quill {

namespace {

constexpr double kPointSide = 1e-9;  // of the attractor's distance from the origin
// Translations are kept to whole multiples of 1e-12 of the square's side: the fit's own rounding
// (0.0100000000000002 for 0.01) would otherwise reach the grid's texts, and fitting a fitted
// system again would not leave it as it was. The attractor moves by at most
// 0.5e-12 / (1 − σ1), far below what a picture shows.
constexpr double kTranslationsPerSide = 1e12;

double roundedTranslation(double t) {
  const double steps = t * kTranslationsPerSide;
  // Beyond 2^52 steps a double holds no fraction of a step: nothing to round.
  if (!(std::abs(steps) < 0x1p52)) return t;
  // A whole number over 10^12, divided once: the double nearest the decimal, so its shortest
  // text has at most 12 decimals.
  return std::round(steps) / kTranslationsPerSide + 0.0;
}

}  // namespace

Result<std::vector<PlaneMap>> fitToSquare(std::span<const PlaneMap> maps) {
  std::optional<Box> box = attractorBox(maps);
  if (!box) {
    if (const std::optional<BoxBounds> bounds = rescaledAttractorBoxBounds(maps))
      box = bounds->outer;
  }
  if (!box) return Failure{kNoAttractorMessage};

  // T(x) = s·x + t sends the box's centre to the square's and its longer side to kFittedSide.
  const double side = std::max(box->xmax - box->xmin, box->ymax - box->ymin);
  // A side this small against the coordinates is the box search's rounding, not the attractor's
  // size: the attractor is one point (every map sharing its fixed point), and is only moved.
  const double reach = std::max(
      {std::abs(box->xmin), std::abs(box->xmax), std::abs(box->ymin), std::abs(box->ymax)});
  double s = kFittedSide / side;
  if (!(side > kPointSide * reach) || !std::isfinite(s)) s = 1;
  const double tx = 0.5 - s * (box->xmin + box->xmax) / 2;
  const double ty = 0.5 - s * (box->ymin + box->ymax) / 2;

  // T∘f∘T⁻¹(x) = A·x + s·e − A·t + t.
  std::vector<PlaneMap> fitted;
  fitted.reserve(maps.size());
  for (const PlaneMap& m : maps) {
    PlaneMap g = m;
    g.e = roundedTranslation(s * m.e - (m.a * tx + m.b * ty) + tx);
    g.f = roundedTranslation(s * m.f - (m.c * tx + m.d * ty) + ty);
    if (!std::isfinite(g.e) || !std::isfinite(g.f)) return Failure{kCannotFitMessage};
    fitted.push_back(g);
  }
  return fitted;
}

}  // namespace quill
