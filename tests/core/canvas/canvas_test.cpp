#include "core/canvas/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace quill {
namespace {

constexpr double kTwips = 15.0;  // twips per pixel on a 96 dpi screen
constexpr Rgb kRed = rgb(255, 0, 0);

// Twips of the centre of pixel p.
float at(int p) { return float(p * kTwips + kTwips / 2); }

bool inked(const Canvas& canvas, int x, int y, Rgb color) {
  return (canvas.picture().pixel(x, y) & 0xFFFFFFu) == color;
}

int countInk(const Canvas& canvas, Rgb color) {
  const QImage picture = canvas.picture();
  int count = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) count += (picture.pixel(x, y) & 0xFFFFFFu) == color;
  }
  return count;
}

TEST(Canvas, PointsLandInTheirPixelAndMoveTheCurrentPosition) {
  Canvas canvas(40, 30, kTwips, kWhite);
  canvas.pset(at(3), at(4), kRed);
  EXPECT_TRUE(inked(canvas, 3, 4, kRed));
  EXPECT_EQ(countInk(canvas, kRed), 1);
  EXPECT_FLOAT_EQ(canvas.currentX(), at(3));
  EXPECT_FLOAT_EQ(canvas.currentY(), at(4));
  // 15 twips is the first twip of pixel 1; 14.99 still belongs to pixel 0.
  canvas.pset(15.0f, 0.0f, kBlack);
  canvas.pset(14.99f, 29 * 15.0f, kBlack);
  EXPECT_TRUE(inked(canvas, 1, 0, kBlack));
  EXPECT_TRUE(inked(canvas, 0, 29, kBlack));
}

TEST(Canvas, LineFromTheCurrentPositionContinuesWhereTheLastCallEnded) {
  {
    SCOPED_TRACE("after a point");
    Canvas canvas(40, 30, kTwips, kWhite);
    canvas.pset(at(2), at(2), kRed);
    canvas.lineTo(at(10), at(2), kRed);
    for (int x = 2; x <= 10; ++x) EXPECT_TRUE(inked(canvas, x, 2, kRed)) << x;
    EXPECT_EQ(countInk(canvas, kRed), 9);
  }
  {
    SCOPED_TRACE("after a line");
    Canvas canvas(40, 30, kTwips, kWhite);
    canvas.line(at(1), at(1), at(5), at(1), kRed);
    canvas.lineTo(at(5), at(6), kRed);
    for (int y = 1; y <= 6; ++y) EXPECT_TRUE(inked(canvas, 5, y, kRed)) << y;
    EXPECT_EQ(countInk(canvas, kRed), 5 + 6 - 1);  // the corner pixel is shared
    EXPECT_FLOAT_EQ(canvas.currentY(), at(6));
  }
}

TEST(Canvas, DashedLinesLeaveGapsAndSolidOnesDoNot) {
  Canvas canvas(100, 10, kTwips, kWhite);
  canvas.setDrawStyle(DrawStyle::Dashed);
  canvas.line(at(0), at(2), at(99), at(2), kRed);
  canvas.setDrawStyle(DrawStyle::Solid);
  canvas.line(at(0), at(5), at(99), at(5), kRed);
  int dashed = 0;
  int solid = 0;
  for (int x = 0; x < 100; ++x) {
    dashed += inked(canvas, x, 2, kRed);
    solid += inked(canvas, x, 5, kRed);
  }
  EXPECT_EQ(solid, 100);
  EXPECT_EQ(dashed, 8 * 8 + 4);            // 8 on and 4 off: eight whole periods, then a dash of 4
  EXPECT_TRUE(inked(canvas, 0, 2, kRed));  // a dash starts with ink
}

TEST(Canvas, FarAndUndefinedCoordinatesAreClippedAtOnce) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Canvas canvas(200, 100, kTwips, kWhite);
  // A line towards a far point draws only its visible part: from (0, 50) to the right edge.
  canvas.line(at(0), at(50), 1e30f, at(50), kRed);
  EXPECT_EQ(countInk(canvas, kRed), 200);
  canvas.line(at(10), at(10), 1e30f, -1e30f, kBlack);  // leaves through the top edge
  EXPECT_TRUE(inked(canvas, 10, 10, kBlack));
  canvas.line(-1e30f, -1e30f, 1e30f, 1e30f, kBlack);
  canvas.line(at(1), at(1), nan, at(1), kBlack);
  canvas.line(inf, at(1), at(1), -inf, kBlack);
  canvas.pset(nan, nan, kBlack);
  canvas.pset(-1e30f, 1e30f, kBlack);
  canvas.pset(inf, at(1), kBlack);
  canvas.setCurrentX(nan);
  canvas.setCurrentY(1e30f);
  canvas.print(QStringLiteral("7"));
  EXPECT_TRUE(std::isnan(canvas.currentX()));  // the position still follows the calls
  // Off the right and bottom edges by one twip: clipped, not wrapped into another row.
  canvas.pset(200 * 15.0f, at(3), kRed);
  canvas.pset(at(3), 100 * 15.0f, kRed);
  EXPECT_EQ(countInk(canvas, kRed), 200);
}

// Ends so far apart that their difference overflows a double: the visible part alone is plotted,
// from its first pixel to its last, in a picture of 40 × 30 pixels.
TEST(RasteriseLine, EndsWhoseDifferenceOverflowsPlotTheVisiblePart) {
  using Pixel = std::pair<int, int>;
  struct Case {
    const char* name;
    double x0, y0, x1, y1;
    Pixel first, last;
    std::size_t count;
  };
  const Case cases[] = {
      {"a row across the whole picture", -1e308, 10.5, 1e308, 10.5, {0, 10}, {39, 10}, 40},
      {"the row drawn right to left", 1e308, 10.5, -1e308, 10.5, {39, 10}, {0, 10}, 40},
      {"ends unequally far", -1e308, 3.5, 1.7e308, 3.5, {0, 3}, {39, 3}, 40},
      {"a column", 5.5, -1.5e308, 5.5, 1e308, {5, 0}, {5, 29}, 30},
      {"a row above the picture", -1e308, -1, 1e308, -1, {}, {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Pixel> plotted;
    rasteriseLine(c.x0, c.y0, c.x1, c.y1, 40, 30,
                  [&](int x, int y, int) { plotted.emplace_back(x, y); });
    ASSERT_EQ(plotted.size(), c.count);
    if (c.count == 0) continue;
    EXPECT_EQ(std::pair(plotted.front(), plotted.back()), std::pair(c.first, c.last));
  }
}

TEST(Canvas, BackColorChangesOnlyTheBackground) {
  Canvas canvas(20, 20, kTwips, kWhite);
  canvas.pset(at(5), at(5), kBlack);
  canvas.setBackColor(rgb(0, 0, 255));
  EXPECT_TRUE(inked(canvas, 5, 5, kBlack));
  EXPECT_TRUE(inked(canvas, 6, 5, rgb(0, 0, 255)));
}

TEST(Canvas, PrintWritesBlackTextBelowAndRightOfTheCurrentPosition) {
  Canvas canvas(100, 60, kTwips, kWhite);
  canvas.setCurrentX(at(20));
  canvas.setCurrentY(at(20));
  canvas.print(QStringLiteral("10"));
  const QImage picture = canvas.picture();
  int dark = 0;
  QRect box;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (qGray(picture.pixel(x, y)) < 128) {
        ++dark;
        box |= QRect(x, y, 1, 1);
      }
    }
  }
  ASSERT_GT(dark, 10);
  EXPECT_GE(box.left(), 20);
  EXPECT_GE(box.top(), 20);
  EXPECT_LT(box.bottom(), 20 + 20);  // 12 point at 96 dpi is 16 pixels
}

}  // namespace
}  // namespace quill
