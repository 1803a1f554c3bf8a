#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "core/canvas/canvas.h"
#include "support/fakes.h"
#include "support/wait.h"

namespace quill {
namespace {

using testing::waitUntil;

class LongDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    program.start();
    // Three half maps, typed as a user would.
    const char* rows[3][7] = {{"0.5", "0", "0", "0.5", "0", "0", "0.33"},
                              {"0.5", "0", "0", "0.5", "0.5", "0", "0.33"},
                              {"0.5", "0", "0", "0.5", "0.25", "0.5", "0.34"}};
    for (int row = 1; row <= 3; ++row) {
      for (int column = 0; column < kColumnCount; ++column) {
        QTest::keyClicks(field(ControlPanel::cellName(row, column)),
                         QString::fromLatin1(rows[row - 1][column]));
      }
    }
  }
  void TearDown() override {
    program.drawRunner->cancel();
    waitUntil([this] { return !program.drawRunner->busy(); }, 5000);
    program.controlPanel->close();
    program.canvasWidget->close();
  }

  QLineEdit* field(const QString& name) {
    return program.controlPanel->findChild<QLineEdit*>(name);
  }
  QPushButton* button(const char* name) {
    return program.controlPanel->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QProgressDialog* progress() {
    return program.controlPanel->findChild<QProgressDialog*>(QStringLiteral("drawingProgress"));
  }

  testing::ScriptedDialogs dialogs;
  testing::FakePrinter printer;
  Program program{dialogs, printer};
};

TEST_F(LongDrawing, ShowsProgressStopsOnCancelAndShowsWhatWasDrawn) {
  QTest::keyClicks(field(QStringLiteral("countField")), QStringLiteral("2000000000"));
  QTest::mouseClick(button("chaosGameButton"), Qt::LeftButton);

  // The panel takes no other command while the drawing runs, and repaints meanwhile.
  ASSERT_TRUE(program.drawRunner->busy());
  EXPECT_FALSE(button("fractalButton")->isEnabled());
  EXPECT_FALSE(program.controlPanel->menuBar()->isEnabled());

  ASSERT_TRUE(waitUntil([this] { return progress() != nullptr && progress()->isVisible(); }, 5000));
  QTest::mouseClick(progress()->findChild<QPushButton*>(), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }, 5000));

  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_TRUE(button("fractalButton")->isEnabled());
  EXPECT_TRUE(program.canvasWidget->isVisible());
  // Some of the game was drawn before the cancel: pen-coloured points inside the square.
  const QImage picture = program.canvasWidget->canvas().picture();
  int black = 0;
  for (int y = 0; y < picture.height(); y += 2) {
    for (int x = 0; x < picture.width(); x += 2) black += (picture.pixel(x, y) & 0xFFFFFF) == 0;
  }
  EXPECT_GT(black, 1000);
}

TEST_F(LongDrawing, ShortDrawingsFinishWithoutADialog) {
  QTest::keyClicks(field(QStringLiteral("countField")), QStringLiteral("3"));
  QTest::mouseClick(button("fractalButton"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }, 5000));
  EXPECT_EQ(progress(), nullptr);
  EXPECT_TRUE(program.canvasWidget->isVisible());
  EXPECT_TRUE(button("fractalButton")->isEnabled());
}

// While a long drawing runs, the canvas window shows its picture growing, drawn on the job's own
// copy: the document's canvas stays as it was until the job hands its picture back.
TEST_F(LongDrawing, TheCanvasWindowShowsTheJobsPictureGrowing) {
  QTest::keyClicks(field(QStringLiteral("countField")), QStringLiteral("1"));
  QTest::mouseClick(button("fractalButton"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }, 5000));
  const QImage before = program.canvasWidget->canvas().picture();

  field(QStringLiteral("countField"))->clear();
  QTest::keyClicks(field(QStringLiteral("countField")), QStringLiteral("2000000000"));
  QTest::mouseClick(button("chaosGameButton"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([this] { return progress() != nullptr && progress()->isVisible(); }, 5000));
  EXPECT_EQ(progress()->windowModality(), Qt::NonModal);  // no event loop runs nested
  auto inkShown = [this] {
    const QImage shown = program.canvasWidget->grab().toImage();
    int black = 0;
    for (int y = 0; y < shown.height(); y += 3) {
      for (int x = 0; x < shown.width(); x += 3) black += (shown.pixel(x, y) & 0xFFFFFF) == 0;
    }
    return black > 2000;
  };
  // The chaos game on every core merges its first segment after about 10^8 steps.
  EXPECT_TRUE(waitUntil(inkShown, 30000));
  EXPECT_TRUE(program.drawRunner->busy());
  EXPECT_EQ(program.canvasWidget->canvas().picture(), before);

  program.drawRunner->cancel();
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }, 5000));
  EXPECT_NE(program.canvasWidget->canvas().picture(), before);
}

// A failure inside a drawing (no memory for a picture) comes back to the command as a message;
// the panel takes commands again and the program goes on.
TEST_F(LongDrawing, AFailureInsideTheDrawingIsShownAndThePanelComesBack) {
  DrawTask task;
  task.work = [](const RenderControl&) -> bool { throw std::bad_alloc(); };
  QString shown;
  task.finish = [&shown](const Status& status, bool) { shown = status.message(); };
  program.drawRunner->run(std::move(task));
  ASSERT_TRUE(waitUntil([this] { return !program.drawRunner->busy(); }, 5000));
  EXPECT_EQ(shown, kNoMemoryMessage);
  EXPECT_TRUE(button("fractalButton")->isEnabled());
  EXPECT_TRUE(program.controlPanel->menuBar()->isEnabled());
}

}  // namespace
}  // namespace quill
