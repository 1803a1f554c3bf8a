#include "core/collage/target.h"

#include <QImageReader>
#include <algorithm>
#include <array>
#include <cmath>

#include "core/base/message_text.h"
#include "core/collage/distance_transform.h"

namespace quill {

namespace {

// Class means closer than this (of 255 levels) are one shade with noise, not a shape on a
// background.
constexpr double kLeastContrast = 24;
// A background of fewer pixels than this share is specks, not a background.
constexpr double kLeastBackground = 0.005;
// Pictures are read at most this many pixels a side: the shape is sampled onto 492 cells.
constexpr int kLargestReadSide = 2048;

// Luminance (Rec. 601 weights) of each pixel, over `paper` where it is transparent.
std::vector<std::uint8_t> luminance(const QImage& source, int paper) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  std::vector<std::uint8_t> result;
  result.reserve(std::size_t(image.width()) * std::size_t(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = line[x];
      const int lum = (299 * qRed(rgb) + 587 * qGreen(rgb) + 114 * qBlue(rgb) + 500) / 1000;
      const int alpha = qAlpha(rgb);
      result.push_back(std::uint8_t((alpha * lum + (255 - alpha) * paper + 127) / 255));
    }
  }
  return result;
}

struct Threshold {
  int level = 0;  // the dark class is the levels up to this one
  double darkMean = 0, lightMean = 0, darkShare = 0;
};

// Otsu's threshold: the split of the histogram with the largest variance between the classes.
Threshold otsu(const std::array<double, 256>& histogram, double total) {
  double sumAll = 0;
  for (int level = 0; level < 256; ++level) sumAll += level * histogram[std::size_t(level)];
  Threshold best;
  double bestVariance = -1;
  double count = 0;
  double sum = 0;
  for (int level = 0; level < 255; ++level) {
    count += histogram[std::size_t(level)];
    sum += level * histogram[std::size_t(level)];
    if (count == 0 || count == total) continue;
    const double darkMean = sum / count;
    const double lightMean = (sumAll - sum) / (total - count);
    const double variance =
        count * (total - count) * (lightMean - darkMean) * (lightMean - darkMean);
    if (variance > bestVariance) {
      bestVariance = variance;
      best = {level, darkMean, lightMean, count / total};
    }
  }
  return best;
}

// The integral of a 0/1 picture over [0, u) × [0, v), for real u, v inside it: bilinear between
// the summed-area table's corners, which is exact for a picture constant on each pixel.
class AreaTable {
 public:
  AreaTable(const std::vector<std::uint8_t>& on, int width, int height)
      : width_(width), height_(height), sums_(std::size_t(width + 1) * std::size_t(height + 1)) {
    for (int y = 0; y < height; ++y) {
      std::uint32_t rowSum = 0;
      for (int x = 0; x < width; ++x) {
        rowSum += on[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        at(x + 1, y + 1) = at(x + 1, y) + rowSum;
      }
    }
  }

  double integral(double u, double v) const {
    u = std::clamp(u, 0.0, double(width_));
    v = std::clamp(v, 0.0, double(height_));
    const int iu = std::min(int(u), width_ - 1);
    const int iv = std::min(int(v), height_ - 1);
    const double fu = u - iu;
    const double fv = v - iv;
    return (1 - fv) * ((1 - fu) * at(iu, iv) + fu * at(iu + 1, iv)) +
           fv * ((1 - fu) * at(iu, iv + 1) + fu * at(iu + 1, iv + 1));
  }

 private:
  std::uint32_t& at(int x, int y) { return sums_[std::size_t(y) * std::size_t(width_ + 1) + x]; }
  double at(int x, int y) const {
    return sums_[std::size_t(y) * std::size_t(width_ + 1) + std::size_t(x)];
  }

  int width_, height_;
  std::vector<std::uint32_t> sums_;
};

}  // namespace

Result<Target> targetFromImage(const QImage& image, bool invert) {
  const int width = image.width();
  const int height = image.height();
  if (image.isNull() || width == 0 || height == 0) {
    return Failure{invert ? kBlankInvertedTargetMessage : kBlankTargetMessage};
  }
  // Transparency is background: paper of the background's shade.
  const std::vector<std::uint8_t> lum = luminance(image, invert ? 0 : 255);
  std::array<double, 256> histogram{};
  for (const std::uint8_t level : lum) histogram[level] += 1;
  const double total = double(lum.size());
  const Threshold split = otsu(histogram, total);

  const double shapeShare = invert ? 1 - split.darkShare : split.darkShare;
  if (split.darkShare == 0 || split.lightMean - split.darkMean < kLeastContrast ||
      shapeShare > 1 - kLeastBackground) {
    double mean = 0;
    for (int level = 0; level < 256; ++level) mean += level * histogram[std::size_t(level)] / total;
    const bool light = split.darkShare == 0 || split.lightMean - split.darkMean < kLeastContrast
                           ? mean >= 128
                           : invert;
    if (invert) return Failure{light ? kLightTargetMessage : kBlankInvertedTargetMessage};
    return Failure{light ? kBlankTargetMessage : kDarkTargetMessage};
  }

  // The shape's pixels and their box.
  std::vector<std::uint8_t> on(lum.size());
  int x0 = width, y0 = height, x1 = 0, y1 = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t index = std::size_t(y) * std::size_t(width) + std::size_t(x);
      const bool dark = lum[index] <= split.level;
      on[index] = dark != invert;
      if (on[index]) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x + 1);
        y1 = std::max(y1, y + 1);
      }
    }
  }
  const AreaTable area(on, width, height);

  // Pixel (u, v) of the picture lands at x = left + (u − x0)·k, y = top − (v − y0)·k.
  const CollageGrid grid = kTargetGrid;
  const double k = kTargetSide / std::max(x1 - x0, y1 - y0);
  const double left = 0.5 - 0.5 * k * (x1 - x0);
  const double top = 0.5 + 0.5 * k * (y1 - y0);
  const double cellInPixels = grid.cellSize() / k;
  const double half = 0.5 * cellInPixels * cellInPixels;
  CellMask mask(grid);
  const int iFirst = std::max(0, int(std::floor(grid.column(left))));
  const int iLast = std::min(grid.side() - 1, int(std::floor(grid.column(left + k * (x1 - x0)))));
  const int jFirst = std::max(0, int(std::floor(grid.row(top))));
  const int jLast = std::min(grid.side() - 1, int(std::floor(grid.row(top - k * (y1 - y0)))));
  for (int j = jFirst; j <= jLast; ++j) {
    const double yTop = 1 - double(j - grid.margin) / grid.resolution;
    const double v0 = y0 + (top - yTop) / k;
    const double v1 = v0 + cellInPixels;
    for (int i = iFirst; i <= iLast; ++i) {
      const double xLeft = double(i - grid.margin) / grid.resolution;
      const double u0 = x0 + (xLeft - left) / k;
      const double u1 = u0 + cellInPixels;
      const double covered = area.integral(u1, v1) - area.integral(u0, v1) - area.integral(u1, v0) +
                             area.integral(u0, v0);
      mask.at(i, j) = covered >= half;
    }
  }
  return targetFromMask(std::move(mask));
}

Result<Target> loadTarget(const QString& fileName, bool invert) {
  QImageReader reader(fileName);
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  if (size.isValid() && std::max(size.width(), size.height()) > kLargestReadSide) {
    reader.setScaledSize(size.scaled(kLargestReadSide, kLargestReadSide, Qt::KeepAspectRatio));
  }
  const QImage image = reader.read();
  if (image.isNull()) {
    QString reason = reader.errorString();
    if (!reason.isEmpty()) reason[0] = reason[0].toLower();
    return Failure{messageText(kNotAPictureMessage).arg(fileName, reason)};
  }
  return targetFromImage(image, invert);
}

Target targetFromMask(CellMask mask) {
  Target target;
  const int side = mask.grid.side();
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      if (!mask.at(i, j)) continue;
      mask.at(i, j) = 1;
      target.cellList.push_back(j * side + i);
      target.box.include(i, j);
    }
  }
  target.squared.resize(mask.cells.size());
  target.nearest.resize(mask.cells.size());
  DistanceTransform transform;
  transform.run(mask.cells.data(), side, CellWindow{0, 0, side, side}, target.squared.data(),
                target.nearest.data());
  target.mask = std::move(mask);
  return target;
}

Target coarsenTarget(const Target& target, int factor) {
  const CollageGrid fine = target.mask.grid;
  CellMask coarse(CollageGrid{fine.resolution / factor, fine.margin / factor});
  const int side = coarse.grid.side();
  for (const std::int32_t index : target.cellList) {
    const int i = (index % fine.side()) / factor;
    const int j = (index / fine.side()) / factor;
    if (i < side && j < side) coarse.at(i, j) = 1;
  }
  return targetFromMask(std::move(coarse));
}

}  // namespace quill
