#include "core/editor/editor_framing.h"

#include <algorithm>
#include <cmath>

#include "core/editor/map_handles.h"

namespace quill {

namespace {

void include(Box& box, double x, double y) {
  box.xmin = std::min(box.xmin, x);
  box.xmax = std::max(box.xmax, x);
  box.ymin = std::min(box.ymin, y);
  box.ymax = std::max(box.ymax, y);
}

}  // namespace

std::optional<Box> parallelogramsBox(std::span<const PlaneMap> maps) {
  std::optional<Box> box;
  for (const PlaneMap& map : maps) {
    for (const QPointF& corner : parallelogram(map)) {
      if (!std::isfinite(corner.x()) || !std::isfinite(corner.y())) continue;
      if (!box) box = Box{corner.x(), corner.y(), corner.x(), corner.y()};
      include(*box, corner.x(), corner.y());
    }
  }
  return box;
}

Box frameAllBox(std::span<const PlaneMap> maps) {
  const std::optional<Box> attractor = attractorBox(maps);
  std::optional<Box> box = parallelogramsBox(maps);
  if (!box) return attractor.value_or(Box{0, 0, 1, 1});
  if (attractor) {
    include(*box, attractor->xmin, attractor->ymin);
    include(*box, attractor->xmax, attractor->ymax);
  }
  return *box;
}

bool parallelogramsFarSmallerThanAttractor(std::span<const PlaneMap> maps) {
  const std::optional<Box> attractor = attractorBox(maps);
  const std::optional<Box> shapes = parallelogramsBox(maps);
  if (!attractor || !shapes) return false;
  const double reach =
      std::max(attractor->xmax - attractor->xmin, attractor->ymax - attractor->ymin);
  const double size = std::max(shapes->xmax - shapes->xmin, shapes->ymax - shapes->ymin);
  return reach > kFitHintRatio * size;
}

}  // namespace quill
