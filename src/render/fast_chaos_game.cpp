#include "render/fast_chaos_game.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "render/affine_map.h"
#include "render/canvas_ink.h"
#include "render/chaos_game.h"
#include "render/map_guide.h"
#include "render/view.h"
#include "shell/canvas.h"

namespace quill {

namespace {

// The plotting loop of one batch. Kept free of anything but locals so that the point, the
// generator's state and the scan-line pointer stay in registers.
struct ChaosLoop {
  const MapGuide& guide;
  const std::array<ScaledMap, kMapSlots>& maps;
  const View view;
  const CanvasInk& ink;
  const std::uint32_t value;

  // Plays `steps` steps from `point`/`mapped`; both are left as the reference leaves them.
  void run(std::int64_t steps, ChaosRandom& random, FigurePoint& point, FigurePoint& mapped) const {
    ChaosRandom local = random;
    FigurePoint p = point;
    FigurePoint q = mapped;
    const int width = ink.width();
    const int height = ink.height();
    for (std::int64_t step = 0; step < steps; ++step) {
      const int j = guide.pick(local.nextBits() >> 8);
      if (j != 0) [[likely]] {
        q = maps[j].apply(p);
      }
      const double vx = ink.toPixelSpace(view.canvasX(q.x));
      const double vy = ink.toPixelSpace(view.canvasY(q.y));
      if (vx >= 0 && vx < width && vy >= 0 && vy < height) *ink.pixel(int(vx), int(vy)) = value;
      p = q;
    }
    random = local;
    point = p;
    mapped = q;
  }
};

}  // namespace

bool playChaosGameFast(Canvas& canvas, Module1& module1, ChaosRandom& random,
                       const RenderControl& control) {
  const MapChoice choice(module1.maps);
  const std::int64_t steps = module1.iterationCount;
  if (choice.mapCount() == 0 || steps <= 0) return true;

  const MapGuide guide(choice);
  const std::array<ScaledMap, kMapSlots> maps = scaledMaps(module1.maps, module1.viewScale);
  const View view = View::of(module1);
  const CanvasInk ink(canvas);
  const ChaosLoop loop{guide, maps, view, ink, CanvasInk::inkOf(module1.penColor)};
  FigurePoint point{module1.viewScale * module1.maps.mapE[1],
                    module1.viewScale * module1.maps.mapF[1]};
  FigurePoint mapped{0, 0};

  bool finished = true;
  std::int64_t done = 0;
  while (done < steps) {
    if (control.cancelled()) {
      finished = false;
      break;
    }
    const std::int64_t batch = std::min(steps - done, kChaosBatch);
    loop.run(batch, random, point, mapped);
    done += batch;
    control.report(double(done) / double(steps));
  }
  // Where the last PSet left the current position.
  if (done > 0) {
    canvas.setCurrentX(view.canvasX(mapped.x));
    canvas.setCurrentY(view.canvasY(mapped.y));
  }
  return finished;
}

}  // namespace quill
