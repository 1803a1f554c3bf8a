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
  void SetUp() override { program.Main(); }
  void TearDown() override {
    program.form2->close();
    program.form1->close();
  }

  QLineEdit* field(const QString& name) {
    auto* found = program.form2->findChild<QLineEdit*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }

  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
  Program program{dialogs, printer};
};

TEST_F(Started, LeavesAClearedTableEmptyFieldsAndAHiddenCanvas) {
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(program.document->module1.maps.mapA[i], 0);
    EXPECT_EQ(program.document->module1.maps.mapP[i], 0);
    EXPECT_EQ(program.document->module1.maps.mapCumP[i], 0);
  }
  int emptyFields = 0;
  for (int column = 0; column < kColumnCount; ++column) {
    for (int row = 1; row <= kGridRows; ++row) {
      emptyFields += field(QStringLiteral("Text%1_%2").arg(column + 3).arg(row))->text().isEmpty();
    }
  }
  EXPECT_EQ(emptyFields, 70);
  EXPECT_EQ(program.document->module1.paperColor, kWhite);
  EXPECT_FALSE(program.document->module1.labelImages);
  EXPECT_FALSE(program.form1->isVisible());
  EXPECT_TRUE(program.form2->isVisible());
  EXPECT_EQ(program.form2->windowTitle(), QStringLiteral("Quillmere"));
}

TEST_F(Started, DerivesTheDrawingSquareFromTheCanvasSize) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EXPECT_EQ(program.form1->size(), screen);
  const float width = program.form1->widthTwips();
  const float height = program.form1->heightTwips();
  EXPECT_DOUBLE_EQ(program.document->module1.originX, double(width) * 0.1);
  EXPECT_DOUBLE_EQ(program.document->module1.marginY, double(height) * 0.1);
  EXPECT_DOUBLE_EQ(program.document->module1.viewScale, 0.8 * std::min(width, height));
  // The canvas raster covers the screen, one device pixel per canvas pixel.
  Canvas& canvas = program.form1->canvas();
  EXPECT_EQ(canvas.widthPixels(), int(screen.width() * program.form1->devicePixelRatioF()));
}

TEST_F(Started, TabVisitsTheCountTheComputeFieldsThenTheGridRowByRow) {
  program.form2->activateWindow();
  QLineEdit* start = field(QStringLiteral("Text1"));
  start->setFocus();
  QStringList expected;
  for (int k = 0; k < 5; ++k) expected << QStringLiteral("Text2_%1").arg(k);
  for (int row = 1; row <= kGridRows; ++row) {
    for (int column = 0; column < kColumnCount; ++column) {
      expected << QStringLiteral("Text%1_%2").arg(column + 3).arg(row);
    }
  }
  expected << "Command3"
           << "cmdChaos"
           << "cmdBluePrint"
           << "cmdCompute"
           << "cmdPrint"
           << "cmdFractal"
           << "cmdSaveParam"
           << "cmdLoad";
  QStringList visited;
  QWidget* current = start;
  for (int i = 0; i < expected.size(); ++i) {
    current = current->nextInFocusChain();
    while (current->focusPolicy() == Qt::NoFocus || !current->isVisibleTo(program.form2.get())) {
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
  for (auto* button : program.form2->findChildren<QPushButton*>()) {
    shown << button->text().replace(u'\n', u' ');  // long captions wrap
  }
  for (const QString& caption : buttons)
    EXPECT_TRUE(shown.contains(caption)) << caption.toStdString();
  QStringList menus;
  for (QAction* action : program.form2->menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, (QStringList{"Select a Pattern", "Reset a Pattern", "Choose color", "Tools"}));
}

TEST_F(Started, EveryPatternItemReachesItsHandlerWithItsOwnIndex) {
  for (const char* menu : {"mnuPattern_%1", "mnuResetPattern_%1"}) {
    for (int index = 0; index < kPatternCount; ++index) {
      auto* action = program.form2->findChild<QAction*>(QString::fromLatin1(menu).arg(index));
      ASSERT_NE(action, nullptr);
      program.document->state.selectedPattern.reset();
      action->trigger();
      EXPECT_EQ(program.document->state.selectedPattern, index) << menu << index;
    }
  }
}

TEST_F(Started, ExitEndsTheEventLoop) {
  QTimer::singleShot(0, [this] {
    QTest::mouseClick(program.form2->findChild<QPushButton*>(QStringLiteral("Command3")),
                      Qt::LeftButton);
  });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // guard: the click did nothing
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace quill
