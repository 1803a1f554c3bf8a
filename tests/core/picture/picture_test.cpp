#include "core/picture/picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <cmath>

#include "core/canvas/canvas.h"
#include "core/picture/hit_counts.h"
#include "core/picture/shaded_picture.h"
#include "core/render/fast_drawing.h"
#include "core/render/render_fixtures.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::drawingState;
using testing::kHalfMaps;

PictureInputs gasket(DrawingKind kind, int count) {
  return {drawingState({kHalfMaps[0], kHalfMaps[1], kHalfMaps[2]}, count), kind};
}

PictureRequest smallRequest(Shading shading, PictureFormat format = PictureFormat::Png16) {
  PictureRequest request;
  request.width = 160;
  request.height = 120;
  request.shading = shading;
  request.format = format;
  return request;
}

class PictureFiles : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QImage render(const PictureInputs& inputs, const PictureRequest& request, int threads = 0) {
    RenderControl control;
    control.threads = threads;
    const QString file = path(QStringLiteral("picture.png"));
    const Status status = renderPicture(inputs, request, control, file);
    EXPECT_TRUE(status.ok()) << status.message().toStdString();
    return QImage(file);
  }
  QByteArray bytesOf(const PictureInputs& inputs, const PictureRequest& request, int threads) {
    RenderControl control;
    control.threads = threads;
    const QString file = path(QStringLiteral("t%1.png").arg(threads));
    EXPECT_TRUE(renderPicture(inputs, request, control, file).ok());
    QFile read(file);
    return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray();
  }

 private:
  QTemporaryDir dir_;
};

// Each pixel is the tone of its count, blended from paper to pen, as read back from a 16-bit
// file: paper where nothing landed, pen on the most hit pixel, log(1 + c) / log(1 + max) raised
// to 1 / gamma between.
TEST_F(PictureFiles, DensityFollowsTheToneCurve) {
  const PictureInputs inputs = gasket(DrawingKind::ChaosGame, 200'000);
  for (const double gamma : {1.0, 2.2}) {
    PictureRequest request = smallRequest(Shading::Density);
    request.gamma = gamma;
    request.pen = rgb(0, 0, 255);
    const QImage image = render(inputs, request);
    ASSERT_EQ(image.format(), QImage::Format_RGBX64);
    const DrawingState state = pictureState(inputs, request, request.width, request.height);
    const Result<HitGrid> hits = countHits(request.width, request.height, state,
                                           ChaosRandom(request.seed), nullptr, RenderControl{});
    ASSERT_TRUE(hits.ok());
    const std::uint32_t most = *std::max_element(hits->counts.begin(), hits->counts.end());
    int pens = 0;
    for (int y = 0; y < request.height; ++y) {
      for (int x = 0; x < request.width; ++x) {
        const std::uint32_t c = hits->counts[std::size_t(y * request.width + x)];
        const double t = std::pow(std::log1p(double(c)) / std::log1p(double(most)), 1 / gamma);
        const QRgba64 pixel = image.pixelColor(x, y).rgba64();
        ASSERT_EQ(pixel.blue(), 65535);
        ASSERT_NEAR(pixel.red(), 65535 * (1 - t), 0.5) << x << "," << y << " count " << c;
        pens += pixel.red() == 0 ? 1 : 0;
      }
    }
    EXPECT_GE(pens, 1);
  }
}

// Two maps whose images lie apart: the left half is made by the red map, the right by the blue,
// and each pixel's mean tint leans to the map that placed its points.
TEST_F(PictureFiles, ByMapColoursEachHalfByItsMap) {
  const PictureInputs inputs{
      drawingState({{{0.4, 0, 0, 0.4, 0, 0.3}, 0.5}, {{0.4, 0, 0, 0.4, 0.6, 0.3}, 0.5}}, 100'000),
      DrawingKind::ChaosGame};
  PictureRequest request = smallRequest(Shading::ByMap);
  request.paper = kBlack;
  request.mapColours = {rgb(255, 0, 0), rgb(0, 0, 255)};
  const QImage image = render(inputs, request);
  const DrawingState state = pictureState(inputs, request, request.width, request.height);
  const double middle = (state.square.originX + 0.5 * state.square.viewScale) / 15;
  // A pixel's tint is half its last map's, a quarter the one before, ...: at the halves' outer
  // edges (all earlier maps the other one) the two may weigh the same, never the wrong way.
  std::array<double, 2> red{};
  std::array<double, 2> blue{};
  int left = 0;
  int right = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgba64 pixel = image.pixelColor(x, y).rgba64();
      if (pixel.red() == 0 && pixel.blue() == 0) continue;
      EXPECT_EQ(pixel.green(), 0);
      const std::size_t half = x < middle ? 0 : 1;
      (half == 0 ? left : right) += 1;
      red[half] += pixel.red();
      blue[half] += pixel.blue();
      if (half == 0) {
        EXPECT_GE(pixel.red(), pixel.blue()) << x << "," << y;
      } else {
        EXPECT_GE(pixel.blue(), pixel.red()) << x << "," << y;
      }
    }
  }
  EXPECT_GT(red[0], 2 * blue[0]);
  EXPECT_GT(blue[1], 2 * red[1]);
  EXPECT_GT(left, 10);
  EXPECT_GT(right, 10);
}

// A map onto one point: every hit in one rendered pixel. Supersampled 2 × 2, its pixel of the
// file is a quarter pen, three quarters paper; every other pixel is paper.
TEST_F(PictureFiles, SupersamplingAveragesDown) {
  const PictureInputs inputs{drawingState({{{0, 0, 0, 0, 0.3, 0.6}, 1}}, 1000),
                             DrawingKind::ChaosGame};
  PictureRequest request = smallRequest(Shading::Density);
  request.supersample = 2;
  const QImage image = render(inputs, request);
  int inked = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgba64 pixel = image.pixelColor(x, y).rgba64();
      if (pixel.red() == 65535) continue;
      ++inked;
      EXPECT_EQ(pixel.red(), 49151);  // (3 × 65535 + 0) / 4, rounded
    }
  }
  EXPECT_EQ(inked, 1);
}

// The same file, byte for byte, on one, two or three threads.
TEST_F(PictureFiles, FilesDoNotDependOnTheThreads) {
  const PictureInputs inputs = gasket(DrawingKind::ChaosGame, 9'000'000);
  for (const Shading shading : {Shading::Density, Shading::ByMap}) {
    const PictureRequest request = smallRequest(shading, PictureFormat::Png8);
    const QByteArray one = bytesOf(inputs, request, 1);
    EXPECT_FALSE(one.isEmpty());
    EXPECT_EQ(bytesOf(inputs, request, 2), one);
    EXPECT_EQ(bytesOf(inputs, request, 3), one);
  }
}

// Flat pictures are the canvas's, pixel for pixel, numbers and frame included.
TEST_F(PictureFiles, FlatIsTheCanvasPicture) {
  const PictureInputs rows[] = {gasket(DrawingKind::ChaosGame, 300'000),
                                gasket(DrawingKind::TriangleFractal, 5),
                                gasket(DrawingKind::BluePrint, 1)};
  for (const PictureInputs& inputs : rows) {
    PictureRequest request = smallRequest(Shading::Flat, PictureFormat::Png8);
    request.width = 300;
    request.height = 200;
    request.pen = rgb(200, 0, 0);
    request.paper = rgb(250, 250, 230);
    DrawingState state = pictureState(inputs, request, request.width, request.height);
    Canvas canvas(request.width, request.height, 15, request.paper);
    ChaosRandom random(request.seed);
    ASSERT_TRUE(drawFast(canvas, inputs.kind, state, random, RenderControl{}));
    const QImage expected = canvas.picture().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(render(inputs, request).convertToFormat(QImage::Format_RGB32), expected)
        << int(inputs.kind);
  }
}

int countElements(const QString& file, const QString& name, bool& wellFormed) {
  QFile svg(file);
  if (!svg.open(QIODevice::ReadOnly)) return -1;
  QXmlStreamReader xml(&svg);
  int count = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name) ++count;
  }
  wellFormed = !xml.hasError();
  return count;
}

// A depth-8 gasket is 3^8 triangles and the frame; at depth 20 the tiny figures become the pixels
// they cover and the file stays small; the blue print numbers its figures.
TEST_F(PictureFiles, SvgHoldsOnePolygonPerFigure) {
  struct Row {
    DrawingKind kind;
    int depth;
    int polygons;  // -1: not counted
    int texts;
  };
  const Row rows[] = {{DrawingKind::TriangleFractal, 8, 6562, 0},
                      {DrawingKind::TriangleFractal, 20, -1, 0},
                      {DrawingKind::BluePrint, 1, 4, 3}};
  for (const Row& row : rows) {
    const QString file = path(QStringLiteral("drawing.svg"));
    const PictureRequest request = smallRequest(Shading::Flat, PictureFormat::Svg);
    ASSERT_TRUE(renderPicture(gasket(row.kind, row.depth), request, RenderControl{}, file));
    bool wellFormed = false;
    const int polygons = countElements(file, QStringLiteral("polygon"), wellFormed);
    EXPECT_TRUE(wellFormed);
    if (row.polygons >= 0) {
      EXPECT_EQ(polygons, row.polygons);
    }
    EXPECT_EQ(countElements(file, QStringLiteral("text"), wellFormed), row.texts);
    EXPECT_LT(QFileInfo(file).size(), 2'000'000);
  }
}

// Past the memory a picture may take, the message names the largest size of the same shape,
// which is then accepted; sizes, supersampling, gamma and SVG of the chaos game are checked.
TEST(PictureRequests, RefusesWhatCannotBeRendered) {
  PictureRequest poster;
  poster.width = poster.height = kMaxPictureSide;
  poster.shading = Shading::Density;
  EXPECT_TRUE(checkPictureRequest(poster, PictureMode::ChaosGame).ok());
  poster.shading = Shading::ByMap;
  const Status refused = checkPictureRequest(poster, PictureMode::ChaosGame);
  ASSERT_FALSE(refused.ok());
  const QRegularExpressionMatch largest =
      QRegularExpression(QStringLiteral("fits is (\\d+) × (\\d+)")).match(refused.message());
  ASSERT_TRUE(largest.hasMatch()) << refused.message().toStdString();
  poster.width = largest.captured(1).toInt();
  poster.height = largest.captured(2).toInt();
  EXPECT_EQ(poster.width, poster.height);
  EXPECT_TRUE(checkPictureRequest(poster, PictureMode::ChaosGame).ok());
  ++poster.width;
  ++poster.height;
  EXPECT_FALSE(checkPictureRequest(poster, PictureMode::ChaosGame).ok());

  struct Row {
    int width, height, supersample;
    double gamma;
    PictureFormat format;
    PictureMode mode;
  };
  const Row bad[] = {{0, 100, 1, 2.2, PictureFormat::Png8, PictureMode::Fractal},
                     {100, 16385, 1, 2.2, PictureFormat::Png8, PictureMode::Fractal},
                     {100, 100, 5, 2.2, PictureFormat::Png8, PictureMode::ChaosGame},
                     {100, 100, 1, 0, PictureFormat::Png8, PictureMode::ChaosGame},
                     {100, 100, 1, NAN, PictureFormat::Png8, PictureMode::ChaosGame},
                     {100, 100, 1, 2.2, PictureFormat::Svg, PictureMode::ChaosGame},
                     {16384, 16384, 2, 2.2, PictureFormat::Png16, PictureMode::Fractal}};
  for (const Row& row : bad) {
    PictureRequest request;
    request.width = row.width;
    request.height = row.height;
    request.supersample = row.supersample;
    request.gamma = row.gamma;
    request.format = row.format;
    EXPECT_FALSE(checkPictureRequest(request, row.mode).ok()) << row.width << " " << row.gamma;
  }
}

// A cancelled render leaves the earlier file as it was.
TEST_F(PictureFiles, CancelledRenderKeepsTheEarlierFile) {
  const QString file = path(QStringLiteral("kept.png"));
  QFile earlier(file);
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
  earlier.write("earlier");
  earlier.close();
  const std::atomic<bool> cancel{true};
  RenderControl control;
  control.cancel = &cancel;
  for (const Shading shading : {Shading::Flat, Shading::Density}) {
    const Status status = renderPicture(gasket(DrawingKind::ChaosGame, 100'000),
                                        smallRequest(shading), control, file);
    EXPECT_EQ(status.message(), kPictureCancelledMessage);
  }
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
}

}  // namespace
}  // namespace quill
