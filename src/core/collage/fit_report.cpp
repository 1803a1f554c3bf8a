#include "core/collage/fit_report.h"

#include "core/collage/attractor_raster.h"
#include "core/collage/attractor_score.h"
#include "core/collage/collage_meter.h"

namespace quill {

FitReport reportFit(const Target& target, std::span<const PlaneMap> maps, std::uint64_t seed,
                    const RenderControl& control, std::uint64_t points) {
  FitReport report;
  CollageMeter meter(target);
  const CollageMeasure& collage = meter.measure(maps);
  report.collageDistance = collage.distance;
  report.bound = collage.bound;
  report.attractorDistance =
      meter.measureAttractor(rasteriseAttractor(maps, target.mask.grid, points, seed, control))
          .distance;
  const Target coarse = coarsenTarget(target, target.mask.grid.resolution / 256);
  report.iou =
      grownIoU(rasteriseAttractor(maps, coarse.mask.grid, points, seed, control).mask, coarse.mask);
  return report;
}

}  // namespace quill
