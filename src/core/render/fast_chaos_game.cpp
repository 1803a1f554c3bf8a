#include "core/render/fast_chaos_game.h"

#include <algorithm>
#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/render/affine_map.h"
#include "core/render/canvas_ink.h"
#include "core/render/chaos_game.h"
#include "core/render/map_guide.h"
#include "core/render/view.h"
#include "core/canvas/canvas.h"

namespace quill {

namespace {

// The pixel of a figure point as PSet finds it: (originX + x, originY − y) rounded to single
// precision, divided by twipsPerPixel, floored, refused outside the picture. The two coordinates
// go through one packed division where the processor has one; each lane rounds exactly as the
// scalar division does.
class PixelMapper {
 public:
  PixelMapper(const View& view, const CanvasInk& ink)
      : view_(view),
        ink_(ink),
        width_(ink.width()),
        height_(ink.height())
#if defined(__SSE2__)
        ,
        scale_(_mm_set1_pd(ink.twipsPerPixel())),
        limit_(_mm_set_pd(double(ink.height()), double(ink.width())))
#endif
  {
  }

  bool pixelOf(FigurePoint q, int& px, int& py) const {
#if defined(__SSE2__)
    const __m128d twips = _mm_set_pd(view_.originY - q.y, view_.originX + q.x);
    const __m128d v = _mm_div_pd(_mm_cvtps_pd(_mm_cvtpd_ps(twips)), scale_);
    const __m128d inside = _mm_and_pd(_mm_cmpge_pd(v, _mm_setzero_pd()), _mm_cmplt_pd(v, limit_));
    if (_mm_movemask_pd(inside) != 3) return false;
    const __m128i pixel = _mm_cvttpd_epi32(v);
    px = _mm_cvtsi128_si32(pixel);
    py = _mm_cvtsi128_si32(_mm_shuffle_epi32(pixel, 1));
    return true;
#else
    const double vx = ink_.toPixelSpace(view_.canvasX(q.x));
    const double vy = ink_.toPixelSpace(view_.canvasY(q.y));
    if (!(vx >= 0 && vx < width_ && vy >= 0 && vy < height_)) return false;
    px = int(vx);
    py = int(vy);
    return true;
#endif
  }

 private:
  View view_;
  // The scalar path's; the packed path keeps the same values in scale_ and limit_.
  [[maybe_unused]] const CanvasInk& ink_;
  [[maybe_unused]] double width_;
  [[maybe_unused]] double height_;
#if defined(__SSE2__)
  __m128d scale_;  // twipsPerPixel in both lanes
  __m128d limit_;  // width, height
#endif
};

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
    const PixelMapper mapper(view, ink);
    for (std::int64_t step = 0; step < steps; ++step) {
      const int j = guide.pick(local.nextBits() >> 8);
      if (j != 0) [[likely]] {
        q = maps[j].apply(p);
      }
      int px = 0;
      int py = 0;
      if (mapper.pixelOf(q, px, py)) *ink.pixel(px, py) = value;
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
