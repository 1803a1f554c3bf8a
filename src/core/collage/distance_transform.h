#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "core/collage/collage_grid.h"

namespace quill {

// Exact Euclidean distance transforms of binary rasters, in time linear in the cells
// (Felzenszwalb and Huttenlocher, "Distance transforms of sampled functions", 2012): each column
// finds its nearest set cell by two sweeps, then each row takes the lower envelope of the
// parabolas (x − q)² + g(q)² those give. The object keeps its scratch, so that a transform
// repeated on rasters of the same size allocates nothing.
class DistanceTransform {
 public:
  // The distance of a cell with no set cell in its window.
  static constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();

  // For every cell of `window`, the squared distance in cells² (an integer, so exact) to the
  // nearest set (nonzero) cell of `cells` within the window, kNone when the window holds none.
  // `cells`, `squared` and `nearest` are rasters of `stride` cells a row, and only their cells
  // inside the window are read or written. `nearest` (may be null) gets the index
  // row · stride + column of that nearest set cell, −1 when there is none; among equally near
  // cells it is one of them.
  void run(const std::uint8_t* cells, int stride, const CellWindow& window, std::int32_t* squared,
           std::int32_t* nearest);

 private:
  std::vector<std::int32_t> rowOf_;    // per window cell: row of the nearest set cell in its column
  std::vector<std::int32_t> lastRow_;  // per column, during the sweeps
  std::vector<std::int32_t> apex_;     // columns of the parabolas in the lower envelope
  std::vector<double> start_;          // where each parabola of the envelope begins
};

}  // namespace quill
