#include "core/editor/panel_step.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/editor/map_editor_model.h"
#include "core/maps/pattern_catalogue.h"
#include "support/fakes.h"

namespace quill {
namespace {

using testing::PanelFixture;

// A document and the map editor's model on its undo stack, with the panel's commands and
// typing recorded as the control panel records them.
struct Steps : PanelFixture {
  void choose(int pattern) {
    const PanelSnapshot before = PanelSnapshot::of(state);
    choosePattern(document, pattern);
    recordStep(stack, state, before,
               QStringLiteral("Choose Pattern ") + kPatterns[pattern].menuCaption);
  }
  void type(QString& field, const QString& text, std::uint64_t spell) {
    const PanelSnapshot before = PanelSnapshot::of(state);
    field = text;
    recordStep(stack, state, before, QStringLiteral("Typing"), StepKind::Typing, spell);
  }
  PanelSnapshot now() const { return PanelSnapshot::of(state); }

  QUndoStack& stack = document.undoStack;
  MapEditorModel model{state, stack};
};

// Undoing a pattern choice gives back the caption and the pattern as well as the grid: the
// fractal then draws the square figure of the pattern before, not Sierpinski's triangle.
TEST(PanelSteps, UndoingAPatternChoiceGivesBackWhatTheFractalDraws) {
  Steps s;
  s.choose(kFernPattern);
  s.state.countText = QStringLiteral("2");
  drawFractal(s.document);
  const QImage fern = s.canvasWindow.canvas().picture();

  s.choose(kSierpinskiPattern);
  ASSERT_TRUE(s.model.undo());
  EXPECT_EQ(s.state.caption, QStringLiteral("Fern"));
  EXPECT_EQ(s.state.selectedPattern, kFernPattern);
  s.canvasWindow.close();
  drawFractal(s.document);
  EXPECT_EQ(s.canvasWindow.canvas().picture(), fern);
  EXPECT_TRUE(s.dialogs.messages.isEmpty());
}

// Every kind of step, then a hundred rounds of undoing them all and redoing them all: each
// step gives back the very texts, caption and pattern it held.
TEST(PanelSteps, AHundredUndoRedoCyclesGiveBackEveryStateBitForBit) {
  Steps s;
  std::vector<PanelSnapshot> states{s.now()};
  s.choose(kFernPattern);
  states.push_back(s.now());
  for (const char* text : {"0", "0.", "0.5"}) {
    s.type(s.state.computeFields[0], QString::fromLatin1(text), 1);  // one spell
  }
  states.push_back(s.now());
  s.type(s.state.cell(1, kColE), QStringLiteral("0.51"), 2);
  states.push_back(s.now());
  s.model.syncFromGrid();
  s.model.endStep();
  const PlaneMap start = *s.model.shape(1);
  for (int move = 1; move <= 5; ++move) {
    s.model.dragTo(1, start, Handle::P1, 0.01 * move, -0.02 * move);  // one drag
  }
  s.model.endStep();
  states.push_back(s.now());
  s.model.select(2);
  ASSERT_TRUE(s.model.moveSelected(0.1, 0));
  states.push_back(s.now());
  s.choose(kCantorMazePattern);
  states.push_back(s.now());
  s.model.syncFromGrid();
  ASSERT_TRUE(s.model.insertMap());
  states.push_back(s.now());
  s.model.select(0);
  ASSERT_TRUE(s.model.deleteSelected());
  states.push_back(s.now());
  ASSERT_TRUE(s.model.setProbabilityTexts({"0.25", "0.25", "0.5"}, QStringLiteral("Set p")));
  states.push_back(s.now());
  s.choose(kUserPattern);  // empties the grid, keeps the caption
  states.push_back(s.now());
  ASSERT_EQ(s.stack.count(), int(states.size()) - 1);
  EXPECT_EQ(s.state.caption, QStringLiteral("Cantor"));

  for (int cycle = 0; cycle < 100; ++cycle) {
    for (int step = int(states.size()) - 2; step >= 0; --step) {
      ASSERT_TRUE(s.model.undo());
      ASSERT_EQ(s.now(), states[std::size_t(step)]) << "cycle " << cycle << ", undo " << step;
    }
    EXPECT_FALSE(s.model.undo());
    for (std::size_t step = 1; step < states.size(); ++step) {
      ASSERT_TRUE(s.model.redo());
      ASSERT_EQ(s.now(), states[step]) << "cycle " << cycle << ", redo " << step;
    }
    EXPECT_FALSE(s.model.redo());
  }
  EXPECT_EQ(s.model.mapCount(), 0);
}

// A spell of typing in one field is one step; typing it back to where it began takes the step
// away; a command that changes nothing records nothing and keeps the steps to redo.
TEST(PanelSteps, TypingFoldsIntoOneStepAndNothingChangedRecordsNothing) {
  Steps s;
  s.choose(kSierpinskiPattern);
  s.type(s.state.cell(1, kColA), QStringLiteral("0.55"), 1);
  s.type(s.state.cell(1, kColA), QStringLiteral("0.555"), 1);
  EXPECT_EQ(s.stack.count(), 2);
  EXPECT_EQ(s.stack.undoText(), QStringLiteral("Typing"));
  s.type(s.state.cell(1, kColA), QStringLiteral("0.5"), 1);  // as the pattern had it
  EXPECT_EQ(s.stack.count(), 1);
  EXPECT_EQ(s.stack.undoText(), QStringLiteral("Choose Pattern Sierpinski"));
  s.type(s.state.cell(1, kColB), QStringLiteral("0.1"), 2);
  s.type(s.state.cell(1, kColB), QStringLiteral("0.2"), 3);  // another spell: a step of its own
  EXPECT_EQ(s.stack.count(), 3);

  ASSERT_TRUE(s.model.undo());
  const PanelSnapshot before = s.now();
  EXPECT_FALSE(recordStep(s.stack, s.state, before, QStringLiteral("Blue Print")));
  EXPECT_TRUE(s.stack.canRedo());
  ASSERT_TRUE(s.model.redo());
  EXPECT_EQ(s.state.cell(1, kColB), QStringLiteral("0.2"));
}

}  // namespace
}  // namespace quill
