#include "shell/canvas.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace quill {

namespace {

// Dashes are kDashOn pixels drawn, then kDashOff pixels skipped, along the line's major axis.
constexpr int kDashOn = 8;
constexpr int kDashOff = 4;

// Clips the segment to the rectangle [0, w] × [0, h] (Liang–Barsky); false when nothing is left.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double w, double h) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  double t0 = 0.0;
  double t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0, w - x0, y0, h - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;  // parallel to this edge and outside it
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

}  // namespace

Canvas::Canvas(int widthPixels, int heightPixels, double twipsPerPixel, Rgb backColor)
    : ink_(std::max(widthPixels, 1), std::max(heightPixels, 1),
           QImage::Format_ARGB32_Premultiplied),
      twipsPerPixel_(twipsPerPixel),
      backColor_(backColor) {
  ink_.fill(Qt::transparent);
  inkBits_ = ink_.bits();
  inkStride_ = ink_.bytesPerLine();
}

void Canvas::line(float x1, float y1, float x2, float y2, Rgb color) {
  currentX_ = x2;
  currentY_ = y2;
  rasterise(double(x1) / twipsPerPixel_, double(y1) / twipsPerPixel_,
            double(x2) / twipsPerPixel_, double(y2) / twipsPerPixel_, color);
}

void Canvas::rasterise(double x0, double y0, double x1, double y1, Rgb color) {
  // A line with an infinite or NaN end has no direction to draw; everything else is clipped to
  // the drawing area first, so a far end costs nothing.
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return;
  }
  const int w = ink_.width();
  const int h = ink_.height();
  if (!clipSegment(x0, y0, x1, y1, w, h)) return;

  // Points exactly on the right or bottom edge belong to the last pixel column or row.
  auto toPixel = [](double v, int limit) { return std::clamp(int(std::floor(v)), 0, limit - 1); };
  int px = toPixel(x0, w);
  int py = toPixel(y0, h);
  const int ex = toPixel(x1, w);
  const int ey = toPixel(y1, h);

  // Bresenham, endpoints included.
  const int dx = std::abs(ex - px);
  const int dy = -std::abs(ey - py);
  const int sx = px < ex ? 1 : -1;
  const int sy = py < ey ? 1 : -1;
  int err = dx + dy;
  const bool dashed = drawStyle_ == DrawStyle::Dashed;
  for (int step = 0;; ++step) {
    if (!dashed || step % (kDashOn + kDashOff) < kDashOn) plot(px, py, color);
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

void Canvas::print(const QString& text) {
  QPainter painter(&ink_);
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  // 12 point at this canvas's resolution: 1440 / twipsPerPixel pixels to the inch.
  font.setPixelSize(std::max(1, int(std::lround(12.0 * 20.0 / twipsPerPixel_))));
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 0));
  const QPointF topLeft(double(currentX_) / twipsPerPixel_, double(currentY_) / twipsPerPixel_);
  if (!std::isfinite(topLeft.x()) || !std::isfinite(topLeft.y()) ||
      std::abs(topLeft.x()) > 1e6 || std::abs(topLeft.y()) > 1e6) {
    return;  // far off the drawing area: nothing of the text would show
  }
  const QFontMetricsF metrics(font);
  painter.drawText(topLeft + QPointF(0, metrics.ascent()), text);
  painter.end();
  inkBits_ = ink_.bits();  // painting may have reallocated the buffer
}

QImage Canvas::picture() const {
  QImage shown(ink_.size(), QImage::Format_RGB32);
  QPainter painter(&shown);
  paint(painter, QRectF(0, 0, ink_.width(), ink_.height()));
  return shown;
}

void Canvas::paint(QPainter& painter, const QRectF& target) const {
  painter.fillRect(target, QColor::fromRgb(0xFF000000u | backColor_));
  painter.drawImage(target, ink_);
}

}  // namespace quill
