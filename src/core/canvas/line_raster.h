#pragma once

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quill {

// How every line of the program becomes pixels, shared by the canvas and the fast renderers so
// that both plot the very same pixels. Coordinates are in pixel space: canvas twips divided by
// twips per pixel, not yet rounded.

// A canvas coordinate in pixel space: the twips as the canvas takes them, in single precision,
// divided by twips per pixel in double precision. Every renderer converts through here.
//
// The float passes through an empty asm statement before it is widened, so that no optimiser can
// drop the rounding to single precision: GCC 12 folds a vectorised narrowing to float followed by
// a widening back to double into nothing, and a renderer whose points happened to be vectorised
// then plotted a point that lies a hair below a pixel's edge in the pixel before it
// (docs/exact_fractal.md). The statement emits no instruction.
inline double pixelSpace(float twips, double twipsPerPixel) {
#if defined(__GNUC__) && defined(__SSE2__)
  asm("" : "+x"(twips));
#elif defined(__GNUC__)
  asm("" : "+m"(twips));
#endif
  return double(twips) / twipsPerPixel;
}

// Liang–Barsky clipping of the segment to [0, w] × [0, h]; false when nothing is left. With
// snap, an end moved onto an edge is put exactly on it rather than at x0 + t·dx, whose rounding
// is as large as the ends themselves when they are huge.
inline bool clipParametric(double& x0, double& y0, double& x1, double& y1, double w, double h,
                           bool snap) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  int edge0 = -1;  // the edges (x = 0, x = w, y = 0, y = h) that moved each end
  int edge1 = -1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0, w - x0, y0, h - y0};
  const double edge[4] = {0.0, w, 0.0, h};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;  // parallel to this edge and outside it
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      if (t > t0) t0 = t, edge0 = i;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t, edge1 = i;
    }
  }
  if (t1 < 1.0) {
    x1 = snap && edge1 < 2 ? edge[edge1] : x0 + t1 * dx;
    y1 = snap && edge1 >= 2 ? edge[edge1] : y0 + t1 * dy;
  }
  if (t0 > 0.0) {
    x0 = snap && edge0 < 2 ? edge[edge0] : x0 + t0 * dx;
    y0 = snap && edge0 >= 2 ? edge[edge0] : y0 + t0 * dy;
  }
  return true;
}

// Clips the segment to [0, w] × [0, h]; false when nothing is left. Ends whose difference
// overflows (one near ±1e308) are clipped at half scale, where it is finite, onto the edges
// exactly; halving and doubling are exact. Such a line is placed as well as t can resolve it:
// exactly when it runs along an axis, within the rounding of its length otherwise.
inline bool clipSegment(double& x0, double& y0, double& x1, double& y1, double w, double h) {
  if (std::isfinite(x1 - x0) && std::isfinite(y1 - y0)) {
    return clipParametric(x0, y0, x1, y1, w, h, false);
  }
  double hx0 = x0 / 2, hy0 = y0 / 2, hx1 = x1 / 2, hy1 = y1 / 2;
  if (!clipParametric(hx0, hy0, hx1, hy1, w / 2, h / 2, true)) return false;
  x0 = 2 * hx0, y0 = 2 * hy0, x1 = 2 * hx1, y1 = 2 * hy1;
  return true;
}

// Calls plot(px, py, step) for each pixel of the line from (x0, y0) to (x1, y1) in a picture of
// w × h pixels, endpoints included, step counting from 0 along the line (for dashes). A line with
// an infinite or NaN end has no direction and plots nothing; everything else is clipped first,
// so a far end costs nothing.
template <typename Plot>
void rasteriseLine(double x0, double y0, double x1, double y1, int w, int h, Plot&& plot) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return;
  }
  if (!clipSegment(x0, y0, x1, y1, w, h)) return;

  // Points exactly on the right or bottom edge belong to the last pixel column or row. Clamped
  // before the conversion: a far line's clipped end may miss the picture by its
  // rounding.
  auto toPixel = [](double v, int limit) {
    return int(std::clamp(std::floor(v), 0.0, double(limit - 1)));
  };
  int px = toPixel(x0, w);
  int py = toPixel(y0, h);
  const int ex = toPixel(x1, w);
  const int ey = toPixel(y1, h);

  // Bresenham.
  const int dx = std::abs(ex - px);
  const int dy = -std::abs(ey - py);
  const int sx = px < ex ? 1 : -1;
  const int sy = py < ey ? 1 : -1;
  int err = dx + dy;
  for (int step = 0;; ++step) {
    plot(px, py, step);
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
