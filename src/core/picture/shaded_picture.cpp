#include "core/picture/shaded_picture.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/canvas/canvas.h"
#include "core/picture/image_file.h"
#include "core/picture/picture_carrier.h"
#include "core/picture/picture_rows.h"
#include "core/picture/tone_curve.h"
#include "core/render/fast_drawing.h"

namespace quill {

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr std::uint32_t kOpaque = 65535;
// The share of the progress bar that rendering takes; writing the file takes the rest.
constexpr double kRenderShare = 0.8;
// The control for the rendering part: progress scaled into [0, kRenderShare].
RenderControl renderingPart(const RenderControl& control) {
  RenderControl part = control;
  if (control.progress) {
    part.progress = [&control](double done) { control.report(done * kRenderShare); };
  }
  return part;
}

std::uint32_t blend(std::uint32_t from, std::uint32_t to, double t) {
  return std::uint32_t(std::lround(double(from) + (double(to) - double(from)) * t));
}

// Sums K × K rendered values into each pixel of a row of the file (`width` pixels) and divides,
// rounding to nearest. With alpha the colours are summed weighted by their alpha, so that a
// transparent sample adds nothing to the colour, only to the coverage.
class Averager {
 public:
  Averager(int width, int k, bool alpha)
      : k_(k), channels_(alpha ? 4 : 3), sums_(std::size_t(width) * std::size_t(channels_)) {}
  void clear() { std::fill(sums_.begin(), sums_.end(), 0); }
  void add(int renderedX, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    if (channels_ == 4) return add(renderedX, r, g, b, kOpaque);
    std::uint64_t* sum = &sums_[std::size_t(renderedX / k_) * 3];
    sum[0] += r;
    sum[1] += g;
    sum[2] += b;
  }
  void add(int renderedX, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    std::uint64_t* sum = &sums_[std::size_t(renderedX / k_) * 4];
    sum[0] += std::uint64_t(r) * a;
    sum[1] += std::uint64_t(g) * a;
    sum[2] += std::uint64_t(b) * a;
    sum[3] += a;
  }
  void store(std::uint16_t* values) const {
    const std::uint64_t n = std::uint64_t(k_) * std::uint64_t(k_);
    if (channels_ == 3) {
      for (std::size_t i = 0; i < sums_.size(); ++i)
        values[i] = std::uint16_t((sums_[i] + n / 2) / n);
      return;
    }
    for (std::size_t i = 0; i < sums_.size(); i += 4) {
      const std::uint64_t a = sums_[i + 3];
      for (std::size_t c = 0; c < 3; ++c) {
        values[i + c] = a == 0 ? 0 : std::uint16_t((sums_[i + c] + a / 2) / a);
      }
      values[i + 3] = std::uint16_t((a + n / 2) / n);
    }
  }

 private:
  int k_;
  int channels_;
  std::vector<std::uint64_t> sums_;
};

// Qt's other image types need the whole picture: it is gathered from the rows, then encoded.
Status writeWholeImage(const QString& path, const PictureRequest& request, const RowSource& row,
                       const RenderControl& control) {
  QImage image(request.width, request.height, QImage::Format_RGB32);
  if (image.isNull()) return Failure{kNoMemoryMessage};
  std::vector<std::uint16_t> values(std::size_t(request.width) * 3);
  for (int y = 0; y < request.height; ++y) {
    if (!rowBatchGoesOn(y, request.height, control, kRenderShare)) {
      return Failure{kPictureCancelledMessage};
    }
    row(y, values.data());
    auto* pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (std::size_t x = 0; x < std::size_t(request.width); ++x) {
      pixels[x] = qRgb(eightBits(values[3 * x]), eightBits(values[3 * x + 1]),
                       eightBits(values[3 * x + 2]));
    }
  }
  const Status written = writePicture(image, path, request.record);
  if (written) control.report(1);
  return written;
}

Status writeRows(const QString& path, const PictureRequest& request, const RowSource& row,
                 const RenderControl& control) {
  if (request.format == PictureFormat::QtImage) {
    return writeWholeImage(path, request, row, control);
  }
  return writeFileStreaming(
      path, kRenderedPictureMessages,
      [&](QIODevice& device) {
        const bool png =
            request.format == PictureFormat::Png8 || request.format == PictureFormat::Png16;
        const auto write = [&](QIODevice& into) {
          if (!request.transparent) {
            return writePictureRows(into, request.format, request.width, request.height, row,
                                    control, kRenderShare);
          }
          return writePngRows(into, request.width, request.height,
                              request.format == PictureFormat::Png16, true, row, control,
                              kRenderShare);
        };
        if (!png || request.record.isEmpty()) return write(device);
        PngChunkInserter carrier(device, pngTextChunk(kPictureRecordKeyword, request.record));
        return write(carrier);
      },
      control.cancel);
}

}  // namespace

DrawingState pictureState(const PictureInputs& inputs, const PictureRequest& request, int width,
                          int height) {
  DrawingState drawing = inputs.drawing;
  drawing.square =
      DrawingSquare::onCanvas(float(width * kTwipsPerPixel), float(height * kTwipsPerPixel));
  drawing.penColor = request.pen;
  drawing.paperColor = request.paper;
  return drawing;
}

std::array<Tint, kMapSlots> mapTints(const PictureRequest& request) {
  const std::vector<Rgb> palette = defaultMapColours();
  std::array<Tint, kMapSlots> tints{};
  for (int j = 1; j <= kMaxMaps; ++j) {
    const std::size_t i = std::size_t(j - 1);
    const Rgb colour = i < request.mapColours.size() ? request.mapColours[i] : palette[i];
    tints[std::size_t(j)] = {channel16(colour, 16), channel16(colour, 8), channel16(colour, 0)};
  }
  return tints;
}

Status writeShadedPicture(const PictureInputs& inputs, const PictureRequest& request,
                          const RenderControl& control, const QString& path) {
  return renderShadedRows(inputs, request, control, [&](const RowSource& row) {
    return writeRows(path, request, row, control);
  });
}

Status renderShadedRows(const PictureInputs& inputs, const PictureRequest& request,
                        const RenderControl& control, const RowSink& sink) {
  const int k = request.supersample;
  const int width = request.width * k;
  const int height = request.height * k;
  const DrawingState drawing = pictureState(inputs, request, width, height);
  const bool byMap = request.shading == Shading::ByMap;
  const std::array<Tint, kMapSlots> tints = mapTints(request);
  const Result<HitGrid> counted = countHits(width, height, drawing, startingGenerator(request),
                                            byMap ? &tints : nullptr, renderingPart(control));
  if (!counted) return Failure{counted.message()};
  const HitGrid& hits = *counted;

  const ToneCurve tone(hits.counts, request);
  // Transparent: density ink is the pen with its tone as alpha; by map stays the opaque blend.
  const bool inkAlpha = request.transparent && !byMap;
  const Tint paper{channel16(request.paper, 16), channel16(request.paper, 8),
                   channel16(request.paper, 0)};
  const Tint pen{channel16(request.pen, 16), channel16(request.pen, 8), channel16(request.pen, 0)};
  Averager average(request.width, k, request.transparent);
  const auto row = [&](int y, std::uint16_t* values) {
    average.clear();
    for (int sub = 0; sub < k; ++sub) {
      const std::size_t rowStart = std::size_t(y * k + sub) * std::size_t(width);
      for (int x = 0; x < width; ++x) {
        const std::size_t at = rowStart + std::size_t(x);
        const std::uint32_t count = hits.counts[at];
        if (count == 0) {
          if (request.transparent) {
            average.add(x, 0, 0, 0, 0);
          } else {
            average.add(x, paper.red, paper.green, paper.blue);
          }
          continue;
        }
        Tint ink = pen;
        if (byMap) {  // the mean tint of the hits, rounded to nearest
          const std::uint64_t* sum = &hits.colourSums[3 * at];
          ink = {std::uint32_t((sum[0] + count / 2) / count),
                 std::uint32_t((sum[1] + count / 2) / count),
                 std::uint32_t((sum[2] + count / 2) / count)};
        }
        const double t = tone(count);
        if (inkAlpha) {
          average.add(x, pen.red, pen.green, pen.blue, blend(0, kOpaque, t));
          continue;
        }
        average.add(x, blend(paper.red, ink.red, t), blend(paper.green, ink.green, t),
                    blend(paper.blue, ink.blue, t));
      }
    }
    average.store(values);
  };
  return sink(row);
}

Status writeFlatPicture(const PictureInputs& inputs, const PictureRequest& request,
                        const RenderControl& control, const QString& path) {
  return renderFlatRows(inputs, request, control, [&](const RowSource& row) {
    return writeRows(path, request, row, control);
  });
}

Status renderFlatRows(const PictureInputs& inputs, const PictureRequest& request,
                      const RenderControl& control, const RowSink& sink) {
  const int k = request.supersample;
  const int width = request.width * k;
  const int height = request.height * k;
  DrawingState drawing = pictureState(inputs, request, width, height);
  Canvas canvas(width, height, kTwipsPerPixel, request.paper);
  if (canvas.isNull()) return Failure{kNoMemoryMessage};
  ChaosRandom random = startingGenerator(request);
  if (!drawFast(canvas, inputs.kind, drawing, random, renderingPart(control), control.threads)) {
    return Failure{kPictureCancelledMessage};
  }
  // The picture as the canvas shows it, K rows at a time: the same painting as
  // Canvas::picture, into a strip.
  QImage strip(width, k, QImage::Format_RGB32);
  if (strip.isNull()) return Failure{kNoMemoryMessage};
  Averager average(request.width, k, request.transparent);
  const QRgb paper = qRgb(qRed(request.paper), qGreen(request.paper), qBlue(request.paper));
  const auto row = [&](int y, std::uint16_t* values) {
    {
      QPainter painter(&strip);
      painter.translate(0, -double(y * k));
      canvas.paint(painter, QRectF(0, 0, width, height));
    }
    average.clear();
    for (int sub = 0; sub < k; ++sub) {
      const auto* pixels = reinterpret_cast<const QRgb*>(strip.constScanLine(sub));
      for (int x = 0; x < width; ++x) {
        if (request.transparent && pixels[x] == paper) {
          average.add(x, 0, 0, 0, 0);
          continue;
        }
        average.add(x, std::uint32_t(qRed(pixels[x])) * 257, std::uint32_t(qGreen(pixels[x])) * 257,
                    std::uint32_t(qBlue(pixels[x])) * 257);
      }
    }
    average.store(values);
  };
  return sink(row);
}

}  // namespace quill
