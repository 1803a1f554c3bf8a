// Seeds for a fit from nothing: a cover of the target by the images of itself.

#include "core/collage/cover_seeds.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/base/chaos_random.h"
#include "core/collage/fit_maps.h"

namespace quill {

namespace {

constexpr int kSamples = 4096;  // target cells clustered
constexpr int kRounds = 40;     // of Lloyd's k-means
constexpr int kTurns = 24;      // turns tried for each map, both ways round
constexpr double kSeedStretch = 0.9;
constexpr double kFlat = 1e-8;  // added to a spread so that a line still has a shape

using Vec = Eigen::Vector2d;
using Mat = Eigen::Matrix2d;

// The symmetric square root of a spread (covariance), or its inverse.
Mat root(const Mat& spread, bool inverse) {
  const Eigen::SelfAdjointEigenSolver<Mat> solver(spread + kFlat * Mat::Identity());
  Vec values = solver.eigenvalues().cwiseMax(kFlat).cwiseSqrt();
  if (inverse) values = values.cwiseInverse();
  return solver.eigenvectors() * values.asDiagonal() * solver.eigenvectors().transpose();
}

struct Cluster {
  Vec mean = Vec::Zero();
  Mat spread = Mat::Zero();
  int count = 0;
};

Cluster clusterOf(const std::vector<Vec>& points, const std::vector<int>& label, int k) {
  Cluster c;
  for (std::size_t n = 0; n < points.size(); ++n) {
    if (label[n] != k) continue;
    c.mean += points[n];
    ++c.count;
  }
  if (c.count == 0) return c;
  c.mean /= c.count;
  for (std::size_t n = 0; n < points.size(); ++n) {
    if (label[n] != k) continue;
    const Vec d = points[n] - c.mean;
    c.spread += d * d.transpose();
  }
  c.spread /= c.count;
  return c;
}

// k-means++ then Lloyd's rounds: a label for every point.
std::vector<int> kMeans(const std::vector<Vec>& points, int count, ChaosRandom& random) {
  std::vector<Vec> centres{points[std::size_t(random.next() * float(points.size()))]};
  std::vector<double> near(points.size(), std::numeric_limits<double>::max());
  while (int(centres.size()) < count) {
    double total = 0;
    for (std::size_t n = 0; n < points.size(); ++n) {
      near[n] = std::min(near[n], (points[n] - centres.back()).squaredNorm());
      total += near[n];
    }
    double pick = double(random.next()) * total;
    std::size_t chosen = 0;
    while (chosen + 1 < points.size() && pick >= near[chosen]) pick -= near[chosen++];
    centres.push_back(points[chosen]);
  }
  std::vector<int> label(points.size(), 0);
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t n = 0; n < points.size(); ++n) {
      double closest = std::numeric_limits<double>::max();
      for (int k = 0; k < count; ++k) {
        const double d = (points[n] - centres[std::size_t(k)]).squaredNorm();
        if (d < closest) {
          closest = d;
          label[n] = k;
        }
      }
    }
    for (int k = 0; k < count; ++k) {
      const Cluster c = clusterOf(points, label, k);
      if (c.count > 0) centres[std::size_t(k)] = c.mean;
    }
  }
  return label;
}

// How far, on average, a map throws the target's samples from the target, in cells.
double spill(const Target& target, const std::vector<Vec>& points, const PlaneMap& m) {
  const CollageGrid grid = target.mask.grid;
  const int side = grid.side();
  double sum = 0;
  for (const Vec& p : points) {
    const double x = m.a * p.x() + m.b * p.y() + m.e;
    const double y = m.c * p.x() + m.d * p.y() + m.f;
    const int i = int(std::clamp(std::floor(grid.column(x)), 0.0, double(side - 1)));
    const int j = int(std::clamp(std::floor(grid.row(y)), 0.0, double(side - 1)));
    sum += std::sqrt(double(target.squared[std::size_t(j) * std::size_t(side) + std::size_t(i)]));
  }
  return sum / double(points.size());
}

// The map A·R·(x − centre) + image, R the turn `turn` of kTurns, flipped or not.
PlaneMap turned(const Mat& a, const Vec& centre, const Vec& image, int turn, bool flip,
                double most) {
  const double angle = 2 * std::numbers::pi * turn / kTurns;
  Mat r;
  r << std::cos(angle), -std::sin(angle), std::sin(angle), std::cos(angle);
  if (flip) r.col(1) = -r.col(1);
  const Mat t = a * r;
  const Vec e = image - t * centre;
  return clampStretch({t(0, 0), t(0, 1), t(1, 0), t(1, 1), e.x(), e.y()}, most);
}

// Of the map's turns about the target's centre (its image staying where it is, keeping its
// size), the one that spills least.
PlaneMap bestTurn(const Target& target, const std::vector<Vec>& points, const Mat& a,
                  const Vec& centre, const Vec& image, double most) {
  PlaneMap best;
  double bestSpill = std::numeric_limits<double>::max();
  for (int flip = 0; flip < 2; ++flip) {
    for (int turn = 0; turn < kTurns; ++turn) {
      const PlaneMap m = turned(a, centre, image, turn, flip == 1, most);
      const double s = spill(target, points, m);
      if (s < bestSpill) {
        bestSpill = s;
        best = m;
      }
    }
  }
  return best;
}

Vec meanOf(const std::vector<Vec>& points) {
  Vec centre = Vec::Zero();
  for (const Vec& p : points) centre += p;
  return centre / double(std::max<std::size_t>(1, points.size()));
}

std::vector<Vec> samplePoints(const Target& target) {
  const CollageGrid grid = target.mask.grid;
  std::vector<Vec> points;
  const std::size_t stride =
      std::max<std::size_t>(1, target.cellList.size() / std::size_t(kSamples));
  for (std::size_t k = 0; k < target.cellList.size(); k += stride) {
    const std::int32_t index = target.cellList[k];
    points.emplace_back(grid.centreX(index % grid.side()), grid.centreY(index / grid.side()));
  }
  return points;
}

}  // namespace

std::vector<PlaneMap> turnMaps(const Target& target, std::span<const PlaneMap> maps) {
  const std::vector<Vec> points = samplePoints(target);
  if (points.empty()) return {maps.begin(), maps.end()};
  const Vec centre = meanOf(points);
  std::vector<PlaneMap> result;
  for (const PlaneMap& m : maps) {
    Mat a;
    a << m.a, m.b, m.c, m.d;
    const Vec image = a * centre + Vec(m.e, m.f);
    result.push_back(bestTurn(target, points, a, centre, image, kFitStretch));
  }
  return result;
}

std::vector<PlaneMap> hopMaps(const Target& target, std::span<const PlaneMap> maps,
                              ChaosRandom& random) {
  std::vector<PlaneMap> result(maps.begin(), maps.end());
  if (result.empty()) return result;
  const Vec centre = meanOf(samplePoints(target));
  PlaneMap& m =
      result[std::min(result.size() - 1, std::size_t(random.next() * float(result.size())))];
  Mat a;
  a << m.a, m.b, m.c, m.d;
  const Vec image =
      a * centre + Vec(m.e, m.f) + kHopMove * Vec(2 * random.next() - 1, 2 * random.next() - 1);
  const int turn = std::min(kTurns - 1, int(random.next() * kTurns));
  m = turned(a, centre, image, turn, random.next() < 0.5, kFitStretch);
  return result;
}

std::vector<PlaneMap> seedMaps(const Target& target, int count, std::uint64_t seed) {
  const std::vector<Vec> points = samplePoints(target);
  if (points.empty() || count < 1) return {};
  ChaosRandom random(seed);
  const std::vector<int> label = kMeans(points, count, random);
  std::vector<int> all(points.size(), 0);
  const Cluster whole = clusterOf(points, all, 0);
  const Mat unspread = root(whole.spread, true);

  std::vector<PlaneMap> maps;
  for (int k = 0; k < count; ++k) {
    const Cluster c = clusterOf(points, label, k);
    const Mat spread = root(c.count > 0 ? c.spread : whole.spread / count, false);
    const Vec centre = c.count > 0 ? c.mean : whole.mean;
    const PlaneMap best =
        bestTurn(target, points, spread * unspread, whole.mean, centre, kSeedStretch);
    maps.push_back(best);
  }
  return maps;
}

}  // namespace quill
