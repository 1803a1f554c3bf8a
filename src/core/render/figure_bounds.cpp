#include "core/render/figure_bounds.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace quill {

namespace {

// The tolerances are explained in docs/exact_fractal.md.

// Maps that shrink by less than this are treated as not shrinking: their bounds would be huge
// and the pruning worthless.
constexpr double kLeastShrink = 1e-9;
// The rounding of 21 levels of maps stays below 1e-15 of the coordinates' size for every level's
// worth of shrinking; the margin allows a thousand times more.
constexpr double kRoundingShare = 1e-12;

// The searches for the shape and the centre only tighten the bounds, which hold for any shape
// and centre: they stop after this many rounds, or when their step falls below this share.
constexpr int kShapeSearchRounds = 400;
constexpr int kCentreSearchRounds = 300;
constexpr double kSearchStepShare = 1e-7;

Linear inverse(const Linear& m) {
  const double det = m.a11 * m.a22 - m.a12 * m.a21;
  return {m.a22 / det, -m.a12 / det, -m.a21 / det, m.a11 / det};
}

// Lower triangular [[1, 0], [q, e^t]]: every ellipse's shape up to size and a turn, which change
// no stretch.
Linear shapeOf(double q, double t) { return {1, 0, q, std::exp(t)}; }

double worstStretch(std::span<const ScaledMap> maps, const Linear& shape) {
  const Linear back = inverse(shape);
  double worst = 0;
  for (const ScaledMap& map : maps) {
    worst = std::max(worst, stretchOf(back * linearPart(map) * shape));
  }
  return std::isnan(worst) ? INFINITY : worst;
}

// Coordinates in which every map shrinks as much as possible; the identity when the maps shrink
// as they stand.
Linear bestShape(std::span<const ScaledMap> maps) {
  double worst = worstStretch(maps, Linear{});
  if (worst < 1 - kLeastShrink) return Linear{};
  double q = 0;
  double t = 0;
  double step = 1;
  for (int round = 0; round < kShapeSearchRounds && step > kSearchStepShare; ++round) {
    bool moved = false;
    for (const auto& [dq, dt] : {std::array{1.0, 0.0}, std::array{-1.0, 0.0}, std::array{0.0, 1.0},
                                 std::array{0.0, -1.0}}) {
      const double trial = worstStretch(maps, shapeOf(q + step * dq, t + step * dt));
      if (trial < worst) {
        q += step * dq;
        t += step * dt;
        worst = trial;
        moved = true;
      }
    }
    if (!moved) step /= 2;
  }
  return shapeOf(q, t);
}

double norm(FigurePoint p) { return std::hypot(p.x, p.y); }
FigurePoint minus(FigurePoint p, FigurePoint q) { return {p.x - q.x, p.y - q.y}; }

// The radius the maps' limit set needs around `c`: the largest |S⁻¹(w(c) − c)| / (1 − stretch).
double limitRadius(FigurePoint c, std::span<const ScaledMap> maps, std::span<const double> stretch,
                   const Linear& back) {
  double radius = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    radius = std::max(radius, norm(back * minus(maps[i].apply(c), c)) / (1 - stretch[i]));
  }
  return radius;
}

// A centre that makes the limit radius small: it is a convex function of the centre, so a
// pattern search from the base figure's centroid finds one in a few hundred evaluations.
FigurePoint bestCentre(std::span<const ScaledMap> maps, std::span<const double> stretch,
                       const Linear& back, std::span<const FigurePoint> base) {
  FigurePoint c{0, 0};
  for (const FigurePoint& p : base) c = {c.x + p.x, c.y + p.y};
  c = {c.x / double(base.size()), c.y / double(base.size())};
  double radius = limitRadius(c, maps, stretch, back);
  double step = std::max(radius, 1.0) / 2;
  for (int round = 0; round < kCentreSearchRounds && step > radius * kSearchStepShare; ++round) {
    bool moved = false;
    for (const FigurePoint direction :
         {FigurePoint{1, 0}, FigurePoint{-1, 0}, FigurePoint{0, 1}, FigurePoint{0, -1}}) {
      const FigurePoint trial{c.x + step * direction.x, c.y + step * direction.y};
      const double r = limitRadius(trial, maps, stretch, back);
      if (r < radius) {
        c = trial;
        radius = r;
        moved = true;
      }
    }
    if (!moved) step /= 2;
  }
  return c;
}

// Widens lo–hi to hold the image of the box centre ± half under the map.
void boxImage(const ScaledMap& map, FigurePoint centre, FigurePoint half, FigurePoint& lo,
              FigurePoint& hi) {
  const FigurePoint c = map.apply(centre);
  const double hx = std::abs(map.a) * half.x + std::abs(map.b) * half.y;
  const double hy = std::abs(map.c) * half.x + std::abs(map.d) * half.y;
  lo = {std::min(lo.x, c.x - hx), std::min(lo.y, c.y - hy)};
  hi = {std::max(hi.x, c.x + hx), std::max(hi.y, c.y + hy)};
}

// The boxes of every level: the base's, then each level's around the maps' images of the one
// before, cut down to the box around the level's ellipse (both hold every figure, so their
// overlap does).
void levelBoxes(FigureBounds& bounds, std::span<const ScaledMap> maps,
                std::span<const FigurePoint> base) {
  FigurePoint lo{INFINITY, INFINITY};
  FigurePoint hi{-INFINITY, -INFINITY};
  for (const FigurePoint& p : base) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
  }
  const Linear& shape = bounds.shape;
  const double reachX = std::hypot(shape.a11, shape.a12);  // the ellipse's reach per radius
  const double reachY = std::hypot(shape.a21, shape.a22);
  const FigurePoint c = bounds.centre;
  for (int r = 0; r < kFigureLevels; ++r) {
    if (r > 0) {
      const FigurePoint centre = bounds.boxCentre[r - 1];
      const FigurePoint half = bounds.boxHalf[r - 1];
      lo = {INFINITY, INFINITY};
      hi = {-INFINITY, -INFINITY};
      for (const ScaledMap& map : maps) boxImage(map, centre, half, lo, hi);
      const double rx = bounds.radius[r] * reachX;
      const double ry = bounds.radius[r] * reachY;
      lo = {std::max(lo.x, c.x - rx), std::max(lo.y, c.y - ry)};
      hi = {std::min(hi.x, c.x + rx), std::min(hi.y, c.y + ry)};
    }
    bounds.boxCentre[r] = {(lo.x + hi.x) / 2, (lo.y + hi.y) / 2};
    bounds.boxHalf[r] = {(hi.x - lo.x) / 2, (hi.y - lo.y) / 2};
  }
}

double size(const Linear& m) {
  return std::abs(m.a11) + std::abs(m.a12) + std::abs(m.a21) + std::abs(m.a22);
}

}  // namespace

double stretchOf(const Linear& m) {
  // The singular values are (|z1| ± |z2|) / 2 with z1 = (a11 + a22, a21 − a12) and
  // z2 = (a11 − a22, a12 + a21).
  const double s =
      (std::hypot(m.a11 + m.a22, m.a21 - m.a12) + std::hypot(m.a11 - m.a22, m.a12 + m.a21)) / 2;
  return s * (1 + kRoundUpShare);
}

FigureBounds figureBounds(std::span<const ScaledMap> maps, std::span<const FigurePoint> base) {
  FigureBounds bounds;
  if (maps.empty() || base.empty() || maps.size() > kMapSlots) return bounds;
  const Linear shape = bestShape(maps);
  const Linear back = inverse(shape);
  std::array<double, kMapSlots> stretch{};
  double largest = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    stretch[i] = stretchOf(back * linearPart(maps[i]) * shape);
    if (!(stretch[i] < 1 - kLeastShrink)) return bounds;  // NaN too
    largest = std::max(largest, stretch[i]);
  }
  const std::span<const double> stretches(stretch.data(), maps.size());
  const FigurePoint c = bestCentre(maps, stretches, back, base);

  // Ellipses: the base's, then each level's from the one before.
  double radius = 0;
  for (const FigurePoint& p : base) radius = std::max(radius, norm(back * minus(p, c)));
  bounds.radius[0] = radius;
  for (int r = 1; r < kFigureLevels; ++r) {
    double next = 0;
    for (std::size_t i = 0; i < maps.size(); ++i) {
      next = std::max(next,
                      stretch[i] * bounds.radius[r - 1] + norm(back * minus(maps[i].apply(c), c)));
    }
    bounds.radius[r] = next;
  }
  bounds.centre = c;
  bounds.shape = shape;
  bounds.back = back;
  levelBoxes(bounds, maps, base);

  // The size of every coordinate the drawing computes, and how much rounding grows on its way
  // through the maps (in the shrinking coordinates, then back).
  double scale = std::abs(c.x) + std::abs(c.y) +
                 size(shape) * std::max(radius, bounds.radius[kFigureLevels - 1]);
  for (const ScaledMap& map : maps) scale = std::max(scale, std::abs(map.e) + std::abs(map.f));
  for (const FigurePoint& p : base) scale = std::max(scale, std::abs(p.x) + std::abs(p.y));
  const double growth = (1 + 1 / (1 - largest)) * size(shape) * size(back);
  bounds.margin = kRoundingShare * (scale + 1) * growth;
  bool finite = std::isfinite(bounds.margin);
  for (int r = 0; r < kFigureLevels; ++r) {
    bounds.radius[r] *= 1 + kRoundUpShare;
    finite = finite && std::isfinite(bounds.radius[r]) && std::isfinite(bounds.boxHalf[r].x) &&
             std::isfinite(bounds.boxHalf[r].y) && std::isfinite(bounds.boxCentre[r].x) &&
             std::isfinite(bounds.boxCentre[r].y);
  }
  bounds.contractive = finite;
  return bounds;
}

}  // namespace quill
