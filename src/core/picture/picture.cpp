#include "core/picture/picture.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cmath>

#include "core/base/map_palette.h"
#include "core/picture/shaded_picture.h"
#include "core/picture/svg_picture.h"

namespace quill {

namespace {

// Bytes a rendered pixel takes (K × K of them per pixel of the file), and bytes besides that do
// not grow with the size. Flat pictures and line drawings hold the canvas (4 bytes a pixel); the
// chaos game on the canvas adds its bit-planes, at most 256 MiB; density holds a 32-bit count a
// pixel; colour by map adds three 64-bit sums; SVG holds a bit a pixel for the tiny figures.
struct MemoryNeed {
  double bytesPerPixel = 4;
  double bytesPerFilePixel = 0;  // a whole picture at the file's size, when it is held
  double fixedBytes = double(std::int64_t{16} << 20);  // row buffers and the like
};

MemoryNeed memoryNeed(const PictureRequest& request, PictureMode mode) {
  MemoryNeed need;
  if (request.format == PictureFormat::Svg) {
    need.bytesPerPixel = 0.125;
  } else if (mode == PictureMode::ChaosGame && request.shading == Shading::Density) {
    need.bytesPerPixel = 4;
  } else if (mode == PictureMode::ChaosGame && request.shading == Shading::ByMap) {
    need.bytesPerPixel = 4 + 3 * 8;
  } else if (mode == PictureMode::ChaosGame) {
    need.fixedBytes += double(std::int64_t{256} << 20);
  }
  if (request.format == PictureFormat::QtImage) need.bytesPerFilePixel = 4;
  return need;
}

double bytesFor(const MemoryNeed& need, double width, double height, int supersample) {
  return width * height *
             (supersample * supersample * need.bytesPerPixel + need.bytesPerFilePixel) +
         need.fixedBytes;
}

QString gigabytes(double bytes) {
  return QString::number(bytes / double(std::int64_t{1} << 30), 'f', 1) + QStringLiteral(" GB");
}

QString shadingWords(const PictureRequest& request, PictureMode mode) {
  if (request.format == PictureFormat::Svg)
    return QCoreApplication::translate("Messages", "as SVG");
  if (mode != PictureMode::ChaosGame || request.shading == Shading::Flat) {
    return QCoreApplication::translate("Messages", "drawn flat");
  }
  return request.shading == Shading::Density
             ? QCoreApplication::translate("Messages", "shaded by density")
             : QCoreApplication::translate("Messages", "coloured by map");
}

}  // namespace

PictureMode pictureModeOf(DrawingKind kind) {
  switch (kind) {
    case DrawingKind::BluePrint:
      return PictureMode::BluePrint;
    case DrawingKind::TriangleFractal:
    case DrawingKind::SquareFractal:
      return PictureMode::Fractal;
    case DrawingKind::ChaosGame:
      break;
  }
  return PictureMode::ChaosGame;
}

std::vector<Rgb> defaultMapColours() { return {kMapPalette.begin(), kMapPalette.end()}; }

std::optional<PictureFormat> pictureFormatFor(const QString& path, bool depth16) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix.isEmpty() || suffix == u"png")
    return depth16 ? PictureFormat::Png16 : PictureFormat::Png8;
  if (suffix == u"bmp") return PictureFormat::Bmp;
  if (suffix == u"jpg" || suffix == u"jpeg") return PictureFormat::Jpeg;
  if (suffix == u"svg") return PictureFormat::Svg;
  return std::nullopt;
}

Status checkPictureRequest(const PictureRequest& request, PictureMode mode) {
  if (request.width < 1 || request.width > kMaxPictureSide || request.height < 1 ||
      request.height > kMaxPictureSide) {
    return Failure{QCoreApplication::translate(
                       "Messages", "The width and height must be whole numbers from 1 to %1.")
                       .arg(kMaxPictureSide)};
  }
  if (request.supersample < 1 || request.supersample > kMaxSupersample) {
    return Failure{QCoreApplication::translate("Messages", "Supersampling must be 1, 2, 3 or 4.")};
  }
  if (!std::isfinite(request.gamma) || request.gamma <= 0) {
    return Failure{
        QCoreApplication::translate("Messages", "Gamma must be a number greater than 0.")};
  }
  if (request.format == PictureFormat::Svg && mode == PictureMode::ChaosGame) {
    return Failure{QCoreApplication::translate(
        "Messages", "The chaos game is saved as PNG only; SVG is for Blue Print and Fractal.")};
  }
  if (request.format == PictureFormat::Svg &&
      !(std::isfinite(request.svgSmallestFigure) && request.svgSmallestFigure >= 0)) {
    return Failure{QCoreApplication::translate(
        "Messages", "The smallest figure must be a size of 0 pixels or more.")};
  }
  const MemoryNeed need = memoryNeed(request, mode);
  const int k = request.format == PictureFormat::Svg ? 1 : request.supersample;
  const double needed = bytesFor(need, request.width, request.height, k);
  if (needed <= double(kPictureMemoryBudget)) return {};
  // The largest picture of the same shape: scaled down, then a pixel at a time until it fits.
  const double scale =
      std::sqrt((double(kPictureMemoryBudget) - need.fixedBytes) / (needed - need.fixedBytes));
  int width = std::max(1, int(request.width * scale));
  int height = std::max(1, int(request.height * scale));
  while (bytesFor(need, width, height, k) > double(kPictureMemoryBudget) && width > 1 &&
         height > 1) {
    --width;
    height = std::max(1, int(std::floor(double(request.height) * width / request.width)));
  }
  const QString sampled = k > 1 ? QStringLiteral(" with %1 × %1 supersampling").arg(k) : QString();
  return Failure{
      QCoreApplication::translate("Messages",
                                  "A picture of %1 × %2 %3%4 needs about %5 of memory, more than "
                                  "the %6 a picture may take. The largest of that shape that fits "
                                  "is %7 × %8.")
          .arg(request.width)
          .arg(request.height)
          .arg(shadingWords(request, mode), sampled, gigabytes(needed),
               gigabytes(double(kPictureMemoryBudget)))
          .arg(width)
          .arg(height)};
}

Status renderPicture(const PictureInputs& inputs, const PictureRequest& request,
                     const RenderControl& control, const QString& path) {
  const PictureMode mode = pictureModeOf(inputs.kind);
  if (const Status fits = checkPictureRequest(request, mode); !fits) return fits;
  if (request.format == PictureFormat::Svg) return writeSvgPicture(inputs, request, control, path);
  if (mode == PictureMode::ChaosGame && request.shading != Shading::Flat) {
    return writeShadedPicture(inputs, request, control, path);
  }
  return writeFlatPicture(inputs, request, control, path);
}

}  // namespace quill
