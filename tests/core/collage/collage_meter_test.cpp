#include "core/collage/collage_meter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/base/chaos_random.h"
#include "core/collage/attractor_raster.h"
#include "core/maths/attractor_box.h"
#include "support/row_name.h"

namespace quill {
namespace {

// A target of the cells whose centres lie in the rectangle [x0, x1] × [y0, y1] of the square.
Target rectangleTarget(const CollageGrid& grid, double x0, double y0, double x1, double y1) {
  CellMask mask(grid);
  for (int j = 0; j < grid.side(); ++j) {
    for (int i = 0; i < grid.side(); ++i) {
      const double x = grid.centreX(i);
      const double y = grid.centreY(j);
      mask.at(i, j) = x >= x0 && x <= x1 && y >= y0 && y <= y1;
    }
  }
  return targetFromMask(std::move(mask));
}

// Maps taking the rectangle onto the tiles of a cols × rows tiling of itself.
std::vector<PlaneMap> tiles(double x0, double y0, double x1, double y1, int cols, int rows) {
  std::vector<PlaneMap> maps;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      const double a = 1.0 / cols;
      const double d = 1.0 / rows;
      maps.push_back(
          {a, 0, 0, d, x0 + c * (x1 - x0) / cols - a * x0, y0 + r * (y1 - y0) / rows - d * y0});
    }
  }
  return maps;
}

struct TilingRow {
  std::string name;
  double x0, y0, x1, y1;
  int cols, rows;
};

class SelfCollage : public ::testing::TestWithParam<TilingRow> {};

// A shape that is exactly the union of its images: no distance, nothing uncovered or spilt, a
// bound of 0; and the shape as its own attractor measures 0 with an IoU of 1.
TEST_P(SelfCollage, IsExactlyZero) {
  const TilingRow& row = GetParam();
  const CollageGrid grid{128, 64};
  const Target target = rectangleTarget(grid, row.x0, row.y0, row.x1, row.y1);
  ASSERT_FALSE(target.cellList.empty());
  CollageMeter meter(target);
  const CollageMeasure& collage =
      meter.measure(tiles(row.x0, row.y0, row.x1, row.y1, row.cols, row.rows));
  EXPECT_EQ(collage.distance, 0);
  ASSERT_TRUE(collage.bound.has_value());
  EXPECT_EQ(*collage.bound, 0);
  EXPECT_EQ(collage.uncoveredCells, 0);
  EXPECT_EQ(collage.spillCells, 0);
  EXPECT_EQ(collage.imageCells, collage.targetCells);

  AttractorRaster itself{target.mask, target.box, 0, false};
  const AttractorMeasure attractor = meter.measureAttractor(itself);
  EXPECT_EQ(attractor.distance, 0);
  EXPECT_EQ(attractor.iou, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Tilings, SelfCollage,
    ::testing::Values(TilingRow{"square into quarters", 0.25, 0.25, 0.75, 0.75, 2, 2},
                      TilingRow{"wide rectangle into quarters", 0, 0.25, 1, 0.5, 2, 2},
                      TilingRow{"tall rectangle into eighths", 0.5, 0, 0.75, 1, 2, 4},
                      TilingRow{"square into sixteenths", 0, 0, 1, 1, 4, 4}),
    testing::RowName{});

TEST(CollageMeter, GivesNoBoundWhenAMapDoesNotContract) {
  const Target target = rectangleTarget(CollageGrid{64, 32}, 0.2, 0.2, 0.8, 0.8);
  CollageMeter meter(target);
  const std::vector<PlaneMap> maps = {{0.5, 0, 0, 0.5, 0, 0}, {0, -1, 1, 0, 1, 0}};
  const CollageMeasure& collage = meter.measure(maps);
  EXPECT_FALSE(collage.bound.has_value());
  EXPECT_DOUBLE_EQ(collage.contraction, 1);
  EXPECT_GT(collage.distance, 0);
}

// A random shape: a few discs and rectangles in the square.
Target randomTarget(const CollageGrid& grid, ChaosRandom& random) {
  CellMask mask(grid);
  const int pieces = 1 + int(random.next() * 4);
  for (int piece = 0; piece < pieces; ++piece) {
    const double cx = 0.15 + 0.7 * random.next();
    const double cy = 0.15 + 0.7 * random.next();
    const double rx = 0.02 + 0.2 * random.next();
    const double ry = 0.02 + 0.2 * random.next();
    const bool disc = random.next() < 0.5;
    for (int j = 0; j < grid.side(); ++j) {
      for (int i = 0; i < grid.side(); ++i) {
        const double dx = (grid.centreX(i) - cx) / rx;
        const double dy = (grid.centreY(j) - cy) / ry;
        if (disc ? dx * dx + dy * dy <= 1 : std::abs(dx) <= 1 && std::abs(dy) <= 1) {
          mask.at(i, j) = 1;
        }
      }
    }
  }
  return targetFromMask(std::move(mask));
}

// A random map of the unit square into itself that contracts: its attractor stays in the square.
PlaneMap randomMap(ChaosRandom& random) {
  const double turn = 6.283185307179586 * random.next();
  const double r = 0.1 + 0.7 * random.next();
  const double s = (random.next() < 0.5 ? -1 : 1) * (0.05 + 0.75 * random.next());
  const double shear = 0.3 * (random.next() - 0.5);
  PlaneMap m{r * std::cos(turn),
             -s * std::sin(turn) + shear * r * std::cos(turn),
             r * std::sin(turn),
             s * std::cos(turn) + shear * r * std::sin(turn),
             0,
             0};
  // Place the image of the square inside the square.
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  for (const double x : {0.0, 1.0}) {
    for (const double y : {0.0, 1.0}) {
      xmin = std::min(xmin, m.a * x + m.b * y);
      xmax = std::max(xmax, m.a * x + m.b * y);
      ymin = std::min(ymin, m.c * x + m.d * y);
      ymax = std::max(ymax, m.c * x + m.d * y);
    }
  }
  m.e = -xmin + random.next() * std::max(0.0, 1 - (xmax - xmin));
  m.f = -ymin + random.next() * std::max(0.0, 1 - (ymax - ymin));
  return m;
}

// The collage theorem, measured: over hundreds of random contracting systems and random targets,
// the attractor never lies farther from the target than the certified bound, to the cell.
TEST(CollageMeter, BoundHoldsForRandomSystemsAndTargets) {
  const CollageGrid grid{128, 64};
  ChaosRandom random(26);
  int checked = 0;
  for (int system = 0; system < 300; ++system) {
    SCOPED_TRACE("system " + std::to_string(system));
    const Target target = randomTarget(grid, random);
    std::vector<PlaneMap> maps;
    const int count = 1 + int(random.next() * 5);
    for (int i = 0; i < count; ++i) maps.push_back(randomMap(random));
    if (largestStretch(maps[0]) >= 0.9) continue;
    CollageMeter meter(target);
    const CollageMeasure collage = meter.measure(maps);
    ASSERT_TRUE(collage.bound.has_value());
    const AttractorRaster attractor =
        rasteriseAttractor(maps, grid, 400'000, std::uint64_t(system), RenderControl{});
    const AttractorMeasure measured = meter.measureAttractor(attractor);
    EXPECT_LE(measured.distance, *collage.bound + grid.cellSize())
        << "collage " << collage.distance << " s " << collage.contraction;
    ++checked;
  }
  EXPECT_GT(checked, 200);
}

// The same raster from one thread as from many, and from the caller's own raster.
TEST(AttractorRaster, IsTheSameOnAnyNumberOfThreads) {
  const std::vector<PlaneMap> maps = {{0.5, 0, 0, 0.5, 0, 0},
                                      {0.5, 0, 0, 0.5, 0.5, 0},
                                      {0.4, -0.2, 0.2, 0.4, 0.25, 0.5},
                                      {0, 0, 0, 0.3, 0.5, 0}};
  const CollageGrid grid{96, 48};
  RenderControl one;
  one.threads = 1;
  const AttractorRaster single = rasteriseAttractor(maps, grid, 300'001, 7, one);
  for (const int threads : {2, 3, 8}) {
    RenderControl many;
    many.threads = threads;
    const AttractorRaster parallel = rasteriseAttractor(maps, grid, 300'001, 7, many);
    EXPECT_EQ(parallel.mask.cells, single.mask.cells) << threads << " threads";
  }
  AttractorRaster own;
  own.mask = CellMask(grid);
  rasteriseAttractorInto(maps, 1000, 3, own);  // something to clear first
  rasteriseAttractorInto(maps, 300'001, 7, own);
  EXPECT_EQ(own.mask.cells, single.mask.cells);
  EXPECT_EQ(own.window.x, single.window.x);
  EXPECT_EQ(own.window.height, single.window.height);
}

}  // namespace
}  // namespace quill
