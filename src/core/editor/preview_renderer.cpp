#include "core/editor/preview_renderer.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/editor/preview_rules.h"
#include "core/maps/map_picker.h"

namespace quill {

namespace {

// One batch of the game, kept to locals so that the point, the generator and the frame stay in
// registers. Each step rounds exactly as playPreviewReference's: the same products and sums in
// the same order (no contraction into fused multiply-adds, see the build flags), and the two
// products by the pixels per unit as one packed product, which rounds each lane as the scalar
// one.
struct PreviewLoop {
  const MapPicker& picker;
  const PlaneMap* maps;
  const PreviewFrame frame;
  std::uint8_t* hits;

  void run(std::uint64_t steps, ChaosRandom& random, PreviewOrbit& orbit,
           std::uint64_t& skip) const {
    ChaosRandom local = random;
    double x = orbit.x;
    double y = orbit.y;
    std::uint64_t step = 0;
    // A fresh orbit's first steps, unplotted; a restart does not count as one.
    for (; step < steps && skip > 0; ++step) {
      const PlaneMap& m = maps[picker.pick(local.nextBits())];
      const double nx = m.a * x + m.b * y + m.e;
      const double ny = m.c * x + m.d * y + m.f;
      if (!(nx * nx + ny * ny <= kPreviewRunOff)) {
        x = 0.5;
        y = 0.5;
        continue;
      }
      x = nx;
      y = ny;
      --skip;
    }
#if defined(__SSE2__)
    const __m128d scale = _mm_set1_pd(1 / frame.pixelSize);
    const __m128d limit = _mm_set_pd(double(frame.height), double(frame.width));
    // Lane 0 is x − left, lane 1 is top − y: flip the sign of y's lane, then subtract.
    const __m128d flip = _mm_set_pd(-1.0, 1.0);
    const __m128d shift = _mm_set_pd(frame.top, frame.left);
#endif
    const std::size_t width = std::size_t(frame.width);
    for (; step < steps; ++step) {
      const PlaneMap& m = maps[picker.pick(local.nextBits())];
      const double nx = m.a * x + m.b * y + m.e;
      const double ny = m.c * x + m.d * y + m.f;
      if (!(nx * nx + ny * ny <= kPreviewRunOff)) [[unlikely]] {
        x = 0.5;
        y = 0.5;
        continue;
      }
      x = nx;
      y = ny;
#if defined(__SSE2__)
      // (x − left, −(y − top)) = (x − left, top − y) exactly: negation is exact.
      const __m128d offset = _mm_mul_pd(_mm_sub_pd(_mm_set_pd(y, x), shift), flip);
      const __m128d v = _mm_mul_pd(offset, scale);
      const __m128d inside = _mm_and_pd(_mm_cmpge_pd(v, _mm_setzero_pd()), _mm_cmplt_pd(v, limit));
      if (_mm_movemask_pd(inside) == 3) {
        const __m128i pixel = _mm_cvttpd_epi32(v);
        const auto px = std::size_t(_mm_cvtsi128_si32(pixel));
        const auto py = std::size_t(_mm_cvtsi128_si32(_mm_shuffle_epi32(pixel, 1)));
        std::uint8_t& hit = hits[py * width + px];
        hit = std::uint8_t(hit + (hit != 255));
      }
#else
      const double scale = 1 / frame.pixelSize;
      const double px = (x - frame.left) * scale;
      const double py = (frame.top - y) * scale;
      if (px >= 0 && px < frame.width && py >= 0 && py < frame.height) {
        std::uint8_t& hit = hits[std::size_t(int(py)) * width + std::size_t(px)];
        hit = std::uint8_t(hit + (hit != 255));
      }
#endif
    }
    random = local;
    orbit = {x, y};
  }
};

}  // namespace

bool playPreview(std::span<const WeightedMap> maps, const PreviewFrame& frame, std::uint64_t points,
                 ChaosRandom& random, PreviewOrbit& orbit, std::uint8_t* hits,
                 const RenderControl& control) {
  if (maps.empty()) return true;
  const MapPicker picker(maps);
  std::vector<PlaneMap> planeMaps;
  planeMaps.reserve(maps.size());
  for (const WeightedMap& m : maps) planeMaps.push_back(m.map);
  const PreviewLoop loop{picker, planeMaps.data(), frame, hits};

  std::uint64_t skip = orbit.x == 0.5 && orbit.y == 0.5 ? kPreviewSkip : 0;
  std::uint64_t done = 0;
  while (done < points) {
    if (control.cancelled()) return false;
    const std::uint64_t batch = std::min(points - done, kPreviewBatch);
    loop.run(batch, random, orbit, skip);
    done += batch;
    if (done < points) control.report(double(done) / double(points));
  }
  control.report(1);
  return true;
}

}  // namespace quill
