#include <cstddef>

#include "core/editor/preview_renderer.h"
#include "core/editor/preview_rules.h"
#include "core/maps/map_picker.h"

namespace quill {

bool playPreviewReference(std::span<const WeightedMap> maps, const PreviewFrame& frame,
                          std::uint64_t points, ChaosRandom& random, PreviewOrbit& orbit,
                          std::uint8_t* hits, const RenderControl& control) {
  if (maps.empty()) return true;
  const MapPicker picker(maps);
  std::uint64_t skip = orbit.x == 0.5 && orbit.y == 0.5 ? kPreviewSkip : 0;
  const double scale = 1 / frame.pixelSize;  // pixels per unit of the square
  double x = orbit.x;
  double y = orbit.y;
  for (std::uint64_t n = 0; n < points; ++n) {
    if (n % kPreviewBatch == 0) {
      if (control.cancelled()) {
        orbit = {x, y};
        return false;
      }
      if (n > 0) control.report(double(n) / double(points));
    }
    const PlaneMap& m = maps[std::size_t(picker.scan(random.nextBits()))].map;
    const double nx = m.a * x + m.b * y + m.e;
    const double ny = m.c * x + m.d * y + m.f;
    x = nx;
    y = ny;
    if (!(x * x + y * y <= kPreviewRunOff)) {
      x = 0.5;
      y = 0.5;
      continue;
    }
    if (skip > 0) {
      --skip;
      continue;
    }
    const double px = (x - frame.left) * scale;
    const double py = (frame.top - y) * scale;
    if (px >= 0 && px < frame.width && py >= 0 && py < frame.height) {
      std::uint8_t& hit = hits[std::size_t(int(py)) * std::size_t(frame.width) + std::size_t(px)];
      if (hit < 255) ++hit;
    }
  }
  orbit = {x, y};
  control.report(1);
  return true;
}

}  // namespace quill
