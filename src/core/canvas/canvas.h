#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <cmath>
#include <cstdint>

#include "core/base/color.h"
#include "core/canvas/line_raster.h"

class QPainter;

namespace quill {

enum class DrawStyle { Solid = 0, Dashed = 1 };

// The canvas's raster picture, addressed in twips from the top-left corner of the drawing area,
// x to the right and y downwards. Drawing lands in device pixels, so lines stay one pixel wide.
//
// The picture is an ink layer over the background colour: changing the background keeps what
// is drawn. Coordinates outside the drawing area (huge, infinite or NaN) are clipped, never
// refused, and never cost more than the visible part of a line.
class Canvas {
 public:
  // twipsPerPixel is 15 on a 96 dpi screen. Where there is no memory for the picture the canvas
  // is null (isNull()) and must not be drawn on.
  Canvas(int widthPixels, int heightPixels, double twipsPerPixel, Rgb backColor);
  // A copy has a picture of its own: drawing on one never shows in the other. A copy that found
  // no memory for its picture is null.
  Canvas(const Canvas& other);
  Canvas& operator=(const Canvas& other);
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  ~Canvas() = default;

  bool isNull() const { return inkBits_ == nullptr; }

  int widthPixels() const { return ink_.width(); }
  int heightPixels() const { return ink_.height(); }
  double twipsPerPixel() const { return twipsPerPixel_; }

  // What the last drawing on the canvas was drawn from (a picture record), saved with the
  // picture; empty when nothing whole was drawn.
  const QByteArray& drawnFrom() const { return drawnFrom_; }
  void setDrawnFrom(QByteArray record) { drawnFrom_ = std::move(record); }

  // Nothing drawn on the canvas yet: every pixel is its background.
  bool isBlank() const;

  Rgb backColor() const { return backColor_; }
  void setBackColor(Rgb color) { backColor_ = color; }

  DrawStyle drawStyle() const { return drawStyle_; }
  void setDrawStyle(DrawStyle style) { drawStyle_ = style; }

  float currentX() const { return currentX_; }
  float currentY() const { return currentY_; }
  void setCurrentX(float x) { currentX_ = x; }
  void setCurrentY(float y) { currentY_ = y; }

  // Straight line, one pixel wide, in the current draw style; the current position becomes
  // (x2, y2).
  void line(float x1, float y1, float x2, float y2, Rgb color);
  // Line from the current position.
  void lineTo(float x2, float y2, Rgb color) { line(currentX_, currentY_, x2, y2, color); }

  // Sets one pixel; the current position becomes (x, y).
  void pset(float x, float y, Rgb color) {
    currentX_ = x;
    currentY_ = y;
    int px = 0;
    int py = 0;
    if (pixelOf(x, y, px, py)) plot(px, py, color);
  }

  // Writes text with its top-left corner at the current position, in plain sans-serif 12 point
  // bold, black.
  void print(const QString& text);

  // The picture as shown: the background colour with everything drawn over it.
  QImage picture() const;
  // Paints the picture into `target` (logical coordinates of the painter's device).
  void paint(QPainter& painter, const QRectF& target) const;
  // A copy of what is drawn (no background), safe to take while other threads plot pixels with
  // relaxed atomic stores, as the fast renderers do: every pixel is read atomically.
  QImage inkSnapshot() const;

  // Maps a point in twips to its pixel; false when it lies outside the drawing area (NaN too).
  bool pixelOf(float x, float y, int& px, int& py) const {
    const double fx = std::floor(pixelSpace(x, twipsPerPixel_));
    const double fy = std::floor(pixelSpace(y, twipsPerPixel_));
    if (!(fx >= 0 && fx < inkWidth_ && fy >= 0 && fy < inkHeight_)) return false;
    px = int(fx);
    py = int(fy);
    return true;
  }

  // Direct pixel access for renderers; (px, py) must lie inside the drawing area.
  void plot(int px, int py, Rgb color) {
    reinterpret_cast<std::uint32_t*>(inkBits_ + std::ptrdiff_t(py) * inkStride_)[px] =
        0xFF000000u | color;
  }
  std::uint32_t* inkScanLine(int py) {
    return reinterpret_cast<std::uint32_t*>(inkBits_ + std::ptrdiff_t(py) * inkStride_);
  }

 private:
  void rasterise(double x0, double y0, double x1, double y1, Rgb color);

  // ARGB32 premultiplied, alpha 0 where nothing is drawn. Never shared with a copy: renderers
  // write through inkBits_, which an implicitly shared copy would not see detach.
  QImage ink_;
  uchar* inkBits_ = nullptr;
  qsizetype inkStride_ = 0;
  // The picture's size, kept beside it so that pixelOf stays inline in the plotting loops.
  int inkWidth_ = ink_.width();
  int inkHeight_ = ink_.height();
  double twipsPerPixel_;
  Rgb backColor_;
  DrawStyle drawStyle_ = DrawStyle::Solid;
  float currentX_ = 0;
  float currentY_ = 0;
  QByteArray drawnFrom_;
};

}  // namespace quill
