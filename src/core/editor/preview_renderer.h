#pragma once

#include <cstdint>
#include <span>

#include "core/base/chaos_random.h"
#include "core/base/render_control.h"
#include "core/maps/weighted_map.h"

namespace quill {

// The window of the unit-square plane a preview shows, in device pixels: pixel (px, py) covers
// x in [left + px*pixelSize, left + (px+1)*pixelSize), y in (top - (py+1)*pixelSize, top -
// py*pixelSize].
struct PreviewFrame {
  double left = -0.1, top = 1.1, pixelSize = 1.2 / 1000;
  int width = 1000, height = 1000;
};

// Where the orbit stands between two calls.
struct PreviewOrbit {
  double x = 0.5, y = 0.5;
};

// Plays `points` steps of the chaos game of `maps` into `hits` (frame.width * frame.height bytes,
// row-major, each the number of points that fell in the pixel, saturating at 255). Maps are chosen
// with probability proportional to max(p, 0), all equally when no p is positive; r from `random`.
// The first 20 steps of a fresh orbit (orbit at its default) are not plotted. An orbit that runs
// off (not finite, or farther than 1e6 from the origin) starts again at (0.5, 0.5), so maps that do
// not contract still show what lands in the frame and never hang. Checks control.cancelled() every
// 65536 points; returns false when cancelled.
//
// Exactly: each step draws one nextBits() and applies the map MapPicker picks with it; a point is
// plotted in the pixel of floor((x − left) · s), floor((top − y) · s), s = 1 / pixelSize, when both
// lie in the frame (so pixel edges may differ from the exact quotient's by a rounding). With no
// maps nothing is drawn and the generator is not advanced. An orbit restarted after running off is
// plotted from its next step.
bool playPreview(std::span<const WeightedMap> maps, const PreviewFrame& frame, std::uint64_t points,
                 ChaosRandom& random, PreviewOrbit& orbit, std::uint8_t* hits,
                 const RenderControl& control);

// The same game as the plain loop, point for point; the fast one is checked against it.
bool playPreviewReference(std::span<const WeightedMap> maps, const PreviewFrame& frame,
                          std::uint64_t points, ChaosRandom& random, PreviewOrbit& orbit,
                          std::uint8_t* hits, const RenderControl& control);

}  // namespace quill
