#include "core/render/fast_chaos_game.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/canvas/canvas.h"
#include "core/render/affine_map.h"
#include "core/render/canvas_ink.h"
#include "core/render/chaos_game.h"
#include "core/render/chaos_orbit.h"
#include "core/render/map_guide.h"
#include "core/render/view.h"

namespace quill {

bool playChaosGameFast(Canvas& canvas, DrawingState& drawing, ChaosRandom& random,
                       const RenderControl& control) {
  const MapChoice choice(drawing.maps);
  const std::int64_t steps = drawing.iterationCount;
  if (choice.mapCount() == 0 || steps <= 0) return true;

  const MapGuide guide(choice);
  const std::array<ScaledMap, kMapSlots> maps = scaledMaps(drawing.maps, drawing.square.viewScale);
  const View view = View::of(drawing.square);
  const CanvasInk ink(canvas);
  const ChaosOrbit orbit{guide, maps};
  const auto plot = [mapper = PixelMapper(view, ink.width(), ink.height(), ink.twipsPerPixel()),
                     ink, value = CanvasInk::inkOf(drawing.penColor)](FigurePoint q, NoMark) {
    int px = 0;
    int py = 0;
    if (mapper.pixelOf(q, px, py)) *ink.pixel(px, py) = value;
  };
  OrbitState<> state = orbitStart(drawing);

  bool finished = true;
  std::int64_t done = 0;
  while (done < steps) {
    if (control.cancelled()) {
      finished = false;
      break;
    }
    const std::int64_t batch = std::min(steps - done, kChaosBatch);
    orbit.run(batch, random, state, plot);
    done += batch;
    control.report(double(done) / double(steps));
  }
  // Where the last PSet left the current position.
  if (done > 0) {
    canvas.setCurrentX(view.canvasX(state.mapped.x));
    canvas.setCurrentY(view.canvasY(state.mapped.y));
  }
  return finished;
}

}  // namespace quill
