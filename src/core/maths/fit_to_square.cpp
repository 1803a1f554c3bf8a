#include "core/maths/fit_to_square.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quill {

namespace {

constexpr double kPointSide = 1e-9;  // of the attractor's distance from the origin

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
    g.e = s * m.e - (m.a * tx + m.b * ty) + tx;
    g.f = s * m.f - (m.c * tx + m.d * ty) + ty;
    if (!std::isfinite(g.e) || !std::isfinite(g.f)) return Failure{kCannotFitMessage};
    fitted.push_back(g);
  }
  return fitted;
}

}  // namespace quill
