#include "render/invariant_disc.h"

#include <algorithm>
#include <cmath>

namespace quill {

namespace {

// Maps that shrink by less than this are treated as not shrinking: their disc would be huge and
// the pruning worthless.
constexpr double kLeastShrink = 1e-9;
// Relative size of the rounding allowance; the true rounding of 21 levels is below 1e-13.
constexpr double kRoundingShare = 1e-9;

double distance(FigurePoint p, FigurePoint q) { return std::hypot(p.x - q.x, p.y - q.y); }

// The smallest radius the disc may have around `c`.
double radiusAround(FigurePoint c, std::span<const ScaledMap> maps, std::span<const double> stretch,
                    std::span<const FigurePoint> base) {
  double radius = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    radius = std::max(radius, distance(maps[i].apply(c), c) / (1 - stretch[i]));
  }
  for (const FigurePoint& p : base) radius = std::max(radius, distance(p, c));
  return radius;
}

}  // namespace

double stretchOf(const ScaledMap& map) {
  // For [[a, b], [c, d]] the singular values are (|z1| ± |z2|) / 2 with z1 = (a + d, c − b) and
  // z2 = (a − d, b + c).
  const double s =
      (std::hypot(map.a + map.d, map.c - map.b) + std::hypot(map.a - map.d, map.b + map.c)) / 2;
  return s * (1 + 1e-12);
}

InvariantDisc invariantDisc(std::span<const ScaledMap> maps, std::span<const FigurePoint> base) {
  InvariantDisc disc;
  if (maps.empty() || base.empty() || maps.size() > kMapSlots) return disc;
  double stretch[kMapSlots] = {};
  double largest = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    stretch[i] = stretchOf(maps[i]);
    if (!(stretch[i] < 1 - kLeastShrink)) return disc;  // NaN too
    largest = std::max(largest, stretch[i]);
  }
  const std::span<const double> stretches(stretch, maps.size());

  // The radius is a convex function of the centre: a pattern search from the base figure's
  // centroid finds a good centre in a few hundred evaluations.
  FigurePoint c{0, 0};
  for (const FigurePoint& p : base) c = {c.x + p.x, c.y + p.y};
  c = {c.x / double(base.size()), c.y / double(base.size())};
  double radius = radiusAround(c, maps, stretches, base);
  if (!std::isfinite(radius)) return disc;
  double step = radius / 2;
  for (int round = 0; round < 200 && step > radius * 1e-6; ++round) {
    bool moved = false;
    for (const FigurePoint direction :
         {FigurePoint{1, 0}, FigurePoint{-1, 0}, FigurePoint{0, 1}, FigurePoint{0, -1}}) {
      const FigurePoint trial{c.x + step * direction.x, c.y + step * direction.y};
      const double r = radiusAround(trial, maps, stretches, base);
      if (r < radius) {
        c = trial;
        radius = r;
        moved = true;
      }
    }
    if (!moved) step /= 2;
  }

  double scale = std::abs(c.x) + std::abs(c.y) + radius;
  for (const ScaledMap& map : maps) scale = std::max(scale, std::abs(map.e) + std::abs(map.f));
  for (const FigurePoint& p : base) scale = std::max(scale, std::abs(p.x) + std::abs(p.y));
  disc.margin = kRoundingShare * (scale + 1) * (1 + 1 / (1 - largest));
  disc.centre = c;
  disc.radius = radius * (1 + 1e-12);
  disc.contractive = std::isfinite(disc.radius) && std::isfinite(disc.margin);
  return disc;
}

}  // namespace quill
