#include "core/collage/attractor_score.h"

#include <algorithm>
#include <cmath>

namespace quill {

AttractorScorer::AttractorScorer(const Target& target, std::uint64_t points)
    : target_(target),
      points_(points),
      squared_(std::size_t(target.mask.grid.cellCount()), DistanceTransform::kNone) {
  raster_.mask = CellMask(target.mask.grid);
  toTarget_.reserve(target.squared.size());
  for (const std::int32_t s : target.squared) toTarget_.push_back(std::sqrt(float(s)));
}

AttractorScore AttractorScorer::score(std::span<const PlaneMap> maps, std::uint64_t seed) {
  rasteriseAttractorInto(maps, points_, seed, raster_);
  const int side = target_.mask.grid.side();
  const CellWindow& window = raster_.window;
  double fromAttractor = 0;
  std::int64_t cells = 0;
  std::int64_t inside = 0;
  for (int j = window.y; j < window.y + window.height; ++j) {
    const std::size_t row = std::size_t(j) * std::size_t(side);
    for (int i = window.x; i < window.x + window.width; ++i) {
      if (!raster_.mask.cells[row + std::size_t(i)]) continue;
      ++cells;
      fromAttractor += toTarget_[row + std::size_t(i)];
      inside += target_.squared[row + std::size_t(i)] <= 2;
    }
  }
  AttractorScore result;
  if (cells == 0 || target_.cellList.empty()) {
    result.chamfer = INFINITY;
    return result;
  }
  CellWindow both = target_.box;
  both.include(window);
  transform_.run(raster_.mask.cells.data(), side, both, squared_.data(), nullptr);
  double fromTarget = 0;
  std::int64_t near = 0;
  for (const std::int32_t index : target_.cellList) {
    const std::int32_t s = squared_[std::size_t(index)];
    fromTarget += std::sqrt(double(s));
    near += s <= 2;
  }
  const double size = target_.mask.grid.cellSize();
  result.chamfer =
      (fromAttractor / double(cells) + fromTarget / double(target_.cellList.size())) * size;
  result.covered = double(near) / double(target_.cellList.size());
  result.inside = double(inside) / double(cells);
  return result;
}

namespace {

std::vector<std::uint8_t> grown(const CellMask& mask) {
  const int side = mask.grid.side();
  std::vector<std::uint8_t> result(mask.cells.size(), 0);
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      if (!mask.at(i, j)) continue;
      for (int y = std::max(0, j - 1); y <= std::min(side - 1, j + 1); ++y) {
        for (int x = std::max(0, i - 1); x <= std::min(side - 1, i + 1); ++x) {
          result[std::size_t(y) * std::size_t(side) + std::size_t(x)] = 1;
        }
      }
    }
  }
  return result;
}

}  // namespace

double grownIoU(const CellMask& a, const CellMask& b) {
  const std::vector<std::uint8_t> ga = grown(a);
  const std::vector<std::uint8_t> gb = grown(b);
  std::int64_t both = 0, either = 0;
  for (std::size_t n = 0; n < ga.size(); ++n) {
    both += ga[n] & gb[n];
    either += ga[n] | gb[n];
  }
  return either > 0 ? double(both) / double(either) : 0;
}

}  // namespace quill
