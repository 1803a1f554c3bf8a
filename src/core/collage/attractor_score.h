#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/collage/attractor_raster.h"
#include "core/collage/distance_transform.h"
#include "core/collage/target.h"

namespace quill {

// How far an attractor, played by a small chaos game, lies from the target.
struct AttractorScore {
  double chamfer = 0;  // mean distance from A's cells to T plus from T's cells to A, units
  double covered = 0;  // share of T's cells within a cell (diagonals too) of A
  double inside = 0;   // share of A's cells within a cell of T
};

// Scores systems against one target (kept by reference) for the fit's inner loop: a game of
// `points` points from a given seed on the target's grid, then distances both ways by distance
// transforms. Allocates nothing per score; one scorer serves one thread.
class AttractorScorer {
 public:
  AttractorScorer(const Target& target, std::uint64_t points);

  AttractorScore score(std::span<const PlaneMap> maps, std::uint64_t seed);

 private:
  const Target& target_;
  std::uint64_t points_;
  AttractorRaster raster_;
  std::vector<float> toTarget_;  // per cell: distance to the target, cells
  std::vector<std::int32_t> squared_;
  DistanceTransform transform_;
};

// |A ∩ B| / |A ∪ B| of two masks on one grid, each grown first by one cell (its eight
// neighbours), so that a shift by a rounding does not count; 0 when both are empty.
double grownIoU(const CellMask& a, const CellMask& b);

}  // namespace quill
