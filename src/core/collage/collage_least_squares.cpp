#include "core/collage/collage_least_squares.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "core/collage/fit_maps.h"

namespace quill {

namespace {

// A pull comes from a target cell at least this far (cells²) from every image: nearer ones are
// the gaps between the carried samples.
constexpr std::int32_t kLeastPull = 0;
// Weight, against the pairs', of keeping each coefficient where it was: enough to hold a map
// whose samples are all in a line, too little to matter otherwise.
constexpr double kHold = 1e-6;

// The normal equations of one map's weighted least squares, x and y sharing the left side.
struct Normal {
  Eigen::Matrix3d left = Eigen::Matrix3d::Zero();
  Eigen::Vector3d rightX = Eigen::Vector3d::Zero();
  Eigen::Vector3d rightY = Eigen::Vector3d::Zero();
  double weight = 0;

  void add(double x, double y, double toX, double toY, double w) {
    const Eigen::Vector3d v(x, y, 1);
    left += w * v * v.transpose();
    rightX += w * toX * v;
    rightY += w * toY * v;
    weight += w;
  }
};

}  // namespace

CollageLeastSquares::CollageLeastSquares(const Target& target, int samples)
    : target_(target),
      images_(std::size_t(target.mask.grid.cellCount()), 0),
      owner_(std::size_t(target.mask.grid.cellCount()), -1),
      squared_(std::size_t(target.mask.grid.cellCount())),
      nearest_(std::size_t(target.mask.grid.cellCount())) {
  const CollageGrid grid = target.mask.grid;
  const std::size_t count = target.cellList.size();
  const std::size_t stride = std::max<std::size_t>(
      1, (count + std::size_t(samples) - 1) / std::size_t(std::max(1, samples)));
  for (std::size_t k = 0; k < count; k += stride) {
    const std::int32_t index = target.cellList[k];
    samples_.push_back({grid.centreX(index % grid.side()), grid.centreY(index / grid.side())});
    sampleCell_.push_back(index);
  }
}

std::vector<PlaneMap> CollageLeastSquares::step(std::span<const PlaneMap> maps, double pull) {
  const CollageGrid grid = target_.mask.grid;
  const int side = grid.side();
  for (int j = window_.y; j < window_.y + window_.height; ++j) {
    std::fill_n(&images_[std::size_t(j) * std::size_t(side) + std::size_t(window_.x)],
                window_.width, std::uint8_t(0));
  }
  window_ = {};
  const auto sampleCount = std::int32_t(samples_.size());
  std::vector<Normal> normals(maps.size());

  // Each image of a sample, paired with the target cell nearest to it.
  auto cellOf = [&](double x, double y) {
    const int i = int(std::clamp(std::floor(grid.column(x)), 0.0, double(side - 1)));
    const int j = int(std::clamp(std::floor(grid.row(y)), 0.0, double(side - 1)));
    return std::pair{i, j};
  };
  for (std::size_t m = 0; m < maps.size(); ++m) {
    const PlaneMap& map = maps[m];
    for (std::int32_t k = 0; k < sampleCount; ++k) {
      const Point& s = samples_[std::size_t(k)];
      const double x = map.a * s.x + map.b * s.y + map.e;
      const double y = map.c * s.x + map.d * s.y + map.f;
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      const auto [i, j] = cellOf(x, y);
      const std::size_t cell = std::size_t(j) * std::size_t(side) + std::size_t(i);
      const std::int32_t near = target_.nearest[cell];
      normals[m].add(s.x, s.y, grid.centreX(near % side), grid.centreY(near / side), 1);
      images_[cell] = 1;
      owner_[cell] = std::int32_t(m) * sampleCount + k;
      window_.include(i, j);
    }
  }

  // Each target sample far from every image pulls the image nearest to it.
  CellWindow both = target_.box;
  both.include(window_);
  transform_.run(images_.data(), side, both, squared_.data(), nearest_.data());
  for (std::int32_t k = 0; k < sampleCount; ++k) {
    const std::size_t cell = std::size_t(sampleCell_[std::size_t(k)]);
    if (squared_[cell] < kLeastPull || nearest_[cell] < 0) continue;
    const std::int32_t owner = owner_[std::size_t(nearest_[cell])];
    const Point& from = samples_[std::size_t(owner % sampleCount)];
    const Point& to = samples_[std::size_t(k)];
    normals[std::size_t(owner / sampleCount)].add(from.x, from.y, to.x, to.y, pull);
  }

  std::vector<PlaneMap> result(maps.begin(), maps.end());
  for (std::size_t m = 0; m < maps.size(); ++m) {
    Normal& n = normals[m];
    if (n.weight == 0) continue;
    const PlaneMap& old = maps[m];
    const double hold = kHold * n.weight;
    n.left += hold * Eigen::Matrix3d::Identity();
    n.rightX += hold * Eigen::Vector3d(old.a, old.b, old.e);
    n.rightY += hold * Eigen::Vector3d(old.c, old.d, old.f);
    const Eigen::LDLT<Eigen::Matrix3d> solver(n.left);
    const Eigen::Vector3d rowX = solver.solve(n.rightX);
    const Eigen::Vector3d rowY = solver.solve(n.rightY);
    result[m] = clampStretch({rowX(0), rowX(1), rowY(0), rowY(1), rowX(2), rowY(2)}, kFitStretch);
  }
  return result;
}

}  // namespace quill
