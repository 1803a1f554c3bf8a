#include "core/maps/drawing_state.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

struct SquareCase {
  const char* name;
  float width;
  float height;
  double viewScale;
  double originX;
  double marginY;
  double originY;
};

TEST(DrawingSquare, DerivedFromTheShorterSide) {
  const SquareCase cases[] = {
      // 0.8 of the height, left side at 0.1 × width, bottom at 0.9 × height.
      {"landscape", 28800, 16200, 12960, 2880, 1620, 14580},
      // 0.8 of the width, bottom at 0.1 × height + 0.8 × width.
      {"portrait", 16200, 28800, 12960, 1620, 2880, 15840},
      // A tie takes the height branch; both give the same side.
      {"square", 15000, 15000, 12000, 1500, 1500, 13500},
  };
  for (const SquareCase& c : cases) {
    SCOPED_TRACE(c.name);
    DrawingState drawing;
    drawing.square = DrawingSquare::onCanvas(c.width, c.height);
    EXPECT_DOUBLE_EQ(drawing.square.viewScale, c.viewScale);
    EXPECT_DOUBLE_EQ(drawing.square.originX, c.originX);
    EXPECT_DOUBLE_EQ(drawing.square.marginY, c.marginY);
    EXPECT_DOUBLE_EQ(drawing.square.originY, c.originY);
  }
}

TEST(DrawingSquare, KeepsTheSingleTimesDoubleProduct) {
  // The size is read as a single-precision value and multiplied by 0.1 in double precision.
  DrawingState drawing;
  drawing.square = DrawingSquare::onCanvas(20490.0f, 11520.0f);
  EXPECT_EQ(drawing.square.originX, double(20490.0f) * 0.1);
  EXPECT_EQ(drawing.square.marginY, double(11520.0f) * 0.1);
  EXPECT_EQ(drawing.square.viewScale, double(11520.0f) - 2 * (double(11520.0f) * 0.1));
}

TEST(MapTable, ClearLeavesSlotElevenAlone) {
  MapTable table;
  table.mapA.fill(7);
  table.mapCumP.fill(7);
  table.clear();
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(table.mapA[i], 0);
    EXPECT_EQ(table.mapCumP[i], 0);
  }
  EXPECT_EQ(table.mapA[11], 7);
}

}  // namespace
}  // namespace quill
