#include "core/maps/drawing_state.h"

#include <gtest/gtest.h>

#include <string>

#include "support/row_name.h"

namespace quill {
namespace {

// A canvas's size in twips and the square worked out for it by hand, to the bit: 0.8 of the
// shorter side, its left side at a tenth of the width and its top at a tenth of the height. The
// sizes are single precision and the tenths double products of them, so a size whose tenth is
// no whole twip shows whether the products kept their precision.
struct SquareRow {
  std::string name;
  float width;
  float height;
  double viewScale;
  double originX;
  double marginY;
  double originY;
};
void PrintTo(const SquareRow& row, std::ostream* out) { *out << row.name; }

class DrawingSquareOf : public ::testing::TestWithParam<SquareRow> {};

TEST_P(DrawingSquareOf, IsDerivedFromTheShorterSide) {
  const SquareRow& row = GetParam();
  const DrawingSquare square = DrawingSquare::onCanvas(row.width, row.height);
  EXPECT_EQ(square.viewScale, row.viewScale);
  EXPECT_EQ(square.originX, row.originX);
  EXPECT_EQ(square.marginY, row.marginY);
  EXPECT_EQ(square.originY, row.originY);
}

INSTANTIATE_TEST_SUITE_P(
    DrawingSquare, DrawingSquareOf,
    ::testing::Values(
        SquareRow{"landscape 1920 x 1080 at 96 dpi", 28800, 16200, 12960, 2880, 1620, 14580},
        // The bottom at a tenth of the height below the square: 0.1 × height + 0.8 × width.
        SquareRow{"portrait 1080 x 1920 at 96 dpi", 16200, 28800, 12960, 1620, 2880, 15840},
        // A tie takes the height's branch; both give the same side.
        SquareRow{"square", 15000, 15000, 12000, 1500, 1500, 13500},
        // 12288 × 0.1 is 1228.8000000000002 in double precision (not the 1228.8 of 12288 / 10)
        // and 1228.800048828125 in single.
        SquareRow{"1280 x 1024 at 120 dpi: a tenth between whole twips", 15360, 12288, 9830.4, 1536,
                  1228.8000000000002, 11059.2},
        // 1440 / 110 twips a pixel: sizes between whole twips.
        SquareRow{"1080 x 1920 at 110 dpi", 14138.181640625f, 25134.544921875f, 11310.5453125,
                  1413.8181640625, 2513.4544921875004, 13823.9998046875}),
    testing::RowName());

}  // namespace
}  // namespace quill
