#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/collage/distance_transform.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// The collage fitted by least squares, one step at a time in the manner of iterative closest
// points: each map carries samples of the target, each image is paired with the target cell
// nearest to it, and each target cell that no image reaches pulls the image nearest to it; then
// every map's six coefficients are solved for by weighted least squares on its pairs, and its
// stretch cut to kFitStretch. A step never leaves a map it has no pairs for. Keeps its rasters
// between steps; one object serves one thread.
class CollageLeastSquares {
 public:
  // At most `samples` cells of the target (spread evenly) are carried.
  CollageLeastSquares(const Target& target, int samples);

  // One step from `maps`; `pull` weighs a pull of an uncovered cell against a pairing of an
  // image with the target.
  std::vector<PlaneMap> step(std::span<const PlaneMap> maps, double pull);

 private:
  struct Point {
    double x, y;
  };
  const Target& target_;
  std::vector<Point> samples_;            // unit-square coordinates
  std::vector<std::int32_t> sampleCell_;  // the cell of each
  std::vector<std::uint8_t> images_;      // cells an image falls in
  std::vector<std::int32_t> owner_;       // per image cell: map · samples + sample, last one in
  CellWindow window_;
  std::vector<std::int32_t> squared_, nearest_;
  DistanceTransform transform_;
};

}  // namespace quill
