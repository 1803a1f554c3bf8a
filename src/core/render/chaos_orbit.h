#pragma once

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/base/chaos_random.h"
#include "core/maps/drawing_state.h"
#include "core/render/affine_map.h"
#include "core/render/map_guide.h"
#include "core/render/view.h"

namespace quill {

// What a point of the game carries besides its place, changed by each map that moves it. The
// canvas's game carries nothing; a picture coloured by map carries a tint.
struct NoMark {
  void follow(int /*map*/) {}
  friend bool operator==(NoMark, NoMark) = default;
};

// The chaos game between two steps: the point the next map acts on, the point plotted last, and
// what the point carries. The two points differ only before the first step; after any step both
// are the last point plotted.
template <class Mark = NoMark>
struct OrbitState {
  FigurePoint point;
  FigurePoint mapped;
  Mark mark{};
};

// Before the first step: the image of the square's lower-left corner under map 1, and (0, 0),
// which a first step whose r takes no map plots.
template <class Mark = NoMark>
OrbitState<Mark> orbitStart(const DrawingState& drawing, Mark mark = {}) {
  return {{drawing.square.viewScale * drawing.maps.mapE[1],
           drawing.square.viewScale * drawing.maps.mapF[1]},
          {0, 0},
          mark};
}

// The pixel of a figure point as PSet finds it: (originX + x, originY − y) rounded to single
// precision, divided by twipsPerPixel, floored, refused outside the picture. The two coordinates
// go through one packed division where the processor has one; each lane rounds exactly as the
// scalar division does. (The packed path plays the one-orbit game 4 to 7 % faster than the
// scalar one here, in alternating benchmark runs.)
class PixelMapper {
 public:
  PixelMapper(const View& view, int width, int height, double twipsPerPixel)
      : view_(view),
        width_(width),
        height_(height),
        twipsPerPixel_(twipsPerPixel)
#if defined(__SSE2__)
        ,
        scale_(_mm_set1_pd(twipsPerPixel)),
        limit_(_mm_set_pd(double(height), double(width)))
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
    const double vx = double(view_.canvasX(q.x)) / twipsPerPixel_;
    const double vy = double(view_.canvasY(q.y)) / twipsPerPixel_;
    if (!(vx >= 0 && vx < width_ && vy >= 0 && vy < height_)) return false;
    px = int(vx);
    py = int(vy);
    return true;
#endif
  }

 private:
  View view_;
  // The scalar path's; the packed path keeps the same values in scale_ and limit_.
  [[maybe_unused]] double width_;
  [[maybe_unused]] double height_;
  [[maybe_unused]] double twipsPerPixel_;
#if defined(__SSE2__)
  __m128d scale_;  // twipsPerPixel in both lanes
  __m128d limit_;  // width, height
#endif
};

// The steps of playChaosGame with the map looked up in a MapGuide: the same draws, the same
// choices and the same arithmetic, so the same points to the bit.
struct ChaosOrbit {
  const MapGuide& guide;
  const std::array<ScaledMap, kMapSlots>& maps;

  // Plays `steps` steps from `state`, calling plot(q, mark) with each point the reference plots
  // and what it carries then, and leaves `random` and `state` as the reference leaves them. The
  // mark follows each map taken. `plot` is taken by value and the loop works on locals, so that
  // the point, the mark, the generator and the plotter stay in registers.
  template <class Mark, class Plot>
  void run(std::int64_t steps, ChaosRandom& random, OrbitState<Mark>& state, Plot plot) const {
    ChaosRandom local = random;
    FigurePoint p = state.point;
    FigurePoint q = state.mapped;
    Mark mark = state.mark;
    for (std::int64_t step = 0; step < steps; ++step) {
      const int j = guide.pick(local.nextBits() >> 8);
      if (j != 0) [[likely]] {
        q = maps[j].apply(p);
        mark.follow(j);
      }
      plot(q, mark);
      p = q;
    }
    random = local;
    state = {p, q, mark};
  }
};

}  // namespace quill
