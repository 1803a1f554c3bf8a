// The map editor's edits beyond a move, on the presets' own grids: Insert and Delete, the panel's
// numbers, Escape and the number keys.

#include <gtest/gtest.h>

#include "core/editor/map_editor_model.h"
#include "core/maps/number_text.h"
#include "core/maps/pattern_catalogue.h"
#include "support/fakes.h"
#include "support/row_name.h"

namespace quill {
namespace {

using testing::PanelFixture;

QStringList column(const PanelState& state, int col, int rows) {
  QStringList texts;
  for (int row = 1; row <= rows; ++row) texts << state.cell(row, col);
  return texts;
}

// The presets a table runs over: every one but "User", which has no maps.
class EveryPreset : public ::testing::TestWithParam<int> {};

std::string presetName(const ::testing::TestParamInfo<int>& info) {
  QString name = kPatterns[std::size_t(info.param)].menuCaption;
  return name.remove(u' ').toStdString();
}

// Selecting changes no coefficient; r and θ write only a and c, s and φ only b and d, each change
// one step, on every map of every preset.
TEST_P(EveryPreset, ThePanelsNumbersRewriteOnlyTheirOwnColumns) {
  PanelFixture f;
  choosePattern(f.document, GetParam());
  MapEditorModel model(f.state, f.document.undoStack);
  int steps = f.document.undoStack.count();
  struct Change {
    MapNumber number;
    double value;
    std::array<int, 2> columns;
  };
  const std::array<Change, 4> changes = {{{MapNumber::R, 0.3, {kColA, kColC}},
                                          {MapNumber::Theta, 33, {kColA, kColC}},
                                          {MapNumber::S, 0.4, {kColB, kColD}},
                                          {MapNumber::Phi, -40, {kColB, kColD}}}};
  for (int index = 0; index < model.mapCount(); ++index) {
    const auto grid = f.state.grid;
    model.select(index);
    EXPECT_EQ(f.state.grid, grid) << "map " << index + 1;
    for (const Change& change : changes) {
      SCOPED_TRACE(::testing::Message()
                   << "map " << index + 1 << ", number " << int(change.number));
      const auto before = f.state.grid;
      ASSERT_TRUE(model.setNumber(change.number, change.value));
      model.endStep();
      if (f.state.grid != before) ++steps;  // a change that changes nothing is no step
      EXPECT_NEAR(model.number(change.number), change.value, 1e-8);  // a to d to ten decimals
      for (int col = 0; col < kColumnCount; ++col) {
        if (col == change.columns[0] || col == change.columns[1]) continue;
        EXPECT_EQ(column(f.state, col, kGridRows),
                  QStringList(before[col].begin() + 1, before[col].end()))
            << "column " << col;
      }
    }
  }
  EXPECT_EQ(f.document.undoStack.count(), steps);
}

INSTANTIATE_TEST_SUITE_P(Presets, EveryPreset, ::testing::Range(0, int(kUserPattern)), presetName);

// Insert copies the selected map beside it and shares p out again: the texts add up to 1 exactly.
TEST(MapEditorEdits, InsertCopiesBesideAndKeepsThePColumnAddingUpToOne) {
  PanelFixture f;
  choosePattern(f.document, kSierpinskiPattern);
  MapEditorModel model(f.state, f.document.undoStack);
  model.select(0);
  ASSERT_TRUE(model.insertMap().ok());
  EXPECT_EQ(model.selected(), 3);
  // Half of map 1's width to the right: still inside the square.
  EXPECT_EQ(column(f.state, kColE, 4), QStringList({"0", "0.5", "0.25", "0.25"}));
  EXPECT_EQ(column(f.state, kColP, 4), QStringList({"0.25", "0.25", "0.25", "0.25"}));

  // Map 2 would leave the square to the right: the copy goes up instead.
  model.select(1);
  ASSERT_TRUE(model.insertMap().ok());
  EXPECT_EQ(f.state.cell(5, kColE), "0.5");
  EXPECT_EQ(f.state.cell(5, kColF), "0.25");
  std::int64_t thousandths = 0;
  for (const QString& p : column(f.state, kColP, 5)) {
    thousandths += std::llround(*parseNumber(p) * 1000);
    EXPECT_EQ(numberToText(std::round(*parseNumber(p) * 1000) / 1000), p);
  }
  EXPECT_EQ(thousandths, 1000);

  while (model.mapCount() < kGridRows) ASSERT_TRUE(model.insertMap().ok());
  const Status eleventh = model.insertMap();
  EXPECT_EQ(eleventh.message(), kTooManyMapsMessage);
  EXPECT_EQ(model.mapCount(), kGridRows);
}

TEST(MapEditorEdits, DeleteSelectsTheMapThatTakesItsRow) {
  PanelFixture f;
  choosePattern(f.document, kFernPattern);
  MapEditorModel model(f.state, f.document.undoStack);
  model.select(1);
  ASSERT_TRUE(model.deleteSelected());
  EXPECT_EQ(model.selected(), 1);
  model.select(2);
  ASSERT_TRUE(model.deleteSelected());
  EXPECT_EQ(model.selected(), 1);  // the last went: the new last
  model.select(0);
  ASSERT_TRUE(model.deleteSelected());
  ASSERT_TRUE(model.deleteSelected());
  EXPECT_EQ(model.selected(), -1);
}

// Escape gives back the very texts and leaves no step; the steps before it stay.
TEST(MapEditorEdits, ACancelledDragLeavesNoStep) {
  PanelFixture f;
  choosePattern(f.document, kFernPattern);
  MapEditorModel model(f.state, f.document.undoStack);
  const auto grid = f.state.grid;
  const int steps = f.document.undoStack.count();
  model.select(1);
  model.beginDrag();
  const PlaneMap start = *model.shape(1);
  model.dragTo(1, start, Handle::P1, 0.1, 0.05);
  model.dragTo(1, start, Handle::P1, 0.2, 0.05);
  ASSERT_NE(f.state.grid, grid);
  model.cancelDrag();
  EXPECT_EQ(f.state.grid, grid);
  EXPECT_EQ(f.document.undoStack.count(), steps);
  EXPECT_EQ(model.shape(1)->a, start.a);
}

// The body of map 1 snapped by its P3 onto map 3's P0 (0.25, 0.5): the texts are the sums' own,
// without a remainder in the last bits.
TEST(MapEditorEdits, ASnappedDragWritesCleanTexts) {
  PanelFixture f;
  choosePattern(f.document, kSierpinskiPattern);
  MapEditorModel model(f.state, f.document.undoStack);
  const std::array<QString, kColumnCount> moved = {"0.5", "0", "0", "0.5", "0.01", "0.02", "1"};
  f.setRow(1, moved);
  model.syncFromGrid();
  model.beginDrag();
  const DragInput drag{*model.shape(0), Handle::Body, {0.3, 0.3}, {0.03, 0.28},
                       false,           true,         1.0 / 500};
  const DragResult result = model.drag(0, drag);
  model.endStep();
  ASSERT_TRUE(result.snappedTo);
  EXPECT_EQ(*result.snappedTo, QPointF(0.25, 0.5));
  EXPECT_EQ(f.state.cell(1, kColE), "-0.25");
  EXPECT_EQ(f.state.cell(1, kColF), "0");
}

TEST(MapEditorEdits, ANumberKeyForAMissingMapSaysSoAndSelectsNone) {
  PanelFixture f;
  choosePattern(f.document, kFernPattern);
  MapEditorModel model(f.state, f.document.undoStack);
  model.select(2);
  const Status missing = model.selectNumber(6);
  EXPECT_EQ(missing.message(), QStringLiteral("There is no map 7: the grid holds 4 maps."));
  EXPECT_EQ(model.selected(), -1);
  EXPECT_TRUE(model.selectNumber(3).ok());
  model.select(3, Handle::P1);
  EXPECT_EQ(model.selectionText(),
            QStringLiteral("Map 4, corner P1 — a -0.15, b 0.28, c 0.26, d 0.24, e 0.545284, f "
                           "-0.073015, p 0.115"));
}

}  // namespace
}  // namespace quill
