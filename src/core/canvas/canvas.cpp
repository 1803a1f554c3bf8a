#include "core/canvas/canvas.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <atomic>
#include <utility>

#include "core/canvas/line_raster.h"

namespace quill {

namespace {

// Dashes are kDashOn pixels drawn, then kDashOff pixels skipped, along the line's major axis.
constexpr int kDashOn = 8;
constexpr int kDashOff = 4;

}  // namespace

Canvas::Canvas(int widthPixels, int heightPixels, double twipsPerPixel, Rgb backColor)
    : ink_(std::max(widthPixels, 1), std::max(heightPixels, 1),
           QImage::Format_ARGB32_Premultiplied),
      twipsPerPixel_(twipsPerPixel),
      backColor_(backColor) {
  if (ink_.isNull()) return;
  ink_.fill(Qt::transparent);
  inkBits_ = ink_.bits();
  inkStride_ = ink_.bytesPerLine();
  inkWidth_ = ink_.width();
  inkHeight_ = ink_.height();
}

Canvas::Canvas(const Canvas& other)
    : ink_(other.ink_.copy()),
      inkBits_(ink_.isNull() ? nullptr : ink_.bits()),
      inkStride_(ink_.bytesPerLine()),
      inkWidth_(ink_.width()),
      inkHeight_(ink_.height()),
      twipsPerPixel_(other.twipsPerPixel_),
      backColor_(other.backColor_),
      drawStyle_(other.drawStyle_),
      currentX_(other.currentX_),
      currentY_(other.currentY_),
      drawnFrom_(other.drawnFrom_) {}

Canvas& Canvas::operator=(const Canvas& other) {
  if (this != &other) *this = Canvas(other);
  return *this;
}

Canvas::Canvas(Canvas&& other) noexcept { *this = std::move(other); }

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  ink_ = std::move(other.ink_);
  inkBits_ = std::exchange(other.inkBits_, nullptr);
  inkStride_ = other.inkStride_;
  inkWidth_ = std::exchange(other.inkWidth_, 0);
  inkHeight_ = std::exchange(other.inkHeight_, 0);
  twipsPerPixel_ = other.twipsPerPixel_;
  backColor_ = other.backColor_;
  drawStyle_ = other.drawStyle_;
  currentX_ = other.currentX_;
  currentY_ = other.currentY_;
  drawnFrom_ = std::move(other.drawnFrom_);
  return *this;
}

bool Canvas::isBlank() const {
  for (int y = 0; y < inkHeight_; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(inkBits_ + std::ptrdiff_t(y) * inkStride_);
    for (int x = 0; x < inkWidth_; ++x) {
      if (row[x] != 0) return false;
    }
  }
  return true;
}

QImage Canvas::inkSnapshot() const {
  QImage copy(ink_.size(), ink_.format());
  if (copy.isNull() || isNull()) return QImage();
  for (int y = 0; y < inkHeight_; ++y) {
    auto* from = reinterpret_cast<std::uint32_t*>(inkBits_ + std::ptrdiff_t(y) * inkStride_);
    auto* to = reinterpret_cast<std::uint32_t*>(copy.scanLine(y));
    for (int x = 0; x < inkWidth_; ++x) {
      to[x] = std::atomic_ref<std::uint32_t>(from[x]).load(std::memory_order_relaxed);
    }
  }
  return copy;
}

void Canvas::line(float x1, float y1, float x2, float y2, Rgb color) {
  currentX_ = x2;
  currentY_ = y2;
  if (isNull()) return;
  rasterise(pixelSpace(x1, twipsPerPixel_), pixelSpace(y1, twipsPerPixel_),
            pixelSpace(x2, twipsPerPixel_), pixelSpace(y2, twipsPerPixel_), color);
}

void Canvas::rasterise(double x0, double y0, double x1, double y1, Rgb color) {
  const bool dashed = drawStyle_ == DrawStyle::Dashed;
  rasteriseLine(x0, y0, x1, y1, ink_.width(), ink_.height(), [&](int px, int py, int step) {
    if (!dashed || step % (kDashOn + kDashOff) < kDashOn) plot(px, py, color);
  });
}

void Canvas::print(const QString& text) {
  if (isNull()) return;
  QPainter painter(&ink_);
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  // 12 point at this canvas's resolution: 1440 / twipsPerPixel pixels to the inch.
  font.setPixelSize(std::max(1, int(std::lround(12.0 * 20.0 / twipsPerPixel_))));
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 0));
  const QPointF topLeft(double(currentX_) / twipsPerPixel_, double(currentY_) / twipsPerPixel_);
  if (!std::isfinite(topLeft.x()) || !std::isfinite(topLeft.y()) || std::abs(topLeft.x()) > 1e6 ||
      std::abs(topLeft.y()) > 1e6) {
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
