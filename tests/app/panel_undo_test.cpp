#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/map_editor.h"
#include "app/program.h"
#include "core/canvas/canvas.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// The running program with the fern chosen from the pattern menu: one step to undo.
class PanelUndo : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kFernPattern);
    undo = program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"));
    redo = program.controlPanel->findChild<QAction*>(QStringLiteral("redoAction"));
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    program.controlPanel->activateWindow();  // the keys go to the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(program.controlPanel.get()));
  }
  QLineEdit* field(const QString& name) const {
    return program.controlPanel->findChild<QLineEdit*>(name);
  }
  QImage drawFractal() {
    QTest::mouseClick(program.controlPanel->findChild<QPushButton*>("fractalButton"),
                      Qt::LeftButton);
    EXPECT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }));
    return program.canvasWidget->canvas().picture();
  }

  QAction* undo = nullptr;
  QAction* redo = nullptr;
};

// "Undo" in the Tools menu takes a pattern choice back whole: the caption, the grid, and the
// figure "Fractal" draws (the fern's squares drawn again over themselves, no triangles). The
// items name their step and are enabled only when there is one; the editor's buttons follow.
TEST_F(PanelUndo, ToolsUndoTakesAPatternChoiceBackWhole) {
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Choose Pattern Fern"));
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(redo->text(), QStringLiteral("Redo"));
  EXPECT_FALSE(redo->isEnabled());
  EXPECT_EQ(program.controlPanel->findChild<QMenu*>("toolsMenu")->actions().first(), undo);

  QTest::keyClicks(field(QStringLiteral("countField")), QStringLiteral("2"));
  const QImage fern = drawFractal();
  const QString fernE1 = cell(1, kColE);
  pick(kSierpinskiPattern);
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Choose Pattern Sierpinski"));
  trigger(QStringLiteral("mapEditorAction"));
  auto* editorUndo = program.controlPanel->mapEditor()->findChild<QPushButton*>("undo");
  auto* editorRedo = program.controlPanel->mapEditor()->findChild<QPushButton*>("redo");
  EXPECT_TRUE(editorUndo->isEnabled());
  EXPECT_FALSE(editorRedo->isEnabled());

  undo->trigger();
  EXPECT_EQ(program.controlPanel->windowTitle(), QStringLiteral("Fern"));
  EXPECT_EQ(field(ControlPanel::cellName(1, kColE))->text(), fernE1);
  EXPECT_EQ(redo->text(), QStringLiteral("Redo Choose Pattern Sierpinski"));
  EXPECT_TRUE(editorRedo->isEnabled());
  EXPECT_EQ(editorRedo->toolTip(), QStringLiteral("Redo Choose Pattern Sierpinski"));
  EXPECT_EQ(drawFractal(), fern);

  undo->trigger();  // the fern's own choice: the panel as it started
  EXPECT_EQ(undo->text(), QStringLiteral("Undo"));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(editorUndo->isEnabled());
  EXPECT_TRUE(cell(1, kColA).isEmpty());
  redo->trigger();
  redo->trigger();
  EXPECT_EQ(program.controlPanel->windowTitle(), QStringLiteral("Sierpinski"));
  EXPECT_FALSE(redo->isEnabled());
}

// Ctrl+Z in a field undoes the field's own typing, as a text field does, and a spell of typing
// is one step; a field with nothing of its own to undo leaves Ctrl+Z to the panel's steps, and
// Ctrl+Shift+Z redoes them.
TEST_F(PanelUndo, CtrlZUndoesTheFieldsTypingFirstThenThePanelsSteps) {
  QLineEdit* e1 = field(ControlPanel::cellName(1, kColE));
  const QString fernE1 = e1->text();
  e1->selectAll();
  QTest::keyClicks(e1, QStringLiteral("0.75"));
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Typing"));
  EXPECT_EQ(program.document->undoStack.count(), 2);

  QTest::keyClick(e1, Qt::Key_Z, Qt::ControlModifier);  // the field's own undo
  EXPECT_EQ(e1->text(), fernE1);
  EXPECT_EQ(cell(1, kColE), fernE1);
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Choose Pattern Fern"));

  QLineEdit* a2 = field(ControlPanel::cellName(2, kColA));
  a2->setFocus();
  QTest::keyClick(a2, Qt::Key_Z, Qt::ControlModifier);  // nothing typed here: the panel's step
  EXPECT_TRUE(a2->text().isEmpty());
  EXPECT_EQ(program.controlPanel->windowTitle(), kAppTitle);
  QTest::keyClick(a2, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(program.controlPanel->windowTitle(), QStringLiteral("Fern"));
  EXPECT_EQ(a2->text(), cell(2, kColA));
  EXPECT_FALSE(a2->text().isEmpty());
}

}  // namespace
}  // namespace quill
