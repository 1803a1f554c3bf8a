#include "core/maths/attractor_box.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace quill {

// The attractor's reach in a direction u is its support function h(u) = max over its points of
// u·x, which satisfies h(u) = max_i (u·t_i + h(A_iᵀ u)) for maps f_i(x) = A_i x + t_i. Unrolled,
// h(u) is the largest s_w + h(v_w) over words w of maps, with v_w = A_wᵀ u and s_w the offsets
// gathered on the way; the four sides of the box are h at ±x and ±y.
//
// A branch and bound finds it. Every node (s, v) has
//   a lower bound s + v·p for each fixed point p of a map (p lies in the attractor, so this is
//     the reach of an actual point: the `inner` box), and
//   an upper bound s + H(v), where H ≥ h everywhere: a convex polygon that holds the attractor.
// Nodes are expanded best upper bound first, diving from each along its best child; the search
// stops when the best upper bound lies within the tolerance of the best lower bound, and the
// side is that upper bound, so the box always holds the attractor. The tolerance is 1e-9 of the
// inner box's size, found by a coarse first pass, so never more than 1e-9 of the true size.
//
// The polygon is what keeps the search small. The ball bound v·c + |v|R alone (centre c, radius
// R = max_i |f_i(c) − c| / (1 − s_i), a ball each map sends into itself) is loose by about |v|R
// on every node. The polygon starts as that ball's bound in kDirections directions and is
// tightened by the same equation, H(d) ← max_i (d·t_i + H(A_iᵀ d)), which keeps H ≥ h: H between
// two neighbouring directions is taken from them by sublinearity, h(αd_k + βd_{k+1}) ≤ αh(d_k)
// + βh(d_{k+1}) for α, β ≥ 0. Where maps carry axis directions to axis directions (scalings,
// reflections, quarter turns) the polygon is exact on the axes and one dive ends the search.
//
// Cost: the presets and typical tables of ten maps take some 50 µs; ten heavily overlapping
// turns of stretch 0.9 a few ms, as the polygon's excess (about 1e-3 of |v|R) must shrink
// below the tolerance. The depth needed grows like log(tolerance) / log(stretch), so for maps
// that barely contract (stretch 0.99 and more) the search stops after kMaxWork children per side
// (some 10 to 30 ms in all) and keeps its upper bound: still a box that holds the attractor, but
// wider than the smallest one by up to the gap that attractorBoxBounds reports.

namespace {

constexpr int kDirections = 64;            // of the polygon, evenly spaced in pseudo-angle
constexpr int kPolygonRounds = 48;         // each shrinks the polygon's excess by about the stretch
constexpr double kPolygonSettled = 1e-12;  // of the ball's radius: a round that gains less ends
constexpr double kRelativeTolerance = 1e-9;  // of the box's size
constexpr double kCoarseTolerance = 1e-3;    // first pass, to learn the size
// Rounding of the arithmetic itself, relative to the size of the coordinates.
constexpr double kRoundoff = 64 * std::numeric_limits<double>::epsilon();
// Children looked at per side, at some 100 to 300 ns each (the heap grows).
constexpr std::size_t kMaxWork = std::size_t(1) << 14;
constexpr int kMaxDive = 4096;  // levels
constexpr std::size_t kMaxFixedPoints = 16;

struct Vec {
  double x = 0, y = 0;
};

double dot(Vec p, Vec q) { return p.x * q.x + p.y * q.y; }
double cross(Vec p, Vec q) { return p.x * q.y - p.y * q.x; }

// The transposed linear part applied to v.
Vec transposed(const PlaneMap& m, Vec v) { return {m.a * v.x + m.c * v.y, m.b * v.x + m.d * v.y}; }

// A pseudo-angle in [0, 4) that grows with the angle of v ≠ 0: the position along the diamond
// |x| + |y| = 1, so the directions are found without trigonometry.
double pseudoAngle(Vec v) {
  if (v.y >= 0) return v.x >= 0 ? v.y / (v.x + v.y) : 1 + -v.x / (v.y - v.x);
  return v.x < 0 ? 2 + -v.y / (-v.x - v.y) : 3 + v.x / (v.x - v.y);
}

// The point of the diamond at pseudo-angle t.
Vec diamondPoint(double t) {
  const int quarter = int(t);
  const double u = t - quarter;
  switch (quarter) {
    case 0:
      return {1 - u, u};
    case 1:
      return {-u, 1 - u};
    case 2:
      return {u - 1, -u};
    default:
      return {u, u - 1};
  }
}

class Bounds {
 public:
  Bounds(std::span<const PlaneMap> maps, Vec centre, double radius)
      : maps_(maps), centre_(centre), radius_(radius) {
    for (int k = 0; k < kDirections; ++k) {
      direction_[k] = diamondPoint(4.0 * k / kDirections);
      polygon_[k] = ball(direction_[k]);
    }
    tighten();
  }

  // An upper bound of h(v).
  double upper(Vec v) const {
    if (v.x == 0 && v.y == 0) return 0;
    const Cone cone = coneOf(v);
    return cone.valid ? std::min(valueIn(cone), cone.ball) : cone.ball;
  }

 private:
  // v = alpha d_k + beta d_{k+1}; `valid` is false where rounding puts v a hair outside the
  // cone, and the ball's bound, which holds everywhere, is used alone.
  struct Cone {
    int k = 0;
    double alpha = 0, beta = 0, ball = 0;
    bool valid = false;
  };

  Cone coneOf(Vec v) const {
    Cone cone;
    const double t = pseudoAngle(v);
    cone.k = std::clamp(int(t * (kDirections / 4.0)), 0, kDirections - 1);
    const Vec d0 = direction_[cone.k];
    const Vec d1 = direction_[(cone.k + 1) % kDirections];
    const double det = cross(d0, d1);
    cone.alpha = cross(v, d1) / det;
    cone.beta = cross(d0, v) / det;
    cone.ball = ball(v);
    cone.valid = cone.alpha >= 0 && cone.beta >= 0;
    return cone;
  }

  double valueIn(const Cone& cone) const {
    return cone.alpha * polygon_[cone.k] + cone.beta * polygon_[(cone.k + 1) % kDirections];
  }

  double ball(Vec v) const { return dot(v, centre_) + std::hypot(v.x, v.y) * radius_; }

  // The directions' images under every map do not change from round to round: find their
  // cones once.
  void tighten() {
    struct Step {
      double offset;
      Cone cone;
      bool zero;
    };
    std::vector<Step> steps;
    steps.reserve(std::size_t(kDirections) * maps_.size());
    for (int k = 0; k < kDirections; ++k) {
      const Vec d = direction_[k];
      for (const PlaneMap& m : maps_) {
        const Vec v = transposed(m, d);
        const bool zero = v.x == 0 && v.y == 0;
        steps.push_back({d.x * m.e + d.y * m.f, zero ? Cone{} : coneOf(v), zero});
      }
    }
    // In place: each new side is a bound already, and later directions of the round use it.
    for (int round = 0; round < kPolygonRounds; ++round) {
      double change = 0;
      const Step* step = steps.data();
      for (int k = 0; k < kDirections; ++k) {
        double reach = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < maps_.size(); ++i, ++step) {
          const Cone& cone = step->cone;
          const double h = step->zero   ? 0.0
                           : cone.valid ? std::min(valueIn(cone), cone.ball)
                                        : cone.ball;
          reach = std::max(reach, step->offset + h);
        }
        if (reach < polygon_[k]) {
          change = std::max(change, polygon_[k] - reach);
          polygon_[k] = reach;
        }
      }
      if (!(change > kPolygonSettled * radius_)) break;
    }
  }

  std::span<const PlaneMap> maps_;
  Vec centre_;
  double radius_;
  std::array<Vec, kDirections> direction_{};
  std::array<double, kDirections> polygon_{};  // ≥ h(direction_[k])
};

// The branch and bound of h in one direction, resumable with a finer tolerance.
class SupportSearch {
 public:
  SupportSearch(std::span<const PlaneMap> maps, const Bounds& bounds, std::span<const Vec> points,
                Vec u)
      : maps_(maps), bounds_(bounds), points_(points) {
    best_ = reachOf(u);
    heap_.push_back({bounds.upper(u), 0, u});
    if (heap_.front().upper <= best_) heap_.clear();
  }

  // Expands nodes until the gap is within `tolerance` or `budget` children have been looked at.
  // From each node taken off the heap the search dives: it goes on with the child of the best
  // upper bound and leaves its siblings on the heap, so the lower bound follows one path to the
  // side at once. Without the dives a side that the attractor touches along a segment, where
  // many nodes share the best upper bound, would be refined breadth first.
  void refine(double tolerance, std::size_t& budget) {
    while (!heap_.empty() && heap_.front().upper - best_ > tolerance && budget > 0) {
      std::pop_heap(heap_.begin(), heap_.end(), byUpper);
      Node current = heap_.back();
      heap_.pop_back();
      for (int depth = 0;; ++depth) {
        if (current.upper <= best_) break;
        if (depth == kMaxDive || budget == 0 || current.upper - best_ <= tolerance) {
          push(current);
          break;
        }
        std::optional<Node> next;
        for (const PlaneMap& m : maps_) {
          budget -= budget > 0 ? 1 : 0;
          const Vec v = transposed(m, current.v);
          const double s = current.s + current.v.x * m.e + current.v.y * m.f;
          // A child reaches no farther than its parent's bound.
          const double upper = std::min(s + bounds_.upper(v), current.upper);
          if (upper <= best_) continue;
          best_ = std::max(best_, s + reachOf(v));
          if (upper <= best_) continue;
          const Node child{upper, s, v};
          if (!next) {
            next = child;
          } else if (child.upper > next->upper) {
            push(*next);
            next = child;
          } else {
            push(child);
          }
        }
        if (!next) break;
        current = *next;
      }
    }
  }

  double lower() const { return best_; }
  double upper() const { return heap_.empty() ? best_ : std::max(heap_.front().upper, best_); }

 private:
  struct Node {
    double upper;  // ≥ s + h(v)
    double s;
    Vec v;
  };
  static bool byUpper(const Node& p, const Node& q) { return p.upper < q.upper; }
  void push(const Node& node) {
    heap_.push_back(node);
    std::push_heap(heap_.begin(), heap_.end(), byUpper);
  }

  // The farthest of the known attractor points in direction v.
  double reachOf(Vec v) const {
    double reach = -std::numeric_limits<double>::infinity();
    for (Vec p : points_) reach = std::max(reach, dot(v, p));
    return reach;
  }

  std::span<const PlaneMap> maps_;
  const Bounds& bounds_;
  std::span<const Vec> points_;
  double best_;
  std::vector<Node> heap_;
};

bool finite(const PlaneMap& m) {
  return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
         std::isfinite(m.e) && std::isfinite(m.f);
}

}  // namespace

ScaledLinearPart scaledLinearPart(const PlaneMap& m) {
  ScaledLinearPart part;
  const double largest = std::max({std::abs(m.a), std::abs(m.b), std::abs(m.c), std::abs(m.d)});
  if (std::isfinite(largest)) std::frexp(largest, &part.exponent);
  part.a = std::ldexp(m.a, -part.exponent);  // exact, but for entries below 2^-1022 once scaled
  part.b = std::ldexp(m.b, -part.exponent);
  part.c = std::ldexp(m.c, -part.exponent);
  part.d = std::ldexp(m.d, -part.exponent);
  // A = the rotation part [[p, −q], [q, p]] plus the reflection part [[r, s], [s, −r]]; σ_max is
  // the sum of their lengths |(p, q)| = |(a + d, c − b)| / 2 and |(r, s)| = |(a − d, b + c)| / 2.
  part.stretch = (std::hypot(part.a + part.d, part.c - part.b) +
                  std::hypot(part.a - part.d, part.b + part.c)) /
                 2;
  return part;
}

double largestStretch(const PlaneMap& m) {
  const ScaledLinearPart part = scaledLinearPart(m);
  return std::ldexp(part.stretch, part.exponent);
}

std::optional<BoxBounds> attractorBoxBounds(std::span<const PlaneMap> maps) {
  if (maps.empty()) return std::nullopt;
  std::vector<double> stretch;
  for (const PlaneMap& m : maps) {
    const double s = largestStretch(m);
    if (!finite(m) || !(s < 1)) return std::nullopt;
    stretch.push_back(s);
  }

  // Fixed points lie in the attractor; their mean is the centre of the ball.
  std::vector<Vec> points;
  for (std::size_t i = 0; i < maps.size() && i < kMaxFixedPoints; ++i) {
    const PlaneMap& m = maps[i];
    const double det = (1 - m.a) * (1 - m.d) - m.b * m.c;  // > 0 for a contraction
    points.push_back({((1 - m.d) * m.e + m.b * m.f) / det, (m.c * m.e + (1 - m.a) * m.f) / det});
  }
  Vec centre;
  for (Vec p : points)
    centre = {centre.x + p.x / double(points.size()), centre.y + p.y / double(points.size())};
  double radius = 0;
  for (std::size_t i = 0; i < maps.size(); ++i) {
    const PlaneMap& m = maps[i];
    const Vec moved{m.a * centre.x + m.b * centre.y + m.e - centre.x,
                    m.c * centre.x + m.d * centre.y + m.f - centre.y};
    radius = std::max(radius, std::hypot(moved.x, moved.y) / (1 - stretch[i]));
  }
  if (!std::isfinite(radius)) return std::nullopt;

  const Bounds bounds(maps, centre, radius);
  const std::array<Vec, 4> sides{Vec{1, 0}, Vec{0, 1}, Vec{-1, 0}, Vec{0, -1}};
  std::vector<SupportSearch> searches;
  for (Vec u : sides) searches.emplace_back(maps, bounds, points, u);

  auto sizeOf = [&](bool outer) {
    auto side = [&](int k) { return outer ? searches[k].upper() : searches[k].lower(); };
    return std::max(side(0) + side(2), side(1) + side(3));
  };
  const double floor = kRoundoff * (std::max(std::abs(centre.x), std::abs(centre.y)) + radius);
  std::array<std::size_t, 4> budget{};
  budget.fill(kMaxWork);
  // First a coarse pass to learn the size, then the fine one relative to a size that is never
  // more than the true one.
  const double coarse = std::max(kCoarseTolerance * sizeOf(true), floor);
  for (int k = 0; k < 4; ++k) searches[k].refine(coarse, budget[k]);
  const double fine = std::max(kRelativeTolerance * std::max(sizeOf(false), 0.0), floor);
  for (int k = 0; k < 4; ++k) searches[k].refine(fine, budget[k]);

  BoxBounds result;
  result.outer = {-searches[2].upper(), -searches[3].upper(), searches[0].upper(),
                  searches[1].upper()};
  result.inner = {-searches[2].lower(), -searches[3].lower(), searches[0].lower(),
                  searches[1].lower()};
  return result;
}

std::optional<BoxBounds> rescaledAttractorBoxBounds(std::span<const PlaneMap> maps) {
  // y' = k y conjugates A to [[a, b / k], [k c, d]] and t to (e, k f).
  auto scaled = [&](double k) {
    std::vector<PlaneMap> result;
    for (const PlaneMap& m : maps) result.push_back({m.a, m.b / k, k * m.c, m.d, m.e, k * m.f});
    return result;
  };
  double bestScale = 1;
  double bestStretch = std::numeric_limits<double>::infinity();
  for (int step = -16; step <= 16; ++step) {
    const double k = std::exp2(step / 4.0);
    double stretch = 0;
    for (const PlaneMap& m : scaled(k)) stretch = std::max(stretch, largestStretch(m));
    if (stretch < bestStretch) {
      bestStretch = stretch;
      bestScale = k;
    }
  }
  const std::vector<PlaneMap> conjugated = scaled(bestScale);
  std::optional<BoxBounds> bounds = attractorBoxBounds(conjugated);
  if (!bounds) return std::nullopt;
  for (Box* box : {&bounds->outer, &bounds->inner}) {
    box->ymin /= bestScale;
    box->ymax /= bestScale;
  }
  return bounds;
}

std::optional<Box> attractorBox(std::span<const PlaneMap> maps) {
  const std::optional<BoxBounds> bounds = attractorBoxBounds(maps);
  if (!bounds) return std::nullopt;
  return bounds->outer;
}

}  // namespace quill
