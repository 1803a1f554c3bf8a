#include "app/target_fit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/collage_overlay.h"
#include "app/control_panel.h"
#include "app/map_canvas.h"
#include "app/map_editor.h"
#include "core/collage/target.h"
#include "core/editor/panel_step.h"
#include "support/running_program.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

// The program with the gasket chosen, and pictures to take as targets.
class TargetWorkbench : public testing::RunningProgram {
 protected:
  void SetUp() override { startWith(kSierpinskiPattern); }

  QString picture(const QString& name, bool withShape) {
    QImage image(120, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (withShape) {
      QPainter painter(&image);
      painter.setBrush(Qt::black);
      painter.setPen(Qt::NoPen);
      painter.drawEllipse(QPointF(60, 55), 24, 45);
    }
    const QString path = dir.filePath(name);
    EXPECT_TRUE(image.save(path));
    return path;
  }
  void chooseTarget(const QString& path) {
    dialogs.targetAnswers.push_back(TargetChoice{path, false});
    trigger(QStringLiteral("targetImageAction"));
    CollageOverlay& collage = program.controlPanel->collage();
    EXPECT_TRUE(waitUntil([&collage] { return !collage.loading(); }));
  }
  QWidget* collageRow() const {
    MapEditor* editor = program.controlPanel->mapEditor();
    return editor != nullptr ? editor->findChild<QWidget*>(QStringLiteral("collageRow")) : nullptr;
  }

  QTemporaryDir dir;
};

// A target shows in the editor with its collage and measures; a picture without a shape is
// refused with the target's message; Clear Target takes the target and its overlay away.
TEST_F(TargetWorkbench, ClearTargetRemovesTheOverlay) {
  QAction* clear = program.controlPanel->findChild<QAction*>(QStringLiteral("clearTargetAction"));
  ASSERT_NE(clear, nullptr);
  EXPECT_FALSE(clear->isEnabled());

  chooseTarget(picture(QStringLiteral("blank.png"), false));
  EXPECT_EQ(dialogs.messages, QStringList{kBlankTargetMessage});
  EXPECT_FALSE(program.controlPanel->collage().hasTarget());

  chooseTarget(picture(QStringLiteral("leaf.png"), true));
  CollageOverlay& collage = program.controlPanel->collage();
  ASSERT_TRUE(collage.hasTarget());
  ASSERT_NE(collageRow(), nullptr);
  EXPECT_TRUE(collageRow()->isVisible());
  ASSERT_TRUE(waitUntil([&collage] { return collage.collage().has_value(); }));
  const auto* strip = collageRow()->findChild<QLabel*>(QStringLiteral("collageStrip"));
  EXPECT_TRUE(strip->text().startsWith(QStringLiteral("Collage h(T, W(T)) = ")))
      << strip->text().toStdString();
  // Then the attractor's own measures: the gasket overlaps the leaf only in part.
  ASSERT_TRUE(waitUntil([&collage] { return collage.collage()->attractor.has_value(); }));
  EXPECT_GT(collage.collage()->attractor->iou, 0.0);
  EXPECT_LT(collage.collage()->attractor->iou, 1.0);
  EXPECT_TRUE(clear->isEnabled());

  clear->trigger();
  EXPECT_FALSE(collage.hasTarget());
  EXPECT_FALSE(collage.collage().has_value());
  EXPECT_TRUE(collage.backdrop().isNull());
  EXPECT_FALSE(collageRow()->isVisible());
  EXPECT_FALSE(clear->isEnabled());
}

// The editor's own buttons change the maps as a drag does: the collage is measured again.
TEST_F(TargetWorkbench, TheEditorsButtonsMeasureTheCollageAgain) {
  chooseTarget(picture(QStringLiteral("leaf.png"), true));
  CollageOverlay& collage = program.controlPanel->collage();
  ASSERT_TRUE(waitUntil([&collage] { return collage.collage().has_value(); }));
  const std::int64_t imageCells = collage.collage()->measure.imageCells;
  MapEditor* editor = program.controlPanel->mapEditor();
  QTest::keyClick(editor->canvas(), Qt::Key_1);
  QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("deleteMap")), Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return collage.collage()->measure.imageCells != imageCells; }));
  QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("undo")), Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return collage.collage()->measure.imageCells == imageCells; }));
}

// The picture is read in the background, the window live meanwhile; a second choice made while
// the first still loads drops it: neither its target nor its message comes.
TEST_F(TargetWorkbench, ALaterChoiceDropsALoadUnderWay) {
  CollageOverlay& collage = program.controlPanel->collage();
  dialogs.targetAnswers.push_back(TargetChoice{picture(QStringLiteral("blank.png"), false), false});
  dialogs.targetAnswers.push_back(TargetChoice{picture(QStringLiteral("leaf.png"), true), false});
  trigger(QStringLiteral("targetImageAction"));
  EXPECT_TRUE(collage.loading());
  trigger(QStringLiteral("targetImageAction"));
  ASSERT_TRUE(waitUntil([&collage] { return !collage.loading(); }));
  QTest::qWait(100);
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
  EXPECT_TRUE(collage.hasTarget());
  ASSERT_NE(collageRow(), nullptr);
  EXPECT_TRUE(collageRow()->isVisible());
}

// However many better systems the fit showed on its way, undo gives back the maps it started
// from in one step, and redo the fitted ones.
TEST_F(TargetWorkbench, TheWholeFitIsOneUndoStep) {
  chooseTarget(picture(QStringLiteral("leaf.png"), true));
  const PanelSnapshot before = PanelSnapshot::of(program.document->state);
  TargetFit& fit = program.controlPanel->targetFit();
  auto* start = collageRow()->findChild<QPushButton*>(QStringLiteral("fitToTarget"));
  QTest::mouseClick(start, Qt::LeftButton);
  ASSERT_TRUE(fit.running());
  QTest::qWait(500);
  QTest::mouseClick(collageRow()->findChild<QPushButton*>(QStringLiteral("stopFit")),
                    Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&fit] { return !fit.running(); }, 20000));
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();
  const PanelSnapshot fitted = PanelSnapshot::of(program.document->state);
  EXPECT_NE(fitted.grid, before.grid);
  QAction* undo = program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"));
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Fit to Target"));
  undo->trigger();
  EXPECT_EQ(PanelSnapshot::of(program.document->state).grid, before.grid);
  program.controlPanel->findChild<QAction*>(QStringLiteral("redoAction"))->trigger();
  EXPECT_EQ(PanelSnapshot::of(program.document->state).grid, fitted.grid);
}

// "Time limit" bounds the fit: with a second's search it ends of itself and keeps its maps as one
// step, as Stop would.
TEST_F(TargetWorkbench, TheTimeLimitEndsTheFit) {
  chooseTarget(picture(QStringLiteral("leaf.png"), true));
  auto* limit = collageRow()->findChild<QSpinBox*>(QStringLiteral("fitTimeLimit"));
  ASSERT_NE(limit, nullptr);
  limit->setValue(1);
  TargetFit& fit = program.controlPanel->targetFit();
  QTest::mouseClick(collageRow()->findChild<QPushButton*>(QStringLiteral("fitToTarget")),
                    Qt::LeftButton);
  ASSERT_TRUE(fit.running());
  EXPECT_FALSE(limit->isEnabled());
  // The limit counts the fit's work, not the clock: a second's work, ended of itself long before
  // the default's thirty, with room for a loaded machine or a sanitizer's build.
  EXPECT_TRUE(waitUntil([&fit] { return !fit.running(); }, 120000));
  EXPECT_TRUE(limit->isEnabled());
  EXPECT_EQ(program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"))->text(),
            QStringLiteral("Undo Fit to Target"));
}

// An edit that reaches the grid while a fit runs takes the grid back: the fit ends at once as
// its own step, with the best maps it had, and the edit comes after it, never overwritten by
// the fit. Undo during a fit undoes the fit whole.
using Grid = decltype(PanelState::grid);

struct Takeover {
  const char* name;
  void (*edit)(ControlPanel& panel);
  bool undoesTheFit;
};

class FitTakeover : public TargetWorkbench, public ::testing::WithParamInterface<Takeover> {};

TEST_P(FitTakeover, AnEditDuringAFitEndsItAsOneStepFirst) {
  chooseTarget(picture(QStringLiteral("leaf.png"), true));
  const Grid before = PanelSnapshot::of(program.document->state).grid;
  TargetFit& fit = program.controlPanel->targetFit();
  QTest::mouseClick(collageRow()->findChild<QPushButton*>(QStringLiteral("fitToTarget")),
                    Qt::LeftButton);
  ASSERT_TRUE(fit.running());
  // Some better maps shown first, so that the fit has something to keep.
  ASSERT_TRUE(
      waitUntil([&] { return PanelSnapshot::of(program.document->state).grid != before; }, 20000));
  GetParam().edit(*program.controlPanel);
  EXPECT_FALSE(fit.running());
  const Grid edited = PanelSnapshot::of(program.document->state).grid;
  QTest::qWait(300);  // whatever the fit had left in flight comes to nothing
  EXPECT_EQ(PanelSnapshot::of(program.document->state).grid, edited);
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(u'|').toStdString();

  auto* undo = program.controlPanel->findChild<QAction*>(QStringLiteral("undoAction"));
  auto* redo = program.controlPanel->findChild<QAction*>(QStringLiteral("redoAction"));
  if (GetParam().undoesTheFit) {
    EXPECT_EQ(edited, before);
    EXPECT_EQ(redo->text(), QStringLiteral("Redo Fit to Target"));
    redo->trigger();
    EXPECT_NE(PanelSnapshot::of(program.document->state).grid, before);
    return;
  }
  undo->trigger();  // the edit
  const Grid fitted = PanelSnapshot::of(program.document->state).grid;
  EXPECT_NE(fitted, edited);
  EXPECT_NE(fitted, before);
  EXPECT_EQ(undo->text(), QStringLiteral("Undo Fit to Target"));
  undo->trigger();
  EXPECT_EQ(PanelSnapshot::of(program.document->state).grid, before);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, FitTakeover,
    ::testing::Values(Takeover{"ArrowKeyInTheEditor",
                               [](ControlPanel& panel) {
                                 MapCanvas* canvas = panel.mapEditor()->canvas();
                                 QTest::keyClick(canvas, Qt::Key_1);
                                 QTest::keyClick(canvas, Qt::Key_Right, Qt::ShiftModifier);
                               },
                               false},
                      Takeover{"TypingInTheGrid",
                               [](ControlPanel& panel) {
                                 auto* cell =
                                     panel.findChild<QLineEdit*>(ControlPanel::cellName(1, 4));
                                 cell->setFocus();
                                 cell->end(false);
                                 QTest::keyClicks(cell, QStringLiteral("7"));
                               },
                               false},
                      Takeover{"Undo",
                               [](ControlPanel& panel) {
                                 panel.findChild<QAction*>(QStringLiteral("undoAction"))->trigger();
                               },
                               true}),
    [](const ::testing::TestParamInfo<Takeover>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quill
