#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <array>
#include <cmath>

#include "app/box_count_thread.h"
#include "app/control_panel.h"
#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "app/maths_report_window.h"
#include "app/program.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// The running program with a pattern in the grid and the report opened from the Tools menu.
class MathsReport : public testing::RunningProgram {
 protected:
  void SetUp() override {
    startWith(kSierpinskiPattern);
    trigger(QStringLiteral("mathsReportAction"));
    report = program.controlPanel->mathsReport();
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(report));
  }
  QLineEdit* field(int row, int column) const {
    return program.controlPanel->findChild<QLineEdit*>(ControlPanel::cellName(row, column));
  }
  void type(int row, int column, const QString& text) {
    QLineEdit* edit = field(row, column);
    edit->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  // What the report shows, once the changes made so far are shown (within a frame).
  const SystemFacts& facts() const {
    settle();
    return report->facts();
  }
  QString shown(const char* name) const {
    settle();
    return report->findChild<QLabel*>(QString::fromLatin1(name))->text();
  }
  QTableWidgetItem* item(int row, int column) const {
    settle();
    return table()->item(row, column);
  }
  QTableWidget* table() const {
    return report->findChild<QTableWidget*>(QStringLiteral("mapFacts"));
  }
  void settle() const {
    EXPECT_TRUE(waitUntil([this] { return !report->refreshPending(); }, 5000));
  }

  MathsReportWindow* report = nullptr;
};

// Typing in the grid, a panel command and a drag's worth of key presses in the editor: the
// report follows each, and a map made expanding is marked in words and colour.
TEST_F(MathsReport, FollowsTheGridAndMarksAnExpandingMap) {
  EXPECT_TRUE(report->isVisible());
  ASSERT_EQ(facts().maps.size(), 3u);
  ASSERT_TRUE(facts().similarityDimension);
  EXPECT_NEAR(*facts().similarityDimension, std::log(3) / std::log(2), 1e-9);

  type(1, kColA, QStringLiteral("1.5"));
  EXPECT_EQ(facts().maps[0].row.map.a, 1.5);
  EXPECT_TRUE(facts().maps[0].expanding);
  EXPECT_FALSE(facts().contracting);
  EXPECT_TRUE(item(0, 7)->text().contains(QStringLiteral("EXPANDS")));
  EXPECT_NE(item(0, 7)->background(), item(1, 7)->background());
  EXPECT_TRUE(shown("systemFacts").contains(QStringLiteral("Contracting: no")));
  EXPECT_TRUE(shown("boxStatus").contains(QStringLiteral("not counted")));

  type(2, kColE, QStringLiteral("0.5x"));  // a row that does not read is left out, quietly
  EXPECT_EQ(facts().maps.size(), 2u);
  EXPECT_TRUE(item(1, 0)->text().contains(QStringLiteral("does not read")));

  pick(kKochPattern);
  ASSERT_EQ(facts().maps.size(), 4u);
  EXPECT_NEAR(*facts().similarityDimension, std::log(4) / std::log(3), 1e-5);

  program.controlPanel->openMapEditor();
  MapCanvas* canvas = program.controlPanel->mapEditor()->canvas();
  const double c1 = facts().maps[0].row.map.c;
  QTest::keyClick(canvas, Qt::Key_1);
  QTest::keyClick(canvas, Qt::Key_Tab);
  QTest::keyClick(canvas, Qt::Key_Tab);  // P1
  QTest::keyClick(canvas, Qt::Key_Up);
  EXPECT_NEAR(facts().maps[0].row.map.c, c1 + 0.01, 1e-12);
  EXPECT_FALSE(facts().maps[0].similarity);
  QTest::keyClick(canvas, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(facts().maps[0].row.map.c, c1);
}

// Fifty Alt+arrow presses handled in one turn of the event loop, as the window system hands over
// keys that queued while the program was busy: the report shows them together, once, in the
// cells it had (a cell made anew would have lost the mark put on it).
TEST_F(MathsReport, ShowsABurstOfChangesOnceInTheSameCells) {
  program.controlPanel->openMapEditor();
  MapCanvas* canvas = program.controlPanel->mapEditor()->canvas();
  QTest::keyClick(canvas, Qt::Key_1);
  settle();
  for (int row = 0; row < 3; ++row) item(row, 0)->setData(Qt::UserRole, row + 1);
  auto coefficients = [](const PlaneMap& m) { return std::array{m.a, m.b, m.c, m.d, m.e, m.f}; };
  const auto before = coefficients(facts().maps[0].row.map);
  const int refreshes = report->refreshes();

  for (int press = 0; press < 50; ++press) {
    QTest::keyClick(canvas, Qt::Key_Right, Qt::AltModifier);
  }
  EXPECT_EQ(report->refreshes(), refreshes);  // the keys are not held up by the report
  settle();
  EXPECT_EQ(report->refreshes(), refreshes + 1);
  const auto moved = coefficients(*program.controlPanel->editorModel().shape(0));
  EXPECT_NE(moved, before);
  EXPECT_EQ(coefficients(facts().maps[0].row.map), moved);
  for (int row = 0; row < 3; ++row) EXPECT_EQ(item(row, 0)->data(Qt::UserRole).toInt(), row + 1);
  EXPECT_EQ(item(0, 0)->text(), QString::number(facts().maps[0].det + 0.0, 'g', 4));
}

// Cantor's maze with its first p retyped: the button writes p ∝ |det| (the preset's own p) as
// one step, the panel shows it, and one undo gives back every p typed before.
TEST_F(MathsReport, SetPByDetWritesTheGridAsOneUndoStep) {
  pick(kCantorMazePattern);
  type(1, kColP, QStringLiteral("0.9"));
  type(3, kColP, QStringLiteral("0.05"));
  const QStringList typed = {cell(1, kColP), cell(2, kColP), cell(3, kColP)};
  report->findChild<QPushButton*>(QStringLiteral("setPByDet"))->click();
  EXPECT_EQ(QStringList({cell(1, kColP), cell(2, kColP), cell(3, kColP)}),
            QStringList({"0.428", "0.429", "0.143"}));
  EXPECT_EQ(field(3, kColP)->text(), QStringLiteral("0.143"));
  EXPECT_EQ(facts().maps[2].row.p, 0.143);

  program.controlPanel->openMapEditor();
  program.controlPanel->mapEditor()->findChild<QPushButton*>(QStringLiteral("undo"))->click();
  EXPECT_EQ(QStringList({cell(1, kColP), cell(2, kColP), cell(3, kColP)}), typed);
  EXPECT_EQ(field(1, kColP)->text(), QStringLiteral("0.9"));
  EXPECT_EQ(facts().maps[0].row.p, 0.9);

  type(2, kColA, QStringLiteral("?"));  // a row that does not read has no det to share
  settle();
  EXPECT_FALSE(report->findChild<QPushButton*>(QStringLiteral("setPByDet"))->isEnabled());
}

// The estimate comes first from a million points, then from ten million; it is dropped and
// counted again on a change, and grids that cannot be counted, or a window closed while it
// counts, neither crash nor hang.
TEST_F(MathsReport, BoxCountingRefinesRestartsAndStopsOnClose) {
  ASSERT_TRUE(waitUntil([this] { return report->boxes().has_value(); }, 60000));
  EXPECT_EQ(report->boxes()->steps, BoxCountThread::kFirstSteps);
  ASSERT_TRUE(waitUntil([this] { return report->boxesFinal(); }, 120000));
  EXPECT_GE(report->boxes()->steps, BoxCountThread::kFinalSteps);
  EXPECT_NEAR(report->boxes()->slope, std::log(3) / std::log(2), 0.03);
  EXPECT_TRUE(shown("boxStatus").contains(QStringLiteral("(10")));

  type(1, kColA, QStringLiteral("0.4"));
  settle();
  EXPECT_FALSE(report->boxes());

  // An empty grid, a singular map, ten maps, a map that runs off: no count, no fault.
  type(1, kColA, QString());
  EXPECT_TRUE(facts().maps.empty());
  pick(kSierpinskiPattern);
  type(1, kColA, QStringLiteral("0"));
  type(1, kColD, QStringLiteral("0"));
  EXPECT_EQ(facts().maps[0].det, 0);
  EXPECT_FALSE(facts().maps[0].similarity);
  for (int row = 4; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) type(row, column, cell(2, column));
  }
  EXPECT_EQ(facts().maps.size(), 10u);
  type(10, kColB, QStringLiteral("3"));
  EXPECT_FALSE(facts().contracting);
  QTest::qWait(50);

  type(10, kColB, QStringLiteral("0"));
  settle();
  report->close();  // while the first estimate is being counted
  QTest::qWait(50);
  EXPECT_FALSE(report->boxes());
  program.controlPanel->openMathsReport();
  EXPECT_TRUE(report->isVisible());
}

// Ten maps and every column in view as the window opens, nothing to scroll; a second "Set p ∝
// |det|" says why it writes nothing and leaves no undo step.
TEST_F(MathsReport, ShowsTenRowsAndEveryColumnAndSaysWhenPIsAlreadySet) {
  for (int row = 4; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) type(row, column, cell(2, column));
  }
  type(10, kColA, QStringLiteral("1"));  // a line of fixed points: the longest text in the table
  type(10, kColD, QStringLiteral("0.5"));
  type(10, kColE, QStringLiteral("0"));
  ASSERT_EQ(facts().maps.size(), 10u);
  QTest::qWait(2 * MathsReportWindow::kFitMilliseconds);  // the window grows to the texts
  EXPECT_EQ(item(9, 4)->text(), QStringLiteral("line through (0, 0) along (1, 0)"));
  EXPECT_FALSE(table()->verticalScrollBar()->isVisible());
  EXPECT_FALSE(table()->horizontalScrollBar()->isVisible());
  const QRect lastColumn = table()->visualRect(table()->model()->index(9, 7));
  EXPECT_LE(lastColumn.right(), table()->viewport()->width());

  auto* setP = report->findChild<QPushButton*>(QStringLiteral("setPByDet"));
  type(10, kColA, QStringLiteral("0.5"));
  setP->click();
  const int steps = program.document->undoStack.count();
  const QStringList written = {cell(1, kColP), cell(10, kColP)};
  setP->click();
  EXPECT_EQ(program.document->undoStack.count(), steps);
  EXPECT_EQ(QStringList({cell(1, kColP), cell(10, kColP)}), written);
  EXPECT_EQ(shown("setPNote"), QStringLiteral("p is already proportional to |det|."));
  type(1, kColP, QStringLiteral("0.5"));
  EXPECT_EQ(shown("setPNote"), QString());
}

}  // namespace
}  // namespace quill
