// The mean tone against the point count, and pictures with a transparent paper.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/picture/hit_counts.h"
#include "core/picture/picture.h"
#include "core/picture/shaded_picture.h"
#include "core/picture/tone_curve.h"
#include "core/render/render_fixtures.h"
#include "support/map_rows.h"

namespace quill {
namespace {

using testing::drawingState;

// The median grey (0 black pen to 255 white paper) of the pixels the game covered.
int medianGrey(const HitGrid& hits, const PictureRequest& request) {
  const ToneCurve tone(hits.counts, request);
  std::vector<int> greys;
  for (const std::uint32_t count : hits.counts) {
    if (count != 0) greys.push_back(int(std::lround(255 * (1 - tone(count)))));
  }
  if (greys.empty()) return -1;
  std::nth_element(greys.begin(), greys.begin() + std::ptrdiff_t(greys.size() / 2), greys.end());
  return greys[greys.size() / 2];
}

struct GrowthRow {
  const char* name;
  std::vector<WeightedMap> maps;
};

class MeanTone : public ::testing::TestWithParam<GrowthRow> {};

// Ten times the points leave the mean tone's median where it was; the log tone's, shown beside,
// moves as the most hit pixel runs ahead of the rest.
TEST_P(MeanTone, HoldsItsMedianAsThePointsGrow) {
  PictureRequest request;
  request.width = 640;
  request.height = 360;
  request.shading = Shading::Density;
  int meanMedians[2] = {};
  int logMedians[2] = {};
  const int counts[2] = {10'000'000, 100'000'000};
  for (int i = 0; i < 2; ++i) {
    const DrawingState state = pictureState({drawingState(GetParam().maps, counts[i])}, request,
                                            request.width, request.height);
    const Result<HitGrid> hits = countHits(request.width, request.height, state,
                                           ChaosRandom(request.seed), nullptr, RenderControl{});
    ASSERT_TRUE(hits.ok());
    request.tone = Tone::Mean;
    meanMedians[i] = medianGrey(*hits, request);
    request.tone = Tone::Log;
    logMedians[i] = medianGrey(*hits, request);
  }
  EXPECT_LE(std::abs(meanMedians[0] - meanMedians[1]), 2)
      << "mean tone medians " << meanMedians[0] << " at 10^7 points, " << meanMedians[1]
      << " at 10^8; the log tone gives " << logMedians[0] << " and " << logMedians[1];
  EXPECT_GT(meanMedians[0], 0);
  EXPECT_LT(meanMedians[0], 255);
}

INSTANTIATE_TEST_SUITE_P(Systems, MeanTone,
                         ::testing::Values(GrowthRow{"Fern", testing::kUnitFern},
                                           GrowthRow{"UnevenGasket",
                                                     {{{0.5, 0, 0, 0.5, 0, 0}, 0.6},
                                                      {{0.5, 0, 0, 0.5, 0.5, 0}, 0.3},
                                                      {{0.5, 0, 0, 0.5, 0.25, 0.5}, 0.1}}}),
                         [](const auto& row) { return std::string(row.param.name); });

// How a transparent picture's ink relates to the opaque picture's.
enum class Ink {
  Opaque,    // alpha full, the opaque picture's colour
  PenAlpha,  // the pen's colour, the tone as alpha
  Coverage,  // supersampled: partly covered pixels partly transparent
};

struct TransparentRow {
  const char* name;
  Shading shading;
  PictureFormat format;
  int supersample;
  Ink ink;
};

class TransparentPaper : public ::testing::TestWithParam<TransparentRow> {};

// Paper is alpha 0 exactly where the opaque picture shows the paper, and the transparent
// picture laid on the paper is the opaque picture, to within a level of the file's depth.
TEST_P(TransparentPaper, LeavesThePaperOutAndKeepsTheInk) {
  const TransparentRow& row = GetParam();
  const PictureInputs inputs = {
      drawingState({testing::kHalfMaps[0], testing::kHalfMaps[1], testing::kHalfMaps[2]}, 200'000),
      DrawingKind::ChaosGame};
  PictureRequest request;
  request.width = 160;
  request.height = 120;
  request.shading = row.shading;
  request.format = row.format;
  request.supersample = row.supersample;
  request.pen = kBlack;
  request.paper = kWhite;
  QTemporaryDir dir;
  const QString opaquePath = dir.filePath(QStringLiteral("opaque.png"));
  const QString clearPath = dir.filePath(QStringLiteral("clear.png"));
  ASSERT_TRUE(renderPicture(inputs, request, RenderControl{}, opaquePath).ok());
  request.transparent = true;
  const Status written = renderPicture(inputs, request, RenderControl{}, clearPath);
  ASSERT_TRUE(written.ok()) << written.message().toStdString();
  const QImage opaque(opaquePath);
  const QImage clear(clearPath);
  ASSERT_FALSE(clear.isNull());
  EXPECT_TRUE(clear.hasAlphaChannel());
  EXPECT_EQ(clear.depth(), row.format == PictureFormat::Png16 ? 64 : 32);
  const int level = row.format == PictureFormat::Png16 ? 2 : 257;
  int papers = 0;
  int inks = 0;
  for (int y = 0; y < request.height; ++y) {
    for (int x = 0; x < request.width; ++x) {
      const QRgba64 o = opaque.pixelColor(x, y).rgba64();
      const QRgba64 c = clear.pixelColor(x, y).rgba64();
      const bool paper = o.red() == 65535 && o.green() == 65535 && o.blue() == 65535;
      ASSERT_EQ(c.alpha() == 0, paper) << "at " << x << ", " << y;
      papers += paper;
      if (paper) continue;
      ++inks;
      const double a = c.alpha() / 65535.0;
      for (const auto& [mine, theirs] :
           {std::pair{c.red(), o.red()}, {c.green(), o.green()}, {c.blue(), o.blue()}}) {
        const double laid = mine * a + 65535 * (1 - a);
        ASSERT_LE(std::abs(laid - theirs), level) << "at " << x << ", " << y;
        if (row.ink == Ink::Opaque) {
          ASSERT_EQ(mine, theirs) << "at " << x << ", " << y;
        } else if (row.ink == Ink::PenAlpha) {
          ASSERT_EQ(mine, 0) << "at " << x << ", " << y;
        }
      }
      if (row.ink == Ink::Opaque) {
        ASSERT_EQ(c.alpha(), 65535) << "at " << x << ", " << y;
      }
    }
  }
  EXPECT_GT(papers, 0);
  EXPECT_GT(inks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TransparentPaper,
    ::testing::Values(
        TransparentRow{"Flat8", Shading::Flat, PictureFormat::Png8, 1, Ink::Opaque},
        TransparentRow{"Flat16", Shading::Flat, PictureFormat::Png16, 1, Ink::Opaque},
        TransparentRow{"FlatSupersampled", Shading::Flat, PictureFormat::Png16, 2, Ink::Coverage},
        TransparentRow{"Density8", Shading::Density, PictureFormat::Png8, 1, Ink::PenAlpha},
        TransparentRow{"Density16", Shading::Density, PictureFormat::Png16, 1, Ink::PenAlpha},
        TransparentRow{"DensitySupersampled", Shading::Density, PictureFormat::Png8, 3,
                       Ink::Coverage},
        TransparentRow{"ByMap16", Shading::ByMap, PictureFormat::Png16, 1, Ink::Opaque}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TransparentPaper, IsRefusedWhereTheFileHasNoAlphaAndLeftOutOfAnSvg) {
  const PictureInputs chaos = {drawingState({testing::kHalfMaps[0]}, 1000), DrawingKind::ChaosGame};
  PictureRequest request;
  request.width = 64;
  request.height = 48;
  request.transparent = true;
  QTemporaryDir dir;
  for (const PictureFormat format : {PictureFormat::Bmp, PictureFormat::Jpeg}) {
    request.format = format;
    const QString path = dir.filePath(QStringLiteral("no-alpha"));
    EXPECT_EQ(renderPicture(chaos, request, RenderControl{}, path).message(), kNoAlphaMessage);
    EXPECT_FALSE(QFile::exists(path));
  }
  const PictureInputs blueprint = {drawingState({testing::kHalfMaps[0]}, 0),
                                   DrawingKind::BluePrint};
  request.format = PictureFormat::Svg;
  for (const bool transparent : {false, true}) {
    request.transparent = transparent;
    const QString path = dir.filePath(QStringLiteral("drawing.svg"));
    ASSERT_TRUE(renderPicture(blueprint, request, RenderControl{}, path).ok());
    QFile svg(path);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_EQ(svg.readAll().contains("<rect"), !transparent);
  }
}

}  // namespace
}  // namespace quill
