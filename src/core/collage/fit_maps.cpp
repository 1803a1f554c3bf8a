#include "core/collage/fit_maps.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "core/maths/det_shares.h"

namespace quill {

PlaneMap clampStretch(const PlaneMap& map, double most) {
  for (const double v : {map.a, map.b, map.c, map.d, map.e, map.f}) {
    if (!std::isfinite(v)) return {0, 0, 0, 0, 0.5, 0.5};
  }
  Eigen::Matrix2d linear;
  linear << map.a, map.b, map.c, map.d;
  const Eigen::JacobiSVD<Eigen::Matrix2d> svd(linear, Eigen::ComputeFullU | Eigen::ComputeFullV);
  const Eigen::Vector2d sigma = svd.singularValues();
  if (sigma(0) <= most) return map;
  const Eigen::Vector2d cut(std::min(sigma(0), most), std::min(sigma(1), most));
  const Eigen::Matrix2d clamped = svd.matrixU() * cut.asDiagonal() * svd.matrixV().transpose();
  return {clamped(0, 0), clamped(0, 1), clamped(1, 0), clamped(1, 1), map.e, map.f};
}

std::vector<WeightedMap> withDetShares(std::span<const PlaneMap> maps) {
  std::vector<double> dets;
  for (const PlaneMap& m : maps) dets.push_back(m.a * m.d - m.b * m.c);
  const std::vector<double> shares = detShares(dets);
  std::vector<WeightedMap> weighted;
  for (std::size_t i = 0; i < maps.size(); ++i) weighted.push_back({maps[i], shares[i]});
  return weighted;
}

}  // namespace quill
