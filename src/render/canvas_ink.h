#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shell/canvas.h"

namespace quill {

// Direct access to a canvas's ink for the fast renderers: the scan lines, the size in pixels and
// the scale, so that plotting costs no call. Writes go through relaxed atomics, so several
// threads may plot at once; they all write one colour, so which store lands last never matters.
//
// Coordinates here are "pixel space": canvas twips, as the canvas receives them in single
// precision, divided by twipsPerPixel in double precision, exactly as the canvas divides them.
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
  double toPixelSpace(float twips) const { return double(twips) / twipsPerPixel_; }

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

namespace ink_detail {

// Clips the segment to [0, w] × [0, h] as the canvas does (Liang–Barsky, the same operations in
// the same order); false when nothing is left.
inline bool clipSegment(double& x0, double& y0, double& x1, double& y1, double w, double h) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0, w - x0, y0, h - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  if (t1 < 1.0) {
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
  }
  if (t0 > 0.0) {
    x0 = x0 + t0 * dx;
    y0 = y0 + t0 * dy;
  }
  return true;
}

}  // namespace ink_detail

inline void CanvasInk::drawSegment(double x0, double y0, double x1, double y1,
                                   std::uint32_t ink) const {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return;
  }
  const int w = width_;
  const int h = height_;
  if (!ink_detail::clipSegment(x0, y0, x1, y1, w, h)) return;
  auto toPixel = [](double v, int limit) { return std::clamp(int(std::floor(v)), 0, limit - 1); };
  int px = toPixel(x0, w);
  int py = toPixel(y0, h);
  const int ex = toPixel(x1, w);
  const int ey = toPixel(y1, h);
  // Bresenham, endpoints included, stepping as the canvas steps so ties fall the same way.
  const int dx = std::abs(ex - px);
  const int dy = -std::abs(ey - py);
  const int sx = px < ex ? 1 : -1;
  const int sy = py < ey ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    plotShared(px, py, ink);
    if (px == ex && py == ey) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      px += sx;
    }
    if (e2 <= dx) {
      err += dx;
      py += sy;
    }
  }
}

}  // namespace quill
