#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/collage/attractor_raster.h"
#include "core/collage/distance_transform.h"
#include "core/collage/target.h"
#include "core/maps/weighted_map.h"

namespace quill {

// How close the union W(T) of the maps' images of the target T lies to T.
struct CollageMeasure {
  double distance = 0;          // h(T, W(T)), the Hausdorff distance, in units of the square
  std::optional<double> bound;  // distance / (1 − s): h(T, A) is at most this; none when s ≥ 1
  double contraction = 0;       // s, the largest stretch of any map
  std::int64_t targetCells = 0;
  std::int64_t imageCells = 0;      // cells of W(T)
  std::int64_t uncoveredCells = 0;  // target cells outside every image
  std::int64_t spillCells = 0;      // image cells outside the target
};

// How close an attractor A, as the cells it visits, lies to the target.
struct AttractorMeasure {
  double distance = 0;  // h(T, A), units of the square
  double iou = 0;       // |A ∩ T| / |A ∪ T| over cells
};

// Measures maps against one target (kept by reference: it must outlive the meter). Each measure
// reuses the meter's rasters, so that a drag's stream of measures allocates nothing; one meter
// serves one thread.
//
// Distances are between cell centres, exact on the grid (Euclidean distance transforms). What
// falls off the grid counts as the edge cell nearest to it, its distance to the target taken
// as that cell's plus how far it lies beyond it: an upper estimate, so a bound stays a bound.
class CollageMeter {
 public:
  explicit CollageMeter(const Target& target);

  // Rasterises W(T) (each target cell's centre carried by each map, and for maps that stretch
  // more than half the cells inside each image sampled back through the inverse, so that the
  // images have no holes) and measures it. The bound uses the largest stretch of each map's
  // linear part (largestStretch).
  const CollageMeasure& measure(std::span<const PlaneMap> maps);

  // W(T) of the last measure: 1 where an image lies; with target().mask, the uncovered cells
  // (target, no image) and the spill (image, no target).
  const CellMask& images() const { return images_; }
  const CellWindow& imagesWindow() const { return imagesWindow_; }
  const Target& target() const { return target_; }

  // h(T, A) and IoU of an attractor rasterised on the target's grid.
  AttractorMeasure measureAttractor(const AttractorRaster& attractor);

 private:
  // The largest squared distance from a target cell to the nearest set cell of `cells` (whose
  // set cells lie in `window`), and how many target cells are set in `cells`.
  std::int32_t farthestTargetCell(const std::uint8_t* cells, const CellWindow& window,
                                  std::int64_t& shared);

  const Target& target_;
  CellMask images_;
  CellWindow imagesWindow_;
  std::vector<double> centreColumn_, centreRow_;  // of every target cell
  std::vector<std::int32_t> squared_;             // distances to the rasters measured
  DistanceTransform transform_;
  CollageMeasure last_;
};

}  // namespace quill
