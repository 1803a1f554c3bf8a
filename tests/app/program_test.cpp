#include "app/program.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "core/canvas/canvas.h"
#include "support/fakes.h"

namespace quill {
namespace {

// The program as Main leaves it, on the offscreen screen.
class Started : public ::testing::Test {
 protected:
  void SetUp() override { program.start(); }
  void TearDown() override {
    program.controlPanel->close();
    program.canvasWidget->close();
  }

  QLineEdit* field(const QString& name) {
    auto* found = program.controlPanel->findChild<QLineEdit*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
  Program program{dialogs, printer};
};

TEST_F(Started, LeavesAClearedTableEmptyFieldsAndAHiddenCanvas) {
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(program.document->drawing.maps.mapA[i], 0);
    EXPECT_EQ(program.document->drawing.maps.mapP[i], 0);
    EXPECT_EQ(program.document->drawing.maps.mapCumP[i], 0);
  }
  int emptyFields = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    for (int row = 1; row <= kGridRows; ++row) {
      emptyFields += field(ControlPanel::cellName(row, column))->text().isEmpty();
    }
  }
  EXPECT_EQ(emptyFields, 70);
  EXPECT_EQ(program.document->drawing.paperColor, kWhite);
  EXPECT_FALSE(program.document->drawing.labelImages);
  EXPECT_FALSE(program.canvasWidget->isVisible());
  EXPECT_TRUE(program.controlPanel->isVisible());
  EXPECT_EQ(program.controlPanel->windowTitle(), QStringLiteral("Quillmere"));
}

TEST_F(Started, DerivesTheDrawingSquareFromTheCanvasSize) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(program.canvasWidget->size(), screen);
  // The square of the canvas's own size in twips (its arithmetic: DrawingSquareOf).
  const DrawingSquare expected = DrawingSquare::onCanvas(program.canvasWidget->widthTwips(),
                                                         program.canvasWidget->heightTwips());
  const DrawingSquare& square = program.document->drawing.square;
  EXPECT_EQ(square.viewScale, expected.viewScale);
  EXPECT_EQ(square.originX, expected.originX);
  EXPECT_EQ(square.marginY, expected.marginY);
  EXPECT_EQ(square.originY, expected.originY);
  // The canvas raster covers the screen, one device pixel per canvas pixel.
  Canvas& canvas = program.canvasWidget->canvas();
  EXPECT_EQ(canvas.widthPixels(), int(screen.width() * program.canvasWidget->devicePixelRatioF()));
}

TEST_F(Started, TabVisitsTheCountTheComputeFieldsThenTheGridRowByRow) {
  program.controlPanel->activateWindow();
  QLineEdit* start = field(QStringLiteral("countField"));
  start->setFocus();
  QStringList expected;
  for (int k = 0; k < 5; ++k) expected << QStringLiteral("computeField_%1").arg(k);
  for (int row = 1; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) {
      expected << ControlPanel::cellName(row, column);
    }
  }
  expected << "exitButton"
           << "chaosGameButton"
           << "bluePrintButton"
           << "computeButton"
           << "printButton"
           << "fractalButton"
           << "saveButton"
           << "loadButton";
  QStringList visited;
  QWidget* current = start;
  for (int i = 0; i < expected.size(); ++i) {
    current = current->nextInFocusChain();
    while (current->focusPolicy() == Qt::NoFocus ||
           !current->isVisibleTo(program.controlPanel.get())) {
      current = current->nextInFocusChain();
    }
    visited << current->objectName();
  }
  EXPECT_EQ(visited, expected);
}

TEST_F(Started, ShowsTheCaptionsOfTheLayout) {
  const QStringList buttons = {
      "Fractal",         "Chaos Game",         "Blue Print",    "Load Parameters",
      "Save Parameters", "Compute Parameters", "Print Picture", "Exit"};
  QStringList shown;
  for (auto* button : program.controlPanel->findChildren<QPushButton*>()) {
    shown << button->text().replace(u'\n', u' ');  // long captions wrap
  }
  for (const QString& caption : buttons)
    EXPECT_TRUE(shown.contains(caption)) << caption.toStdString();
  QStringList menus;
  for (QAction* action : program.controlPanel->menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, (QStringList{"Select a Pattern", "Reset a Pattern", "Choose color", "Tools"}));
}

TEST_F(Started, EveryPatternItemReachesItsHandlerWithItsOwnIndex) {
  for (const char* menu : {"patternAction_%1", "resetPatternAction_%1"}) {
    for (int index = 0; index < kPatternCount; ++index) {
      auto* action =
          program.controlPanel->findChild<QAction*>(QString::fromLatin1(menu).arg(index));
      ASSERT_NE(action, nullptr);
      program.document->state.selectedPattern.reset();
      action->trigger();
      EXPECT_EQ(program.document->state.selectedPattern, index) << menu << index;
    }
  }
}

TEST_F(Started, ExitEndsTheEventLoop) {
  QTimer::singleShot(0, [this] {
    QTest::mouseClick(program.controlPanel->findChild<QPushButton*>(QStringLiteral("exitButton")),
                      Qt::LeftButton);
  });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // guard: the click did nothing
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace quill
