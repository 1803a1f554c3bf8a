#pragma once

#include <algorithm>
#include <cstdint>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/drawing_state.h"
#include "core/render/affine_map.h"
#include "core/render/map_choice.h"
#include "core/render/surface.h"
#include "core/render/view.h"

namespace quill {

// Points plotted between two looks at the cancel flag (and two progress reports).
inline constexpr std::int64_t kChaosBatch = 65536;

// The chaos game: from the image of the square's lower-left corner under map 1 (not plotted),
// iterationCount times picks a map with `random` and MapChoice, maps the point and plots it in
// penColor. A step whose r takes no map plots the last point again. No steps for a count of 0 or
// less; no maps, no steps. The generator continues from game to game. Returns false when
// cancelled (what was plotted stays).
template <DrawingSurface Surface>
bool playChaosGame(Surface& surface, DrawingState& drawing, ChaosRandom& random,
                   const RenderControl& control) {
  const MapChoice choice(drawing.maps);
  const std::int64_t steps = drawing.iterationCount;
  if (choice.mapCount() == 0 || steps <= 0) return true;

  const std::array<ScaledMap, kMapSlots> maps = scaledMaps(drawing.maps, drawing.square.viewScale);
  const View view = View::of(drawing.square);
  const Rgb pen = drawing.penColor;
  FigurePoint point{drawing.square.viewScale * drawing.maps.mapE[1],
                    drawing.square.viewScale * drawing.maps.mapF[1]};
  FigurePoint mapped{0, 0};

  std::int64_t done = 0;
  while (done < steps) {
    if (control.cancelled()) return false;
    const std::int64_t batchEnd = std::min(steps, done + kChaosBatch);
    for (; done < batchEnd; ++done) {
      const int j = choice.pick(random.next());
      if (j != 0) mapped = maps[j].apply(point);
      surface.pset(view.canvasX(mapped.x), view.canvasY(mapped.y), pen);
      point = mapped;
    }
    control.report(double(done) / double(steps));
  }
  return true;
}

}  // namespace quill
