#include "core/collage/collage_meter.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "core/collage/grid_map.h"
#include "core/maths/attractor_box.h"

namespace quill {

namespace {

// Forward images of cell centres leave no holes inside an image when the map shrinks every
// direction to at most half a cell per cell: every cell then holds an image of a centre. Maps
// that stretch more also sample their image back through the inverse.
constexpr double kHoleFreeStretch = 0.5;

// A squared distance in cells², as cells; none (no cell to be near) is infinitely far.
double cellDistance(std::int32_t squared) {
  return squared == DistanceTransform::kNone ? INFINITY : std::sqrt(double(squared));
}

// Narrows [from, to] to the i where slope·(i + 0.5) + offset lies in [low, high].
void clipToSpan(double slope, double offset, double low, double high, double& from, double& to) {
  if (slope == 0) {
    if (offset < low || offset > high) to = from - 3;  // no column: the loop does not run
    return;
  }
  double a = (low - offset) / slope - 0.5;
  double b = (high - offset) / slope - 0.5;
  if (a > b) std::swap(a, b);
  from = std::max(from, a);
  to = std::min(to, b);
}

bool onEdge(int i, int j, int side) { return i == 0 || j == 0 || i == side - 1 || j == side - 1; }

}  // namespace

CollageMeter::CollageMeter(const Target& target)
    : target_(target),
      images_(target.mask.grid),
      squared_(std::size_t(target.mask.grid.cellCount()), DistanceTransform::kNone) {
  const int side = target.mask.grid.side();
  for (const std::int32_t index : target.cellList) {
    centreColumn_.push_back(index % side + 0.5);
    centreRow_.push_back(index / side + 0.5);
  }
}

const CollageMeasure& CollageMeter::measure(std::span<const PlaneMap> maps) {
  const CollageGrid grid = target_.mask.grid;
  const int side = grid.side();
  for (int j = imagesWindow_.y; j < imagesWindow_.y + imagesWindow_.height; ++j) {
    std::fill_n(&images_.at(imagesWindow_.x, j), imagesWindow_.width, std::uint8_t(0));
  }
  imagesWindow_ = {};
  last_ = {};
  last_.targetCells = std::int64_t(target_.cellList.size());

  std::uint8_t* images = images_.cells.data();
  const std::uint8_t* shape = target_.mask.cells.data();
  const std::int32_t* toShape = target_.squared.data();
  std::int32_t farthestImage = 0;  // squared, of cells on the grid's inside
  double farthestOff = 0;          // cells, of what fell on or off the edge
  int iMin = side, iMax = -1, jMin = side, jMax = -1;
  auto mark = [&](int i, int j) {
    const std::size_t index = std::size_t(j) * std::size_t(side) + std::size_t(i);
    if (images[index]) return;
    images[index] = 1;
    ++last_.imageCells;
    if (!shape[index]) ++last_.spillCells;
    farthestImage = std::max(farthestImage, toShape[index]);
    iMin = std::min(iMin, i);
    iMax = std::max(iMax, i);
    jMin = std::min(jMin, j);
    jMax = std::max(jMax, j);
  };

  for (const PlaneMap& map : maps) {
    last_.contraction = std::max(last_.contraction, largestStretch(map));
    const GridMap g = gridMap(map, grid);
    const std::size_t count = centreColumn_.size();
    for (std::size_t k = 0; k < count; ++k) {
      const double x = g.column(centreColumn_[k], centreRow_[k]);
      const double y = g.row(centreColumn_[k], centreRow_[k]);
      int i = int(std::floor(x));
      int j = int(std::floor(y));
      if (unsigned(i) >= unsigned(side) || unsigned(j) >= unsigned(side)) [[unlikely]] {
        if (!std::isfinite(x) || !std::isfinite(y)) {
          farthestOff = INFINITY;
          continue;
        }
        i = int(std::clamp(std::floor(x), 0.0, double(side - 1)));
        j = int(std::clamp(std::floor(y), 0.0, double(side - 1)));
        const double beyond = std::hypot(x - (i + 0.5), y - (j + 0.5));
        const std::size_t index = std::size_t(j) * std::size_t(side) + std::size_t(i);
        farthestOff = std::max(farthestOff, std::sqrt(double(toShape[index])) + beyond);
      }
      mark(i, j);
    }

    const std::optional<GridMap> inverse = inverseGridMap(g);
    if (!inverse || !(largestStretch(map) > kHoleFreeStretch)) continue;
    // The image of the target's box, clipped to the grid.
    const CellWindow& box = target_.box;
    double left = INFINITY, right = -INFINITY, top = INFINITY, bottom = -INFINITY;
    for (const double cx : {double(box.x), double(box.x + box.width)}) {
      for (const double cy : {double(box.y), double(box.y + box.height)}) {
        left = std::min(left, g.column(cx, cy));
        right = std::max(right, g.column(cx, cy));
        top = std::min(top, g.row(cx, cy));
        bottom = std::max(bottom, g.row(cx, cy));
      }
    }
    const int i0 = int(std::clamp(std::floor(left), 0.0, double(side - 1)));
    const int i1 = int(std::clamp(std::floor(right), 0.0, double(side - 1)));
    const int j0 = int(std::clamp(std::floor(top), 0.0, double(side - 1)));
    const int j1 = int(std::clamp(std::floor(bottom), 0.0, double(side - 1)));
    for (int j = j0; j <= j1; ++j) {
      // The columns whose centres come back inside the target's box, widened by a cell against
      // rounding; the test below is exact.
      double from = i0, to = i1;
      clipToSpan(inverse->a, inverse->b * (j + 0.5) + inverse->e, box.x, box.x + box.width, from,
                 to);
      clipToSpan(inverse->c, inverse->d * (j + 0.5) + inverse->f, box.y, box.y + box.height, from,
                 to);
      const int first = std::max(i0, int(std::floor(from)) - 1);
      const int last = std::min(i1, int(std::ceil(to)) + 1);
      for (int i = first; i <= last; ++i) {
        const double si = std::floor(inverse->column(i + 0.5, j + 0.5));
        const double sj = std::floor(inverse->row(i + 0.5, j + 0.5));
        if (si < 0 || sj < 0 || si >= side || sj >= side) continue;
        if (shape[std::size_t(sj) * std::size_t(side) + std::size_t(si)]) mark(i, j);
      }
    }
  }
  if (iMax >= 0) imagesWindow_ = {iMin, jMin, iMax - iMin + 1, jMax - jMin + 1};

  std::int64_t covered = 0;
  const std::int32_t farthestTarget = farthestTargetCell(images, imagesWindow_, covered);
  last_.uncoveredCells = last_.targetCells - covered;
  const double cells =
      std::max({std::sqrt(double(farthestImage)), farthestOff, cellDistance(farthestTarget)});
  last_.distance = cells * grid.cellSize();
  if (last_.contraction < 1) last_.bound = last_.distance / (1 - last_.contraction);
  return last_;
}

AttractorMeasure CollageMeter::measureAttractor(const AttractorRaster& attractor) {
  assert(attractor.mask.grid == target_.mask.grid);
  const int side = target_.mask.grid.side();
  const CellWindow& window = attractor.window;
  double farthestPoint = 0;  // cells
  std::int64_t points = 0;
  for (int j = window.y; j < window.y + window.height; ++j) {
    for (int i = window.x; i < window.x + window.width; ++i) {
      if (!attractor.mask.at(i, j)) continue;
      ++points;
      const std::size_t index = std::size_t(j) * std::size_t(side) + std::size_t(i);
      double reach = std::sqrt(double(target_.squared[index]));
      if (onEdge(i, j, side)) reach += attractor.overshoot;
      farthestPoint = std::max(farthestPoint, reach);
    }
  }
  std::int64_t shared = 0;
  const std::int32_t farthestTarget =
      farthestTargetCell(attractor.mask.cells.data(), window, shared);
  AttractorMeasure result;
  const double cells = std::max(farthestPoint, cellDistance(farthestTarget));
  result.distance = cells * target_.mask.grid.cellSize();
  const std::int64_t unionCells = points + std::int64_t(target_.cellList.size()) - shared;
  result.iou = unionCells > 0 ? double(shared) / double(unionCells) : 0;
  return result;
}

std::int32_t CollageMeter::farthestTargetCell(const std::uint8_t* cells, const CellWindow& window,
                                              std::int64_t& shared) {
  const int side = target_.mask.grid.side();
  CellWindow both = target_.box;
  both.include(window);
  transform_.run(cells, side, both, squared_.data(), nullptr);
  std::int32_t farthest = 0;
  shared = 0;
  for (const std::int32_t index : target_.cellList) {
    farthest = std::max(farthest, squared_[std::size_t(index)]);
    shared += cells[std::size_t(index)] != 0;
  }
  return farthest;
}

}  // namespace quill
