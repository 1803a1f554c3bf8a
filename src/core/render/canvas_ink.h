#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/canvas/canvas.h"
#include "core/canvas/line_raster.h"

namespace quill {

// Direct access to a canvas's ink for the fast renderers: the scan lines, the size in pixels and
// the scale, so that plotting costs no call. Writes go through relaxed atomics, so several
// threads may plot at once; they all write one colour, so which store lands last never matters,
// and a stale read of a pixel costs work, never a pixel (docs/exact_fractal.md).
//
// Coordinates here are "pixel space": canvas twips, as the canvas receives them in single
// precision, divided by twipsPerPixel in double precision, through the canvas's own pixelSpace.
class CanvasInk {
 public:
  explicit CanvasInk(Canvas& canvas)
      : bits_(canvas.inkScanLine(0)),
        stride_(canvas.heightPixels() > 1 ? canvas.inkScanLine(1) - canvas.inkScanLine(0) : 0),
        width_(canvas.widthPixels()),
        height_(canvas.heightPixels()),
        twipsPerPixel_(canvas.twipsPerPixel()) {}

  int width() const { return width_; }
  int height() const { return height_; }

  // The ink value the canvas stores for a colour.
  static std::uint32_t inkOf(Rgb color) { return 0xFF000000u | color; }

  double twipsPerPixel() const { return twipsPerPixel_; }
  double toPixelSpace(float twips) const { return pixelSpace(twips, twipsPerPixel_); }

  std::uint32_t* pixel(int px, int py) const { return bits_ + std::ptrdiff_t(py) * stride_ + px; }

  void plotShared(int px, int py, std::uint32_t ink) const {
    std::atomic_ref<std::uint32_t>(*pixel(px, py)).store(ink, std::memory_order_relaxed);
  }
  bool holds(int px, int py, std::uint32_t ink) const {
    return std::atomic_ref<std::uint32_t>(*pixel(px, py)).load(std::memory_order_relaxed) == ink;
  }

  // The pixel of a point in pixel space as the canvas plots a point; false outside the picture.
  // Equal to the canvas's pixelOf: for v ≥ 0, ⌊v⌋ < n exactly when v < n, and truncation is ⌊v⌋.
  bool pixelOf(double vx, double vy, int& px, int& py) const {
    if (!(vx >= 0 && vx < width_ && vy >= 0 && vy < height_)) return false;
    px = int(vx);
    py = int(vy);
    return true;
  }

  // A solid line between two points in pixel space, the very pixels the canvas's line plots.
  void drawSegment(double x0, double y0, double x1, double y1, std::uint32_t ink) const;

 private:
  std::uint32_t* bits_;
  std::ptrdiff_t stride_;  // in pixels
  int width_;
  int height_;
  double twipsPerPixel_;
};

inline void CanvasInk::drawSegment(double x0, double y0, double x1, double y1,
                                   std::uint32_t ink) const {
  rasteriseLine(x0, y0, x1, y1, width_, height_,
                [&](int px, int py, int /*step*/) { plotShared(px, py, ink); });
}

}  // namespace quill
