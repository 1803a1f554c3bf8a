#include "core/editor/map_editor_model.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/fakes.h"
#include "support/row_name.h"

namespace quill {
namespace {

using testing::PanelFixture;

// Map 1 before each drag, in binary fractions so that every coefficient comes out exact:
// P0 = (e, f) = (0.125, 0.5), P1 = (a + e, c + f) = (0.625, 0.25), P2 = (b + e, d + f) =
// (0.375, 1.25).
const std::array<QString, kColumnCount> kStart = {"0.5",   "0.25", "-0.25", "0.75",
                                                  "0.125", "0.5",  "0.4"};
const std::array<QString, kColumnCount> kSecond = {"0.5", "0", "0", "0.5", "0.5", "0", "0.6"};
constexpr double kDx = 0.25;
constexpr double kDy = -0.125;

struct DragRow {
  const char* name;
  Handle handle;
  QStringList texts;  // a to f of map 1 after the drag by (kDx, kDy), worked by hand
  const char* step;
};

class MapEditorDrag : public ::testing::TestWithParam<DragRow> {};

// A drag moves what it holds by the pointer's way: the inside moves the map whole (e, f); a
// corner moves alone and the other two stay, so P0 changes every coefficient.
TEST_P(MapEditorDrag, MovesTheHandleItHoldsByThePointersWay) {
  const DragRow& row = GetParam();
  PanelFixture f;
  f.setRow(1, kStart);
  f.setRow(2, kSecond);
  MapEditorModel model(f.state, f.document.undoStack);
  const PlaneMap start = *model.shape(0);

  model.endStep();  // the press
  model.dragTo(0, start, row.handle, kDx / 2, kDy / 2);
  model.dragTo(0, start, row.handle, kDx, kDy);
  model.endStep();  // the release

  QStringList texts;
  for (int column = kColA; column <= kColF; ++column) texts << f.state.cell(1, column);
  EXPECT_EQ(texts, row.texts);
  EXPECT_EQ(f.state.cell(1, kColP), "0.4");
  for (int column = 0; column < kColumnCount; ++column) {
    EXPECT_EQ(f.state.cell(2, column), kSecond[column]);
  }
  // The whole drag is one step, named after what moved.
  EXPECT_EQ(f.document.undoStack.count(), 1);
  EXPECT_EQ(f.document.undoStack.undoText(), row.step);
  ASSERT_TRUE(model.undo());
  for (int column = 0; column < kColumnCount; ++column) {
    EXPECT_EQ(f.state.cell(1, column), kStart[column]);
  }
  EXPECT_EQ(model.shape(0)->e, 0.125);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, MapEditorDrag,
    ::testing::Values(DragRow{"inside",
                              Handle::Body,
                              {"0.5", "0.25", "-0.25", "0.75", "0.375", "0.375"},
                              "Move Map 1"},
                      // P0 to (0.375, 0.375): a = 0.625 - 0.375, c = 0.25 - 0.375, b = 0.375 -
                      // 0.375, d = 1.25 - 0.375.
                      DragRow{"corner_P0",
                              Handle::P0,
                              {"0.25", "0", "-0.125", "0.875", "0.375", "0.375"},
                              "Move Corner of Map 1"},
                      DragRow{"corner_P1",
                              Handle::P1,
                              {"0.75", "0.25", "-0.375", "0.75", "0.125", "0.5"},
                              "Move Corner of Map 1"},
                      DragRow{"corner_P2",
                              Handle::P2,
                              {"0.5", "0.5", "-0.25", "0.625", "0.125", "0.5"},
                              "Move Corner of Map 1"}),
    testing::RowName());

// Two drags of the same map are two steps, each undone on its own.
TEST(MapEditorModel, EachDragIsAStepOfItsOwn) {
  PanelFixture f;
  f.setRow(1, kStart);
  MapEditorModel model(f.state, f.document.undoStack);
  for (int drag = 0; drag < 2; ++drag) {
    model.endStep();
    const PlaneMap start = *model.shape(0);
    model.dragTo(0, start, Handle::Body, kDx, 0);
    model.endStep();
  }
  EXPECT_EQ(f.state.cell(1, kColE), "0.625");
  EXPECT_EQ(f.document.undoStack.count(), 2);
  ASSERT_TRUE(model.undo());
  EXPECT_EQ(f.state.cell(1, kColE), "0.375");
}

}  // namespace
}  // namespace quill
